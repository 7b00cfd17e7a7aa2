// The arrow, Gantt and shape series' pages: the percent label, colour-each enabling and the
// pointer colour, the Gantt bar height held at its minimum, round rectangles only on a flat
// chart, position boxes with two points only and text that is no number.
#include "chart/editors/zuzarrowedi.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/editors/zuzbubbleedit.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzganttedi.h"
#include "chart/editors/zuzpoedi.h"
#include "chart/editors/zuzshapeedi.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/engine/seriespointer.h"
#include "chart/series/arrowcha.h"
#include "chart/series/bubblech.h"
#include "chart/series/ganttch.h"
#include "chart/series/zuzshape.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/serieseditorfixture.h"

namespace {

using ArrowEditor = SeriesEditorTest;

TEST_F(ArrowEditor, ThePercentShowsWithItsSign) {
    auto* arrow = AddSeries<TArrowSeries>();
    arrow->SetArrowPercent(30);
    auto* e = Embed<TArrowSeriesEditor>(arrow);
    EXPECT_EQ(e->SBPercent->GetPosition(), 30);
    EXPECT_EQ(e->LPercent->GetCaption(), u"30%");
    e->SBPercent->SetPosition(75);
    EXPECT_EQ(arrow->GetArrowPercent(), 75);
    EXPECT_EQ(e->LPercent->GetCaption(), u"75%");
}

TEST_F(ArrowEditor, ColourEachDisablesTheColourAndResetsThePointerColour) {
    auto* arrow = AddSeries<TArrowSeries>();
    arrow->GetPointer()->SetColor(clRed);
    auto* e = Embed<TArrowSeriesEditor>(arrow);
    EXPECT_EQ(arrow->GetPointer()->GetColor(), clRed); // loading writes nothing
    EXPECT_TRUE(e->BArrowColor->GetEnabled());
    probe::Click(*e->CBColorEach);
    EXPECT_TRUE(arrow->GetColorEachPoint());
    EXPECT_FALSE(e->BArrowColor->GetEnabled());
    EXPECT_EQ(arrow->GetPointer()->GetColor(), clZuzColor);
    probe::Click(*e->CBColorEach);
    EXPECT_TRUE(e->BArrowColor->GetEnabled());
}

TEST_F(ArrowEditor, WidthAndHeightWriteTheArrowHead) {
    auto* arrow = AddSeries<TArrowSeries>();
    auto* e = Embed<TArrowSeriesEditor>(arrow);
    e->SEArrowWidth->SetText(u"12");
    e->SEArrowHeight->SetText(u"0"); // held at the minimum
    EXPECT_EQ(arrow->GetArrowWidth(), 12);
    EXPECT_EQ(arrow->GetArrowHeight(), 1);
    ModalDriver driver;
    driver.Form<TPenDialog>([](TPenDialog& d) { d.UDWidth->SetPosition(2); }, mrOk);
    probe::Click(*e->BPen);
    EXPECT_EQ(arrow->GetPointer()->GetPen()->GetWidth(), 2);
}

using GanttEditor = SeriesEditorTest;

TEST_F(GanttEditor, AHeightOfZeroIsHeldAtOne) {
    auto* gantt = AddSeries<TGanttSeries>();
    gantt->GetPointer()->SetVertSize(8);
    auto* e = Embed<TGanttSeriesEditor>(gantt);
    EXPECT_EQ(e->SEPointVertSize->GetText(), u"8");
    e->SEPointVertSize->SetText(u"0");
    EXPECT_EQ(gantt->GetPointer()->GetVertSize(), 1);
    e->SEPointVertSize->SetText(u"20");
    EXPECT_EQ(gantt->GetPointer()->GetVertSize(), 20);
    e->Edit1->SetText(u"35");
    EXPECT_EQ(gantt->GetTransparency(), 35);
    probe::Click(*e->CBColorEach);
    EXPECT_EQ(gantt->GetColorEachPoint(), !e->BColor->GetEnabled());
}

class ShapeSeriesEditor : public SeriesEditorTest {
protected:
    void SetUp() override {
        SeriesEditorTest::SetUp();
        shape = AddSeries<TChartShape>(0);
    }
    TChartShape* shape = nullptr;
};

TEST_F(ShapeSeriesEditor, RoundRectangleStaysDisabledInThreeD) {
    chart->SetView3D(true);
    shape->SetStyle(chasCircle);
    auto* e = Embed<TChartShapeEditor>(shape);
    EXPECT_FALSE(e->CBRound->GetEnabled());
    probe::Choose(*e->CBStyle, chasRectangle);
    EXPECT_EQ(shape->GetStyle(), chasRectangle);
    EXPECT_FALSE(e->CBRound->GetEnabled());
    chart->SetView3D(false);
    probe::Choose(*e->CBStyle, chasCube);
    EXPECT_FALSE(e->CBRound->GetEnabled());
    probe::Choose(*e->CBStyle, chasRectangle);
    EXPECT_TRUE(e->CBRound->GetEnabled());
    probe::Click(*e->CBRound);
    EXPECT_TRUE(shape->GetRoundRectangle());
}

// The positions are shown and read in the locale's notation.
TEST_F(ShapeSeriesEditor, PositionBoxesShowTwoPointsOnlyAndIgnoreTextThatIsNoNumber) {
    shape->Clear();
    shape->AddXY(10, 20);
    shape->AddXY(30, 40);
    shape->AddXY(50, 60);
    auto* three = Embed<TChartShapeEditor>(shape);
    for (TEdit* box : {three->SEX0, three->SEY0, three->SEX1, three->SEY1}) EXPECT_EQ(box->GetText(), u"");
    three->Free();
    shape->Delete(2);
    for (const auto& locale : editortest::kLocales) {
        UseLocale(locale.system);
        shape->SetX0(10.5);
        shape->SetY1(40);
        auto* e = Embed<TChartShapeEditor>(shape);
        EXPECT_EQ(e->SEX0->GetText(), FloatToStr(10.5)) << locale.name;
        EXPECT_EQ(e->SEY1->GetText(), u"40");
        e->SEX0->SetText(u"abc");
        EXPECT_EQ(shape->GetX0(), 10.5);
        e->SEX0->SetText(u"");
        EXPECT_EQ(shape->GetX0(), 10.5);
        e->SEX0->SetText(FloatToStr(12.5)); // as the operator types it
        e->SEY0->SetText(u"-3");
        e->SEX1->SetText(u"31");
        e->SEY1->SetText(u"44");
        EXPECT_EQ(shape->GetX0(), 12.5) << locale.name;
        EXPECT_EQ(shape->GetY0(), -3);
        EXPECT_EQ(shape->GetX1(), 31);
        EXPECT_EQ(shape->GetY1(), 44);
        e->Free();
    }
}

TEST_F(ShapeSeriesEditor, TextAlignmentUnitsAndLookWriteAtOnce) {
    shape->GetText()->SetText(u"Узел");
    shape->SetAlignment(taRightJustify);
    shape->SetVertAlign(vaBottom);
    auto* e = Embed<TChartShapeEditor>(shape);
    EXPECT_EQ(e->MemoText->GetLines()->GetStrings(0), u"Узел");
    EXPECT_EQ(e->RGAlign->GetItemIndex(), 2);
    EXPECT_EQ(e->RGVertAlign->GetItemIndex(), 2);
    e->MemoText->SetText(u"Текст\nTwo");
    ASSERT_EQ(shape->GetText()->GetCount(), 2);
    EXPECT_EQ(shape->GetText()->GetStrings(1), u"Two");
    probe::Click(*e->RGAlign, 0);
    probe::Click(*e->RGVertAlign, 1);
    EXPECT_EQ(shape->GetAlignment(), taLeftJustify);
    EXPECT_EQ(shape->GetVertAlign(), vaCenter);
    probe::Choose(*e->CBUnits, 2);
    EXPECT_EQ(shape->GetXYStyle(), xysAxisOrigin);
    probe::Click(*e->CBTrans);
    EXPECT_TRUE(shape->GetTransparent());
    e->Edit1->SetText(u"60");
    EXPECT_EQ(shape->GetTransparency(), 60);
}

} // namespace

namespace {

TEST_F(GanttEditor, TheGanttPageIsAddedOnceWithoutItsSizeOptions) {
    auto* gantt = AddSeries<TGanttSeries>();
    auto* e = EmbedInPages<TGanttSeriesEditor>(gantt);
    VisitEveryPage();
    VisitEveryPage();
    EXPECT_EQ(PageCaptions(), (std::vector<String>{u"Format", u"Gantt"}));
    auto* pointer = dynamic_cast<TSeriesPointerEditor*>(e->PointerForm());
    ASSERT_NE(pointer, nullptr);
    EXPECT_FALSE(pointer->SEPointVertSize->GetVisible());
    EXPECT_FALSE(pointer->UDPointHorizSize->GetVisible());
}

TEST_F(ShapeSeriesEditor, TheFontPageShowsTheShapesFont) {
    auto* e = Embed<TChartShapeEditor>(shape);
    ShowAgain(e);
    int fontEditors = 0;
    for (int i = 0; i < e->TabFont->GetControlCount(); ++i)
        if (dynamic_cast<TZuzFontEditor*>(e->TabFont->GetControl(i))) ++fontEditors;
    EXPECT_EQ(fontEditors, 1);
}

} // namespace

namespace {

using BubbleEditor = SeriesEditorTest;

TEST_F(BubbleEditor, IsThePointerEditorWithoutItsVisibleBox) {
    auto* bubble = AddSeries<TBubbleSeries>();
    auto* e = Embed<TBubbleSeriesEditor>(bubble);
    EXPECT_FALSE(e->CBDrawPoint->GetVisible());
    EXPECT_FALSE(e->SEPointVertSize->GetVisible()) << "its size is its radius";
    EXPECT_TRUE(e->CBStyle->GetVisible());
    EXPECT_EQ(e->Pointer(), bubble->GetPointer());
    probe::Choose(*e->CBStyle, psDiamond);
    EXPECT_EQ(bubble->GetPointer()->GetStyle(), psDiamond);
}

} // namespace

namespace {

TEST_F(ShapeSeriesEditor, EditTakesTheLinesFromTheStringsEditor) {
    auto* e = Embed<TChartShapeEditor>(shape);
    ModalDriver driver;
    driver.Form<TStringsEditor>([](TStringsEditor& d) { d.Memo1->SetText(u"Насос\nPump 2"); }, mrOk);
    probe::Click(*e->Button1);
    ASSERT_EQ(shape->GetText()->GetCount(), 2);
    EXPECT_EQ(shape->GetText()->GetStrings(0), u"Насос");
}

} // namespace
