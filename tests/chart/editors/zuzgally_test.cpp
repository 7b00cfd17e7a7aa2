// The series gallery: the tabs it shows, what choosing, cancelling and choosing the same
// type again do to the chart, the stored size it opens at, the list box's Insert reaching it,
// and the second layout that the "GalleryMode" option picks.
#include "chart/editors/zuzgally.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/editors/zuzgalleryalternate.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/editors/zuzlisb.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

namespace {

class SeriesGallery : public ChartFormTest {
protected:
    void SetUp() override {
        ChartFormTest::SetUp();
        win32::SetRegistryDirectory(scratch.path);
    }
    void TearDown() override {
        win32::SetRegistryDirectory({});
        ChartFormTest::TearDown();
    }
    // Selects the sample whose series is of class C.
    static void Choose(TZuzGallery& g, const ClassInfo& C) {
        TChartGalleryPanel* p = g.ChartGalleryPanel1;
        for (int i = 0; i < p->ChartCount(); ++i)
            if (p->GetChart(i)->SeriesCount() > 0 && &p->GetChart(i)->GetSeries(0)->ClassType() == &C) {
                p->SelectChart(p->GetChart(i));
                return;
            }
        ADD_FAILURE() << "no sample of " << C.name;
    }
    static std::vector<String> Tabs(TTabControl* Tabs) {
        std::vector<String> texts;
        for (int i = 0; i < Tabs->GetTabs()->GetCount(); ++i) texts.push_back(Tabs->GetTabs()->GetStrings(i));
        return texts;
    }
    const TempDir scratch{"moltren-gallery"};
};

TEST_F(SeriesGallery, ChoosingASampleAddsASeriesOfItsTypeAndStandardComesFirst) {
    ModalDriver driver;
    driver.Form<TZuzGallery>([](TZuzGallery& g) {
        EXPECT_EQ(Tabs(g.TabTypes), (std::vector<String>{VavIve_Series, VavIve_GalleryFunctions}));
        ASSERT_FALSE(Tabs(g.TabPages).empty());
        EXPECT_EQ(Tabs(g.TabPages)[0], VavIve_GalleryStandard);
        Choose(g, TBarSeries::StaticClass());
    });
    TChartSeries* s = CreateNewSeriesGallery(form.get(), chart);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(&s->ClassType(), &TBarSeries::StaticClass());
    EXPECT_EQ(chart->SeriesCount(), 1);
}

TEST_F(SeriesGallery, CancelCreatesNothingAndKeepsTheChart) {
    chart->SetView3D(false);
    ModalDriver driver;
    driver.Form<TZuzGallery>([](TZuzGallery& g) { g.CB3D->SetChecked(true); }, mrCancel);
    EXPECT_EQ(CreateNewSeriesGallery(form.get(), chart), nullptr);
    EXPECT_EQ(chart->SeriesCount(), 0);
    EXPECT_FALSE(chart->GetView3D());
}

TEST_F(SeriesGallery, TheSameTypeChosenAgainCreatesNothing) {
    auto* line = AddSeries<TLineSeries>({1, 2, 3}, u"Line");
    TChartSeries* s = line;
    ModalDriver driver;
    driver.Form<TZuzGallery>([](TZuzGallery& g) {
        // Without the functions: only the "Series" tab.
        EXPECT_EQ(Tabs(g.TabTypes), std::vector<String>{VavIve_Series});
        Choose(g, TLineSeries::StaticClass());
    });
    ChangeSeriesTypeGallery(form.get(), s);
    EXPECT_EQ(s, line);
    EXPECT_EQ(chart->SeriesCount(), 1);
}

TEST_F(SeriesGallery, ChangingTheTypeKeepsThePointsAndTheTitle) {
    auto* line = AddSeries<TLineSeries>({4, 5, 6}, u"Расход");
    TChartSeries* s = line;
    ModalDriver driver;
    driver.Form<TZuzGallery>([](TZuzGallery& g) { Choose(g, TBarSeries::StaticClass()); });
    ChangeSeriesTypeGallery(form.get(), s);
    ASSERT_NE(s, line);
    EXPECT_EQ(&s->ClassType(), &TBarSeries::StaticClass());
    EXPECT_EQ(s->Count(), 3);
    EXPECT_EQ(s->GetTitle(), u"Расход");
    EXPECT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(chart->GetSeries(0), s);
}

TEST_F(SeriesGallery, FunctionsOnlyModeHasNoSeriesTab) {
    ModalDriver driver;
    driver.Form<TZuzGallery>(
        [](TZuzGallery& g) {
            EXPECT_EQ(Tabs(g.TabTypes), std::vector<String>{VavIve_GalleryFunctions});
            ASSERT_FALSE(Tabs(g.TabPages).empty());
            // Only pages that hold a function type.
            for (const String& page : Tabs(g.TabPages)) {
                bool function = false;
                for (int i = 0; i < ZuzSeriesTypes().Count(); ++i) {
                    const TZuzSeriesType* t = ZuzSeriesTypes().Get(i);
                    if (t->FunctionClass && t->GetGalleryPage() == page) function = true;
                }
                EXPECT_TRUE(function) << UTF8Encode(page);
            }
        },
        mrCancel);
    EXPECT_EQ(GetChartGalleryFunction(form.get()), nullptr);
}

TEST_F(SeriesGallery, AStoredWidthOf50OpensAt100AndAHugeOneAtTheWorkArea) {
    ZuzSaveIntegerOption(u"GalleryWidth", 50);
    ZuzSaveIntegerOption(u"GalleryHeight", 100000);
    ModalDriver driver;
    driver.Form<TZuzGallery>(
        [](TZuzGallery& g) {
            const TRect area = Screen->GetWorkAreaRect();
            EXPECT_EQ(g.GetWidth(), 100);
            EXPECT_EQ(g.GetHeight(), area.Bottom - area.Top);
        },
        mrCancel);
    CreateNewSeriesGallery(form.get(), chart);
    EXPECT_EQ(ZuzGalleryStoredSize(50, 1000), 100);
    EXPECT_EQ(ZuzGalleryStoredSize(700, 1000), 700);
    EXPECT_EQ(ZuzGalleryStoredSize(5000, 1000), 1000);
    // The size at closing is stored again.
    EXPECT_EQ(ZuzReadIntegerOption(u"GalleryWidth", -1), 100);
}

TEST_F(SeriesGallery, ASizeIsNeitherReadNorWrittenWithoutRememberGallerySize) {
    ZuzSaveBoolOption(u"RememberGallerySize", false);
    ZuzSaveIntegerOption(u"GalleryWidth", 50);
    ModalDriver driver;
    driver.Form<TZuzGallery>([](TZuzGallery& g) { EXPECT_GT(g.GetWidth(), 100); }, mrCancel);
    CreateNewSeriesGallery(form.get(), chart);
    EXPECT_EQ(ZuzReadIntegerOption(u"GalleryWidth", -1), 50);
}

TEST_F(SeriesGallery, TheListBoxInsertKeyAddsThroughTheGallery) {
    auto* list = Create<TChartListBox>(form.get());
    list->SetParent(form.get());
    list->SetChart(chart);
    ModalDriver driver;
    driver.Form<TZuzGallery>([](TZuzGallery& g) { Choose(g, TLineSeries::StaticClass()); });
    Word key = VK_INSERT;
    list->HandleKeyUp(key, {});
    ASSERT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(list->GetSelectedSeries(), chart->GetSeries(0));
}

TEST_F(SeriesGallery, GalleryModeOneOpensTheTypeListWithThePickedTypesSubStyles) {
    TChartGalleryPanel::SaveMode(1);
    ModalDriver driver;
    driver.Form<TZuzGalleryForm>([](TZuzGalleryForm& g) {
        EXPECT_EQ(g.CBPage->GetItems()->GetStrings(0), VavIve_All);
        EXPECT_EQ(g.CBPage->CurrentItem(), VavIve_GalleryStandard);
        // One row per plain type of the page, titled on one line, in the order of the titles.
        int standard = 0;
        for (int i = 0; i < ZuzSeriesTypes().Count(); ++i) {
            const TZuzSeriesType* t = ZuzSeriesTypes().Get(i);
            if (!t->FunctionClass && t->SubIndex == 0 && t->GetGalleryPage() == VavIve_GalleryStandard)
                ++standard;
        }
        TChartListBox* list = g.ChartListBox1;
        ASSERT_EQ(list->GetItems()->GetCount(), standard);
        TChartSeries* bars = nullptr;
        for (int i = 0; i < list->GetItems()->GetCount(); ++i) {
            EXPECT_EQ(list->GetItems()->GetStrings(i).find(ZuzLineSeparator), String::npos);
            if (i > 0) {
                EXPECT_LT(list->GetItems()->GetStrings(i - 1), list->GetItems()->GetStrings(i));
            }
            if (&list->GetSeries(i)->ClassType() == &TBarSeries::StaticClass()) bars = list->GetSeries(i);
        }
        ASSERT_NE(bars, nullptr);
        // Picking the bar row shows the bar's sub-styles, each tagged with its index.
        list->SetSelectedSeries(bars);
        g.ChartListBox1Click(list);
        TChartGalleryPanel* p = g.ChartGalleryPanel1;
        int styles = 0;
        bars->CreateSubGallery([&](const String&) { ++styles; });
        ASSERT_EQ(p->ChartCount(), styles);
        for (int i = 0; i < styles; ++i) EXPECT_EQ(p->GetChart(i)->GetTag(), i);
        EXPECT_FALSE(p->GetDisplaySub());
        p->SelectChart(p->GetChart(2));
        // "(all)" lists every plain type.
        g.CBPage->SetItemIndex(0);
        g.CBPageChange(g.CBPage);
        EXPECT_GE(list->GetItems()->GetCount(), standard);
        list->SetSelectedSeries(list->GetSeries(list->GetItems()->IndexOf(VavIve_GalleryBar)));
        g.ChartListBox1Click(list);
        p->SelectChart(p->GetChart(2));
    });
    auto* s = dynamic_cast<TBarSeries*>(CreateNewSeriesGallery(form.get(), chart));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetBarStyle(), bsPyramid);
    EXPECT_EQ(chart->SeriesCount(), 1);
}

} // namespace
