// The page navigator's bar: its buttons and hints, the sizing rule, the keyboard's focus mark
// and the auto-repeat of a held button.
#include "chart/series/zuznavigator.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/forms.h"
#include "tests/chart/series/chartunits.h"
#include "tests/support/streamtext.h"

#include <gtest/gtest.h>

namespace {

class NavigatorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartChartUnits(); }
    void SetUp() override { bar.reset(Create<TCustomZuzNavigator>(nullptr)); }
    std::vector<int> Widths() const {
        std::vector<int> w;
        for (int i = nbFirst; i <= nbLast; ++i)
            w.push_back(bar->GetButton(static_cast<TZuzNavigateBtn>(i))->GetWidth());
        return w;
    }
    Owned<TCustomZuzNavigator> bar;
};

} // namespace

TEST_F(NavigatorTest, ANewBarShowsFourDisabledButtonsWithTheirHintsAndGlyphs) {
    const char16_t* hints[] = {u"First", u"Prior", u"Next", u"Last"};
    for (int i = 0; i < 9; ++i) {
        TZuzNavButton* b = bar->GetButton(static_cast<TZuzNavigateBtn>(i));
        EXPECT_EQ(b->Index, i);
        EXPECT_FALSE(b->GetEnabled());
        EXPECT_TRUE(b->GetFlat());
        EXPECT_EQ(b->GetVisible(), i < 4);
        EXPECT_EQ(b->GetNumGlyphs(), 2);
        // Two images side by side, normal and disabled.
        EXPECT_EQ(b->GetGlyph()->GetWidth(), 2 * b->GetGlyph()->GetHeight()) << i;
        if (i < 4) {
            EXPECT_EQ(b->GetHint(), hints[i]);
        }
    }
    EXPECT_EQ(bar->GetButton(nbCancel)->GetHint(), u"Cancel");
    EXPECT_EQ(bar->PageCount(), 1);
}

TEST_F(NavigatorTest, AHintsLineReplacesOnlyItsOwnButtonsHint) {
    bar->GetHints()->Add(u"Первая страница");
    bar->GetHints()->Add(u"");
    EXPECT_EQ(bar->GetButton(nbFirst)->GetHint(), u"Первая страница");
    EXPECT_EQ(bar->GetButton(nbPrior)->GetHint(), u"Prior");
    EXPECT_EQ(bar->GetButton(nbNext)->GetHint(), u"Next");
}

TEST_F(NavigatorTest, SizingSpreadsTheRemainderAndHoldsTheMinimum) {
    bar->SetBounds(0, 0, 100, 25);
    EXPECT_EQ(bar->GetWidth(), 100);
    EXPECT_EQ(Widths(), (std::vector<int>{25, 25, 25, 25}));
    bar->SetBounds(0, 0, 102, 25);
    EXPECT_EQ(bar->GetWidth(), 100); // without alignment the bar takes whole buttons
    bar->SetBounds(0, 0, 60, 10);
    EXPECT_EQ(bar->GetWidth(), 80);
    EXPECT_EQ(bar->GetHeight(), 18);
    bar->SetAlign(alTop);
    int w = 102, h = 25;
    bar->SetSize(w, h);
    EXPECT_EQ(w, 102);
    EXPECT_EQ(Widths(), (std::vector<int>{25, 26, 25, 26}));
    EXPECT_EQ(bar->GetButton(nbLast)->GetLeft(), 76);
    EXPECT_GT(bar->GetButton(nbInsert)->GetLeft(), 102); // hidden ones lie beyond the bar
}

TEST_F(NavigatorTest, ASingleBorderIsStoredAndLeavesTheButtonsRoomInside) {
    // A form that holds a navigator reads it back by its class; the classes go as they came.
    const bool registered = GetClass("TCustomZuzNavigator") != nullptr;
    if (!registered) RegisterZuzNavigatorClasses();
    const std::unique_ptr<void, void (*)(void*)> unregister(registered ? nullptr : this, [](void*) {
        UnRegisterClass(TZuzNavButton::StaticClass());
        UnRegisterClass(TCustomZuzNavigator::StaticClass());
    });
    const Owned<TForm> saved(Create<TForm>(nullptr, TCustomForm::NewTag{}));
    saved->SetName(u"Pages");
    auto* bar1 = Create<TCustomZuzNavigator>(saved.get());
    bar1->SetName(u"Bar");
    bar1->SetParent(saved.get());
    bar1->SetBorderStyle(bsSingle);
    const std::string text = streamtext::ObjectText(saved.get());
    EXPECT_NE(text.find("BorderStyle = bsSingle"), std::string::npos) << text;
    const Owned<TForm> back(Create<TForm>(nullptr, TCustomForm::NewTag{}));
    streamtext::ReadText(text, back.get());
    auto* bar2 = dynamic_cast<TCustomZuzNavigator*>(back->FindComponent(u"Bar"));
    ASSERT_NE(bar2, nullptr);
    EXPECT_EQ(bar2->GetBorderStyle(), bsSingle);
    EXPECT_EQ(bar2->GetButton(nbFirst)->GetHeight(), bar2->GetHeight() - 4);
}

TEST_F(NavigatorTest, ClicksReachTheEventAndArrowsMoveTheFocusMark) {
    std::vector<TZuzNavigateBtn> clicked;
    bar->OnButtonClicked = TZuzNavClickEvent([&](TObject*, TZuzNavigateBtn b) { clicked.push_back(b); });
    bar->GetButton(nbNext)->Click();
    ASSERT_EQ(clicked, std::vector<TZuzNavigateBtn>{nbNext});
    Word key = VK_RIGHT;
    bar->KeyDown(key, {});
    EXPECT_EQ(bar->GetFocusedButton(), 1);
    for (int i = 0; i < 5; ++i) {
        key = VK_RIGHT;
        bar->KeyDown(key, {});
    }
    EXPECT_EQ(bar->GetFocusedButton(), 3); // not past the last visible one
    key = VK_SPACE;
    bar->KeyDown(key, {}); // a disabled button does not click
    EXPECT_EQ(clicked.size(), 1u);
    bar->GetButton(nbLast)->SetEnabled(true);
    key = VK_SPACE;
    bar->KeyDown(key, {});
    EXPECT_EQ(clicked.back(), nbLast);
    key = VK_LEFT;
    bar->KeyDown(key, {});
    EXPECT_EQ(bar->GetFocusedButton(), 2);
}

TEST_F(NavigatorTest, AHeldButtonClicksAgainAfter400MsThenEvery100Ms) {
    TManualClock clock;
    Application->SetClock(&clock);
    int clicks = 0;
    bar->OnButtonClicked = TZuzNavClickEvent([&](TObject*, TZuzNavigateBtn) { ++clicks; });
    TZuzNavButton* next = bar->GetButton(nbNext);
    next->SetEnabled(true);
    next->MouseDown(mbLeft, {ssLeft}, 5, 5);
    EXPECT_EQ(bar->GetFocusedButton(), nbNext);
    clock.Advance(399);
    EXPECT_EQ(clicks, 0);
    clock.Advance(1);
    EXPECT_EQ(clicks, 1);
    clock.Advance(300);
    EXPECT_EQ(clicks, 4);
    // Dragged off the button it waits, and repeats again once back over it.
    next->MouseMove({ssLeft}, 5, next->GetHeight() + 10);
    clock.Advance(500);
    EXPECT_EQ(clicks, 4);
    next->MouseMove({ssLeft}, 5, 5);
    clock.Advance(100);
    EXPECT_EQ(clicks, 5);
    next->MouseUp(mbLeft, {}, 5, 5);
    clock.Advance(1000);
    EXPECT_EQ(clicks, 5);
    bar.reset();
    Application->SetClock(nullptr);
}
