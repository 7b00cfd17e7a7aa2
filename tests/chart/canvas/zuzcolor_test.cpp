// Colour conversion between RGB and hue-luminance-saturation, the colour dialog with its
// remembered custom colours, and the small geometry helpers of the canvas unit.
#include "chart/canvas/zuzcolor.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfont.h"
#include "platform/core/lists.h"
#include "platform/gui/forms.h"
#include "tests/support/guiprobe.h"
#include "tests/support/streamtext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct Hls {
    int H, L, S;
    friend bool operator==(const Hls&, const Hls&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Hls& c) {
        return os << "hls(" << c.H << ", " << c.L << ", " << c.S << ")";
    }
};

Hls ToHls(TColor Color) {
    Word h = 0, l = 0, s = 0;
    ColorToHLS(Color, h, l, s);
    return {h, l, s};
}

struct HlsRow {
    const char* rule;
    TColor color;
    Hls hls;
};

class HlsOf : public ::testing::TestWithParam<HlsRow> {};

} // namespace

TEST_P(HlsOf, SplitsAndBuildsBack) {
    const HlsRow& r = GetParam();
    EXPECT_EQ(ToHls(r.color), r.hls);
    EXPECT_EQ(HLSToColor(static_cast<Word>(r.hls.H), static_cast<Word>(r.hls.L), static_cast<Word>(r.hls.S)),
              static_cast<TColor>(ColorToRGB(r.color)));
}

INSTANTIATE_TEST_SUITE_P(Colours, HlsOf,
                         ::testing::Values(HlsRow{"WhiteIsGreyAtFullLuminance", clWhite, {160, 240, 0}},
                                           HlsRow{"BlackIsGreyAtNoLuminance", clBlack, {160, 0, 0}},
                                           HlsRow{"RedStartsTheHueCircle", clRed, {0, 120, 240}},
                                           HlsRow{"LimeIsAThirdRound", clLime, {80, 120, 240}},
                                           HlsRow{"BlueIsTwoThirdsRound", clBlue, {160, 120, 240}},
                                           HlsRow{"YellowLiesBetweenRedAndLime", clYellow, {40, 120, 240}},
                                           HlsRow{"SystemColoursAreResolvedFirst", clBtnShadow,
                                                  ToHls(static_cast<TColor>(ColorToRGB(clBtnShadow)))}),
                         [](const auto& info) { return std::string(info.param.rule); });

TEST(HlsRoundTrip, EveryColourOfAGridComesBackWithinOneStep) {
    // A colour through HLS and back lands within one step of the 0..240 scales: each
    // channel within one hue step (about six channel units on the fastest-moving
    // channel), and, away from the darkest and lightest colours whose hue is coarse,
    // its own hue and luminance again within two units (hue around the circle): each
    // conversion rounds once.
    int worst = 0;
    for (int r = 0; r <= 255; r += 15)
        for (int g = 0; g <= 255; g += 15)
            for (int b = 0; b <= 255; b += 15) {
                Word h = 0, l = 0, s = 0;
                RGBToHLS(RGB(r, g, b), h, l, s);
                ASSERT_LE(h, 240);
                ASSERT_LE(l, 240);
                ASSERT_LE(s, 240);
                COLORREF back = 0;
                HLSToRGB(h, l, s, back);
                const int d = std::max({std::abs(GetRValue(back) - r), std::abs(GetGValue(back) - g),
                                        std::abs(GetBValue(back) - b)});
                worst = std::max(worst, d);
                EXPECT_LE(d, 6) << r << "," << g << "," << b;
                Word h2 = 0, l2 = 0, s2 = 0; // saturation near grey is too coarse to come back
                RGBToHLS(back, h2, l2, s2);
                const int dh = std::abs(h2 - h) % 240;
                if (l < 40 || l > 200) continue;
                if (s >= 60) { // the hue of near-greys is coarse too
                    EXPECT_LE(std::min(dh, 240 - dh), 2) << r << "," << g << "," << b;
                }
                EXPECT_LE(std::abs(l2 - l), 2) << r << "," << g << "," << b;
            }
    EXPECT_GT(worst, 0); // the scales differ: some colours do move
}

TEST(HlsRoundTrip, HlsValuesComeBackFromTheirColour) {
    // Saturated, mid-luminance colours carry enough RGB detail to give their hue back.
    for (int h = 0; h < 240; h += 8)
        for (int l = 60; l <= 180; l += 30) {
            const TColor c = HLSToColor(static_cast<Word>(h), static_cast<Word>(l), 240);
            const Hls back = ToHls(c);
            const int dh = std::min(std::abs(back.H - h), 240 - std::abs(back.H - h));
            EXPECT_LE(dh, 1) << h << "," << l;
            EXPECT_LE(std::abs(back.L - l), 1) << h << "," << l;
        }
}

namespace {
// Answers the colour dialog: Cancel, or OK with a colour and custom colours.
struct ColorAnswers {
    std::vector<TDialogAnswer> answers;
    std::vector<TDialogRequest> seen;
    std::vector<std::vector<String>> customSeen;
    TDialogResponder previous;
    ColorAnswers() {
        previous = SetDialogResponder([this](const TDialogRequest& r) {
            EXPECT_EQ(r.Kind, TDialogKind::ColorDialog);
            seen.push_back(r);
            std::vector<String> lines;
            for (int i = 0; r.CustomColors && i < r.CustomColors->GetCount(); ++i)
                lines.push_back(r.CustomColors->GetStrings(i));
            customSeen.push_back(lines);
            TDialogAnswer a = answers.front();
            answers.erase(answers.begin());
            return a;
        });
    }
    ~ColorAnswers() { SetDialogResponder(previous); }
};
TDialogAnswer Ok(TColor c, std::vector<String> custom = {}) {
    TDialogAnswer a;
    a.Result = mrOk;
    a.Color = c;
    a.CustomColors = std::move(custom);
    return a;
}
} // namespace

TEST(EditColor, ReportsAChangeOnlyWhenTheUserChoseAnotherColour) {
    probe::EnsureApplication();
    ColorAnswers dialog;
    TDialogAnswer cancel;
    cancel.Result = mrCancel;
    dialog.answers = {Ok(clRed), cancel, Ok(clBlue)};
    TColor c = clRed;
    EXPECT_FALSE(EditColorDialog(nullptr, c)); // the same colour chosen
    EXPECT_EQ(dialog.seen.at(0).Color, clRed);
    EXPECT_FALSE(EditColorDialog(nullptr, c)); // cancelled
    EXPECT_EQ(c, clRed);
    EXPECT_TRUE(EditColorDialog(nullptr, c));
    EXPECT_EQ(c, clBlue);
}

TEST(EditColor, CustomColoursAreRememberedFromOneDialogToTheNext) {
    probe::EnsureApplication();
    ZuzFreeCustomEditColors();
    ColorAnswers dialog;
    TDialogAnswer cancel;
    cancel.Result = mrCancel;
    dialog.answers = {Ok(clRed, {u"ColorA=0000FF", u"ColorB=00FF00"}), cancel, Ok(clRed)};
    const Owned<TComponent> owner(Create<TComponent>(nullptr));
    EXPECT_EQ(EditColor(owner.get(), clWhite), clRed);
    EXPECT_EQ(owner->GetComponentCount(), 0); // the dialog does not stay with its owner
    EditColor(owner.get(), clWhite);
    EditColor(owner.get(), clWhite);
    ASSERT_EQ(dialog.customSeen.size(), 3u);
    EXPECT_TRUE(dialog.customSeen[0].empty());
    const std::vector<String> kept{u"ColorA=0000FF", u"ColorB=00FF00"};
    EXPECT_EQ(dialog.customSeen[1], kept);
    EXPECT_EQ(dialog.customSeen[2], kept); // a cancelled dialog changes nothing
    ZuzFreeCustomEditColors();
}

TEST(CanvasGeometry, PointsAtADistanceAndFloatTriples) {
    EXPECT_EQ(PointAtDistance({0, 0}, {0, 10}, 3), TPoint(0, 7));
    EXPECT_EQ(PointAtDistance({0, 10}, {0, 0}, 3), TPoint(0, 3));
    EXPECT_EQ(PointAtDistance({0, 0}, {10, 0}, 4), TPoint(6, 0));
    EXPECT_EQ(PointAtDistance({0, 0}, {30, 40}, 5), TPoint(27, 36));
    EXPECT_DOUBLE_EQ(ZuzDistance(3, 4), 5);

    int changes = 0;
    TFloatXYZ p(TNotifyEvent([&changes](TObject*) { ++changes; }));
    p.SetX(1.5);
    p.SetX(1.5);
    p.SetZ(-2);
    EXPECT_EQ(changes, 2);
    TFloatXYZ copy;
    copy.Assign(&p);
    EXPECT_EQ(copy.Point(), (TFloatPoint3D{1.5, 0, -2}));
    EXPECT_EQ(changes, 2);
}

TEST(ComboFlat, OnAJapaneseSystemTheBoxTakesTheChartsDefaultFont) {
    probe::EnsureApplication();
    const char* before = std::getenv("LC_ALL");
    const std::string saved = before ? before : "";
    const Owned<TComboFlat> english(Create<TComboFlat>(nullptr));
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    const Owned<TComboFlat> japanese(Create<TComboFlat>(nullptr));
    if (before)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
    EXPECT_EQ(japanese->GetFont()->GetName(), GetDefaultFontName());
    EXPECT_EQ(japanese->GetFont()->GetSize(), GetDefaultFontSize());
    EXPECT_NE(english->GetFont()->GetName(), GetDefaultFontName()); // the form's face stays
    EXPECT_EQ(english->GetStyle(), csDropDownList);
    EXPECT_EQ(english->GetItemHeight(), 13);
    EXPECT_EQ(english->GetHeight(), 21);
    // Its own height is not written; another one is.
    english->SetName(u"Combo");
    EXPECT_EQ(streamtext::ObjectText(english.get()).find("\n  Height ="), std::string::npos);
    english->SetHeight(25);
    EXPECT_NE(streamtext::ObjectText(english.get()).find("\n  Height = 25"), std::string::npos);
}
