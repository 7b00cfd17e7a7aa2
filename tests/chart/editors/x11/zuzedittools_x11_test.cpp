// The tools page as a mouse reaches it: a click on a line of the owner-drawn list shows that
// line's tool, and the up arrow moves it up in the list, the chart's tools and the stored order.
#include "chart/editors/zuzedittools.h"

#include "chart/engine/zuzfunction.h"
#include "platform/gui/buttons.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/support/testclass.h"
#include "tests/support/xserver.h"

namespace {

class XToolsPage : public ChartFormTest {};

// A tool that counts the times it hears the pointer leave its chart.
class TLeaveTool : public testsupport::TTestClass<TLeaveTool, TZuzCustomTool, "TLeaveTool"> {
public:
    using TTestClass::TTestClass;
    void ChartEvent(TChartToolEvent Event) override { Left += Event == cteMouseLeave; }
    int Left = 0;
};

} // namespace

TEST_F(XToolsPage, AClickedLineShowsItsToolAndTheUpArrowMovesIt) {
    TZuzCustomTool* tools[2] = {};
    for (int i = 0; i < 2; ++i) {
        tools[i] = Create<TZuzCustomTool>(form.get());
        tools[i]->SetName(i == 0 ? u"Marker" : u"Ruler");
        tools[i]->SetParentChart(chart);
    }
    tools[1]->SetActive(false);
    auto* page = Create<TFormZuzTools>(form.get());
    page->Tools = chart->GetTools();
    page->SetBorderStyle(bsNone);
    page->SetParent(form.get());
    page->SetBounds(0, 0, 320, 420);
    page->Show();
    ASSERT_TRUE(xserver::Activate(*form.form));
    ASSERT_EQ(page->LBTools->GetItemIndex(), 0);
    EXPECT_TRUE(page->CBActive->GetChecked());

    const int row = page->LBTools->GetItemHeight();
    ASSERT_TRUE(xserver::Click(*page->LBTools, TPoint(40, row + row / 2)));
    EXPECT_EQ(page->LBTools->GetItemIndex(), 1);
    EXPECT_FALSE(page->CBActive->GetChecked()) << "the second tool is switched off";
    EXPECT_TRUE(page->BMoveUp->GetEnabled());

    ASSERT_TRUE(xserver::Click(*page->BMoveUp, TPoint(11, 11)));
    EXPECT_EQ(chart->GetTools()->Get(0), tools[1]);
    EXPECT_LT(tools[1]->GetComponentIndex(), tools[0]->GetComponentIndex());
    EXPECT_EQ(page->LBTools->GetItemIndex(), 0);
    EXPECT_FALSE(page->BMoveUp->GetEnabled());
}

// The pointer moved off the chart by the server, as a mouse does: the chart's tools hear it leave.
TEST_F(XToolsPage, ToolsHearThePointerLeaveTheChart) {
    auto* tool = Create<TLeaveTool>(form.get());
    tool->SetParentChart(chart);
    ASSERT_TRUE(xserver::Activate(*form.form));
    ASSERT_TRUE(xserver::Move(*chart, TPoint(160, 200)));
    ASSERT_TRUE(xserver::Move(*form.form, TPoint(100, 200)));
    EXPECT_TRUE(WaitFor([&] { return tool->Left == 1; })) << tool->Left;
}
