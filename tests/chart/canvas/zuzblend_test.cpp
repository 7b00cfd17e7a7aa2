// Transparency: the background saved under a rectangle is mixed back over what was drawn,
// through the system's constant-alpha blend or pixel by pixel, against pixels worked out
// by hand.
#include "chart/canvas/zuzblend.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "tests/chart/canvas/canvasfixture.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

namespace {

using probe::Rgb;

void Paint(TBitmap& B, int W, int H, TColor C) {
    B.SetPixelFormat(pf24bit);
    B.SetSize(W, H);
    B.GetCanvas()->GetBrush()->SetColor(C);
    B.GetCanvas()->FillRect(TRect(0, 0, W, H));
}

// The system blend switched off for one test: the per-pixel road.
struct WithoutAlphaBlend {
    decltype(ZuzAlphaBlend) saved = ZuzAlphaBlend;
    WithoutAlphaBlend() { ZuzAlphaBlend = nullptr; }
    ~WithoutAlphaBlend() { ZuzAlphaBlend = saved; }
};

struct Fixture : canvastest::CanvasOn {
    Fixture() : CanvasOn(40, 30) {}
    void Fill(const TRect& R, TColor C) {
        canvas.Brush->SetStyle(bsSolid);
        canvas.Brush->SetColor(C);
        canvas.FillRect(R);
    }
};

} // namespace

TEST(BlendBitmaps, TheSystemBlendKeepsThePercentOfTheTarget) {
    probe::EnsureApplication();
    ZuzCanvasInitialization();
    TBitmap from, to;
    Paint(from, 4, 4, MakeColor(200, 100, 0));
    Paint(to, 6, 6, MakeColor(0, 100, 250));
    // Percent 30: constant alpha 255 - Round(76.5) = 179 on the source, 76 on the target.
    ZuzBlendBitmaps(30, &from, &to, {1, 1});
    EXPECT_EQ(probe::Pixel(to, 1, 1),
              (Rgb{(200 * 179 + 127) / 255, (100 * 255 + 127) / 255, (250 * 76 + 127) / 255}));
    EXPECT_EQ(probe::Pixel(to, 4, 4), probe::Pixel(to, 1, 1));
    EXPECT_EQ(probe::Pixel(to, 0, 0), (Rgb{0, 100, 250})); // outside Pos
    EXPECT_EQ(probe::Pixel(to, 5, 5), (Rgb{0, 100, 250})); // beyond the source's size
}

TEST(BlendBitmaps, PixelByPixelMovesEachChannelByTruncatedSteps) {
    WithoutAlphaBlend pixels;
    probe::EnsureApplication();
    TBitmap from, to;
    Paint(from, 3, 3, MakeColor(200, 100, 0));
    Paint(to, 3, 3, MakeColor(0, 101, 250));
    // Percent 30: p = 70; d + (s - d) x 70 div 100, truncated toward zero.
    ZuzBlendBitmaps(30, &from, &to, {-5, -5}); // a negative position counts as 0
    EXPECT_EQ(probe::Pixel(to, 0, 0), (Rgb{140, 101 - 70 / 100, 250 - 175}));
    EXPECT_EQ(probe::Pixel(to, 2, 2), (Rgb{140, 101, 75}));
    // A pure white target loses one step of red first, even when nothing is mixed in.
    TBitmap white;
    Paint(white, 2, 2, clWhite);
    ZuzBlendBitmaps(100, &from, &white, {0, 0});
    EXPECT_EQ(probe::Pixel(white, 0, 0), (Rgb{254, 255, 255}));
    // Beyond the target nothing happens.
    TBitmap small;
    Paint(small, 2, 2, clBlack);
    ZuzBlendBitmaps(0, &from, &small, {2, 0});
    EXPECT_EQ(probe::Pixel(small, 1, 1), (Rgb{0, 0, 0}));
}

TEST(Blending, AnElementDrawnAtFortyPercentShowsFortyPercentOfTheBackground) {
    Fixture f;
    f.Fill(TRect(0, 0, 40, 30), clWhite);
    Owned<TZuzBlend> blend = f.canvas.BeginBlending(TRect(5, 5, 15, 15), 128 + 40); // the low 7 bits
    f.Fill(TRect(0, 0, 40, 30), clRed);
    f.canvas.EndBlending(std::move(blend));
    // Alpha 255 - Round(153) = 102 on the white background.
    EXPECT_EQ(probe::Pixel(f.target, 5, 5), (Rgb{255, (255 * 102 + 127) / 255, (255 * 102 + 127) / 255}));
    EXPECT_EQ(probe::Pixel(f.target, 14, 14), probe::Pixel(f.target, 5, 5));
    EXPECT_EQ(probe::Pixel(f.target, 15, 15), (Rgb{255, 0, 0})); // outside: as drawn
    EXPECT_EQ(probe::Pixel(f.target, 4, 5), (Rgb{255, 0, 0}));
}

// A panel drawn into a picture keeps its window's bitmap meanwhile: the picture is blended.
TEST(Blending, DrawingElsewhereThanTheKeptBitmapBlendsWhereItDraws) {
    canvastest::CanvasOn f(40, 30, true);
    f.canvas.KeepBitmap = true;
    f.canvas.SetUseBuffer(false);
    TBitmap picture;
    Paint(picture, 40, 30, clWhite);
    f.canvas.InitWindow(picture.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 40, 30));
    Owned<TZuzBlend> blend = f.canvas.BeginBlending(TRect(5, 5, 15, 15), 40);
    picture.GetCanvas()->GetBrush()->SetColor(clRed);
    picture.GetCanvas()->FillRect(TRect(0, 0, 40, 30));
    f.canvas.EndBlending(std::move(blend));
    EXPECT_EQ(probe::Pixel(picture, 5, 5), (Rgb{255, (255 * 102 + 127) / 255, (255 * 102 + 127) / 255}));
    EXPECT_EQ(probe::Pixel(picture, 15, 15), (Rgb{255, 0, 0}));
}

TEST(Blending, NoTransparencyLeavesTheDrawingAndTheRectangleIsKeptOnTheCanvas) {
    Fixture f;
    f.Fill(TRect(0, 0, 40, 30), clBlue);
    Owned<TZuzBlend> blend = f.canvas.BeginBlending(TRect(10, 10, 2, 2), 0); // reversed corners
    EXPECT_EQ(blend->GetRectangle(), TRect(2, 2, 10, 10));
    f.Fill(TRect(0, 0, 40, 30), clLime);
    f.canvas.EndBlending(std::move(blend));
    EXPECT_EQ(probe::Pixel(f.target, 5, 5), (Rgb{0, 255, 0}));

    TZuzBlend thin(&f.canvas, TRect(-4, 3, -4, 3)); // negative to 0, zero size widened to 1
    EXPECT_EQ(thin.GetRectangle(), TRect(0, 3, 1, 4));
    EXPECT_TRUE(thin.IsValid());
    TZuzBlend beyond(&f.canvas, TRect(50, 5, 60, 9)); // right of the canvas: clipped to nothing
    EXPECT_FALSE(beyond.IsValid());
    TZuzBlend partly(&f.canvas, TRect(30, 20, 60, 90));
    EXPECT_EQ(partly.GetRectangle(), TRect(30, 20, 40, 30));
}

TEST(Blending, PixelByPixelGivesTheSameMixWithinRounding) {
    WithoutAlphaBlend pixels;
    Fixture f;
    f.Fill(TRect(0, 0, 40, 30), MakeColor(0, 0, 200));
    Owned<TZuzBlend> blend = f.canvas.BeginBlending(TRect(0, 0, 10, 10), 25);
    f.Fill(TRect(0, 0, 40, 30), MakeColor(200, 0, 0));
    f.canvas.EndBlending(std::move(blend));
    // p = 25: red 200 + (0 - 200) x 25 div 100 = 150, blue 0 + 200 x 25 div 100 = 50.
    EXPECT_EQ(probe::Pixel(f.target, 3, 3), (Rgb{150, 0, 50}));
}
