// The standard filters on small bitmaps whose expected pixels are worked out by hand from the
// filters' formulas: per-pixel maps, mirrored rows and columns, convolutions, mosaic blocks,
// bevels and the filters that change the bitmap's size.
#include "tests/chart/canvas/filterbitmaps.h"

#include <gtest/gtest.h>

using namespace filtertest;

namespace {

class FilterCatalogue : public ::testing::Test {
protected:
    void SetUp() override { StartFilters(); }
};

// One pixel through one filter: the rule's input and the hand-computed output.
struct PixelRow {
    const char* rule;
    std::function<Owned<TZuzFilter>()> make;
    Bgr in, out;
};

class PixelRule : public ::testing::TestWithParam<PixelRow> {
protected:
    void SetUp() override { StartFilters(); }
};

template <class F>
std::function<Owned<TZuzFilter>()> With(std::function<void(F&)> set = {}) {
    return [set] {
        auto f = MakeOwned<F>(nullptr);
        if (set) set(*f);
        return Owned<TZuzFilter>(f.release());
    };
}

TEST_P(PixelRule, MapsThePixelAsTheFormulaSays) {
    const PixelRow& r = GetParam();
    auto b = MakeBitmap(2, 2, [&](int, int) { return r.in; });
    r.make()->Apply(b.get());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(At(b.get(), x, y), r.out) << r.rule;
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, PixelRule,
    ::testing::Values(
        PixelRow{"InvertTakesEachChannelFrom255", With<TInvertFilter>(), Bgr{10, 20, 30}, Bgr{245, 235, 225}},
        PixelRow{"GraySimpleIsTheTruncatedMean", With<TGrayScaleFilter>(), Bgr{10, 20, 60}, Gray(30)},
        PixelRow{"GrayEyeWeighsRedGreenBlue", With<TGrayScaleFilter>([](auto& f) { f.SetMethod(gmEye); }),
                 Bgr{10, 20, 60}, Gray(31)}, // 18 + 11.8 + 1.1
        PixelRow{"GrayEye2ShiftsTheIntegerWeights",
                 With<TGrayScaleFilter>([](auto& f) { f.SetMethod(gmEye2); }), Bgr{10, 20, 60},
                 Gray(32)}, // 1030 >> 5
        PixelRow{"BrightnessPercentAddsRounded255th", With<TBrightnessFilter>(), Bgr{10, 100, 250},
                 Bgr{23, 113, 255}}, // 5 % of 255 = 12.75
        PixelRow{"BrightnessZeroLeavesThePixelEvenWithPercent",
                 With<TBrightnessFilter>([](auto& f) { f.SetAmount(0); }), Bgr{10, 100, 250},
                 Bgr{10, 100, 250}},
        PixelRow{"BrightnessStepsClampAtZero", With<TBrightnessFilter>([](auto& f) {
                     f.SetPercent(false);
                     f.SetAmount(-20);
                 }),
                 Bgr{10, 100, 250}, Bgr{0, 80, 230}},
        PixelRow{"BrightnessOfAHugeAmountOnlySaturates", With<TBrightnessFilter>([](auto& f) {
                     f.SetPercent(false);
                     f.SetAmount(2147483647);
                 }),
                 Bgr{10, 100, 250}, Gray(255)},
        PixelRow{"Contrast256DoublesTheDistanceFrom128", With<TContrastFilter>([](auto& f) {
                     f.SetPercent(false);
                     f.SetAmount(256);
                 }),
                 Bgr{100, 150, 200}, Bgr{72, 172, 255}},
        PixelRow{"ContrastPercentScalesByTheChannelAndTruncatesTowardZero",
                 With<TContrastFilter>([](auto& f) { f.SetAmount(50); }), Bgr{100, 128, 200},
                 Bgr{95, 128, 228}}, // 100: 50 * -28 / 256 = -5.47; 200: 100 * 72 / 256 = 28.1
        PixelRow{"ContrastOfTheLargestAmountDoesNotOverflow", With<TContrastFilter>([](auto& f) {
                     f.SetPercent(false);
                     f.SetAmount(2147483647);
                 }),
                 Bgr{100, 128, 200}, Bgr{0, 128, 255}},
        PixelRow{"GammaSeventyMaps128To95", With<TGammaCorrectionFilter>(), Bgr{128, 0, 255},
                 Bgr{95, 0, 255}},
        PixelRow{"ColorAddsToTheNamedChannelsOnly", With<TColorFilter>([](auto& f) {
                     f.SetRed(10);
                     f.SetBlue(-30);
                 }),
                 Bgr{20, 100, 250}, Bgr{0, 100, 255}},
        PixelRow{"LuminanceAtTheTopTurnsAGreyWhite",
                 With<THueLumSatFilter>([](auto& f) { f.SetLuminance(255); }), Gray(128), Gray(255)},
        PixelRow{"LuminanceAtTheBottomTurnsItBlack",
                 With<THueLumSatFilter>([](auto& f) { f.SetLuminance(-255); }), Gray(128), Gray(0)}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(FilterCatalogue, FlipAndReverseSwapEveryMirroredPairOfAnEvenOrOddCount) {
    for (int n : {4, 5}) {
        auto rows = MakeBitmap(1, n, [](int, int y) { return Gray(y); });
        MakeFilter<TFlipFilter>()->Apply(rows.get());
        auto cols = MakeBitmap(n, 1, [](int x, int) { return Gray(x); });
        MakeFilter<TReverseFilter>()->Apply(cols.get());
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(At(rows.get(), 0, i), Gray(n - 1 - i)) << "flip of " << n << " rows, row " << i;
            EXPECT_EQ(At(cols.get(), i, 0), Gray(n - 1 - i))
                << "reverse of " << n << " columns, column " << i;
        }
    }
}

// Convolutions on 3x3 neighbourhoods worked out by hand; the border of the area keeps its pixels.
TEST_F(FilterCatalogue, ConvolutionsWeighTheNeighbourhoodAndLeaveTheBorder) {
    // A single bright pixel blurred with centre weight 1: a ninth of it on each inner pixel.
    auto dot = MakeBitmap(5, 5, [](int x, int y) { return Gray(x == 2 && y == 2 ? 90 : 0); });
    MakeFilter<TBlurFilter>()->Apply(dot.get());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool inner = x >= 1 && x <= 3 && y >= 1 && y <= 3;
            EXPECT_EQ(At(dot.get(), x, y), Gray(inner ? 10 : 0)) << x << "," << y;
        }

    // Two passes with centre weight 2: (2 * 10 + 10 + 10 + 10 + 0 * 5) / 10 at the centre...
    auto twice = MakeBitmap(5, 5, [](int x, int y) { return Gray(x == 2 && y == 2 ? 100 : 0); });
    auto blur = MakeFilter<TBlurFilter>();
    blur->SetAmount(2);
    blur->SetSteps(2);
    blur->Apply(twice.get());
    // first pass: centre 20, the other inner pixels 10; second: centre (2*20 + 8*10)/10 = 12,
    // an edge-middle inner pixel (2*10 + 20 + 4*10 + 3 border zeros)/10 = 8, a corner inner
    // pixel (2*10 + 20 + 10 + 10)/10 = 6
    EXPECT_EQ(At(twice.get(), 2, 2), Gray(12));
    EXPECT_EQ(At(twice.get(), 2, 1), Gray(8));
    EXPECT_EQ(At(twice.get(), 1, 1), Gray(6));
    EXPECT_EQ(At(twice.get(), 0, 0), Gray(0));

    // A file may ask for any number of passes: no more are made than the editor offers.
    const auto frame = [] {
        return MakeBitmap(60, 60, [](int x, int y) { return Gray(x % 59 == 0 || y % 59 == 0 ? 255 : 0); });
    };
    auto most = frame(), beyond = frame();
    blur->SetSteps(20);
    blur->Apply(most.get());
    blur->SetSteps(1000);
    blur->Apply(beyond.get());
    EXPECT_TRUE(SamePixels(beyond.get(), most.get()));
    EXPECT_NE(At(beyond.get(), 10, 10), Gray(0));

    auto sharp = MakeBitmap(3, 3, [](int x, int y) { return Gray(x == 1 && y == 1 ? 100 : 20); });
    MakeFilter<TSharpenFilter>()->Apply(sharp.get());
    EXPECT_EQ(At(sharp.get(), 1, 1), Gray(180)); // 2 * 100 - 8 * 0.125 * 20
    EXPECT_EQ(At(sharp.get(), 0, 1), Gray(20));

    // Emboss: upper, left and lower count -1, the pixel and its right +1; the weights sum to -1,
    // so a flat area keeps its value.
    const auto emboss = [](int up, int left, int centre, int right, int down) {
        auto b = MakeBitmap(3, 3, [&](int x, int y) {
            if (x == 1 && y == 0) return Gray(up);
            if (x == 0 && y == 1) return Gray(left);
            if (x == 1 && y == 1) return Gray(centre);
            if (x == 2 && y == 1) return Gray(right);
            if (x == 1 && y == 2) return Gray(down);
            return Gray(77);
        });
        MakeFilter<TEmbossFilter>()->Apply(b.get());
        return At(b.get(), 1, 1).g;
    };
    EXPECT_EQ(emboss(50, 50, 100, 20, 30), 10); // -(-50 - 50 + 100 + 20 - 30)
    EXPECT_EQ(emboss(10, 20, 100, 30, 40), 0);  // -60 clamps to 0
    EXPECT_EQ(emboss(77, 77, 77, 77, 77), 77);

    // Soften: the mean of the pixel, its right, lower and lower-right neighbours, rounded.
    const int softValues[3][3] = {{0, 0, 0}, {0, 10, 20}, {0, 30, 41}};
    auto soft = MakeBitmap(3, 3, [&](int x, int y) { return Gray(softValues[y][x]); });
    MakeFilter<TSoftenFilter>()->Apply(soft.get());
    EXPECT_EQ(At(soft.get(), 1, 1), Gray(25)); // (10 + 20 + 30 + 41) / 4 = 25.25
}

TEST_F(FilterCatalogue, MosaicBlocksTakeTheirMeanAndTheLastRowOfBlocksStopsAboveTheBottom) {
    // Blue holds the column, green the row: a block's mean is the mean of its columns and rows.
    auto b = MakeBitmap(20, 20, [](int x, int y) { return Bgr{x, y, 7}; });
    MakeFilter<TMosaicFilter>()->Apply(b.get()); // Amount 8
    // Columns 0..7 (3.5 rounds to 4), 8..15 (11.5 to 12), the last block 16..19 (17.5 to 18).
    const int colMean[20] = {4, 4, 4, 4, 4, 4, 4, 4, 12, 12, 12, 12, 12, 12, 12, 12, 18, 18, 18, 18};
    // Rows 0..7, 8..15 and the last row of blocks 16..18; row 19 keeps its pixels.
    const int rowMean[19] = {4, 4, 4, 4, 4, 4, 4, 4, 12, 12, 12, 12, 12, 12, 12, 12, 17, 17, 17};
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(At(b.get(), x, y), (Bgr{colMean[x], rowMean[y], 7})) << x << "," << y;
    for (int x = 0; x < 20; ++x) EXPECT_EQ(At(b.get(), x, 19), (Bgr{x, 19, 7}));

    // Amounts beyond the bitmap make one block; the largest amount computes without overflow.
    for (int amount : {100, 2147483647}) {
        auto big = MakeBitmap(4, 4, [](int x, int) { return Gray(x * 10); });
        auto m = MakeFilter<TMosaicFilter>();
        m->SetAmount(amount);
        m->Apply(big.get());
        EXPECT_EQ(At(big.get(), 0, 0), Gray(15)) << amount; // columns 0..3 of rows 0..2
        EXPECT_EQ(At(big.get(), 3, 3), Gray(30)) << amount;
    }
}

TEST_F(FilterCatalogue, BevelBrightensTopAndLeftAndDarkensBottomAndRight) {
    auto b = MakeBitmap(10, 10, [](int, int) { return Gray(100); });
    auto bevel = MakeFilter<TBevelFilter>();
    bevel->SetSize(1);
    bevel->Apply(b.get());
    EXPECT_EQ(At(b.get(), 5, 0), Gray(164));
    EXPECT_EQ(At(b.get(), 5, 9), Gray(36));
    EXPECT_EQ(At(b.get(), 0, 5), Gray(164));
    EXPECT_EQ(At(b.get(), 9, 5), Gray(36));
    EXPECT_EQ(At(b.get(), 0, 9), Gray(100)); // darkened with the bottom row, brightened with the left column
    EXPECT_EQ(At(b.get(), 9, 0), Gray(164)); // the right column starts below the top row
    EXPECT_EQ(At(b.get(), 5, 5), Gray(100));

    // A size deeper than the bitmap and the largest brightness only saturate.
    bevel->SetSize(2147483647);
    bevel->SetBright(2147483647);
    bevel->Apply(b.get());
    EXPECT_EQ(At(b.get(), 0, 0), Gray(255));
    EXPECT_EQ(At(b.get(), 9, 9), Gray(0));
    // A negative one from a file turns the light edge dark and the dark edge light, never round.
    bevel->SetBright(-300);
    bevel->Apply(b.get());
    EXPECT_EQ(At(b.get(), 0, 0), Gray(0));
    EXPECT_EQ(At(b.get(), 9, 9), Gray(255));
}

TEST_F(FilterCatalogue, RotationTurnsQuarterAndHalfTurnsExactly) {
    // 3 x 2: pixel (x, y) holds x + 10 y.
    const auto source = [] { return MakeBitmap(3, 2, [](int x, int y) { return Gray(x + 10 * y); }); };
    for (double angle : {90.0, 450.0}) {
        auto b = source();
        auto rotate = MakeFilter<TRotateFilter>();
        rotate->SetAngle(angle);
        rotate->Apply(b.get());
        EXPECT_EQ(rotate->GetAngle(), 90) << "whole turns are taken off and stored";
        ASSERT_EQ(b->GetWidth(), 2);
        ASSERT_EQ(b->GetHeight(), 3);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) EXPECT_EQ(At(b.get(), 2 - 1 - y, x), Gray(x + 10 * y)) << angle;
    }
    auto b = source();
    auto rotate = MakeFilter<TRotateFilter>();
    rotate->SetAngle(270);
    rotate->Apply(b.get());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(At(b.get(), y, 3 - 1 - x), Gray(x + 10 * y));

    auto half = source();
    rotate->SetAngle(180);
    rotate->Apply(half.get());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(At(half.get(), 2 - x, 1 - y), Gray(x + 10 * y));

    // A line one pixel high turns too.
    auto line = MakeBitmap(3, 1, [](int x, int) { return Gray(x + 1); });
    rotate->SetAngle(90);
    rotate->Apply(line.get());
    ASSERT_EQ(line->GetWidth(), 1);
    ASSERT_EQ(line->GetHeight(), 3);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(At(line.get(), 0, x), Gray(x + 1));

    // A huge angle is reduced without counting down turn by turn.
    auto huge = source();
    rotate->SetAngle(1e300);
    rotate->Apply(huge.get());
    EXPECT_LE(rotate->GetAngle(), 360);

    // A turn that would grow the picture past the largest a picture may be turns it within
    // its own size.
    auto wide = MakeBitmap(30000, 2, [](int, int) { return Gray(0); });
    rotate->SetAngle(45);
    rotate->Apply(wide.get());
    EXPECT_EQ(wide->GetWidth(), 30000);
    EXPECT_EQ(wide->GetHeight(), 2);
}

TEST_F(FilterCatalogue, MirrorDoublesTheBitmapWithAMirroredCopy) {
    const auto source = [] { return MakeBitmap(2, 2, [](int x, int y) { return Gray(1 + x + 10 * y); }); };
    struct Case {
        TMirrorDirection direction;
        int w, h;
        int expect[4][4];
    };
    const Case cases[] = {
        {mdDown, 2, 4, {{1, 2}, {11, 12}, {11, 12}, {1, 2}}},
        {mdUp, 2, 4, {{11, 12}, {1, 2}, {1, 2}, {11, 12}}},
        {mdRight, 4, 2, {{1, 2, 2, 1}, {11, 12, 12, 11}}},
        {mdLeft, 4, 2, {{2, 1, 1, 2}, {12, 11, 11, 12}}},
    };
    for (const Case& c : cases) {
        auto b = source();
        auto mirror = MakeFilter<TMirrorFilter>();
        mirror->SetDirection(c.direction);
        mirror->Apply(b.get());
        ASSERT_EQ(b->GetWidth(), c.w);
        ASSERT_EQ(b->GetHeight(), c.h);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) EXPECT_EQ(At(b.get(), x, y), Gray(c.expect[y][x])) << c.direction;
    }
    // A chain of mirrors from a file stops doubling the picture where a picture may be no larger.
    auto dot = MakeBitmap(1, 1, [](int, int) { return Gray(7); });
    auto down = MakeFilter<TMirrorFilter>();
    for (int i = 0; i < 40; ++i) down->Apply(dot.get());
    EXPECT_EQ(dot->GetHeight(), 16384);
    EXPECT_EQ(dot->GetWidth(), 1);
    auto wide = MakeBitmap(20000, 1, [](int, int) { return Gray(7); });
    auto right = MakeFilter<TMirrorFilter>();
    right->SetDirection(mdRight);
    right->Apply(wide.get());
    EXPECT_EQ(wide->GetWidth(), 20000);
}

TEST_F(FilterCatalogue, CropResizeZoomAndTileReshapeThePicture) {
    // Crop: columns 2..3 stretched over four columns, nearest pixel.
    auto b = MakeBitmap(4, 4, [](int x, int y) { return Bgr{x, y, 0}; });
    auto crop = MakeFilter<TCropFilter>();
    crop->SetLeft(2);
    crop->SetWidth(2);
    crop->SetHeight(4);
    crop->Apply(b.get());
    const int cols[4] = {2, 2, 3, 3};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(b.get(), x, 1), (Bgr{cols[x], 1, 0}));

    // Crop with Width 0 does nothing; a cut-out beyond the bitmap comes out white.
    auto kept = MakeBitmap(4, 4, [](int x, int y) { return Bgr{x, y, 0}; });
    auto same = MakeBitmap(4, 4, [](int x, int y) { return Bgr{x, y, 0}; });
    MakeFilter<TCropFilter>()->Apply(kept.get());
    EXPECT_TRUE(SamePixels(kept.get(), same.get()));
    crop->SetLeft(1000000);
    crop->SetWidth(2147483647);
    crop->SetHeight(2147483647);
    crop->Apply(kept.get());
    EXPECT_EQ(At(kept.get(), 0, 0), Gray(255));

    auto resize = MakeFilter<TResizeFilter>();
    resize->SetWidth(7);
    resize->SetHeight(3);
    auto r = MakeBitmap(4, 4, [](int, int) { return Bgr{10, 20, 30}; });
    resize->Apply(r.get());
    EXPECT_EQ(r->GetWidth(), 7);
    EXPECT_EQ(r->GetHeight(), 3);
    // Smooth resampling in fixed point may lose one step of a uniform colour.
    const Bgr corner = At(r.get(), 6, 2);
    EXPECT_NEAR(corner.b, 10, 1);
    EXPECT_NEAR(corner.r, 30, 1);
    // A size beyond the editor's largest side (from a file) is taken as that side, not
    // allocated; the stored value stays as read.
    resize->SetWidth(2147483647);
    resize->SetHeight(2);
    resize->Apply(r.get());
    EXPECT_EQ(r->GetWidth(), 10000);
    EXPECT_EQ(r->GetHeight(), 2);
    EXPECT_EQ(resize->GetWidth(), 2147483647);
    EXPECT_NEAR(At(r.get(), 9999, 1).g, 20, 3); // the picture stretched, not a blank

    // Zoom by 20 %: a tenth off each side of a 10 x 10 bitmap, the rest stretched back.
    auto z = MakeBitmap(10, 10, [](int x, int y) { return Bgr{x, y, 0}; });
    auto zoom = MakeFilter<TZoomFilter>();
    zoom->SetPercent(20);
    zoom->Apply(z.get());
    EXPECT_EQ(z->GetWidth(), 10);
    EXPECT_EQ(At(z.get(), 0, 0), (Bgr{1, 1, 0}));
    EXPECT_EQ(At(z.get(), 9, 9), (Bgr{8, 8, 0}));

    // Tile: more columns than the bitmap has pixels does nothing.
    auto t = MakeBitmap(10, 10, [](int x, int y) { return Bgr{x, y, 0}; });
    auto before = MakeBitmap(10, 10, [](int x, int y) { return Bgr{x, y, 0}; });
    auto tile = MakeFilter<TTileFilter>();
    tile->SetNumCols(10);
    tile->Apply(t.get());
    EXPECT_TRUE(SamePixels(t.get(), before.get()));
    // Two by two tiles of a uniform picture keep it uniform; columns below 1 count as 1.
    auto u = MakeBitmap(9, 9, [](int, int) { return Bgr{40, 50, 60}; });
    tile->SetNumCols(0);
    tile->SetNumRows(2);
    tile->Apply(u.get());
    EXPECT_EQ(tile->GetNumCols(), 1);
    EXPECT_NEAR(At(u.get(), 3, 5).g, 50, 1);
    EXPECT_EQ(At(u.get(), 8, 8), (Bgr{40, 50, 60}));
}

TEST_F(FilterCatalogue, AnEmptyBitmapIsLeftAloneByEveryFilter) {
    for (const ClassInfo* c : FilterClasses()) {
        auto empty = MakeOwned<TBitmap>();
        EXPECT_NO_THROW(TZuzFilter::ApplyTo(*c, empty.get())) << c->name;
        EXPECT_TRUE(empty->GetEmpty()) << c->name;
    }
}

TEST_F(FilterCatalogue, GrayScaleHelperUsesTheEyeForAnyNonZeroMethodAndInvertsOnRequest) {
    auto b = MakeBitmap(1, 1, [](int, int) { return Bgr{10, 20, 60}; });
    ZuzGrayScale(b.get(), true, 7);
    EXPECT_EQ(At(b.get(), 0, 0), Gray(255 - 31));
}

} // namespace
