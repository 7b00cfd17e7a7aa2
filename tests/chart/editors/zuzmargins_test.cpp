// The margins editor: loading picks the unit's item and leaves the units as they were, the
// boxes write only while the form shows, and alone with its margins in Tag every control
// writes its margin.
#include "chart/engine/seriesmarks.h"
#include "editorfixture.h"
#include "modaldriver.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"

namespace {

class MarginsEditor : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor.reset(Create<TMarginsEditor>(nullptr));
    }
    Owned<TMarginsEditor> editor;
    TMargins margins;
};

TEST_F(MarginsEditor, LoadingPixelsSelectsPixelsAndLeavesTheUnits) {
    margins.SetUnits(maPixels);
    margins.SetLeft(-7);
    margins.SetBottom(31000);
    editor->RefreshControls(&margins);
    EXPECT_EQ(editor->RGUnits->GetItemIndex(), 2);
    EXPECT_EQ(margins.GetUnits(), maPixels);
    EXPECT_EQ(editor->ELeft->GetText(), u"-7");
    EXPECT_EQ(editor->UDBottom->GetPosition(), 31000);
    EXPECT_EQ(editor->UDTop->GetPosition(), 5);

    margins.SetUnits(maPercentSize);
    editor->RefreshControls(&margins);
    EXPECT_EQ(editor->RGUnits->GetItemIndex(), 1);
    EXPECT_EQ(margins.GetUnits(), maPercentSize);
}

TEST_F(MarginsEditor, AHiddenFormWritesNoMargin) {
    editor->RefreshControls(&margins);
    editor->ELeft->SetText(u"12");
    editor->ETop->SetText(u"13");
    editor->UDRight->SetPosition(14);
    editor->EBottom->SetText(u"15");
    EXPECT_EQ(margins.GetLeft(), 10);
    EXPECT_EQ(margins.GetTop(), 5);
    EXPECT_EQ(margins.GetRight(), 10);
    EXPECT_EQ(margins.GetBottom(), 5);
}

TEST_F(MarginsEditor, AloneWithItsMarginsInTagEveryControlWritesAtOnce) {
    margins.SetUnits(maPercentSize);
    margins.SetLeft(1);
    editor->SetTag(reinterpret_cast<NativeInt>(static_cast<TObject*>(&margins)));
    ModalDriver driver;
    driver.Form<TMarginsEditor>([&](TMarginsEditor&) {
        EXPECT_EQ(editor->Margins(), &margins);
        EXPECT_EQ(editor->RGUnits->GetItemIndex(), 1);
        EXPECT_EQ(editor->UDLeft->GetPosition(), 1);
        probe::Click(*editor->RGUnits, 2);
        EXPECT_EQ(margins.GetUnits(), maPixels);
        probe::Click(*editor->RGUnits, 0);
        EXPECT_EQ(margins.GetUnits(), maPercentFont);
        editor->ELeft->SetText(u"-32000");
        editor->ETop->SetText(u"40000"); // held at the maximum
        editor->UDRight->Click(btNext);
        editor->EBottom->SetText(u"8");
        EXPECT_EQ(margins.GetLeft(), -32000);
        EXPECT_EQ(margins.GetTop(), 32000);
        EXPECT_EQ(margins.GetRight(), 11);
        EXPECT_EQ(margins.GetBottom(), 8);
    });
    editor->ShowModal();
    EXPECT_EQ(margins.GetTop(), 32000); // no OK or Cancel: the changes stay
}

TEST_F(MarginsEditor, ItsPictureOverAChart) {
    ChartBehind behind(true);
    margins.SetUnits(maPixels);
    editor->SetTag(reinterpret_cast<NativeInt>(static_cast<TObject*>(&margins)));
    editor->SetBorderStyle(bsDialog);
    editor->SetPosition(poScreenCenter);
    ModalDriver driver;
    driver.Form<TMarginsEditor>([&](TMarginsEditor& e) { behind.Snapshot(e, "editor-margins.png"); },
                                mrCancel);
    editor->ShowModal();
}

} // namespace
