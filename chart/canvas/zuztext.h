#pragma once
// Free functions of the panel unit on texts and names: fields of separated text, format
// separators, sorting by index, unique component names, exported text and web addresses.

#include "platform/core/system.h"

#include <functional>

class TComponent;
class TStream;

// The separator of fields in a text, ";" by default.
extern String ZuzFieldsSeparator;

// 0 for an empty text, else one more than the number of separators.
int ZuzNumFields(const String& Text);
int ZuzNumFields(const String& Text, const String& Separator);
// The Index-th field from 1; empty for an empty text or Index < 1, the last beyond the end.
String ZuzExtractField(const String& Text, int Index);
String ZuzExtractField(const String& Text, int Index, const String& Separator);
// Every Old replaced by New; a New of character 0 deletes them.
String ReplaceChar(const String& Text, Char Old, Char New);
// A number format written with "," thousands and "." decimals into the locale's separators,
// and back; nothing changes where the locale uses one character for both.
String SarvikToLocalFormat(const String& Format);
String LocalToSarvikFormat(const String& Format);
String ZuzStr(int Number);

// Quicksort of the indexes StartIndex..EndIndex through two callbacks.
using TZuzCompareProc = std::function<int(int A, int B)>;
using TZuzSwapProc = std::function<void(int A, int B)>;
void ZuzSort(int StartIndex, int EndIndex, const TZuzCompareProc& Compare, const TZuzSwapProc& Swap);
// Prefix and the smallest number from 1 that no component of Owner is named.
String ZuzGetUniqueName(const TComponent* Owner, const String& Prefix);

// The base of the series-data exporters: a text for the clipboard, a stream or a file.
class TZuzExportData : public TObject {
public:
    virtual String AsString() { return String(); }
    void CopyToClipboard();
    // The UTF-16 little-endian byte-order mark, then the text.
    virtual void SaveToStream(TStream* Stream);
    // Whole or not at all: an earlier file stays as it was when the export fails.
    void SaveToFile(const String& FileName);
};

// Opens URL with the desktop's program for it.
void ZuzGotoURL(const void* Handle, const String& URL);
