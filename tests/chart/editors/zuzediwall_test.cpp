// The walls page: the wall on each tab, its controls written into that wall, one size for all
// walls, which walls offer "Auto Hide" and "Shadow...", and the dialogs its buttons open.
#include "chart/editors/zuzediwall.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/engine/chartwalls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/chart/editors/pagefixture.h"

#include <gtest/gtest.h>

namespace {

class WallsPage : public PageTest {
protected:
    TFormZuzWall* Page(TCustomChartWall* Wall) { return Embed(Create<TFormZuzWall>(form.get(), Wall)); }
};

TEST_F(WallsPage, EachWallHasItsTabAndOnlyTheBackWallHasAShadowAndTheBottomNoAutoHide) {
    TFormZuzWall* p = Page(chart->GetBottomWall());
    ASSERT_EQ(p->TabSubWalls->GetTabs()->GetCount(), 4);
    EXPECT_EQ(p->TabSubWalls->GetTabs()->GetStrings(3), u"Back");
    EXPECT_EQ(p->TabSubWalls->GetTabIndex(), 2);
    const struct {
        TCustomChartWall* wall;
        bool autoHide, shadow;
    } rows[] = {{chart->GetLeftWall(), true, false},
                {chart->GetRightWall(), true, false},
                {chart->GetBottomWall(), false, false},
                {chart->GetBackWall(), true, true}};
    for (int tab = 0; tab < 4; ++tab) {
        ChooseTab(p->TabSubWalls, tab);
        EXPECT_EQ(p->GetWall(), rows[tab].wall) << tab;
        EXPECT_EQ(p->CBAutoHide->GetVisible(), rows[tab].autoHide) << tab;
        EXPECT_EQ(p->BShadow->GetVisible(), rows[tab].shadow) << tab;
        EXPECT_EQ(p->BWallPen->GetPen(), rows[tab].wall->GetPen()) << tab;
    }
    p->RefreshControls(chart->GetLeftWall());
    EXPECT_EQ(p->TabSubWalls->GetTabIndex(), 0);
}

TEST_F(WallsPage, EveryControlWritesTheWallOnTheChosenTabOnly) {
    TFormZuzWall* p = Page(chart->GetLeftWall());
    ChooseTab(p->TabSubWalls, 1);
    TCustomChartWall* right = chart->GetRightWall();
    TCustomChartWall* left = chart->GetLeftWall();
    const int leftSize = left->GetSize();
    p->SEWallSize->SetText(u"7");
    p->Edit1->SetText(u"30");
    p->Edit2->SetText(u"10");
    p->Edit3->SetText(u"90");
    p->CBVisible->SetChecked(!right->GetVisible());
    const bool visible = p->CBVisible->GetChecked();
    p->CBTransp->SetChecked(!right->GetTransparent());
    const bool transparent = p->CBTransp->GetChecked();
    p->CBDark3D->SetChecked(false);
    p->CBAutoHide->SetChecked(true);
    p->CBView3dWalls->SetChecked(false);
    EXPECT_EQ(right->GetSize(), 7);
    EXPECT_EQ(right->GetTransparency(), 30);
    EXPECT_EQ(right->GetStartPosition(), 10);
    EXPECT_EQ(right->GetEndPosition(), 90);
    EXPECT_EQ(right->GetVisible(), visible);
    EXPECT_EQ(right->GetTransparent(), transparent);
    EXPECT_FALSE(right->GetDark3D());
    EXPECT_TRUE(right->GetAutoHide());
    EXPECT_FALSE(chart->GetView3DWalls());
    EXPECT_EQ(left->GetSize(), leftSize);
    EXPECT_FALSE(left->GetAutoHide());
}

TEST_F(WallsPage, DarkThreeDNeedsAWallWithSize) {
    chart->GetLeftWall()->SetSize(0);
    TFormZuzWall* p = Page(chart->GetLeftWall());
    EXPECT_FALSE(p->CBDark3D->GetEnabled());
    p->SEWallSize->SetText(u"4");
    EXPECT_TRUE(p->CBDark3D->GetEnabled());
}

TEST_F(WallsPage, TheSizeForAllWallsShowsInTheWallsOwnBox) {
    TFormZuzWall* p = Page(chart->GetBackWall());
    p->EAllSize->SetText(u"10");
    for (TCustomChartWall* w : {static_cast<TCustomChartWall*>(chart->GetLeftWall()),
                                static_cast<TCustomChartWall*>(chart->GetRightWall()),
                                static_cast<TCustomChartWall*>(chart->GetBottomWall()),
                                static_cast<TCustomChartWall*>(chart->GetBackWall())})
        EXPECT_EQ(w->GetSize(), 10);
    EXPECT_EQ(p->SEWallSize->GetText(), u"10");
    // A wall of its own size shows it in the box for all walls without resizing the others.
    chart->GetLeftWall()->SetSize(3);
    ChooseTab(p->TabSubWalls, 0);
    EXPECT_EQ(p->EAllSize->GetText(), u"3");
    EXPECT_EQ(chart->GetRightWall()->GetSize(), 10);
}

TEST_F(WallsPage, AVisibleGradientMakesTheWallOpaque) {
    chart->GetBackWall()->SetTransparent(true);
    TFormZuzWall* p = Page(chart->GetBackWall());
    EXPECT_TRUE(p->CBTransp->GetChecked());
    ModalDriver driver;
    driver.Form<TZuzGradientEditor>([](TZuzGradientEditor& e) { e.CBVisible->SetChecked(true); }, mrOk);
    p->BGradient->Click();
    EXPECT_TRUE(chart->GetBackWall()->GetGradient()->GetVisible());
    EXPECT_FALSE(chart->GetBackWall()->GetTransparent());
    EXPECT_FALSE(p->CBTransp->GetChecked());
}

TEST_F(WallsPage, PatternAndImageEditTheWallsBrushAndPicture) {
    TFormZuzWall* p = Page(chart->GetLeftWall());
    ModalDriver driver;
    driver
        .Form<TBrushDialog>([&](TBrushDialog& d) { EXPECT_EQ(d.TheBrush, chart->GetLeftWall()->GetBrush()); },
                            mrOk)
        .Form<TBackImageEditor>(
            [&](TBackImageEditor& e) {
                EXPECT_EQ(e.GetPicture(), chart->GetLeftWall()->GetPicture());
                EXPECT_EQ(e.GetOwner(), form.get());
                EXPECT_FALSE(e.RGBitmap->GetVisible());
                EXPECT_FALSE(e.GBPosition->GetVisible());
                EXPECT_TRUE(e.PanelButtons->GetVisible());
            },
            mrOk);
    p->BWallBrush->Click();
    p->BImage->Click();
}

TEST_F(WallsPage, ShadowEditsTheBackWallsShadow) {
    TFormZuzWall* p = Page(chart->GetBackWall());
    ASSERT_TRUE(p->BShadow->GetVisible());
    ModalDriver driver;
    driver.Form<TZuzShadowEditor>([&](TZuzShadowEditor& e) {
        EXPECT_EQ(e.GetShadow(), chart->GetBackWall()->GetShadow());
        e.Edit1->SetText(u"6");
    });
    p->BShadow->Click();
    EXPECT_EQ(chart->GetBackWall()->GetShadow()->GetHorizSize(), 6);
}

TEST_F(WallsPage, ThePictureEditorIsFreedWhenAnExceptionLeavesIt) {
    TFormZuzWall* p = Page(chart->GetBackWall());
    const int before = form->GetComponentCount();
    bool destroyed = false;
    ModalDriver driver;
    driver.Form<TBackImageEditor>([&](TBackImageEditor& e) {
        e.OnDestroy = TNotifyEvent([&](TObject*) { destroyed = true; });
        throw EInvalidOperation(u"failed inside the editor");
    });
    EXPECT_THROW(p->BImageClick(p->BImage), EInvalidOperation);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(form->GetComponentCount(), before);
}

TEST_F(WallsPage, Picture) {
    chart->SetView3D(true);
    Page(chart->GetLeftWall());
    PagePicture("walls-page.png");
}

} // namespace
