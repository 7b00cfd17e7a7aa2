// The series gallery: the tabs it shows, what choosing, cancelling and choosing the same
// type again do to the chart, the stored size it opens at, and the list box's Insert
// reaching it.
#include "chart/editors/zuzgally.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/editors/zuzlisb.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

void ZuzFunciInitialization();

namespace {

class SeriesGallery : public ChartFormTest {
protected:
    static void SetUpTestSuite() {
        ChartFormTest::SetUpTestSuite();
        static bool started = false;
        if (started) return;
        started = true;
        ZuzFunciInitialization();
        ZuzGalleryPanelInitialization();
        ZuzGallyInitialization();
    }
    void SetUp() override {
        ChartFormTest::SetUp();
        win32::SetRegistryDirectory(scratch.path);
    }
    void TearDown() override {
        win32::SetRegistryDirectory({});
        ChartFormTest::TearDown();
    }
    // Answers the gallery: Pick runs on the open form, then OK (or Cancel).
    void Answer(std::function<void(TZuzGallery*)> Pick, bool Ok = true) {
        answer = [this, Pick, Ok](const TDialogRequest& r) {
            TDialogAnswer a;
            if (r.Kind != TDialogKind::ModalForm) return a;
            auto* g = dynamic_cast<TZuzGallery*>(r.Form);
            EXPECT_NE(g, nullptr);
            if (!g) return a;
            seen = Snapshot(g);
            if (Pick) Pick(g);
            a.Result = Ok ? mrOk : mrCancel;
            return a;
        };
    }
    // Selects the sample whose series is of class C.
    static void Choose(TZuzGallery* g, const ClassInfo& C) {
        TChartGalleryPanel* p = g->ChartGalleryPanel1;
        for (int i = 0; i < p->ChartCount(); ++i)
            if (p->GetChart(i)->SeriesCount() > 0 && &p->GetChart(i)->GetSeries(0)->ClassType() == &C) {
                p->SelectChart(p->GetChart(i));
                return;
            }
        ADD_FAILURE() << "no sample of " << C.name;
    }
    struct Seen {
        std::vector<String> types, pages;
        int width = 0, height = 0;
    };
    static Seen Snapshot(TZuzGallery* g) {
        Seen s;
        for (int i = 0; i < g->TabTypes->GetTabs()->GetCount(); ++i)
            s.types.push_back(g->TabTypes->GetTabs()->GetStrings(i));
        for (int i = 0; i < g->TabPages->GetTabs()->GetCount(); ++i)
            s.pages.push_back(g->TabPages->GetTabs()->GetStrings(i));
        s.width = g->GetWidth();
        s.height = g->GetHeight();
        return s;
    }

    const TempDir scratch{"moltren-gallery"};
    Seen seen;
};

TEST_F(SeriesGallery, ChoosingASampleAddsASeriesOfItsTypeAndStandardComesFirst) {
    Answer([](TZuzGallery* g) { Choose(g, TBarSeries::StaticClass()); });
    TChartSeries* s = CreateNewSeriesGallery(form.get(), chart);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(&s->ClassType(), &TBarSeries::StaticClass());
    EXPECT_EQ(chart->SeriesCount(), 1);
    ASSERT_EQ(seen.types.size(), 2u);
    EXPECT_EQ(seen.types[0], VavIve_Series);
    EXPECT_EQ(seen.types[1], VavIve_GalleryFunctions);
    ASSERT_FALSE(seen.pages.empty());
    EXPECT_EQ(seen.pages[0], VavIve_GalleryStandard);
}

TEST_F(SeriesGallery, CancelCreatesNothingAndKeepsTheChart) {
    chart->SetView3D(false);
    Answer([](TZuzGallery* g) { g->CB3D->SetChecked(true); }, false);
    EXPECT_EQ(CreateNewSeriesGallery(form.get(), chart), nullptr);
    EXPECT_EQ(chart->SeriesCount(), 0);
    EXPECT_FALSE(chart->GetView3D());
}

TEST_F(SeriesGallery, TheSameTypeChosenAgainCreatesNothing) {
    auto* line = AddSeries<TLineSeries>({1, 2, 3}, u"Line");
    TChartSeries* s = line;
    Answer([](TZuzGallery* g) { Choose(g, TLineSeries::StaticClass()); });
    ChangeSeriesTypeGallery(form.get(), s);
    EXPECT_EQ(s, line);
    EXPECT_EQ(chart->SeriesCount(), 1);
    // Without the functions: only the "Series" tab.
    ASSERT_EQ(seen.types.size(), 1u);
    EXPECT_EQ(seen.types[0], VavIve_Series);
}

TEST_F(SeriesGallery, ChangingTheTypeKeepsThePointsAndTheTitle) {
    auto* line = AddSeries<TLineSeries>({4, 5, 6}, u"Расход");
    TChartSeries* s = line;
    Answer([](TZuzGallery* g) { Choose(g, TBarSeries::StaticClass()); });
    ChangeSeriesTypeGallery(form.get(), s);
    ASSERT_NE(s, line);
    EXPECT_EQ(&s->ClassType(), &TBarSeries::StaticClass());
    EXPECT_EQ(s->Count(), 3);
    EXPECT_EQ(s->GetTitle(), u"Расход");
    EXPECT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(chart->GetSeries(0), s);
}

TEST_F(SeriesGallery, FunctionsOnlyModeHasNoSeriesTab) {
    Answer(nullptr, false);
    EXPECT_EQ(GetChartGalleryFunction(form.get()), nullptr);
    ASSERT_EQ(seen.types.size(), 1u);
    EXPECT_EQ(seen.types[0], VavIve_GalleryFunctions);
    ASSERT_FALSE(seen.pages.empty());
    // Only pages that hold a function type.
    for (const String& page : seen.pages) {
        bool function = false;
        for (int i = 0; i < ZuzSeriesTypes().Count(); ++i) {
            const TZuzSeriesType* t = ZuzSeriesTypes().Get(i);
            if (t->FunctionClass && t->GetGalleryPage() == page) function = true;
        }
        EXPECT_TRUE(function) << UTF8Encode(page);
    }
}

TEST_F(SeriesGallery, AStoredWidthOf50OpensAt100AndAHugeOneAtTheWorkArea) {
    ZuzSaveIntegerOption(u"GalleryWidth", 50);
    ZuzSaveIntegerOption(u"GalleryHeight", 100000);
    Answer(nullptr, false);
    CreateNewSeriesGallery(form.get(), chart);
    const TRect area = Screen->GetWorkAreaRect();
    EXPECT_EQ(seen.width, 100);
    EXPECT_EQ(seen.height, area.Bottom - area.Top);
    EXPECT_EQ(ZuzGalleryStoredSize(50, 1000), 100);
    EXPECT_EQ(ZuzGalleryStoredSize(700, 1000), 700);
    EXPECT_EQ(ZuzGalleryStoredSize(5000, 1000), 1000);
    // The size at closing is stored again.
    EXPECT_EQ(ZuzReadIntegerOption(u"GalleryWidth", -1), 100);
}

TEST_F(SeriesGallery, ASizeIsNeitherReadNorWrittenWithoutRememberGallerySize) {
    ZuzSaveBoolOption(u"RememberGallerySize", false);
    ZuzSaveIntegerOption(u"GalleryWidth", 50);
    Answer(nullptr, false);
    CreateNewSeriesGallery(form.get(), chart);
    EXPECT_GT(seen.width, 100);
    EXPECT_EQ(ZuzReadIntegerOption(u"GalleryWidth", -1), 50);
}

TEST_F(SeriesGallery, TheListBoxInsertKeyAddsThroughTheGallery) {
    auto* list = Create<TChartListBox>(form.get());
    list->SetParent(form.get());
    list->SetChart(chart);
    Answer([](TZuzGallery* g) { Choose(g, TLineSeries::StaticClass()); });
    Word key = VK_INSERT;
    list->HandleKeyUp(key, {});
    ASSERT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(list->GetSelectedSeries(), chart->GetSeries(0));
}

} // namespace
