// HTML-subset text: what a text measures is what it draws, tags change the font and the
// position as their table says, and malformed texts raise their messages.
#include "chart/canvas/zuzhtml.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

struct Fixture {
    TBitmap bmp;
    TZuzCanvas3D canvas;
    explicit Fixture(int w = 300, int h = 200) {
        probe::EnsureApplication();
        ZuzConstInitialization();
        bmp.SetSize(w, h);
        canvas.SetUseBuffer(false);
        canvas.InitWindow(bmp.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, w, h));
        canvas.Font->SetName(u"Liberation Sans");
        canvas.Font->SetSize(12);
        canvas.Font->SetColor(clBlack);
        canvas.SetBackMode(cbmTransparent);
    }
    TSize Extent(const String& Text) {
        TSize e;
        HtmlTextExtent(&canvas, Text, e);
        return e;
    }
    // Width of plain text in the canvas font with a change applied, the font put back after.
    int Width(const String& Text, int SizeChange = 0, TFontStyles Style = {}) {
        const int size = canvas.Font->GetSize();
        const TFontStyles style = canvas.Font->GetStyle();
        canvas.Font->SetSize(size + SizeChange);
        canvas.Font->SetStyle(Style);
        const int w = canvas.TextWidth(Text);
        canvas.Font->SetSize(size);
        canvas.Font->SetStyle(style);
        return w;
    }
    // The smallest rectangle holding every pixel that is not white (Right/Bottom beyond).
    TRect Inked() {
        TRect r{bmp.GetWidth(), bmp.GetHeight(), 0, 0};
        for (int y = 0; y < bmp.GetHeight(); ++y)
            for (int x = 0; x < bmp.GetWidth(); ++x)
                if (probe::Pixel(bmp, x, y) != probe::Rgb{255, 255, 255}) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r;
    }
    bool Blank() { return Inked().Right == 0; }
    int Count(probe::Rgb c) {
        int n = 0;
        for (int y = 0; y < bmp.GetHeight(); ++y)
            for (int x = 0; x < bmp.GetWidth(); ++x) n += probe::Pixel(bmp, x, y) == c;
        return n;
    }
};

// The drawn ink lies inside the measured box placed at the drawing point.
void ExpectInkInsideExtent(Fixture& f, const String& Text, int X, int Y) {
    const TSize e = f.Extent(Text);
    HtmlTextOut(&f.canvas, X, Y, Text);
    const TRect ink = f.Inked();
    ASSERT_GT(ink.Right, 0) << "nothing drawn";
    EXPECT_GE(ink.Left, X);
    EXPECT_GE(ink.Top, Y);
    EXPECT_LE(ink.Right, X + e.cx);
    EXPECT_LE(ink.Bottom, Y + e.cy);
    // and reaches most of it: the box is not larger than what is drawn by more than a glyph's bearing
    EXPECT_GE(ink.Right, X + e.cx - 3);
}

} // namespace

TEST(HtmlExtent, BoldRunsAddTheirWidthsAndTheTallestHeight) {
    Fixture f;
    const TSize e = f.Extent(u"a<B>b</B>c");
    EXPECT_EQ(e.cx, f.Width(u"a") + f.Width(u"b", 0, {fsBold}) + f.Width(u"c"));
    EXPECT_EQ(e.cy, f.canvas.TextHeight(u"a"));
    EXPECT_FALSE(f.canvas.Font->GetStyle().Contains(fsBold)); // the canvas font is put back
}

TEST(HtmlExtent, ASizeChangeHoldsUntilItsFontTagCloses) {
    Fixture f;
    EXPECT_EQ(f.Extent(u"<FONT SIZE=+4>a</FONT>b").cx, f.Width(u"a", 4) + f.Width(u"b"));
    // "</>" restores only directly after a font change; later it closes the last style.
    EXPECT_EQ(f.Extent(u"<font size=-2></>a").cx, f.Width(u"a"));
    EXPECT_EQ(f.Extent(u"<font size=-2>a</>b").cx, f.Width(u"a", -2) + f.Width(u"b", -2));
    EXPECT_EQ(f.Extent(u"<FONT SIZE=20>a</FONT>").cx, f.Width(u"a", 8));
    EXPECT_EQ(f.Extent(u"<B>a</>b").cx, f.Width(u"a", 0, {fsBold}) + f.Width(u"b"));
    // Sizes from a file are held to a font taller than a page, whatever their sum.
    EXPECT_EQ(f.Extent(u"<FONT SIZE=+2147483647>a").cx, f.Width(u"a", 1000 - 12));
    EXPECT_EQ(f.Extent(u"<FONT SIZE=2147483647>a").cx, f.Width(u"a", 1000 - 12));
    EXPECT_EQ(f.Extent(u"<FONT SIZE=-2147483647>a").cx, f.Width(u"a", -1000 - 12));
    EXPECT_EQ(f.Extent(u"<FONT SIZE=999><BIG><BIG>a").cx, f.Width(u"a", 1000 - 12));
}

TEST(HtmlExtent, AHeadingKeepsItsFontAndItsClosingTagIsText) {
    Fixture f;
    const TSize e = f.Extent(u"<H1>a</H1>");
    EXPECT_EQ(e.cx, f.Width(u"a</H1>", 48 - 12));
    f.canvas.Font->SetSize(48);
    EXPECT_EQ(e.cy, f.canvas.TextHeight(u"a"));
}

TEST(HtmlExtent, ALineBreakStartsTheNextLineOneFontHeightLower) {
    Fixture f;
    const int h = f.canvas.GetFontHeight();
    const TSize e = f.Extent(u"wide line<BR>x");
    EXPECT_EQ(e.cx, f.Width(u"wide line"));
    EXPECT_EQ(e.cy, 2 * h); // both lines, as drawn
    HtmlTextOut(&f.canvas, 10, 20, u"wide line<BR>x");
    // The second line's ink starts at the line start, below the first line.
    bool secondLineAtStart = false;
    for (int y = 20 + h; y < 20 + 2 * h; ++y)
        for (int x = 10; x < 10 + f.Width(u"x"); ++x)
            secondLineAtStart |= probe::Pixel(f.bmp, x, y) != probe::Rgb{255, 255, 255};
    EXPECT_TRUE(secondLineAtStart);
    EXPECT_EQ(f.Inked().Bottom <= 20 + 2 * h, true);
    // The lines of a chart text, joined by CR LF, break as the tag does, wherever they fall.
    for (const auto& [joined, tagged] : {std::pair<String, String>{u"wide line\r\nx", u"wide line<BR>x"},
                                         {u"<B>wide</B> line\r\nx\r\n", u"<B>wide</B> line<BR>x"}}) {
        Fixture a, b;
        HtmlTextOut(&a.canvas, 10, 20, joined);
        HtmlTextOut(&b.canvas, 10, 20, tagged);
        EXPECT_EQ(probe::Grab(a.bmp), probe::Grab(b.bmp)) << std::string(tagged.begin(), tagged.end());
        EXPECT_EQ(a.Extent(joined).cy, 2 * h);
    }
    // After a line holding a taller piece the next line starts below that piece, not over it.
    Fixture tall, one;
    HtmlTextOut(&tall.canvas, 10, 20, u"<FONT SIZE=+24>A</FONT>x<BR>y");
    HtmlTextOut(&one.canvas, 10, 20, u"<FONT SIZE=+24>A</FONT>x");
    EXPECT_GE(tall.Inked().Bottom - one.Inked().Bottom, h / 2);
}

TEST(HtmlExtent, WhatIsMeasuredIsWhatIsDrawn) {
    const String texts[] = {u"a<B>b</B>c", u"<FONT SIZE=+6>Big</FONT>small", u"one<BR>two<BR>three",
                            u"x&lt;y &amp; &quot;z&quot;", u"<I>slanted</I> <U>under</U>"};
    for (const String& t : texts) {
        Fixture f;
        SCOPED_TRACE(std::string(t.begin(), t.end()));
        ExpectInkInsideExtent(f, t, 7, 9);
    }
}

TEST(HtmlDraw, TextAfterASuperscriptASubscriptOrASmallerPieceGoesOnAlongItsLine) {
    // The ink of the text reaches as low (a subscript: as high) as the line's alone.
    const std::tuple<String, String, bool> same[] = {
        {u"H<SUPER>3</SUPER>H", u"HH", true},
        {u"H<SUB>2</SUB>H", u"HH", false},
        // Every piece of a line lower than its tallest sits on the same foot.
        {u"<FONT SIZE=+8>A</FONT>x<FONT COLOR=BLACK>x</FONT>x<FONT COLOR=BLACK>x</FONT>",
         u"<FONT SIZE=+8>A</FONT>x", true}};
    for (const auto& [text, line, bottom] : same) {
        Fixture a, b;
        HtmlTextOut(&a.canvas, 5, 30, text);
        HtmlTextOut(&b.canvas, 5, 30, line);
        if (bottom)
            EXPECT_EQ(a.Inked().Bottom, b.Inked().Bottom) << std::string(text.begin(), text.end());
        else
            EXPECT_EQ(a.Inked().Top, b.Inked().Top) << std::string(text.begin(), text.end());
    }
}

TEST(HtmlDraw, EntitiesDrawTheirCharacters) {
    Fixture a, b;
    a.canvas.TextOut(5, 5, u"x&lt;y&gt;&amp;&quot;", true); // the canvas hands HTML text over
    b.canvas.TextOut(5, 5, u"x<y>&\"", false);
    EXPECT_EQ(probe::Grab(a.bmp), probe::Grab(b.bmp));
    EXPECT_EQ(a.Extent(u"x&lt;y").cx, a.Width(u"x<y"));
}

TEST(HtmlDraw, AFontColourDrawsTheFollowingTextInIt) {
    Fixture f;
    HtmlTextOut(&f.canvas, 5, 5, u"<FONT COLOR=#FF0000>red</FONT>");
    EXPECT_GT(f.Count({255, 0, 0}), 5);
    Fixture g;
    HtmlTextOut(&g.canvas, 5, 5, u"<FONT COLOR=BLUE>blue</FONT>");
    EXPECT_GT(g.Count({0, 0, 255}), 5);
    Fixture h;
    HtmlTextOut(&h.canvas, 5, 5, u"<FONT COLOR=clLime NAME=\"Liberation Serif\">lime</FONT>");
    EXPECT_GT(h.Count({0, 255, 0}), 5);
}

TEST(HtmlDraw, MeasuringDrawsNothingWhileDrawingShowsRulesAndPlaceholders) {
    Fixture f;
    f.Extent(u"<HR><IMG SRC=\"missing.png\" WIDTH=20 HEIGHT=10>text");
    EXPECT_TRUE(f.Blank());
    const int h = f.canvas.GetFontHeight();
    HtmlTextOut(&f.canvas, 10, 10, u"<HR>");
    EXPECT_EQ(probe::Pixel(f.bmp, 10, 10), (probe::Rgb{128, 128, 128}));
    EXPECT_EQ(probe::Pixel(f.bmp, 109, 10), (probe::Rgb{128, 128, 128}));
    EXPECT_EQ(probe::Pixel(f.bmp, 110, 10), (probe::Rgb{255, 255, 255}));
    // A picture nobody can load: a white box with a red frame and red diagonals, 40 x 40
    // for missing sizes; it does not move the text after it.
    Fixture g;
    HtmlTextOut(&g.canvas, 10, 50, u"<IMG SRC=\"missing.png\">");
    EXPECT_EQ(probe::Pixel(g.bmp, 10, 50), (probe::Rgb{255, 0, 0}));
    EXPECT_EQ(probe::Pixel(g.bmp, 49, 89), (probe::Rgb{255, 0, 0}));
    EXPECT_EQ(probe::Pixel(g.bmp, 30, 70), (probe::Rgb{255, 0, 0}));     // on a diagonal
    EXPECT_EQ(probe::Pixel(g.bmp, 20, 70), (probe::Rgb{255, 255, 255})); // inside, off both
    EXPECT_EQ(g.canvas.Pen->GetColor(), clBlack);                        // the canvas pen is put back
    // Sizes from a file are held to the largest a picture may have.
    Fixture b;
    const String huge = u"x<IMG SRC=missing.png WIDTH=2147483647 HEIGHT=2147483647>";
    EXPECT_EQ(b.Extent(huge), (TSize{b.Width(u"x") + kLargestPictureSide, kLargestPictureSide}));
    HtmlTextOut(&b.canvas, 10, 10, huge);
    EXPECT_EQ(probe::Pixel(b.bmp, 10 + b.Width(u"x"), 10), (probe::Rgb{255, 0, 0}));
    // After a rule the text goes on a font height lower.
    Fixture r;
    HtmlTextOut(&r.canvas, 10, 10, u"<HR>x");
    EXPECT_GE(r.Inked().Bottom, 10 + 2 * h - 4);
}

TEST(HtmlErrors, MalformedTextsRaiseTheirMessages) {
    Fixture f;
    auto message = [&f](const String& t) -> std::string {
        try {
            f.Extent(t);
        } catch (const Exception& e) {
            return e.what();
        }
        return "(none)";
    };
    EXPECT_EQ(message(u"abc<"), "Missing > at ");
    EXPECT_EQ(message(u"ab<B c"), "Missing > at B c");
    EXPECT_EQ(message(u"<FONT FOO=1>a"), "Unknown field in FONT: FOO");
    EXPECT_EQ(message(u"<FONT WEIGHT=heavy>a"), "Unknown field in FONT WEIGHT=heavy");
    EXPECT_THROW(f.Extent(u"x<"), HtmlParserException);
    EXPECT_EQ(f.canvas.Font->GetSize(), 12); // the font is put back after a failure too
}

TEST(HtmlState, AnUnclosedTagLeavesNothingForTheNextText) {
    Fixture f;
    const TSize plain = f.Extent(u"ab");
    f.Extent(u"<B><FONT SIZE=30>open");
    EXPECT_EQ(f.canvas.Font->GetSize(), 12);
    EXPECT_FALSE(f.canvas.Font->GetStyle().Contains(fsBold));
    EXPECT_EQ(f.Extent(u"ab").cx, plain.cx);
    // A "</>" first in a text finds no font or style of an earlier text to undo.
    EXPECT_EQ(f.Extent(u"</>ab").cx, plain.cx);
}

namespace {
// The picture hooks as the picture export unit installs them: bitmaps by extension, and
// a download that hands out one 4 x 2 green bitmap.
TGraphic* BitmapsOnly(const String& Extension) {
    return Extension == u".BMP" ? new TBitmap : nullptr;
}
int GreenBitmap(const String& Source, TMemoryStream* Stream) {
    TBitmap b;
    b.SetSize(4, 2);
    b.GetCanvas()->GetBrush()->SetColor(clLime);
    b.GetCanvas()->FillRect(TRect(0, 0, 4, 2));
    if (Source == u"broken.bmp") {
        Stream->WriteBuffer("BM not a picture", 16);
        return 0;
    }
    b.SaveToStream(Stream);
    return Source == u"pic.bmp" ? 0 : 1;
}
struct PictureHooks {
    PictureHooks() {
        GraphicFileExtension = BitmapsOnly;
        GraphicDownload = GreenBitmap;
    }
    ~PictureHooks() {
        GraphicFileExtension = nullptr;
        GraphicDownload = nullptr;
    }
};
} // namespace

TEST(HtmlPictures, ALoadedPictureIsDrawnAtItsSizeOrStretchedAndMovesThePosition) {
    PictureHooks hooks;
    Fixture f;
    HtmlTextOut(&f.canvas, 10, 10, u"<IMG SRC=\"pic.bmp\">");
    EXPECT_EQ(probe::Pixel(f.bmp, 10, 10), (probe::Rgb{0, 255, 0}));
    EXPECT_EQ(probe::Pixel(f.bmp, 13, 11), (probe::Rgb{0, 255, 0}));
    EXPECT_EQ(probe::Pixel(f.bmp, 14, 11), (probe::Rgb{255, 255, 255}));
    EXPECT_EQ(f.Extent(u"<IMG SRC=\"pic.bmp\">"), (TSize{4, 2}));
    Fixture g;
    HtmlTextOut(&g.canvas, 10, 10, u"<IMG WIDTH=20 HEIGHT=8 SRC=pic.bmp>");
    EXPECT_EQ(probe::Pixel(g.bmp, 29, 17), (probe::Rgb{0, 255, 0}));
    EXPECT_EQ(probe::Pixel(g.bmp, 30, 17), (probe::Rgb{255, 255, 255}));
    // The text after a picture starts to its right and below it.
    Fixture h;
    const TSize e = h.Extent(u"<IMG SRC=pic.bmp>x");
    EXPECT_EQ(e.cx, 4 + h.Width(u"x"));
    // A size from a file is held to the largest a picture may have.
    EXPECT_EQ(h.Extent(u"<IMG SRC=pic.bmp WIDTH=2147483647 HEIGHT=1>x").cx,
              kLargestPictureSide + h.Width(u"x"));
    // An extension nobody reads, a failed download, or bytes that are no picture give the
    // placeholder.
    Fixture p;
    HtmlTextOut(&p.canvas, 10, 10, u"<IMG SRC=pic.gif WIDTH=10 HEIGHT=10>");
    EXPECT_EQ(probe::Pixel(p.bmp, 10, 10), (probe::Rgb{255, 0, 0}));
    Fixture q;
    HtmlTextOut(&q.canvas, 10, 10, u"<IMG SRC=other.bmp WIDTH=10 HEIGHT=10>");
    EXPECT_EQ(probe::Pixel(q.bmp, 10, 10), (probe::Rgb{255, 0, 0}));
    Fixture r;
    HtmlTextOut(&r.canvas, 10, 10, u"<IMG SRC=broken.bmp WIDTH=10 HEIGHT=10>");
    EXPECT_EQ(probe::Pixel(r.bmp, 10, 10), (probe::Rgb{255, 0, 0}));
}

TEST(HtmlDraw, CentredTextSitsInTheMiddleOfTheCanvas) {
    Fixture f; // 300 wide
    const int w = f.Width(u"middle");
    HtmlTextOut(&f.canvas, 0, 10, u"<CENTER>middle</CENTER>");
    const TRect ink = f.Inked();
    EXPECT_GE(ink.Left, 150 - w / 2);
    EXPECT_LE(ink.Right, 150 - w / 2 + w);
    EXPECT_GT(ink.Left, 100);
}
