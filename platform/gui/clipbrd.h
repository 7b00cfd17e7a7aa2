#pragma once
// The system clipboard: text and pictures.

#include "platform/gui/graphics.h"

enum : UINT { CF_TEXT = 1, CF_BITMAP = 2, CF_UNICODETEXT = 13, CF_ENHMETAFILE = 14 };

class TClipboard : public TPersistent {
public:
    String GetAsText() const;
    void SetAsText(const String& Value);
    bool HasFormat(UINT Format) const;
    void Clear();
    // Takes a copy of a bitmap, or of the bitmap a picture holds; other sources raise.
    void Assign(TPersistent* Source) override;
    // The picture on the clipboard into Bitmap; false (Bitmap unchanged) when there is none.
    bool GetBitmap(TBitmap* Bitmap) const;
};

// The program's clipboard, made on first use.
TClipboard* Clipboard();
