// The series gallery as the X server shows it over a chart: the two rows of tabs, the
// sample charts of the "Standard" page, the palette and the buttons; and the second layout,
// the list of types beside the picked type's sub-styles.
#include "chart/editors/zuzgally.h"

#include "chart/canvas/zuzconst.h"
#include "chart/editors/zuzgalleryalternate.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/editors/zuzlisb.h"
#include "chart/series/series_pie.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/tempdir.h"
#include "tests/support/xserver.h"

TEST_F(ChartFormTest, XSeriesGalleryShowsTheStandardSamples) {
    const TempDir scratch("moltren-gallery-x11");
    win32::SetRegistryDirectory(scratch.path);
    form->SetBounds(40, 40, 640, 420);
    AddSeries<TLineSeries>({3, 5, 4, 6, 7}, u"Температура");
    ASSERT_TRUE(xserver::RunWindowManager());
    ASSERT_TRUE(xserver::Activate(*form.form));
    // Stored as large as the screen or larger, it fills the work area with its title bar on it.
    ZuzSaveIntegerOption(u"GalleryWidth", 5000);
    ZuzSaveIntegerOption(u"GalleryHeight", 5000);
    int samples = 0;
    answer = [&](const TDialogRequest& r) {
        TDialogAnswer a;
        if (r.Kind != TDialogKind::ModalForm) return a;
        EXPECT_TRUE(xserver::Activate(*r.Form));
        probe::ProcessEvents();
        const TRect frame = probe::FrameRect(*r.Form), area = Screen->GetWorkAreaRect();
        EXPECT_GE(frame.Top, area.Top);
        EXPECT_GE(frame.Left, area.Left);
        samples = static_cast<TZuzGallery*>(r.Form)->ChartGalleryPanel1->ChartCount();
        xserver::Keep(xserver::Picture(*r.Form), "series-gallery");
        a.Result = mrCancel;
        return a;
    };
    EXPECT_EQ(CreateNewSeriesGallery(form.get(), chart), nullptr);
    EXPECT_GT(samples, 4);
    win32::SetRegistryDirectory({});
}

TEST_F(ChartFormTest, XAlternateGalleryShowsTheTypesWithIconsAndTheSubStyles) {
    const TempDir scratch("moltren-gallery-x11");
    win32::SetRegistryDirectory(scratch.path);
    TChartGalleryPanel::SaveMode(1);
    form->SetBounds(40, 40, 640, 420);
    ASSERT_TRUE(xserver::Activate(*form.form));
    ModalDriver driver;
    driver.Form<TZuzGalleryForm>(
        [](TZuzGalleryForm& g) {
            EXPECT_TRUE(xserver::Activate(g));
            // The pie's row picked with the mouse: its sub-styles fill the panel.
            TChartListBox* list = g.ChartListBox1;
            const int row = list->GetItems()->IndexOf(VavIve_GalleryPie);
            ASSERT_GE(row, 0);
            const TRect r = list->ItemRect(row);
            ASSERT_TRUE(xserver::Click(
                *list, TPoint(list->SectionLeft(TChartListBox::secTitle) + 8, (r.Top + r.Bottom) / 2)));
            EXPECT_EQ(&list->GetSelectedSeries()->ClassType(), &TPieSeries::StaticClass());
            EXPECT_GT(g.ChartGalleryPanel1->ChartCount(), 1);
            probe::ProcessEvents();
            xserver::Keep(xserver::Picture(g), "series-gallery-alternate");
        },
        mrCancel);
    EXPECT_EQ(CreateNewSeriesGallery(form.get(), chart), nullptr);
    win32::SetRegistryDirectory({});
}
