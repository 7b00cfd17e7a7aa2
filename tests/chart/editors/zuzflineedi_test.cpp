// The fast line series' page: the pen dialog's form inherited with OK and Cancel hidden, the
// null rule written with IgnoreNulls, stairs enabling, the colour kept with the pen's.
#include "chart/editors/zuzflineedi.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/series/series.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/serieseditorfixture.h"

namespace {

class FastLineEditor : public SeriesEditorTest {
protected:
    void SetUp() override {
        SeriesEditorTest::SetUp();
        line = AddSeries<TFastLineSeries>();
    }
    TFastLineSeries* line = nullptr;
};

TEST_F(FastLineEditor, ThePenDialogsFormIsInheritedWithoutItsButtons) {
    auto* e = Embed<TFastLineSeriesEditor>(line);
    EXPECT_FALSE(e->BOk->GetVisible());
    EXPECT_FALSE(e->BCancel->GetVisible());
    EXPECT_TRUE(e->UDWidth->GetVisible());
    EXPECT_EQ(e->CBDrawAll->GetCaption(), u"Draw &All");
    EXPECT_EQ(e->GBStair->GetCaption(), u"Line Mode:");
    ASSERT_EQ(e->CBNulls->GetItems()->GetCount(), 3);
    EXPECT_EQ(e->CBNulls->GetItems()->GetStrings(0), u"Dont Paint");
    EXPECT_EQ(e->ThePen, line->GetLinePen());
}

TEST_F(FastLineEditor, SkipAndDontPaintClearIgnoreNullsAndIgnoreSetsIt) {
    line->SetTreatNulls(tnIgnore);
    line->SetIgnoreNulls(false);
    auto* e = Embed<TFastLineSeriesEditor>(line);
    EXPECT_EQ(e->CBNulls->GetItemIndex(), tnIgnore);
    EXPECT_FALSE(line->GetIgnoreNulls());
    probe::Choose(*e->CBNulls, tnIgnore);
    EXPECT_TRUE(line->GetIgnoreNulls());
    probe::Choose(*e->CBNulls, tnSkip);
    EXPECT_FALSE(line->GetIgnoreNulls());
    EXPECT_EQ(line->GetTreatNulls(), tnSkip);
    probe::Choose(*e->CBNulls, tnIgnore);
    probe::Choose(*e->CBNulls, tnDontPaint);
    EXPECT_FALSE(line->GetIgnoreNulls());
    EXPECT_EQ(line->GetTreatNulls(), tnDontPaint);
}

TEST_F(FastLineEditor, StairsEnableInvertedAndThePenIsTheLines) {
    auto* e = Embed<TFastLineSeriesEditor>(line);
    EXPECT_FALSE(e->CBInvStairs->GetEnabled());
    probe::Click(*e->CBStairs);
    EXPECT_TRUE(line->GetStairs());
    EXPECT_TRUE(e->CBInvStairs->GetEnabled());
    probe::Click(*e->CBInvStairs);
    EXPECT_TRUE(line->GetInvertedStairs());
    probe::Click(*e->CBStairs);
    EXPECT_FALSE(e->CBInvStairs->GetEnabled());
    EXPECT_TRUE(line->GetInvertedStairs());
    const bool drawAll = line->GetDrawAllPoints();
    probe::Click(*e->CBDrawAll);
    EXPECT_NE(line->GetDrawAllPoints(), drawAll);
    e->SEWidth->SetText(u"4");
    EXPECT_EQ(line->GetLinePen()->GetWidth(), 4);
}

TEST_F(FastLineEditor, AColourChosenIsTheSeriesAndThePens) {
    auto* e = Embed<TFastLineSeriesEditor>(line);
    ModalDriver driver;
    driver.Dialog(TDialogKind::ColorDialog, ColorChosen(clNavy));
    probe::Click(*e->BColor);
    EXPECT_EQ(line->GetLinePen()->GetColor(), clNavy);
    EXPECT_EQ(line->GetSeriesColor(), clNavy);
}

} // namespace
