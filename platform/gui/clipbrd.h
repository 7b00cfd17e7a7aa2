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
    // Takes a copy of a bitmap or a metafile, or of the one a picture holds;
    // other sources raise. A metafile goes as its file and as a picture of it,
    // for programs that take only pictures.
    void Assign(TPersistent* Source) override;
    // The picture on the clipboard into Bitmap; false (Bitmap unchanged) when there is none.
    bool GetBitmap(TBitmap* Bitmap) const;
    // The metafile on the clipboard into Metafile; false (Metafile unchanged)
    // when there is none; EInvalidGraphic when it is damaged.
    bool GetMetafile(TMetafile* Metafile) const;
};

// The program's clipboard, made on first use.
TClipboard* Clipboard();
