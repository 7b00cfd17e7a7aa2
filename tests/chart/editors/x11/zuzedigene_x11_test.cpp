// The general page's font list as a keyboard reaches it: Ctrl+A typed through the X server
// selects every font, so one edit in the font editor reaches them all.
#include "chart/editors/zuzedigene.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/editors/zuzpendlg.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/support/xserver.h"

namespace {

class XGeneralPage : public ChartFormTest {};

} // namespace

TEST_F(XGeneralPage, CtrlAInTheFontListSelectsEveryFont) {
    AddSeries<TLineSeries>({21, 22, 24}, u"Температура, °C");
    auto* page = Create<TFormZuzGeneral>(form.get(), chart);
    page->SetBorderStyle(bsNone);
    page->SetParent(form.get());
    page->SetBounds(0, 0, 320, 420);
    page->Show();
    page->PageControl1->SetActivePage(page->TabFonts);
    ASSERT_TRUE(xserver::Activate(*form.form));
    ASSERT_TRUE(xserver::Focus(*page->LBFonts));
    const int count = page->LBFonts->GetItems()->GetCount();
    ASSERT_EQ(page->LBFonts->GetSelCount(), 1); // the title, as the page opens
    ASSERT_TRUE(xserver::Type("ctrl+a"));
    EXPECT_EQ(page->LBFonts->GetSelCount(), count);
    xserver::Keep(xserver::Picture(*form.form), "general-page-fonts-all");
}
