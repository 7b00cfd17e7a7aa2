// Chart text on the canvas: a chart font applied, shadows placed, measured and blurred,
// outlined, gradient- and picture-filled letters, turned and zoomed text, and the clip kept
// through the effects.
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"

#include "tests/chart/canvas/canvasfixture.h"
#include "tests/support/picturefile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

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
    c.canvas.AssignFont(&f);
    EXPECT_EQ(c.canvas.TextWidth(u"I"), plainW + 2);
    EXPECT_EQ(c.canvas.TextHeight(u"I"), plainH + 3);
    // A hidden shadow neither draws nor widens.
    f.GetShadow()->SetVisible(false);
    EXPECT_EQ(c.canvas.TextWidth(u"I"), plainW);

    // The ink of a letter drawn at (40, 10) with a red shadow.
    const auto inkOf = [](int h, int v, TColor color, TColor shadowColor = kRed) {
        CanvasOn d(200, 100);
        TZuzFont s;
        BigFont(s);
        s.GetShadow()->SetHorizSize(h);
        s.GetShadow()->SetVertSize(v);
        s.GetShadow()->SetColor(shadowColor);
        d.canvas.AssignFont(&s);
        d.canvas.Brush->SetStyle(bsClear);
        d.canvas.TextOut(40, 10, u"I");
        return d.InkBox(color);
    };
    const TRect plain = inkOf(0, 0, clBlack);
    ASSERT_NE(plain, TRect());
    // A negative offset keeps the shadow at the point and moves the text the other way.
    for (const auto& [h, v] : {std::pair{-2, 3}, std::pair{2, -3}}) {
        const int dx = std::max(0, -h), dy = std::max(0, -v);
        EXPECT_EQ(inkOf(h, v, clBlack),
                  TRect(plain.Left + dx, plain.Top + dy, plain.Right + dx, plain.Bottom + dy))
            << h << "," << v;
        const TRect shadow = inkOf(h, v, kRed); // where the text leaves it showing
        EXPECT_EQ(h < 0 ? shadow.Left : shadow.Right, h < 0 ? plain.Left : plain.Right + h) << h << "," << v;
        EXPECT_EQ(v < 0 ? shadow.Top : shadow.Bottom, v < 0 ? plain.Top : plain.Bottom + v) << h << "," << v;
    }
    // A shadow of no colour is not drawn, yet the text keeps the place its measure gives it.
    EXPECT_EQ(inkOf(-6, 0, clNone, clNone), // every pixel that is not white
              TRect(plain.Left + 6, plain.Top, plain.Right + 6, plain.Bottom));
}

TEST(ChartText, AnOutlinedFontWithoutColourDrawsHollowLetters) {
    const std::vector<TPoint> inside = Inside(u"H", 10, 5, 120, 80);
    ASSERT_GT(inside.size(), 20u);
    for (const TColor fill : {clNone, kRed}) {
        CanvasOn c(120, 80);
        c.canvas.Brush->SetColor(kGreen); // a back that a fill in white would cover
        c.canvas.FillRect(TRect(0, 0, 120, 80));
        TZuzFont f;
        BigFont(f);
        f.SetColor(fill);
        f.GetOutLine()->SetVisible(true);
        f.GetOutLine()->SetColor(kBlue);
        c.canvas.AssignFont(&f);
        c.canvas.TextOut(10, 5, u"H");
        EXPECT_GT(Count(c, kBlue), 50);
        for (const TPoint p : inside) EXPECT_EQ(c.At(p.X, p.Y), fill == clNone ? kGreen : kRed);
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

// The letters of a turned label leave the upright text rectangle, and those standing on their
// point or on their baseline lie above it: a gradient or a picture still fills them all.
TEST(ChartText, AGradientOrPictureFillsEveryLetterTurnedOrStandingOnItsPointOrBaseline) {
    enum Fill { plain, gradient, picture };
    TBitmap red;
    red.SetSize(1, 1);
    red.GetCanvas()->SetPixel(0, 0, kRed);
    const auto inked = [&](int turn, UINT align, Fill fill, TColor color) {
        CanvasOn c(220, 220);
        c.canvas.SetTextAlign(align);
        TZuzFont f;
        BigFont(f, 28);
        f.GetGradient()->SetVisible(fill == gradient);
        f.GetGradient()->SetStartColor(kRed);
        f.GetGradient()->SetEndColor(kRed);
        if (fill == picture) f.GetPicture()->SetGraphic(&red);
        c.canvas.AssignFont(&f);
        c.canvas.RotateLabel(100, turn ? 200 : 110, u"Hqyj", turn);
        return Count(c, color);
    };
    for (const auto& [turn, align] : {std::pair{90, UINT{TA_LEFT}}, std::pair{0, UINT{TA_BOTTOM}},
                                      std::pair{0, UINT{TA_BASELINE}}, std::pair{90, UINT{TA_BASELINE}}}) {
        const int letters = inked(turn, align, plain, clBlack);
        ASSERT_GT(letters, 300) << turn << " " << align;
        for (const Fill fill : {gradient, picture})
            EXPECT_GT(inked(turn, align, fill, kRed), letters * 9 / 10)
                << turn << " " << align << " " << fill;
    }
}

TEST(ChartText, ATransparentShadowIsBlendedWhereItFallsTurnedOrStandingOnItsPointOrBaseline) {
    for (const UINT align : {UINT{TA_LEFT}, UINT{TA_CENTER | TA_BOTTOM}, UINT{TA_BASELINE}})
        for (const int turn : {90, 0}) {
            const auto opaque = [align, turn](int transparency) {
                CanvasOn c(220, 220);
                c.canvas.SetTextAlign(align);
                TZuzFont f;
                BigFont(f, 28);
                f.GetShadow()->SetVisible(true);
                f.GetShadow()->SetSize(4);
                f.GetShadow()->SetColor(kBlue);
                f.GetShadow()->SetTransparency(transparency);
                c.canvas.AssignFont(&f);
                c.canvas.RotateLabel(100, align == TA_LEFT && turn ? 200 : 110, u"HMHM", turn);
                return Count(c, kBlue);
            };
            ASSERT_GT(opaque(0), 100) << align << " " << turn;
            EXPECT_EQ(opaque(50), 0) << align << " " << turn;
        }
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

TEST(ChartText, ASmoothShadowIsBlurredOnlyWhenDrawnIntoTheBuffer) {
    // The brightness of every pixel of a shadowed letter.
    const auto drawn = [](bool buffered, int blur) {
        CanvasOn c(160, 90, buffered);
        ZuzFiltersInitialization(); // the blur comes with the filters
        TZuzFont f;
        BigFont(f);
        f.GetShadow()->SetSize(5);
        f.GetShadow()->SetColor(static_cast<TColor>(RGB(90, 90, 90)));
        f.GetShadow()->SetSmoothBlur(blur);
        c.canvas.AssignFont(&f);
        c.canvas.Brush->SetStyle(bsClear);
        c.canvas.TextOut(10, 5, u"H");
        std::vector<int> out;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 160; ++x) out.push_back(Brightness(c.RgbAt(x, y)));
        return out;
    };
    const std::vector<int> flat = drawn(true, 0);
    EXPECT_EQ(std::set<int>(flat.begin(), flat.end()), (std::set<int>{0, 3 * 90, 3 * 255}));
    const auto blurred = [&](int blur) {
        const std::vector<int> b = drawn(true, blur);
        int change = 0;
        for (std::size_t i = 0; i < b.size(); ++i) change += std::abs(b[i] - flat[i]);
        EXPECT_EQ(b.back(), 3 * 255); // only the shadow's own rectangle is blurred
        return change;
    };
    // The blur's centre weight: the more, the nearer the flat shadow.
    const int light = blurred(40), strong = blurred(1);
    EXPECT_GT(light, 0);
    EXPECT_LT(light, strong / 2);
    EXPECT_EQ(drawn(false, 40), flat); // straight onto a picture there is no bitmap to blur
}

TEST(ChartText, ATurnedLabelsSmoothShadowIsBlurredAllAlongItAndNothingBesideIt) {
    // A label standing up from (40, 200) over stripes, its shadow flat or blurred.
    const auto drawn = [](int blur) {
        CanvasOn c(120, 220, true);
        ZuzFiltersInitialization();
        c.canvas.Pen->SetColor(clBlack);
        for (int x = 0; x < 120; x += 4) c.canvas.DoVertLine(x, 0, 220);
        TZuzFont f;
        BigFont(f, 28);
        f.GetShadow()->SetSize(4);
        f.GetShadow()->SetColor(static_cast<TColor>(RGB(90, 90, 90)));
        f.GetShadow()->SetSmoothBlur(blur);
        c.canvas.AssignFont(&f);
        c.canvas.RotateLabel(40, 200, u"HHHH", 90);
        std::vector<int> out;
        for (int y = 0; y < 220; ++y)
            for (int x = 0; x < 120; ++x) out.push_back(Brightness(c.RgbAt(x, y)));
        return out;
    };
    const std::vector<int> flat = drawn(0), blurred = drawn(1);
    int along = 0, beside = 0;
    for (std::size_t i = 0; i < flat.size(); ++i) {
        if (flat[i] == blurred[i]) continue;
        along += i / 120 < 150;
        beside += i / 120 > 206;
    }
    EXPECT_GT(along, 0);  // the far end of the shadow is blurred too
    EXPECT_EQ(beside, 0); // the stripes below the label's point stay sharp
}

TEST(ChartText, TextIn3DIsZoomedWithTheViewUnlessTheViewKeepsItsSize) {
    const auto inkWidth = [](int zoom, bool zoomText, bool turned) {
        CanvasOn c(300, 120);
        TView3DOptions options;
        options.SetZoom(zoom);
        options.SetZoomText(zoomText);
        c.canvas.InitWindow(c.target.GetCanvas(), &options, clWhite, true, TRect(0, 0, 300, 120));
        c.canvas.Projection(0, TRect(), TRect(0, 0, 300, 120));
        TZuzFont f;
        BigFont(f, 24);
        c.canvas.AssignFont(&f);
        if (turned)
            c.canvas.RotateLabel3D(150, 60, 0, u"HHH", 360);
        else
            c.canvas.TextOut3D(150, 60, 0, u"HHH");
        return c.InkBox().Width();
    };
    const int full = inkWidth(100, true, false);
    EXPECT_NEAR(inkWidth(50, true, false), full / 2, 3);
    EXPECT_NEAR(inkWidth(50, true, true), full / 2, 3);
    EXPECT_EQ(inkWidth(50, false, false), full);
    EXPECT_EQ(inkWidth(50, false, true), full);
}

// A chart title as a panel shows it: a gradient back, a rounded shadowed box, and a title with a
// blurred shadow, gradient-filled and outlined, with a turned axis caption. Kept as "title.png"
// to look at.
TEST(ChartText, ATitledShadowedGradientPanel) {
    CanvasOn c(480, 300, true);
    ZuzFiltersInitialization();
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
    title.GetShadow()->SetSize(5);
    title.GetShadow()->SetSmoothBlur(1);
    title.GetShadow()->SetColor(static_cast<TColor>(RGB(120, 120, 140)));
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
    EXPECT_TRUE(probe::Grab(*c.canvas.GetBitmap()).SavePng(testsupport::PictureFile("title.png")));
}

TEST(ChartText, APictureFillsTheLettersStretchedOverTheTextThroughItsFilters) {
    const std::vector<TPoint> inside = Inside(u"HH", 10, 5, 160, 80);
    ASSERT_GT(inside.size(), 20u);
    TBitmap picture;
    picture.SetSize(2, 1);
    picture.GetCanvas()->SetPixel(0, 0, kRed);
    picture.GetCanvas()->SetPixel(1, 0, kBlue);
    TZuzFont f;
    BigFont(f);
    f.GetPicture()->SetGraphic(&picture);
    const auto drawn = [&](const char* name) {
        CanvasOn c(160, 80);
        c.canvas.AssignFont(&f);
        c.canvas.TextOut(10, 5, u"HH");
        EXPECT_EQ(c.At(5, 5), clWhite);
        EXPECT_TRUE(probe::Grab(c.target).SavePng(testsupport::PictureFile(name)));
        const int middle = 10 + c.canvas.TextWidth(u"HH") / 2;
        std::set<std::pair<TColor, TColor>> halves; // left, right
        for (const TPoint p : inside) {
            if (std::abs(p.X - middle) <= 2) continue; // the two halves meet here
            const TColor seen = c.At(p.X, p.Y);
            halves.insert(p.X < middle ? std::pair{seen, clNone} : std::pair{clNone, seen});
        }
        return halves;
    };
    using Halves = std::set<std::pair<TColor, TColor>>;
    EXPECT_EQ(drawn("font-picture.png"), (Halves{{kRed, clNone}, {clNone, kBlue}}));
    // The font editor's filters: inverted, red letters turn cyan and blue ones yellow.
    static_cast<TZuzPicture*>(f.GetPicture())->GetFilters()->Add(TInvertFilter::StaticClass());
    EXPECT_EQ(drawn("font-picture-inverted.png"), (Halves{{clAqua, clNone}, {clNone, clYellow}}));
}
