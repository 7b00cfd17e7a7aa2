// The paging page: points per page and "No pages", the page label following the navigator,
// the scaling and legend boxes, and the page-number tool made on demand and edited by name.
#include "chart/editors/zuzedipage.h"

#include "chart/editors/zuzedigene.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/colorpalettes.h"
#include "chart/engine/zuzfunction.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/chart/editors/pagefixture.h"

#include <gtest/gtest.h>

namespace {

// A page-number tool as a unit of tools would register it, with an editor found by name.
class TPageNumberTool : public TZuzCustomTool {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci =
            MakeClassInfo<TPageNumberTool>("TPageNumberTool", &TZuzCustomTool::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TZuzCustomTool::TZuzCustomTool;
    String GetEditorClass() const override { return u"TPageNumberToolEditor"; }
};

class TPageNumberToolEditor : public TForm {
public:
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci =
            MakeClassInfo<TPageNumberToolEditor>("TPageNumberToolEditor", &TForm::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TPageNumberToolEditor(TComponent* AOwner) : TForm(AOwner, NewTag{}) {}
};

class PagingPage : public PageTest {
protected:
    static void SetUpTestSuite() {
        PageTest::SetUpTestSuite();
        RegisterClass(TPageNumberToolEditor::StaticClass());
    }
    void TearDown() override {
        ZuzPageNumToolClass = nullptr;
        PageTest::TearDown();
    }
    TFormZuzPage* Page() { return Embed(Create<TFormZuzPage>(form.get(), chart)); }
    TChartPage* Pages() { return chart->GetPages(); }
};

TEST_F(PagingPage, AnEmptyPointsBoxMeansNoPagesAndANumberPagesAgain) {
    Pages()->SetMaxPointsPerPage(10);
    TFormZuzPage* p = Page();
    EXPECT_EQ(p->SEPointsPerPage->GetText(), u"10");
    EXPECT_FALSE(p->CBNoPages->GetChecked());
    EXPECT_TRUE(p->CBNoPages->GetEnabled());
    EXPECT_EQ(p->LabelPages->GetCaption(), u"Page 1 of 3");
    p->SEPointsPerPage->SetText(u"");
    EXPECT_EQ(Pages()->GetMaxPointsPerPage(), 0);
    EXPECT_TRUE(p->CBNoPages->GetChecked());
    EXPECT_FALSE(p->CBNoPages->GetEnabled());
    EXPECT_EQ(p->LabelPages->GetCaption(), u"Page 1 of 1");
    p->SEPointsPerPage->SetText(u"10");
    EXPECT_EQ(Pages()->GetMaxPointsPerPage(), 10);
    EXPECT_FALSE(p->CBNoPages->GetChecked());
    EXPECT_TRUE(p->CBNoPages->GetEnabled());
    p->CBNoPages->SetChecked(true);
    EXPECT_EQ(Pages()->GetMaxPointsPerPage(), 0);
    EXPECT_EQ(p->SEPointsPerPage->GetText(), u"0");
    EXPECT_FALSE(p->CBNoPages->GetEnabled());
}

TEST_F(PagingPage, TheNavigatorMovesThroughThePagesAndTheLabelFollows) {
    Pages()->SetMaxPointsPerPage(10);
    TFormZuzPage* p = Page();
    EXPECT_EQ(p->ChartPageNavigator1->GetChart(), chart);
    p->ChartPageNavigator1->BtnClick(nbNext);
    EXPECT_EQ(Pages()->GetCurrent(), 2);
    EXPECT_EQ(p->LabelPages->GetCaption(), u"Page 2 of 3");
    p->ChartPageNavigator1->BtnClick(nbLast);
    EXPECT_EQ(p->LabelPages->GetCaption(), u"Page 3 of 3");
}

TEST_F(PagingPage, TheBoxesWriteScalingAndTheCurrentPageLegend) {
    TFormZuzPage* p = Page();
    p->CBScaleLast->SetChecked(!Pages()->GetScaleLastPage());
    p->CBAutoScale->SetChecked(!Pages()->GetAutoScale());
    p->CBPageLegend->SetChecked(!chart->GetLegend()->GetCurrentPage());
    EXPECT_EQ(Pages()->GetScaleLastPage(), p->CBScaleLast->GetChecked());
    EXPECT_EQ(Pages()->GetAutoScale(), p->CBAutoScale->GetChecked());
    EXPECT_EQ(chart->GetLegend()->GetCurrentPage(), p->CBPageLegend->GetChecked());
}

TEST_F(PagingPage, WithoutAPageNumberToolClassThereIsNoPageNumberToShowOrEdit) {
    TFormZuzPage* p = Page();
    EXPECT_FALSE(p->CBPageNum->GetVisible());
    EXPECT_FALSE(p->BEditTool->GetVisible());
    EXPECT_EQ(p->PageNumTool(true), nullptr);
}

TEST_F(PagingPage, ShowingThePageNumberMakesTheToolOnceAndEditOpensItsEditor) {
    ZuzPageNumToolClass = &TPageNumberTool::StaticClass();
    TFormZuzPage* p = Page();
    EXPECT_TRUE(p->CBPageNum->GetVisible());
    EXPECT_FALSE(p->CBPageNum->GetChecked());
    EXPECT_TRUE(p->BEditTool->GetVisible());
    EXPECT_FALSE(p->BEditTool->GetEnabled());
    p->CBPageNum->SetChecked(true);
    ASSERT_EQ(chart->GetTools()->Count(), 1);
    TZuzCustomTool* tool = chart->GetTools()->Get(0);
    EXPECT_TRUE(tool->GetActive());
    EXPECT_EQ(tool->GetOwner(), form.get());
    EXPECT_FALSE(tool->GetName().empty());
    EXPECT_TRUE(p->BEditTool->GetEnabled());
    p->CBPageNum->SetChecked(false);
    p->CBPageNum->SetChecked(true);
    EXPECT_EQ(chart->GetTools()->Count(), 1);
    EXPECT_EQ(p->PageNumTool(false), tool);

    ModalDriver driver;
    driver.Form<TPageNumberToolEditor>(
        [&](TPageNumberToolEditor& e) {
            EXPECT_EQ(ZuzTagObject(&e), tool);
            EXPECT_EQ(e.GetOwner(), p);
        },
        mrOk);
    const int before = p->GetComponentCount();
    p->BEditTool->Click();
    EXPECT_EQ(p->GetComponentCount(), before);
}

TEST_F(PagingPage, Picture) {
    Pages()->SetMaxPointsPerPage(8);
    Page();
    PagePicture("paging-page.png");
}

} // namespace
