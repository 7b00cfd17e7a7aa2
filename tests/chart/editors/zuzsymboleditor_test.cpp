// The legend symbol editor embedded for a chart's legend symbol: loading writes
// nothing, every control writes its field at once, "Squared" and "Default
// border" switch the controls they govern, and "Shadow..." opens the shadow
// editor on the symbol's shadow.
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/editors/zuzsymboleditor.h"
#include "chart/engine/chartlegend.h"
#include "dialogfixture.h"
#include "editorpicture.h"
#include "modaldriver.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

namespace {

class SymbolEditor : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        symbol = chart->GetLegend()->GetSymbol();
        symbol->SetWidth(30);
        symbol->SetWidthUnits(lcsPixels);
        symbol->SetPosition(spRight);
        symbol->SetSquared(true);
        symbol->SetDefaultPen(false);
        form->Show();
        editor = Create<TSymbolEditor>(form.get());
    }
    void Embed() {
        AddFormTo(editor, form.get(), symbol);
        probe::ProcessEvents();
    }
    TLegendSymbol* symbol = nullptr;
    TSymbolEditor* editor = nullptr;
};

TEST_F(SymbolEditor, LoadingShowsTheSymbolAndWritesNothing) {
    Embed();
    EXPECT_EQ(editor->UDColWi->GetIncrement(), 5);
    EXPECT_EQ(editor->UDColWi->GetPosition(), 30);
    EXPECT_EQ(editor->CBColWUnits->GetItemIndex(), 1);
    EXPECT_EQ(editor->CBSymbolPos->GetItemIndex(), 1);
    EXPECT_TRUE(editor->CBSquared->GetChecked());
    EXPECT_FALSE(editor->SEColWi->GetEnabled()) << "squared: no width";
    EXPECT_FALSE(editor->UDColWi->GetEnabled());
    EXPECT_FALSE(editor->CBSymPen->GetChecked());
    EXPECT_TRUE(editor->BSymPen->GetEnabled());
    EXPECT_EQ(editor->BSymPen->GetPen(), symbol->GetPen());
    EXPECT_EQ(editor->BSymGradient->GetGradient(), symbol->GetGradient());
    EXPECT_TRUE(editor->BSymGradient->AlwaysEnabled);
    EXPECT_EQ(symbol->GetWidth(), 30);
    EXPECT_TRUE(symbol->GetSquared());
    EXPECT_FALSE(symbol->GetDefaultPen());
}

TEST_F(SymbolEditor, EveryControlWritesItsFieldAtOnce) {
    Embed();
    probe::Click(*editor->CBSquared);
    EXPECT_FALSE(symbol->GetSquared());
    EXPECT_TRUE(editor->SEColWi->GetEnabled());
    EXPECT_TRUE(editor->UDColWi->GetEnabled());
    editor->UDColWi->Click(btNext);
    EXPECT_EQ(symbol->GetWidth(), 35);
    probe::Choose(*editor->CBColWUnits, 0);
    EXPECT_EQ(symbol->GetWidthUnits(), lcsPercent);
    probe::Choose(*editor->CBSymbolPos, 0);
    EXPECT_EQ(symbol->GetPosition(), spLeft);
    probe::Click(*editor->CBContinuous);
    EXPECT_TRUE(symbol->GetContinuous());
    probe::Click(*editor->CBVisible);
    EXPECT_FALSE(symbol->GetVisible());
    probe::Click(*editor->CBSymPen);
    EXPECT_TRUE(symbol->GetDefaultPen());
    EXPECT_FALSE(editor->BSymPen->GetEnabled());
    probe::Click(*editor->CBSquared);
    EXPECT_TRUE(symbol->GetSquared());
    EXPECT_FALSE(editor->SEColWi->GetEnabled());
}

TEST_F(SymbolEditor, ShadowOpensTheShadowEditorOnTheSymbolsShadow) {
    Embed();
    ModalDriver driver;
    driver.Form<TZuzShadowEditor>([&](TZuzShadowEditor& e) { EXPECT_EQ(e.GetShadow(), symbol->GetShadow()); },
                                  mrOk);
    probe::Click(*editor->Button1);
}

TEST_F(SymbolEditor, PictureOverTheChart) {
    ChartBehind behind;
    Owned<TForm> host(Create<TForm>(nullptr, TCustomForm::NewTag{}));
    host->SetCaption(u"Легенда — символ");
    host->SetBounds(200, 150, 300, 170);
    auto* e = Create<TSymbolEditor>(host.get());
    host->Show();
    AddFormTo(e, host.get(), behind.chart->GetLegend()->GetSymbol());
    behind.Snapshot(*host, "symboleditor.png");
}

} // namespace
