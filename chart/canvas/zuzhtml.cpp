// HTML-subset text: the text is taken apart into tags and plain runs, one item at a
// time; tags change the canvas font or the position, runs are measured and drawn.
#include "chart/canvas/zuzhtml.h"

#include "chart/canvas/zuzcanvas.h"
#include "platform/core/streams.h"

#include <algorithm>
#include <limits>
#include <vector>

TGraphic* (*GraphicFileExtension)(const String& Extension) = nullptr;
int (*GraphicDownload)(const String& Source, TMemoryStream* Stream) = nullptr;

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

// A chart file may hold any number in a tag. Font sizes are held to a font taller than a
// page (842 points), picture sides to what a picture may have; positions are added up in
// 64 bits and handed to the canvas as coordinates it can add to.
constexpr int kLargestFontSize = 1000;

int FontSizeOf(Int64 Size) {
    return static_cast<int>(std::clamp<Int64>(Size, -kLargestFontSize, kLargestFontSize));
}

bool StartsWith(std::u16string_view S, std::u16string_view Prefix) {
    return S.substr(0, Prefix.size()) == Prefix;
}

String Unquoted(String S) {
    S = Trim(S);
    if (S.size() >= 2 && S.front() == u'"' && S.back() == u'"') return S.substr(1, S.size() - 2);
    return S;
}

struct Attribute {
    String Name; // upper case
    String Value;
};

// NAME=value pairs separated by spaces: a value runs to the last space before the next
// "=", the last one to the end.
std::vector<Attribute> AttributesOf(std::u16string_view Text) {
    std::vector<Attribute> result;
    std::size_t count = static_cast<std::size_t>(std::count(Text.begin(), Text.end(), u'='));
    while (count-- > 0) {
        const std::size_t eq = Text.find(u'=');
        Attribute a{UpperCase(Trim(Text.substr(0, eq))), {}};
        std::u16string_view rest = Text.substr(eq + 1);
        const std::size_t nextEq = count > 0 ? rest.find(u'=') : std::u16string_view::npos;
        const std::size_t space = nextEq == std::u16string_view::npos ? std::u16string_view::npos
                                                                      : rest.substr(0, nextEq).rfind(u' ');
        if (space == std::u16string_view::npos) {
            a.Value = Unquoted(
                String(count > 0 && nextEq != std::u16string_view::npos ? rest.substr(0, nextEq) : rest));
            Text = count > 0 && nextEq != std::u16string_view::npos ? rest.substr(nextEq)
                                                                    : std::u16string_view{};
        } else {
            a.Value = Unquoted(String(rest.substr(0, space)));
            Text = rest.substr(space + 1);
        }
        result.push_back(std::move(a));
    }
    return result;
}

// The tag's text between its leading word and the closing ">".
std::u16string_view Inside(std::u16string_view Tag, std::size_t Lead) {
    Tag = Tag.substr(Lead);
    if (!Tag.empty() && Tag.back() == u'>') Tag.remove_suffix(1);
    return Tag;
}

TColor HtmlColor(const String& Value) {
    const String upper = UpperCase(Value);
    static const std::pair<std::u16string_view, int> kNames[] = {
        {u"BLACK", 0},        {u"RED", 255},     {u"BLUE", 16711680}, {u"YELLOW", 65535},
        {u"WHITE", 16777215}, {u"GREEN", 32768}, {u"LIME", 65280}};
    for (const auto& [name, colour] : kNames)
        if (upper == name) return static_cast<TColor>(colour);
    if (Value.size() == 7 && Value[0] == u'#') {
        const int rgb = StrToInt(u"$" + Value.substr(1));
        return MakeColor(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                         static_cast<std::uint8_t>(rgb));
    }
    return StringToColor(Value);
}

struct SavedFont {
    int Size;
    String Name;
    TColor Color;
    TFontStyles Style;
};

// The layout of one call; its stacks go with it.
class HtmlLayout {
public:
    HtmlLayout(TZuzCanvas* Canvas, Int64 X, Int64 Y, bool Drawing)
        : FCanvas(Canvas), FFont(Canvas->Font), FX(X), FY(Y), FLeft(X), FTop(Y), FRight(X), FBottom(Y),
          FLineStart(X), FLineHeight(Canvas->GetFontHeight()), FDrawing(Drawing) {}

    void Run(String Text) {
        while (!Text.empty()) {
            String item;
            const std::size_t lt = Text.find(u'<');
            if (lt == String::npos) {
                item = std::move(Text);
                Text.clear();
            } else if (lt > 0) {
                item = Text.substr(0, lt);
                Text.erase(0, lt);
            } else {
                const std::size_t gt = Text.find(u'>');
                if (gt == String::npos) throw HtmlParserException(u"Missing > at " + Text.substr(1));
                item = Text.substr(0, gt + 1);
                Text.erase(0, gt + 1);
            }
            Handle(std::move(item));
            FLastPushed = FFontPushed;
        }
    }

    TSize Extent() const { return {ZuzCoordinate(FRight - FLeft), ZuzCoordinate(FBottom - FTop)}; }

private:
    int FontHeight() { return FCanvas->GetFontHeight(); }

    void SaveFont() {
        FFonts.push_back({FFont->GetSize(), FFont->GetName(), FFont->GetColor(), FFont->GetStyle()});
        FFontPushed = true;
    }
    void RestoreFont() {
        if (FFonts.empty()) return;
        const SavedFont f = std::move(FFonts.back());
        FFonts.pop_back();
        FFont->SetSize(f.Size);
        FFont->SetName(f.Name);
        FFont->SetColor(f.Color);
        FFont->SetStyle(f.Style);
    }
    void AddStyle(TFontStyle Style, const String& Tag) {
        FFont->SetStyle(FFont->GetStyle() + Style);
        FStyles.push_back(Tag);
    }
    void RemoveStyle(TFontStyle Style) { FFont->SetStyle(FFont->GetStyle() - Style); }

    // Something drawn (or that would be) from (Left, Top) to (Right, Bottom).
    void Covers(Int64 Right, Int64 Bottom) {
        FRight = std::max(FRight, Right);
        FBottom = std::max(FBottom, Bottom);
    }

    void Handle(String Item) {
        FFontPushed = false;
        if (!Item.empty() && Item[0] == u'<' && Tag(UpperCase(Item), Item)) return;
        PlainText(Item);
    }

    // Handles a known tag; false for anything else, which is shown as text.
    bool Tag(const String& T, const String& Original) {
        if (T == u"<BR>" || T == u"<P>") {
            FX = FLineStart;
            FLineHeight = 0;
        } else if (T == u"<BIG>") {
            SaveFont();
            FFont->SetSize(FontSizeOf(Int64{FFont->GetSize()} + 2));
        } else if (T == u"<SMALL>") {
            SaveFont();
            FFont->SetSize(FontSizeOf(Int64{FFont->GetSize()} - 2));
        } else if (T == u"</SUB>") {
            RestoreFont();
            // The text after a subscript goes on along the line the subscript went down from.
            if (FSubLines.empty()) {
                FY -= FontHeight();
            } else {
                FY = FSubLines.back();
                FSubLines.pop_back();
            }
        } else if (T == u"<SUB>") {
            FSubLines.push_back(FY);
            SaveFont();
            FFont->SetSize(FFont->GetSize() / 2);
            FY += FontHeight();
        } else if (T == u"</SUPER>") {
            RestoreFont();
            // The text after a superscript goes on along the line the superscript rose from.
            if (FSuperLines.empty()) {
                FY += FontHeight() / 2;
            } else {
                FY = FSuperLines.back();
                FSuperLines.pop_back();
            }
        } else if (T == u"<SUPER>") {
            FSuperLines.push_back(FY);
            SaveFont();
            FFont->SetSize(FFont->GetSize() / 2);
            FY -= FontHeight() / 2;
        } else if (T.size() == 4 && StartsWith(T, u"<H") && T[2] >= u'1' && T[2] <= u'6' && T[3] == u'>') {
            static constexpr int kSizes[] = {48, 36, 24, 18, 12, 8};
            SaveFont();
            FFont->SetSize(kSizes[T[2] - u'1']);
        } else if (T == u"<PRE>") {
            SaveFont();
            ApplyFont(u"NAME=\"COURIER NEW\"");
        } else if (T == u"<CENTER>") {
            FCentred = true;
        } else if (T == u"<B>" || T == u"<BOLD>" || T == u"<STRONG>") {
            AddStyle(fsBold, T);
        } else if (T == u"<I>") {
            AddStyle(fsItalic, T);
        } else if (T == u"<U>") {
            AddStyle(fsUnderline, T);
        } else if (T == u"<STRIKE>") {
            AddStyle(fsStrikeOut, T);
        } else if (StartsWith(T, u"<IMG ")) {
            Picture(Inside(Original, 5));
        } else if (T == u"</B>" || T == u"</BOLD>" || T == u"</STRONG>") {
            RemoveStyle(fsBold);
        } else if (T == u"</I>") {
            RemoveStyle(fsItalic);
        } else if (T == u"</U>") {
            RemoveStyle(fsUnderline);
        } else if (T == u"</STRIKE>") {
            RemoveStyle(fsStrikeOut);
        } else if (StartsWith(T, u"</FONT") || T == u"</PRE>") {
            RestoreFont();
        } else if (T == u"</CENTER>") {
            FCentred = false;
        } else if (StartsWith(T, u"<FONT ")) {
            SaveFont();
            ApplyFont(Inside(Original, 6));
        } else if (T == u"</>") {
            if (FLastPushed) {
                RestoreFont();
            } else if (!FStyles.empty()) {
                const String last = std::move(FStyles.back());
                FStyles.pop_back();
                Tag(u"</" + last.substr(1), u"</" + last.substr(1));
            }
        } else if (T == u"<HR>") {
            FX = FLineStart;
            if (FDrawing) Rule();
            Covers(FX + 101, FY + 1);
            FY += FontHeight();
        } else {
            return false;
        }
        return true;
    }

    void ApplyFont(std::u16string_view Attributes) {
        for (const Attribute& a : AttributesOf(Attributes)) {
            if (a.Name == u"NAME" || a.Name == u"FAMILY") {
                FFont->SetName(a.Value);
            } else if (a.Name == u"SIZE") {
                const bool relative = !a.Value.empty() && (a.Value[0] == u'+' || a.Value[0] == u'-');
                const int n = StrToInt(a.Value[0] == u'+' ? a.Value.substr(1) : a.Value);
                FFont->SetSize(FontSizeOf(relative ? Int64{FFont->GetSize()} + n : n));
            } else if (a.Name == u"COLOR") {
                FFont->SetColor(HtmlColor(a.Value));
            } else if (a.Name == u"WEIGHT") {
                const String w = UpperCase(a.Value);
                if (w == u"BOLD")
                    FFont->SetStyle({fsBold});
                else if (w == u"ITALIC")
                    FFont->SetStyle({fsItalic});
                else if (w == u"NORMAL")
                    FFont->SetStyle({});
                else if (w == u"STRIKE")
                    FFont->SetStyle({fsStrikeOut});
                else if (w == u"UNDERLINE")
                    FFont->SetStyle({fsUnderline});
                else
                    throw Exception(u"Unknown field in FONT WEIGHT=" + a.Value);
            } else {
                throw Exception(u"Unknown field in FONT: " + a.Name);
            }
        }
    }

    // The pen and brush as they were before a rule or a placeholder.
    class PenAndBrush {
    public:
        explicit PenAndBrush(TZuzCanvas* Canvas) : FCanvas(Canvas) {
            FPen->Assign(Canvas->Pen);
            FBrush->Assign(Canvas->Brush);
        }
        ~PenAndBrush() {
            FCanvas->Pen->Assign(FPen.get());
            FCanvas->Brush->Assign(FBrush.get());
        }
        PenAndBrush(const PenAndBrush&) = delete;
        PenAndBrush& operator=(const PenAndBrush&) = delete;

    private:
        TZuzCanvas* FCanvas;
        Owned<TPen> FPen = MakeOwned<TPen>();
        Owned<TBrush> FBrush = MakeOwned<TBrush>();
    };

    void Rule() {
        const PenAndBrush kept(FCanvas);
        FCanvas->Pen->SetStyle(psSolid);
        FCanvas->Pen->SetWidth(1);
        FCanvas->Pen->SetColor(static_cast<TColor>(0x808080));
        FCanvas->MoveTo(ZuzCoordinate(FX), ZuzCoordinate(FY));
        FCanvas->LineTo(ZuzCoordinate(FX + 100), ZuzCoordinate(FY));
    }

    void Picture(std::u16string_view Attributes) {
        // A negative size is a missing one; none is larger than a picture may be.
        const auto side = [](const String& Value) {
            return std::min(StrToIntDef(Value, -1), kLargestPictureSide);
        };
        int width = -1, height = -1;
        String source;
        for (const Attribute& a : AttributesOf(Attributes)) {
            if (a.Name == u"WIDTH")
                width = side(a.Value);
            else if (a.Name == u"HEIGHT")
                height = side(a.Value);
            else if (a.Name == u"SRC")
                source = a.Value;
        }
        if (!source.empty() && GraphicFileExtension) {
            Owned<TGraphic> graphic(GraphicFileExtension(UpperCase(ExtractFileExt(source))));
            if (graphic && GraphicDownload) {
                const Owned<TMemoryStream> stream = MakeOwned<TMemoryStream>();
                if (GraphicDownload(source, stream.get()) == 0 && stream->GetSize() > 0 &&
                    Loaded(graphic.get(), stream.get())) {
                    if (width < 0) width = graphic->GetWidth();
                    if (height < 0) height = graphic->GetHeight();
                    if (FDrawing) {
                        if (width != graphic->GetWidth() || height != graphic->GetHeight())
                            FCanvas->StretchDraw(Box(width, height), graphic.get());
                        else
                            FCanvas->Draw(ZuzCoordinate(FX), ZuzCoordinate(FY), graphic.get());
                    }
                    Covers(FX + width, FY + height);
                    FX += width;
                    FY += height;
                    return;
                }
            }
        }
        if (width < 0) width = 40;
        if (height < 0) height = 40;
        Covers(FX + width, FY + height);
        if (!FDrawing) return;
        const PenAndBrush kept(FCanvas);
        FCanvas->Brush->SetStyle(bsSolid);
        FCanvas->Brush->SetColor(clWhite);
        FCanvas->Pen->SetStyle(psSolid);
        FCanvas->Pen->SetWidth(1);
        FCanvas->Pen->SetColor(clRed);
        const TRect box = Box(width, height);
        FCanvas->Rectangle(box);
        FCanvas->MoveTo(box.Left, box.Top);
        FCanvas->LineTo(box.Right, box.Bottom);
        FCanvas->MoveTo(box.Right, box.Top);
        FCanvas->LineTo(box.Left, box.Bottom);
    }

    // A picture whose bytes cannot be read is shown as the placeholder, like one not found.
    static bool Loaded(TGraphic* Graphic, TMemoryStream* Stream) {
        Stream->SetPosition(0);
        try {
            Graphic->LoadFromStream(Stream);
        } catch (const Exception&) {
            return false;
        }
        return true;
    }

    // Width x Height at the current position, as the canvas takes it.
    TRect Box(int Width, int Height) const {
        return TRect(ZuzCoordinate(FX), ZuzCoordinate(FY), ZuzCoordinate(FX + Width),
                     ZuzCoordinate(FY + Height));
    }

    // A text's own line breaks (a chart text's lines are joined by them) each start a new line
    // as "<BR>" does: the next text goes one line lower, at the line's start.
    void PlainText(String S) {
        S = StringReplace(S, u"&lt;", u"<", {rfReplaceAll});
        S = StringReplace(S, u"&gt;", u">", {rfReplaceAll});
        S = StringReplace(S, u"&amp;", u"&", {rfReplaceAll});
        S = StringReplace(S, u"&quot;", u"\"", {rfReplaceAll});
        std::size_t from = 0;
        for (std::size_t brk; (brk = S.find(kCrLf, from)) != String::npos; from = brk + kCrLf.size()) {
            TextRun(S.substr(from, brk - from));
            FLineHeight = 0;
            FX = FLineStart;
        }
        TextRun(S.substr(from));
    }

    void TextRun(const String& S) {
        if (S.empty()) return;
        const int w = FCanvas->TextWidth(S);
        if (FCentred) FX = (Int64{FCanvas->Bounds.Left} + FCanvas->Bounds.Right) / 2 - w / 2;
        const int h = FCanvas->TextHeight(S);
        // A text lower than the line sits at the line's foot; the line itself stays where it
        // is, so the next pieces of the line sit on the same foot instead of each going lower.
        Int64 top = FY;
        if (FLineHeight == 0) {
            FLineHeight = FontHeight();
            // A new line starts below all that the lines before it drew, a taller piece too.
            FY = std::max(FY + FLineHeight, FTextBottom);
            top = FY;
        } else if (h < FLineHeight) {
            top = FY + FLineHeight - h - 1;
        }
        if (FDrawing) FCanvas->TextOut(ZuzCoordinate(FX), ZuzCoordinate(top), S);
        Covers(FX + w, top + h);
        FTextBottom = std::max(FTextBottom, top + h);
        FX += w;
        FLineHeight = std::max<Int64>(FLineHeight, h);
    }

    TZuzCanvas* FCanvas;
    TFont* FFont;
    Int64 FX, FY;
    const Int64 FLeft, FTop; // where the layout starts
    Int64 FRight, FBottom;   // the farthest that anything reaches
    Int64 FLineStart;
    Int64 FLineHeight;
    Int64 FTextBottom = std::numeric_limits<Int64>::min(); // the lowest that any text reaches
    bool FCentred = false;
    bool FFontPushed = false;
    bool FLastPushed = false;
    bool FDrawing;
    std::vector<String> FStyles; // opening style tags, most recent last
    std::vector<SavedFont> FFonts;
    std::vector<Int64> FSuperLines; // where each open superscript's line was
    std::vector<Int64> FSubLines;   // and each open subscript's
};

} // namespace

namespace {
// The canvas font as the call found it, put back when the call ends, so that a tag
// left open changes no text drawn afterwards.
class FontKept {
public:
    explicit FontKept(TFont* Font)
        : FFont(Font), FSaved{Font->GetSize(), Font->GetName(), Font->GetColor(), Font->GetStyle()} {}
    ~FontKept() {
        FFont->SetSize(FSaved.Size);
        FFont->SetName(FSaved.Name);
        FFont->SetColor(FSaved.Color);
        FFont->SetStyle(FSaved.Style);
    }
    FontKept(const FontKept&) = delete;
    FontKept& operator=(const FontKept&) = delete;

private:
    TFont* FFont;
    SavedFont FSaved;
};
} // namespace

void HtmlProcess(TZuzCanvas* Canvas, int X, int Y, TSize& Extent, bool Drawing, const String& Text) {
    const FontKept kept(Canvas->Font);
    HtmlLayout layout(Canvas, X, Y, Drawing);
    Extent = {0, 0};
    layout.Run(Text);
    Extent = layout.Extent();
}

void HtmlTextExtent(TZuzCanvas* Canvas, const String& Text, TSize& Extent) {
    HtmlProcess(Canvas, 0, 0, Extent, false, Text);
}

void HtmlTextOut(TZuzCanvas* Canvas, int X, int Y, const String& Text) {
    TSize extent;
    HtmlProcess(Canvas, X, Y, extent, true, Text);
}
