// The gradient editor: enabling by visibility and direction, themes, every control written into
// the gradient of a real chart, Cancel putting it back, the embedded form and the gradient button.
#include "chart/editors/zuzedigrad.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/engine/chartwalls.h"
#include "chart/series/series.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/dialogfixture.h"
#include "tests/chart/editors/modaldriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

constexpr TColor kRed = static_cast<TColor>(0x0000FF);
constexpr TColor kBlue = static_cast<TColor>(0xFF0000);

class GradientEditor : public DialogTest {
protected:
    TZuzGradient* Gradient() { return chart->GetBackWall()->GetGradient(); }
    // Opens the editor modally on the gradient and runs Act while it shows; the colour
    // dialogs Act opens choose Colours in turn.
    TModalResult Edit(const std::function<TModalResult(TZuzGradientEditor*)>& Act, bool AlwaysEnabled = false,
                      std::initializer_list<TColor> Colours = {}) {
        ModalDriver driver;
        driver.Form<TZuzGradientEditor>([&](TZuzGradientEditor& e) {
            if (const TModalResult result = Act(&e); result != mrNone) e.SetModalResult(result);
        });
        for (const TColor c : Colours) driver.Dialog(TDialogKind::ColorDialog, ColorChosen(c));
        return EditZuzGradient(form.get(), Gradient(), AlwaysEnabled, false) ? mrOk : mrCancel;
    }
};

TEST_F(GradientEditor, AnInvisibleGradientDisablesTheColourControlsUnlessAlwaysEnabled) {
    Gradient()->SetVisible(false);
    Edit([](TZuzGradientEditor* e) {
        EXPECT_FALSE(e->CBVisible->GetChecked());
        for (TControl* c : std::initializer_list<TControl*>{e->CBDirection, e->BStart, e->CBMid, e->BMid,
                                                            e->BEnd, e->BSwap, e->Gallery})
            EXPECT_FALSE(c->GetEnabled()) << UTF8Encode(c->GetName());
        return mrCancel;
    });
    Edit(
        [](TZuzGradientEditor* e) {
            EXPECT_TRUE(e->CBDirection->GetEnabled());
            EXPECT_TRUE(e->BStart->GetEnabled());
            EXPECT_TRUE(e->BMid->GetEnabled());
            // The end colour and swap are not offered at all then.
            EXPECT_FALSE(e->BEnd->GetVisible());
            EXPECT_FALSE(e->BSwap->GetVisible());
            return mrCancel;
        },
        true);
}

TEST_F(GradientEditor, OnlyRadialEnablesTheRadialOffsetAndCentredDirectionsHaveNoMiddle) {
    Gradient()->SetVisible(true);
    Edit([](TZuzGradientEditor* e) {
        EXPECT_FALSE(e->TrackBar1->GetEnabled());
        probe::Choose(*e->CBDirection, 7); // Radial
        EXPECT_TRUE(e->TrackBar1->GetEnabled());
        EXPECT_TRUE(e->TrackBar2->GetEnabled());
        EXPECT_TRUE(e->Label2->GetEnabled());
        EXPECT_FALSE(e->BMid->GetEnabled());
        EXPECT_FALSE(e->CBMid->GetEnabled());
        probe::Choose(*e->CBDirection, 8); // Diagonal Up
        EXPECT_FALSE(e->TrackBar2->GetEnabled());
        EXPECT_TRUE(e->BMid->GetEnabled());
        return mrOk;
    });
    EXPECT_EQ(Gradient()->GetDirection(), 8);
}

TEST_F(GradientEditor, TheHotThemeLeavesTheMiddleUnusedAndTicksNoMiddle) {
    Gradient()->SetVisible(true);
    Gradient()->SetMidColor(clWhite);
    Edit([](TZuzGradientEditor* e) {
        EXPECT_EQ(e->Gallery->GetItems()->GetCount(), ZuzGradientThemeCount);
        // Sorted by name: "Ace", "Business", "Caribe Sun", ...
        EXPECT_EQ(e->Gallery->GetItems()->GetStrings(0), u"Ace");
        const int hot = e->Gallery->GetItems()->IndexOf(u"Hot");
        EXPECT_GE(hot, 0);
        e->Gallery->SetItemIndex(hot);
        e->GalleryClick(e->Gallery);
        EXPECT_TRUE(e->CBMid->GetChecked());
        return mrOk;
    });
    EXPECT_EQ(Gradient()->GetMidColor(), clNone);
    EXPECT_EQ(Gradient()->GetStartColor(), kRed);
    EXPECT_EQ(Gradient()->GetEndColor(), static_cast<TColor>(0x00FFFF));
    EXPECT_EQ(Gradient()->GetBalance(), 50);
}

TEST_F(GradientEditor, EveryControlWritesTheGradientAndOkKeepsIt) {
    TZuzGradient* g = Gradient();
    g->SetVisible(false);
    g->SetStartColor(clWhite);
    g->SetEndColor(clYellow);
    const auto result = Edit(
        [&](TZuzGradientEditor* e) {
            probe::Click(*e->CBVisible);
            EXPECT_TRUE(g->GetVisible());
            SavePicture(*e, "gradient-editor.png");
            probe::Choose(*e->CBDirection, 7);
            EXPECT_EQ(g->GetDirection(), gdRadial);
            EXPECT_EQ(e->Directions->Charts().IndexOf(e->Directions->SelectedChart()), 7);
            e->BStart->Click();
            EXPECT_EQ(g->GetStartColor(), kBlue);
            EXPECT_EQ(e->GetPreview()->GetGradient()->GetStartColor(), kBlue);
            e->BEnd->Click();
            EXPECT_EQ(g->GetEndColor(), kRed);
            e->BSwap->Click();
            EXPECT_EQ(g->GetStartColor(), kRed);
            EXPECT_EQ(g->GetEndColor(), kBlue);
            probe::Choose(*e->CBDirection, 0);
            e->CBMid->SetChecked(false);
            EXPECT_EQ(g->GetMidColor(), clWhite);
            e->BMid->Click();
            EXPECT_EQ(g->GetMidColor(), clLime);
            EXPECT_FALSE(e->CBMid->GetChecked());
            e->SBBalance->SetPosition(30);
            EXPECT_EQ(g->GetBalance(), 30);
            EXPECT_EQ(e->LabelBalance->GetCaption(), u"30 %");
            e->TrackBar1->SetPosition(-120);
            e->TrackBar2->SetPosition(45);
            EXPECT_EQ(g->GetRadialX(), -120);
            EXPECT_EQ(g->GetRadialY(), 45);
            EXPECT_EQ(e->LRadialX->GetCaption(), u"-120");
            e->UDAngle->SetPosition(90);
            EXPECT_EQ(g->GetAngle(), 90);
            e->SBTransp->SetPosition(70);
            e->CBSubVisible->SetChecked(true);
            EXPECT_EQ(g->GetSub()->GetTransparency(), 70);
            EXPECT_TRUE(g->GetSub()->GetVisible());
            // A direction chosen in the gallery of directions.
            e->Directions->SelectChart(e->Directions->GetChart(3));
            EXPECT_EQ(g->GetDirection(), gdRightLeft);
            EXPECT_EQ(e->CBDirection->GetItemIndex(), 3);
            return mrOk;
        },
        false, {kBlue, kRed, clLime});
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(g->GetVisible());
    EXPECT_EQ(g->GetBalance(), 30);
}

TEST_F(GradientEditor, CancelPutsTheGradientBackAndTellsItsOwner) {
    TZuzGradient* g = Gradient();
    g->SetVisible(true);
    g->SetBalance(50);
    g->SetStartColor(clWhite);
    TObject* changedBy = nullptr;
    int changes = 0;
    const TNotifyEvent oldChange = g->OnChange;
    g->OnChange = TNotifyEvent([&](TObject* s) {
        changedBy = s;
        ++changes;
    });
    TZuzGradientEditor* editor = nullptr;
    Edit([&](TZuzGradientEditor* e) {
        editor = e;
        e->SBBalance->SetPosition(10);
        probe::Choose(*e->CBDirection, 2);
        e->BSwap->Click();
        e->BCancel->Click();
        return e->GetModalResult();
    });
    EXPECT_EQ(g->GetBalance(), 50);
    EXPECT_EQ(g->GetDirection(), gdTopBottom);
    EXPECT_EQ(g->GetStartColor(), clWhite);
    EXPECT_EQ(changedBy, editor);

    // Cancel with nothing changed leaves the gradient alone and says nothing.
    changes = 0;
    Edit([](TZuzGradientEditor* e) {
        e->BCancel->Click();
        return e->GetModalResult();
    });
    EXPECT_EQ(changes, 0);
    g->OnChange = oldChange;
}

TEST_F(GradientEditor, TheEmbeddedEditorHasNoOkCancelPanelAndIsShorterByIt) {
    const Owned<TZuzGradientEditor> full{Create<TZuzGradientEditor>(nullptr)};
    auto* embedded = Create<TZuzGradientEditor>(form.get(), Gradient());
    EXPECT_FALSE(embedded->Panel1->GetVisible());
    EXPECT_FALSE(embedded->BOk->GetVisible());
    EXPECT_FALSE(embedded->BCancel->GetVisible());
    EXPECT_EQ(embedded->GetHeight(), full->GetHeight() - full->Panel1->GetHeight());
    EXPECT_EQ(reinterpret_cast<TZuzGradient*>(embedded->GetTag()), Gradient());
    // A host page points it at another gradient.
    TZuzGradient other;
    other.SetBalance(77);
    embedded->RefreshGradient(&other);
    EXPECT_EQ(embedded->SBBalance->GetPosition(), 77);
    EXPECT_EQ(embedded->GetGradient(), &other);
}

TEST_F(GradientEditor, TheDirectionsGalleryHoldsTenChartsNamedAfterTheDirections) {
    auto* e = Create<TZuzGradientEditor>(form.get());
    ASSERT_EQ(e->Directions->ChartCount(), 10);
    EXPECT_EQ(e->Directions->GetChart(7)->GetHint(), u"Radial");
    EXPECT_TRUE(e->Directions->GetChart(7)->GetShowHint());
    EXPECT_EQ(e->Directions->GetChart(7)->GetBackWall()->GetGradient()->GetDirection(), gdRadial);
    EXPECT_EQ(e->Directions->GetChart(0)->GetMarginTop(), 22);
    EXPECT_EQ(e->PageControl1->GetActivePage(), e->TabSheet1);
}

TEST_F(GradientEditor, TheButtonOpensTheEditorAndRunsItsClickOnlyOnOk) {
    auto* button = Create<TButtonGradient>(form.get());
    button->SetParent(form.get());
    int clicks = 0;
    button->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
    button->Click(); // no gradient linked: only the click
    EXPECT_EQ(clicks, 1);
    button->LinkGradient(Gradient());
    EXPECT_EQ(button->GetGradient(), Gradient());
    bool editorSeen = false;
    ModalDriver driver;
    driver.Form<TZuzGradientEditor>(
        [&](TZuzGradientEditor& e) { editorSeen = button->GetEditor() == &e && e.GetOwner() == form.get(); });
    button->Click();
    EXPECT_TRUE(editorSeen);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(button->GetEditor(), nullptr);
    driver.Form<TZuzGradientEditor>(nullptr, mrCancel);
    button->Click();
    EXPECT_EQ(clicks, 2);
}

TEST_F(GradientEditor, TheButtonFramesItsSampleBlackWhenVisibleAndGreyWhenNot) {
    auto* button = Create<TButtonGradient>(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 120, 25);
    Gradient()->SetVisible(true);
    Gradient()->SetStartColor(clWhite);
    Gradient()->SetEndColor(clWhite);
    button->LinkGradient(Gradient());
    form->Show();
    ASSERT_TRUE(probe::WaitFor([&] { return probe::Shown(*button); }));
    probe::ProcessEvents();
    const TRect r = button->SymbolRectangle();
    const probe::Picture shown = probe::Grab(*button);
    EXPECT_EQ(shown.Pixel(r.Left, (r.Top + r.Bottom) / 2), (probe::Rgb{0, 0, 0}));
    Gradient()->SetVisible(false);
    button->Invalidate();
    probe::ProcessEvents();
    const probe::Picture hidden = probe::Grab(*button);
    EXPECT_EQ(hidden.Pixel(r.Left, (r.Top + r.Bottom) / 2), (probe::Rgb{128, 128, 128}));
}

} // namespace
