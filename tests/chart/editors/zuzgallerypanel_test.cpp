// The gallery panel: how many rows a page takes, where each sample goes, which sample the
// highlight lands on and where keys move it, disabled samples, the smooth pass, the saved
// smooth option and the sub-gallery pop-up.
#include "chart/editors/zuzgallerypanel.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/ganttch.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "platform/gui/winuser.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/chart/series/keeptypes.h"
#include "tests/chart/series/picturefile.h"
#include "tests/support/formtest.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const String kThirteen = u"GalleryTest13";
const String kFive = u"GalleryTest5";
const String kValid = u"GalleryTestValid";
const String kLineText = u"Line";
const String kTwoLines = String(u"Two") + Char(13) + u"Lines";
const String kGanttText = u"Gantt";

// Test pages of their own, after every type the program registers, so that the galleries hold
// what the program's do; the test pages hold variants (a sub-style index), which are always
// added.
void RegisterTestPages() {
    for (int i = 1; i <= 13; ++i)
        RegisterZuzSeriesFunction(&TLineSeries::StaticClass(), nullptr, &kLineText, &kThirteen, 1, i);
    for (int i = 1; i <= 5; ++i)
        RegisterZuzSeriesFunction(&TBarSeries::StaticClass(), nullptr, &kTwoLines, &kFive, 1, i);
    RegisterZuzSeriesFunction(&TGanttSeries::StaticClass(), nullptr, &kGanttText, &kValid, 1, 1);
    RegisterZuzSeriesFunction(&TLineSeries::StaticClass(), nullptr, &kLineText, &kValid, 1, 1);
    RegisterZuzSeriesFunction(&TBarSeries::StaticClass(), nullptr, &kLineText, &kValid, 1, 1);
}

class GalleryPanel : public FormTest {
protected:
    static void SetUpTestSuite() {
        FormTest::SetUpTestSuite();
        probe::EnsureApplication();
        StartChartEditorUnits();
    }
    void SetUp() override {
        FormTest::SetUp();
        RegisterTestPages();
        win32::SetRegistryDirectory(scratch.path);
        form->SetBounds(50, 50, 420, 340);
        panel = Create<TChartGalleryPanel>(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(0, 0, 401, 301);
    }
    void TearDown() override {
        win32::SetRegistryDirectory({});
        FormTest::TearDown();
    }
    int IndexOfSelected() const { return panel->Charts().IndexOf(panel->SelectedChart()); }
    void Press(Word key, TShiftState shift = {}) { panel->KeyDown(key, shift); }

    TempDir scratch{"moltren-gallery"};
    TestForm form;
    const KeepTypes keep;
    TChartGalleryPanel* panel = nullptr;
};

TEST_F(GalleryPanel, APageOfThirteenTypesInFourColumnsTakesFourRows) {
    panel->CreateGalleryPage(kThirteen);
    EXPECT_EQ(panel->ChartCount(), 13);
    EXPECT_EQ(panel->GetNumRows(), 4);
}

TEST_F(GalleryPanel, APageOfFiveTypesTakesTheDefaultThreeRows) {
    panel->SetNumRows(7);
    panel->CreateGalleryPage(kFive);
    EXPECT_EQ(panel->ChartCount(), 5);
    EXPECT_EQ(panel->GetNumRows(), 3);
}

TEST_F(GalleryPanel, SamplesGoColumnByColumnThenRowByRowInsideTheBevel) {
    panel->CreateGalleryPage(kFive);
    // Bevel 1: the samples share 400 x 300, 100 x 100 each, one pixel kept between them.
    ASSERT_EQ(panel->SampleWidth(), 100);
    ASSERT_EQ(panel->SampleHeight(), 100);
    TGalleryChart* fifth = panel->GetChart(4);
    EXPECT_EQ(fifth->GetLeft(), 1);
    EXPECT_EQ(fifth->GetTop(), 101);
    EXPECT_EQ(fifth->GetWidth(), 99);
    TGalleryChart* second = panel->GetChart(1);
    EXPECT_EQ(second->GetLeft(), 101);
    EXPECT_EQ(second->GetTop(), 1);
    panel->SetBounds(0, 0, 801, 301);
    EXPECT_EQ(panel->GetChart(1)->GetLeft(), 201);
}

TEST_F(GalleryPanel, TheTitleHoldsOneLinePerFieldOfTheDescription) {
    panel->CreateGalleryPage(kFive);
    TStrings* text = panel->GetChart(0)->GetTitle()->GetText();
    ASSERT_EQ(text->GetCount(), 2);
    EXPECT_EQ(text->GetStrings(0), u"Two");
    EXPECT_EQ(text->GetStrings(1), u"Lines");
    EXPECT_EQ(panel->GetChart(0)->GetTag(), 1); // the sub-style index of the type
}

TEST_F(GalleryPanel, WithoutACurrentSeriesTheFirstSampleIsHighlighted) {
    int changes = 0;
    panel->OnChangeChart = TNotifyEvent([&](TObject*) { ++changes; });
    panel->CreateGalleryPage(kFive);
    EXPECT_EQ(IndexOfSelected(), 0);
    EXPECT_TRUE(panel->GetChart(0)->Focused());
    EXPECT_FALSE(panel->GetChart(1)->Focused());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(panel->GetChart(0)->GetBevelOuter(), bvRaised);
    EXPECT_EQ(panel->GetChart(1)->GetBevelOuter(), bvNone);
}

TEST_F(GalleryPanel, TheCurrentSeriesSelectsTheSampleOfItsClass) {
    Owned<TBarSeries> current{Create<TBarSeries>(nullptr)};
    panel->SetCurrentSeries(current.get());
    panel->CreateGalleryPage(kValid);
    ASSERT_EQ(panel->ChartCount(), 3);
    EXPECT_EQ(IndexOfSelected(), 2);
    const ClassInfo* seriesClass = nullptr;
    const ClassInfo* functionClass = &TChartSeries::StaticClass();
    int sub = -1;
    ASSERT_TRUE(panel->GetSeriesClass(seriesClass, functionClass, sub));
    EXPECT_EQ(seriesClass, &TBarSeries::StaticClass());
    EXPECT_EQ(functionClass, nullptr);
    EXPECT_EQ(sub, 1);
}

TEST_F(GalleryPanel, KeysMoveTheHighlightAndStopAtTheEdges) {
    panel->CreateGalleryPage(kThirteen);
    ASSERT_EQ(IndexOfSelected(), 0);
    Press(VK_LEFT);
    EXPECT_EQ(IndexOfSelected(), 0);
    Press(VK_UP);
    EXPECT_EQ(IndexOfSelected(), 0);
    Press(VK_RIGHT);
    Press(VK_DOWN);
    EXPECT_EQ(IndexOfSelected(), 5);
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    EXPECT_EQ(IndexOfSelected(), 7);
    Press(VK_RIGHT); // the last column: no sample to its right
    EXPECT_EQ(IndexOfSelected(), 7);
    Press(VK_DOWN);
    Press(VK_DOWN); // row 3 holds only the 13th sample
    EXPECT_EQ(IndexOfSelected(), 11);
    Press(VK_LEFT);
    Press(VK_LEFT);
    Press(VK_LEFT);
    Press(VK_DOWN);
    EXPECT_EQ(IndexOfSelected(), 12);
}

TEST_F(GalleryPanel, EnterActsAsADoubleClickOnTheHighlightedSample) {
    int chosen = 0;
    panel->OnSelectedChart = TNotifyEvent([&](TObject*) { ++chosen; });
    panel->CreateGalleryPage(kFive);
    Press(VK_RETURN);
    EXPECT_EQ(chosen, 1);
}

TEST_F(GalleryPanel, SamplesThatCannotTakeTheCurrentSeriesAreDisabledAndNeverSelected) {
    Owned<TLineSeries> current{Create<TLineSeries>(nullptr)};
    panel->SetCheckValidFunctions(true);
    panel->SetCurrentSeries(current.get());
    panel->CreateGalleryPage(kValid);
    TGalleryChart* gantt = panel->GetChart(0);
    EXPECT_FALSE(gantt->IsSampleEnabled());
    EXPECT_EQ(gantt->GetCursor(), crNoDrop);
    EXPECT_EQ(gantt->SavedCursor, crNoDrop);
    EXPECT_FALSE(gantt->OnClick);
    EXPECT_EQ(gantt->GetLeftAxis()->GetAxisPen()->GetColor(), static_cast<TColor>(0xFFFFFF));
    EXPECT_EQ(panel->GetChart(1)->GetCursor(), crHandPoint);
    // The line sample is the current series' class.
    EXPECT_EQ(IndexOfSelected(), 1);
    Press(VK_LEFT);
    EXPECT_EQ(IndexOfSelected(), 1);
    EXPECT_FALSE(gantt->Focused());

    // Without a sample of the current class the default skips the disabled one as well.
    Owned<TGanttSeries> gantt2{Create<TGanttSeries>(nullptr)};
    Owned<TPointSeries> point{Create<TPointSeries>(nullptr)};
    panel->SetCurrentSeries(point.get());
    panel->CreateGalleryPage(kValid);
    EXPECT_FALSE(panel->GetChart(0)->IsSampleEnabled());
    EXPECT_EQ(IndexOfSelected(), 1);
}

TEST_F(GalleryPanel, SmoothDrawsTheSampleTwiceOnlyWhenItIsAtLeastTwoPixelsEachWay) {
    panel->CreateGalleryPage(kFive);
    TGalleryChart* sample = panel->GetChart(0);
    sample->SetSmooth(true);
    int draws = 0;
    sample->OnAfterDraw = TNotifyEvent([&](TObject*) { ++draws; });
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetWidth(100);
    bitmap->SetHeight(100);
    sample->Draw(bitmap->GetCanvas(), TRect(0, 0, 2, 2));
    EXPECT_EQ(draws, 2);
    EXPECT_FALSE(sample->GetDrawingSmooth());
    EXPECT_TRUE(sample->GetTitle()->GetVisible()); // put back after the pass
    EXPECT_EQ(sample->GetMarginTop(), 4);
    draws = 0;
    sample->Draw(bitmap->GetCanvas(), TRect(0, 0, 1, 1));
    EXPECT_EQ(draws, 1);
    sample->SetSmooth(false);
    draws = 0;
    sample->Draw(bitmap->GetCanvas(), TRect(0, 0, 50, 50));
    EXPECT_EQ(draws, 1);
}

TEST_F(GalleryPanel, View3DTellsTheSamplesAndSetsTheirMargins) {
    panel->CreateGalleryPage(kFive);
    EXPECT_EQ(panel->GetChart(2)->GetMarginLeft(), 4);
    panel->SetView3D(false);
    EXPECT_EQ(panel->GetChart(2)->GetMarginLeft(), 5);
    EXPECT_EQ(panel->GetChart(2)->GetMarginBottom(), 5);
}

TEST_F(GalleryPanel, AChangedSmoothSettingIsSavedWhenThePanelGoes) {
    ASSERT_FALSE(TChartGalleryPanel::DefaultSmooth());
    panel->SetSmooth(true);
    panel->Free();
    panel = nullptr;
    EXPECT_TRUE(TChartGalleryPanel::DefaultSmooth());
    auto* again = Create<TChartGalleryPanel>(form.get());
    EXPECT_TRUE(again->GetSmooth());

    // Where the store cannot be written the option is skipped without a word, and the panel goes.
    again->SetSmooth(false);
    const std::filesystem::path store = scratch.path / "registry";
    std::filesystem::remove(store);
    std::filesystem::create_directories(store / "inside");
    again->Free();
    EXPECT_TRUE(requests.empty());
}

TEST_F(GalleryPanel, TheSubGalleryShowsTheSubStylesAndTheChoiceRetagsTheSample) {
    Owned<TBarSeries> current{Create<TBarSeries>(nullptr)};
    panel->SetCurrentSeries(current.get());
    panel->CreateGalleryPage(kValid);
    form->Show();
    TGalleryChart* bar = panel->SelectedChart();
    ASSERT_EQ(bar, panel->GetChart(2));
    int subSelected = 0;
    panel->OnSubSelected = TNotifyEvent([&](TObject*) { ++subSelected; });
    int samples = 0;
    bool borderless = false;
    ModalDriver driver;
    driver.Form<TForm>([&](TForm& f) {
        borderless = f.GetBorderStyle() == bsNone;
        TChartGalleryPanel* sub = panel->SubGalleryPanel();
        samples = sub->ChartCount();
        EXPECT_FALSE(sub->GetDisplaySub());
        EXPECT_TRUE(sub->IsSubGalleryPanel());
        // The third sub-style ("Ellipse" after the plain one and "Colors").
        TGalleryChart* third = sub->GetChart(3);
        third->OnDblClick(third);
    });
    panel->ShowSubGallery();
    EXPECT_TRUE(borderless);
    EXPECT_GE(samples, 8);
    EXPECT_EQ(subSelected, 1);
    EXPECT_EQ(bar->GetTag(), 3);
    EXPECT_EQ(panel->SubGalleryForm(), nullptr);
    EXPECT_TRUE(bar->Focused());
}

TEST_F(GalleryPanel, EscapeClosesTheSubGalleryWithoutAChoice) {
    panel->CreateGalleryPage(kFive);
    form->Show();
    int subSelected = 0;
    panel->OnSubSelected = TNotifyEvent([&](TObject*) { ++subSelected; });
    TModalResult result = mrNone;
    ModalDriver driver;
    driver.Form<TForm>([&](TForm& f) {
        Word key = VK_ESCAPE;
        f.OnKeyDown(&f, key, TShiftState{});
        result = f.GetModalResult();
    });
    const int tag = static_cast<int>(panel->SelectedChart()->GetTag());
    panel->ShowSubGallery();
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(subSelected, 0);
    EXPECT_EQ(panel->SelectedChart()->GetTag(), tag);
}

TEST_F(GalleryPanel, AClickSelectsAnEnabledSample) {
    panel->CreateGalleryPage(kFive);
    form->Show();
    ASSERT_TRUE(probe::WaitFor([&] { return probe::Shown(*panel); }));
    TGalleryChart* third = panel->GetChart(2);
    probe::MousePress(*third, mbLeft, TPoint(50, 30));
    probe::MouseRelease(*third, mbLeft, TPoint(50, 30));
    probe::ProcessEvents();
    EXPECT_EQ(panel->SelectedChart(), third);
}

} // namespace

namespace {

TEST_F(GalleryPanel, TheStandardPageLooksLikeAGalleryOfSmallCharts) {
    form->SetBounds(50, 50, 460, 340);
    panel->SetBounds(0, 0, 441, 321);
    panel->CreateGalleryPage(VavIve_GalleryStandard);
    EXPECT_EQ(panel->ChartCount(), 12); // the nine standard types, the bubble, the Gantt and the shape
    form->Show();
    ASSERT_TRUE(probe::WaitFor([&] { return probe::Shown(*panel); }));
    probe::ProcessEvents();
    const probe::Picture picture = probe::Grab(*panel);
    EXPECT_TRUE(KeepPicture(picture, "gallery-panel.png"));
    // The highlighted sample's back is a gradient; the others keep the panel's colour.
    const TGalleryChart* first = panel->GetChart(0);
    const TGalleryChart* second = panel->GetChart(1);
    EXPECT_NE(picture.Pixel(first->GetLeft() + 3, first->GetTop() + 3),
              picture.Pixel(second->GetLeft() + 3, second->GetTop() + 3));
    // Samples are too small for marks.
    EXPECT_FALSE(second->GetSeries(0)->GetMarks()->GetVisible());
}

} // namespace
