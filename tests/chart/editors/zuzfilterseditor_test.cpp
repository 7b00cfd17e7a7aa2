// The filters editor's form creator: where each control goes, what it starts at, what a change
// in it writes to the filter and in which order the events follow, and the readable names of
// enumeration values.
#include "chart/editors/zuzfilterseditor.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Row {
    const char* rule;
    const char* name;
    const char16_t* readable;
};

class ReadableNames : public ::testing::TestWithParam<Row> {};

TEST_P(ReadableNames, DropThePrefixAndSpaceTheCapitals) {
    EXPECT_EQ(TFormCreator::ReadableName(GetParam().name), GetParam().readable);
}

INSTANTIATE_TEST_SUITE_P(Enumerations, ReadableNames,
                         ::testing::Values(Row{"TwoWords", "gdTopBottom", u"Top Bottom"},
                                           Row{"ADigitAtTheEndGetsNoBlank", "gmEye2", u"Eye2"},
                                           Row{"OneWord", "mdDown", u"Down"},
                                           Row{"TheLastCapitalGetsNoBlank", "xxABC", u"A BC"},
                                           Row{"DigitsCountAsCapitals", "cl3DLight", u"3 D Light"},
                                           Row{"NoCapitalKeepsTheName", "lowercase", u"lowercase"}),
                         [](const auto& info) { return std::string(info.param.rule); });

// A creator on a 200-pixel panel, editing one filter.
class FormCreator : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartChartEditorUnits(); }
    void SetUp() override {
        probe::EnsureApplication();
        panel.reset(Create<TPanel>(nullptr));
        panel->SetBounds(0, 0, 200, 300);
        creator = Create<TFormCreator>(panel.get());
        creator->OnChange =
            TNotifyEvent([this](TObject* s) { events.push_back(s == filter ? "creator" : "?"); });
    }
    // The editor's way: the options are built with the creating flag set.
    void Edit(TZuzFilter* f) {
        filter = f;
        creator->SetInstance(f);
        creator->SetCreating(true);
        f->CreateEditor(creator, {});
        creator->SetCreating(false);
    }
    template <class C>
    std::vector<C*> Controls() {
        std::vector<C*> out;
        for (int i = 0; i < panel->GetControlCount(); ++i)
            if (auto* c = dynamic_cast<C*>(panel->GetControl(i))) out.push_back(c);
        return out;
    }
    static TRect Bounds(TControl* c) {
        return TRect(c->GetLeft(), c->GetTop(), c->GetWidth(), c->GetHeight());
    }

    Owned<TPanel> panel;
    TFormCreator* creator = nullptr;
    TZuzFilter* filter = nullptr;
    std::vector<std::string> events;
};

TEST_F(FormCreator, AnAmountFilterGetsAScrollBarAndACheckBoxThatReRangesIt) {
    auto bright = MakeOwned<TBrightnessFilter>(nullptr);
    bright->SetAmount(-40);
    Edit(bright.get());
    auto bars = Controls<TScrollBar>();
    auto boxes = Controls<TCheckBox>();
    ASSERT_EQ(bars.size(), 1u);
    ASSERT_EQ(boxes.size(), 1u);
    TScrollBar* bar = bars[0];
    EXPECT_EQ(Bounds(bar), TRect(4, 8, 192, 16)); // left, top, width, height
    EXPECT_EQ(Bounds(boxes[0]), TRect(4, 30, 75, 16));
    EXPECT_EQ(creator->GetPosition(), 48);
    EXPECT_EQ(bar->GetMin(), -100);
    EXPECT_EQ(bar->GetMax(), 100);
    EXPECT_EQ(bar->GetPosition(), -40);
    EXPECT_TRUE(boxes[0]->GetChecked());
    EXPECT_TRUE(events.empty()) << "building the options writes nothing";

    bar->SetPosition(25);
    EXPECT_EQ(bright->GetAmount(), 25);
    EXPECT_EQ(events, std::vector<std::string>{"creator"});

    // Unticking Percent writes it, then the filter widens the range to channel steps.
    boxes[0]->SetChecked(false);
    EXPECT_FALSE(bright->GetPercent());
    EXPECT_EQ(bar->GetMin(), -255);
    EXPECT_EQ(bar->GetMax(), 255);

    // Mosaic's range starts at 0.
    auto mosaic = MakeOwned<TMosaicFilter>(nullptr);
    Edit(mosaic.get());
    EXPECT_EQ(Controls<TScrollBar>().back()->GetMin(), 0);
    EXPECT_EQ(Controls<TScrollBar>().back()->GetPosition(), 8);
}

TEST_F(FormCreator, AControlChangedWhileTheOptionsAreBuiltWritesNothing) {
    auto bright = MakeOwned<TBrightnessFilter>(nullptr);
    Edit(bright.get());
    creator->SetCreating(true);
    Controls<TScrollBar>()[0]->SetPosition(60);
    Controls<TCheckBox>()[0]->SetChecked(false);
    EXPECT_EQ(bright->GetAmount(), 5);
    EXPECT_TRUE(bright->GetPercent());
    EXPECT_TRUE(events.empty());
}

TEST_F(FormCreator, ACheckBoxCallsItsOwnEventAfterWritingAndBeforeTheCreatorsEvent) {
    auto zoom = MakeOwned<TZoomFilter>(nullptr);
    filter = zoom.get();
    creator->SetInstance(zoom.get());
    creator->AddCheckBox(u"Smooth", u"Smooth", TNotifyEvent([&](TObject*) {
                             events.push_back(zoom->GetSmooth() ? "own after write" : "own before write");
                         }));
    Controls<TCheckBox>()[0]->SetChecked(true);
    EXPECT_EQ(events, (std::vector<std::string>{"own after write", "creator"}));
}

TEST_F(FormCreator, AComboListsTheEnumerationReadablyAndWritesTheChosenValue) {
    auto gray = MakeOwned<TGrayScaleFilter>(nullptr);
    gray->SetMethod(gmEye);
    Edit(gray.get());
    auto combos = Controls<TComboFlat>();
    ASSERT_EQ(combos.size(), 1u);
    TComboFlat* combo = combos[0];
    EXPECT_EQ(combo->GetLeft(), 4);
    EXPECT_EQ(combo->GetWidth(), 192);
    ASSERT_EQ(combo->GetItems()->GetCount(), 3);
    EXPECT_EQ(combo->GetItems()->GetStrings(0), u"Simple");
    EXPECT_EQ(combo->GetItems()->GetStrings(2), u"Eye2");
    EXPECT_EQ(combo->GetItemIndex(), 1);
    combo->SetItemIndex(2);
    combo->OnChange(combo); // as a choice in the list does
    EXPECT_EQ(gray->GetMethod(), gmEye2);
}

TEST_F(FormCreator, AnIntegerGetsALabelAnEditAndUpDownArrowsWithinItsRange) {
    auto tile = MakeOwned<TTileFilter>(nullptr);
    Edit(tile.get());
    auto edits = Controls<TEdit>();
    auto labels = Controls<TLabel>();
    auto arrows = Controls<TUpDown>();
    ASSERT_EQ(edits.size(), 2u);
    ASSERT_EQ(labels.size(), 2u);
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_EQ(labels[0]->GetLeft(), 4);
    EXPECT_EQ(labels[0]->GetTop(), 12);
    EXPECT_EQ(labels[0]->GetCaption().front(), u'&');
    EXPECT_EQ(labels[0]->GetFocusControl(), edits[0]);
    EXPECT_EQ(edits[1]->GetLeft(), 44);
    // "Columns" is longer than the room before the edit: the edit moves right of it.
    EXPECT_GE(edits[0]->GetLeft(), labels[0]->GetLeft() + labels[0]->GetWidth());
    for (int i = 0; i < 2; ++i) // the arrows take the edit's right end
        EXPECT_EQ(edits[i]->GetLeft() + edits[i]->GetWidth() + arrows[i]->GetWidth(), 200 - 24);
    EXPECT_EQ(edits[0]->GetText(), u"3");
    EXPECT_EQ(arrows[0]->GetMin(), 1);
    EXPECT_EQ(arrows[0]->GetMax(), 1000);
    EXPECT_EQ(edits[1]->GetTop(), 8 + edits[0]->GetHeight() + 6);

    edits[0]->SetText(u"7");
    EXPECT_EQ(tile->GetNumCols(), 7);
    edits[0]->SetText(u"7x"); // no number yet: nothing written, no event
    EXPECT_EQ(tile->GetNumCols(), 7);
    EXPECT_EQ(events.size(), 1u);
    arrows[1]->Click(btNext);
    EXPECT_EQ(tile->GetNumRows(), 4);
}

TEST_F(FormCreator, RotationWritesItsAngleFromTheScrollBarAndLinksTheColourButton) {
    auto rotate = MakeOwned<TRotateFilter>(nullptr);
    rotate->SetAngle(45.4);
    Edit(rotate.get());
    auto bars = Controls<TScrollBar>();
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0]->GetPosition(), 45);
    EXPECT_EQ(bars[0]->GetMax(), 360);
    bars[0]->SetPosition(90);
    EXPECT_EQ(rotate->GetAngle(), 90.0);
    auto buttons = Controls<TButtonColor>();
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0]->GetSymbolColor(), clWhite);
    buttons[0]->SetSymbolColor(clRed); // the button writes its colour itself
    EXPECT_EQ(rotate->GetBackColor(), clRed);
    EXPECT_EQ(Controls<TCheckBox>().size(), 1u);
}

} // namespace
