// Chart text on the canvas: a chart font applied, shadows placed and measured, outlined,
// gradient-filled and turned letters, the clip kept through the effects; and the 2D shapes by
// angles and the darkened colours.
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"

#include "tests/chart/canvas/canvasfixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <numbers>

using namespace canvastest;

namespace {

constexpr TColor kRed = static_cast<TColor>(0x0000FF);
constexpr TColor kBlue = static_cast<TColor>(0xFF0000);
constexpr TColor kGreen = static_cast<TColor>(0x00FF00);

void BigFont(TZuzFont& f, int size = 48) {
    f.SetName(u"Arial");
    f.SetSize(size);
    f.SetStyle(TFontStyles{fsBold});
}

// Pixels well inside the letters drawn plainly in black: two pixels from any edge.
std::vector<TPoint> Inside(const String& text, int x, int y, int w, int h) {
    CanvasOn c(w, h);
    TZuzFont f;
    BigFont(f);
    c.canvas.AssignFont(&f);
    c.canvas.Brush->SetStyle(bsClear);
    c.canvas.TextOut(x, y, text);
    std::vector<TPoint> out;
    for (int py = 2; py < h - 2; ++py)
        for (int px = 2; px < w - 2; ++px) {
            bool deep = true;
            for (int dy = -2; dy <= 2 && deep; ++dy)
                for (int dx = -2; dx <= 2 && deep; ++dx) deep = c.At(px + dx, py + dy) == clBlack;
            if (deep) out.push_back({px, py});
        }
    return out;
}

int Count(CanvasOn& c, TColor color) {
    int n = 0;
    for (int y = 0; y < c.target.GetHeight(); ++y)
        for (int x = 0; x < c.target.GetWidth(); ++x) n += c.At(x, y) == color;
    return n;
}

} // namespace

TEST(ChartText, AssigningAFontZoomsItBlackensItWhenMonochromeAndSpacesItsLetters) {
    CanvasOn c(40, 40);
    TZuzFont f;
    f.SetSize(8);
    f.SetColor(kRed);
    f.SetInterCharSize(3);
    c.canvas.FontZoom = 150;
    c.canvas.AssignFont(&f);
    EXPECT_EQ(c.canvas.Font->GetSize(), 12);
    EXPECT_EQ(c.canvas.Font->GetColor(), kRed);
    EXPECT_EQ(GetTextCharacterExtra(c.canvas.GetHandle()), 3);
    EXPECT_EQ(c.canvas.ZuzFont, &f);
    EXPECT_EQ(f.Canvas, &c.canvas);
    c.canvas.SetMonochrome(true);
    c.canvas.FontZoom = 100;
    c.canvas.AssignFont(&f);
    EXPECT_EQ(c.canvas.Font->GetColor(), clBlack);
    EXPECT_EQ(c.canvas.Font->GetSize(), 8);
}

TEST(ChartText, AShadowWidensTheTextAndANegativeOffsetMovesTheTextInstead) {
    CanvasOn c(200, 100);
    TZuzFont f;
    BigFont(f);
    c.canvas.AssignFont(&f);
    const int plainW = c.canvas.TextWidth(u"I"), plainH = c.canvas.TextHeight(u"I");
    f.GetShadow()->SetHorizSize(-2);
    f.GetShadow()->SetVertSize(3);
    f.GetShadow()->SetColor(kRed);
    c.canvas.AssignFont(&f);
    EXPECT_EQ(c.canvas.TextWidth(u"I"), plainW + 2);
    EXPECT_EQ(c.canvas.TextHeight(u"I"), plainH + 3);
    c.canvas.Brush->SetStyle(bsClear);
    c.canvas.TextOut(40, 10, u"I");
    // The shadow at (40, 13), the text at (42, 10).
    const TRect shadow = c.InkBox(kRed), text = c.InkBox(clBlack);
    ASSERT_NE(text, TRect());
    EXPECT_EQ(shadow.Left + 2, text.Left);
    EXPECT_EQ(shadow.Bottom - 3, text.Bottom);
    // A hidden shadow neither draws nor widens.
    f.GetShadow()->SetVisible(false);
    EXPECT_EQ(c.canvas.TextWidth(u"I"), plainW);
}

TEST(ChartText, AnOutlinedFontWithoutColourDrawsHollowLetters) {
    const std::vector<TPoint> inside = Inside(u"H", 10, 5, 120, 80);
    ASSERT_GT(inside.size(), 20u);
    for (const TColor fill : {clNone, kRed}) {
        CanvasOn c(120, 80);
        TZuzFont f;
        BigFont(f);
        f.SetColor(fill);
        f.GetOutLine()->SetVisible(true);
        f.GetOutLine()->SetColor(kBlue);
        c.canvas.AssignFont(&f);
        c.canvas.TextOut(10, 5, u"H");
        EXPECT_GT(Count(c, kBlue), 50);
        for (const TPoint p : inside) EXPECT_EQ(c.At(p.X, p.Y), fill == clNone ? clWhite : kRed);
    }
}

TEST(ChartText, AGradientFillsTheLettersAndTheOutlinePenDrawsTheirEdges) {
    const std::vector<TPoint> inside = Inside(u"HM", 10, 5, 200, 80);
    ASSERT_GT(inside.size(), 20u);
    CanvasOn c(200, 80);
    TZuzFont f;
    BigFont(f);
    TZuzFontGradient* g = f.GetGradient();
    g->SetVisible(true);
    g->SetDirection(gdLeftRight);
    g->SetStartColor(kRed);
    g->SetEndColor(kBlue);
    f.GetOutLine()->SetVisible(true);
    f.GetOutLine()->SetColor(kGreen);
    c.canvas.AssignFont(&f);
    c.canvas.TextOut(10, 5, u"HM");
    // Inside, the colour the same gradient has over the text's rectangle.
    CanvasOn ref(200, 80);
    ref.canvas.GradientFill(TRect(10, 5, 10 + c.canvas.TextWidth(u"HM"), 5 + c.canvas.TextHeight(u"HM")),
                            kRed, kBlue, gdLeftRight, 50, 0, 0);
    for (const TPoint p : inside) ASSERT_EQ(c.At(p.X, p.Y), ref.At(p.X, p.Y)) << p.X << "," << p.Y;
    EXPECT_GT(Count(c, kGreen), 50);
    EXPECT_EQ(c.At(5, 5), clWhite); // outside the letters nothing
}

TEST(ChartText, AGradientWithItsOutlineFlagFillsOnlyTheWidenedOutlines) {
    const std::vector<TPoint> inside = Inside(u"H", 10, 5, 120, 80);
    CanvasOn c(120, 80);
    TZuzFont f;
    BigFont(f);
    f.GetGradient()->SetVisible(true);
    f.GetGradient()->SetOutline(true);
    f.GetGradient()->SetStartColor(kRed);
    f.GetGradient()->SetEndColor(kRed);
    f.GetOutLine()->SetVisible(true);
    f.GetOutLine()->SetColor(kGreen);
    c.canvas.AssignFont(&f);
    c.canvas.TextOut(10, 5, u"H");
    EXPECT_GT(Count(c, kRed), 50);
    EXPECT_EQ(Count(c, kGreen), 0); // no stroke
    int hollow = 0;
    for (const TPoint p : inside) hollow += c.At(p.X, p.Y) == clWhite;
    EXPECT_GT(hollow, static_cast<int>(inside.size()) / 2);
}

TEST(ChartText, LetterEffectsPutBackTheClipInForceBeforeThem) {
    CanvasOn c(120, 80);
    c.canvas.ClipRectangle(TRect(0, 0, 60, 80));
    TZuzFont f;
    BigFont(f);
    f.GetGradient()->SetVisible(true);
    c.canvas.AssignFont(&f);
    c.canvas.TextOut(10, 5, u"HH");
    c.canvas.Brush->SetColor(clLime);
    c.canvas.Brush->SetStyle(bsSolid);
    c.canvas.FillRect(TRect(0, 0, 120, 80));
    c.canvas.UnClipRectangle();
    EXPECT_EQ(c.At(30, 2), clLime);
    EXPECT_EQ(c.At(90, 2), clWhite); // it was still clipped to the chart's rectangle
}

TEST(ChartText, RotatedLabelsRunCounterClockwiseFromTheirPoint) {
    const auto boxAt = [](double angle) {
        CanvasOn c(240, 240);
        TZuzFont f;
        f.SetName(u"Arial");
        f.SetSize(14);
        c.canvas.AssignFont(&f);
        c.canvas.RotateLabel(120, 120, u"Values", angle);
        return c.InkBox();
    };
    const TRect r0 = boxAt(0), r90 = boxAt(90), r180 = boxAt(180), r270 = boxAt(270), r45 = boxAt(45);
    EXPECT_GE(r0.Left, 119);
    EXPECT_GT(r0.Width(), r0.Height());
    EXPECT_LE(r90.Bottom, 121);
    EXPECT_GT(r90.Height(), r90.Width());
    EXPECT_LE(r180.Right, 121);
    EXPECT_GT(r180.Width(), r180.Height());
    EXPECT_GE(r270.Top, 119);
    EXPECT_GT(r270.Height(), r270.Width());
    EXPECT_LT(r45.Top, 110); // up and to the right
    EXPECT_GT(r45.Right, 130);
    EXPECT_NEAR(r45.Width(), r45.Height(), 12);
    EXPECT_EQ(boxAt(450), r90);              // above a turn: one turn less
    EXPECT_EQ(boxAt(360.0 * 1e9 + 90), r90); // however many turns
    EXPECT_EQ(boxAt(360), r0);               // a whole turn stays a whole turn
}

TEST(Shapes, AnArcByAnglesRunsCounterClockwiseFromItsStartAngle) {
    CanvasOn c(110, 60);
    c.canvas.Pen->SetColor(clBlack);
    c.canvas.Arc(0, 0, 100, 50, 0.0, 90.0);
    // From (100, 25) to (50, 0): the upper right quarter only.
    const TRect box = c.InkBox();
    EXPECT_GE(box.Left, 49);
    EXPECT_LE(box.Bottom, 27);
    EXPECT_GE(box.Right, 98);
    EXPECT_LE(box.Top, 1);
}

TEST(Shapes, DonutsHaveHolesUnlessTheirEndsMeet) {
    CanvasOn c(100, 100);
    c.canvas.Brush->SetColor(kRed);
    c.canvas.Pen->SetColor(clBlack);
    const double pi = std::numbers::pi;
    c.canvas.Donut(50, 50, 40, 40, 0, pi / 2, 50);
    EXPECT_EQ(c.At(71, 29), kRed);    // in the ring, half way round the quarter
    EXPECT_EQ(c.At(56, 44), clWhite); // in the hole
    EXPECT_EQ(c.At(30, 70), clWhite); // another quarter
    CanvasOn full(100, 100);
    full.canvas.Brush->SetColor(kRed);
    full.canvas.Donut(50, 50, 40, 40, 0, 2 * pi, 50); // the inner ends coincide: no hole
    EXPECT_EQ(full.At(50, 50), kRed);
}

TEST(Shapes, DarkAndBrightColours) {
    EXPECT_EQ(ApplyDark(clWhite, 64), static_cast<TColor>(RGB(191, 191, 191)));
    EXPECT_EQ(ApplyDark(static_cast<TColor>(RGB(50, 100, 200)), 64), static_cast<TColor>(RGB(0, 36, 136)));
    EXPECT_EQ(ApplyBright(static_cast<TColor>(RGB(200, 100, 0)), 64), static_cast<TColor>(RGB(255, 164, 64)));
    CanvasOn c(10, 10);
    c.canvas.Brush->SetStyle(bsSolid);
    c.canvas.InternalDark(clWhite, 64);
    EXPECT_EQ(c.canvas.Brush->GetColor(), static_cast<TColor>(RGB(191, 191, 191)));
    c.canvas.Brush->SetStyle(bsCross);
    c.canvas.InternalDark(clWhite, 128);
    EXPECT_EQ(c.canvas.GetBackColor(), static_cast<TColor>(RGB(127, 127, 127)));
}

// A chart title as a panel shows it: a gradient back, a rounded shadowed box, and a shadowed,
// gradient-filled, outlined title with a turned axis caption. Set MOLTREN_PICTURE_DIR to keep
// the picture ("title.png") to look at.
TEST(ChartText, ATitledShadowedGradientPanel) {
    CanvasOn c(480, 300, true);
    TZuzGradient back;
    back.SetDirection(gdTopBottom);
    back.SetStartColor(static_cast<TColor>(RGB(255, 255, 255)));
    back.SetEndColor(static_cast<TColor>(RGB(150, 180, 230)));
    back.Draw(&c.canvas, TRect(0, 0, 480, 300));
    const TRect box(60, 30, 420, 100);
    TZuzShadow shadow;
    shadow.SetSize(6);
    shadow.SetColor(static_cast<TColor>(RGB(80, 80, 80)));
    shadow.Draw(&c.canvas, box, 0, 16);
    TZuzGradient boxFill;
    boxFill.SetDirection(gdTopBottom);
    boxFill.SetStartColor(static_cast<TColor>(RGB(235, 240, 255)));
    boxFill.SetEndColor(static_cast<TColor>(RGB(255, 255, 255)));
    boxFill.Draw(&c.canvas, box, 16);
    c.canvas.Pen->SetColor(static_cast<TColor>(RGB(60, 80, 140)));
    c.canvas.Brush->SetStyle(bsClear);
    c.canvas.RoundRect(box, 16, 16);
    TZuzFont title;
    title.SetName(u"Arial");
    title.SetSize(26);
    title.SetStyle(TFontStyles{fsBold});
    title.GetShadow()->SetSize(3);
    title.GetShadow()->SetColor(static_cast<TColor>(RGB(150, 150, 170)));
    TZuzFontGradient* g = title.GetGradient();
    g->SetVisible(true);
    g->SetDirection(gdTopBottom);
    g->SetStartColor(static_cast<TColor>(RGB(10, 40, 120)));
    g->SetEndColor(static_cast<TColor>(RGB(60, 140, 255)));
    title.GetOutLine()->SetVisible(true);
    title.GetOutLine()->SetColor(static_cast<TColor>(RGB(10, 20, 60)));
    c.canvas.AssignFont(&title);
    c.canvas.SetTextAlign(TA_CENTER);
    c.canvas.TextOut(240, 45, u"Archive of device 1");
    TZuzFont caption;
    caption.SetSize(11);
    c.canvas.AssignFont(&caption);
    c.canvas.SetTextAlign(TA_LEFT);
    c.canvas.RotateLabel(30, 260, u"Value 1", 90);
    const TRect ink = c.InkBox(static_cast<TColor>(RGB(10, 20, 60)));
    EXPECT_GT(ink.Width(), 200); // the outlined title spans the box
    EXPECT_GE(ink.Top, 40);
    EXPECT_LE(ink.Bottom, 100);
    if (const char* dir = std::getenv("MOLTREN_PICTURE_DIR"))
        probe::Grab(*c.canvas.GetBitmap()).SavePng(std::filesystem::path(dir) / "title.png");
}

TEST(ChartText, APictureFillsTheLettersStretchedOverTheText) {
    const std::vector<TPoint> inside = Inside(u"HH", 10, 5, 160, 80);
    ASSERT_GT(inside.size(), 20u);
    TBitmap picture;
    picture.SetSize(2, 1);
    picture.GetCanvas()->SetPixel(0, 0, kRed);
    picture.GetCanvas()->SetPixel(1, 0, kBlue);
    CanvasOn c(160, 80);
    TZuzFont f;
    BigFont(f);
    f.GetPicture()->SetGraphic(&picture);
    c.canvas.AssignFont(&f);
    c.canvas.TextOut(10, 5, u"HH");
    const int middle = 10 + c.canvas.TextWidth(u"HH") / 2;
    for (const TPoint p : inside) {
        if (std::abs(p.X - middle) <= 2) continue; // the two halves meet here
        EXPECT_EQ(c.At(p.X, p.Y), p.X < middle ? kRed : kBlue) << p.X << "," << p.Y;
    }
    EXPECT_EQ(c.At(5, 5), clWhite);
}
