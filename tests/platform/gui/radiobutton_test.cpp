// A radio button on its own: checking from code clicks it, unchecking is silent, the buttons
// of one parent exclude each other (those of another parent do not), and a click on a checked
// button keeps it checked.
#include "platform/gui/extctrls.h"
#include "platform/gui/radiobutton.h"
#include "tests/platform/gui/guitest.h"

#include <QRadioButton>

namespace {

class RadioButtonTest : public GuiTest {
protected:
    TRadioButton* Add(TWinControl* Parent, std::vector<std::string>& Log, const char* Name) {
        auto* b = Create<TRadioButton>(f.get());
        b->SetParent(Parent);
        b->OnClick.Bind([&Log, Name](TObject*) { Log.push_back(Name); });
        return b;
    }
    TestForm f;
};

TEST_F(RadioButtonTest, CheckingFromCodeClicksAndUnchecksItsSiblings) {
    std::vector<std::string> log;
    TRadioButton* a = Add(f.get(), log, "a");
    TRadioButton* b = Add(f.get(), log, "b");
    a->SetChecked(true);
    EXPECT_EQ(log, (std::vector<std::string>{"a"}));
    b->SetChecked(true);
    EXPECT_FALSE(a->GetChecked()); // unchecked without a click
    EXPECT_FALSE(static_cast<QRadioButton*>(a->Widget())->isChecked());
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
    b->SetChecked(false);
    b->SetChecked(false);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(RadioButtonTest, AnotherParentsButtonsAreLeftAlone) {
    std::vector<std::string> log;
    auto* panel = Create<TPanel>(f.get());
    panel->SetParent(f.get());
    TRadioButton* outside = Add(f.get(), log, "outside");
    TRadioButton* inside = Add(panel, log, "inside");
    outside->SetChecked(true);
    inside->SetChecked(true);
    EXPECT_TRUE(outside->GetChecked());
    EXPECT_TRUE(inside->GetChecked());
}

TEST_F(RadioButtonTest, TheUsersClickChecksOnceAndKeepsItChecked) {
    std::vector<std::string> log;
    TRadioButton* a = Add(f.get(), log, "a");
    TRadioButton* b = Add(f.get(), log, "b");
    a->SetChecked(true);
    static_cast<QRadioButton*>(b->Widget())->click();
    EXPECT_TRUE(b->GetChecked());
    EXPECT_FALSE(a->GetChecked());
    static_cast<QRadioButton*>(b->Widget())->click(); // again: still checked, no new click
    EXPECT_TRUE(b->GetChecked());
    EXPECT_TRUE(static_cast<QRadioButton*>(b->Widget())->isChecked());
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
}

} // namespace
