// The series gallery as the X server shows it over a chart: the two rows of tabs, the
// sample charts of the "Standard" page, the palette and the buttons.
#include "chart/editors/zuzgally.h"

#include "chart/editors/zuzgallerypanel.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/support/tempdir.h"
#include "tests/support/xserver.h"

TEST_F(ChartFormTest, XSeriesGalleryShowsTheStandardSamples) {
    const TempDir scratch("moltren-gallery-x11");
    win32::SetRegistryDirectory(scratch.path);
    ZuzGalleryPanelInitialization();
    ZuzGallyInitialization();
    form->SetBounds(40, 40, 640, 420);
    AddSeries<TLineSeries>({3, 5, 4, 6, 7}, u"Температура");
    ASSERT_TRUE(xserver::Activate(*form.form));
    int samples = 0;
    answer = [&](const TDialogRequest& r) {
        TDialogAnswer a;
        if (r.Kind != TDialogKind::ModalForm) return a;
        EXPECT_TRUE(xserver::Activate(*r.Form));
        probe::ProcessEvents();
        samples = static_cast<TZuzGallery*>(r.Form)->ChartGalleryPanel1->ChartCount();
        xserver::Keep(xserver::Picture(*r.Form), "series-gallery");
        a.Result = mrCancel;
        return a;
    };
    EXPECT_EQ(CreateNewSeriesGallery(form.get(), chart), nullptr);
    EXPECT_GT(samples, 4);
    win32::SetRegistryDirectory({});
}
