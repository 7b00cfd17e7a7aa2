#pragma once
// Chart texts with a small subset of HTML: bold, italic, underline, strike-out, font
// changes, headings, sub- and superscripts, centring, line breaks, rules, pictures and
// the entities &lt; &gt; &amp; &quot;. The canvas's current font is the starting font.

#include "platform/core/sysutils.h"
#include "platform/core/types.h"

class TZuzCanvas;
class TGraphic;
class TMemoryStream;

class HtmlParserException : public Exception {
public:
    using Exception::Exception;
};

// A new picture object of a class that reads files with this extension (with its dot,
// upper case), or nullptr; the caller frees it. Installed by the picture export unit.
extern TGraphic* (*GraphicFileExtension)(const String& Extension);
// Fills Stream with the picture named by Source; 0 when it did.
extern int (*GraphicDownload)(const String& Source, TMemoryStream* Stream);

// The size of what HtmlTextOut draws for Text, without drawing.
void HtmlTextExtent(TZuzCanvas* Canvas, const String& Text, TSize& Extent);
// Draws Text with its first line's top-left at (X, Y).
void HtmlTextOut(TZuzCanvas* Canvas, int X, int Y, const String& Text);
// Both: lays Text out from (X, Y), drawing it when Drawing is set; Extent receives the
// size of everything laid out, measured from (X, Y), all lines included. The fonts and
// styles that tags open last for this call only, and the canvas font is put back as
// the call found it: an unclosed tag leaves nothing for the next text.
void HtmlProcess(TZuzCanvas* Canvas, int X, int Y, TSize& Extent, bool Drawing, const String& Text);
