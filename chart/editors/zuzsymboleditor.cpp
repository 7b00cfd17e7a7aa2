#include "chart/editors/zuzsymboleditor.h"

#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/engine/chartlegend.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TSymbolEditor::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TSymbolEditor::FormShow>("FormShow"),
        MakeMethod<&TSymbolEditor::SEColWiChange>("SEColWiChange"),
        MakeMethod<&TSymbolEditor::CBColWUnitsChange>("CBColWUnitsChange"),
        MakeMethod<&TSymbolEditor::CBSymbolPosChange>("CBSymbolPosChange"),
        MakeMethod<&TSymbolEditor::CBContinuousClick>("CBContinuousClick"),
        MakeMethod<&TSymbolEditor::CBVisibleClick>("CBVisibleClick"),
        MakeMethod<&TSymbolEditor::CBSymPenClick>("CBSymPenClick"),
        MakeMethod<&TSymbolEditor::CBSquaredClick>("CBSquaredClick"),
        MakeMethod<&TSymbolEditor::Button1Click>("Button1Click"),
    };
    static const ClassInfo ci = MakeClassInfo<TSymbolEditor>("TSymbolEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TSymbolEditor::BindComponents() {
    Bind(L11, u"L11");
    Bind(Label2, u"Label2");
    Bind(Label3, u"Label3");
    Bind(SEColWi, u"SEColWi");
    Bind(UDColWi, u"UDColWi");
    Bind(CBColWUnits, u"CBColWUnits");
    Bind(CBSymbolPos, u"CBSymbolPos");
    Bind(CBContinuous, u"CBContinuous");
    Bind(CBVisible, u"CBVisible");
    Bind(CBSymPen, u"CBSymPen");
    Bind(BSymPen, u"BSymPen");
    Bind(CBSquared, u"CBSquared");
    Bind(BSymGradient, u"BSymGradient");
    Bind(Button1, u"Button1");
}

void TSymbolEditor::FormShow(TObject*) {
    if (auto* symbol = ZuzTagObject<TLegendSymbol>(this)) RefreshSymbol(symbol);
    FCreating = false;
    ZuzTranslateControl(this);
}

void TSymbolEditor::RefreshSymbol(TLegendSymbol* Symbol) {
    FSymbol = Symbol;
    if (!FSymbol) return;
    UDColWi->SetPosition(FSymbol->GetWidth());
    CBColWUnits->SetItemIndex(FSymbol->GetWidthUnits() == lcsPixels ? 1 : 0);
    CBSymbolPos->SetItemIndex(FSymbol->GetPosition() == spRight ? 1 : 0);
    CBContinuous->SetChecked(FSymbol->GetContinuous());
    CBSquared->SetChecked(FSymbol->GetSquared());
    CBVisible->SetChecked(FSymbol->GetVisible());
    CBSymPen->SetChecked(FSymbol->GetDefaultPen());
    BSymPen->LinkPen(FSymbol->GetPen());
    BSymPen->SetEnabled(!FSymbol->GetDefaultPen());
    BSymGradient->LinkGradient(FSymbol->GetGradient());
    BSymGradient->AlwaysEnabled = true;
}

void TSymbolEditor::SEColWiChange(TObject*) {
    if (!FCreating && FSymbol) FSymbol->SetWidth(UDColWi->GetPosition());
}

void TSymbolEditor::CBColWUnitsChange(TObject*) {
    if (FSymbol) FSymbol->SetWidthUnits(CBColWUnits->GetItemIndex() == 1 ? lcsPixels : lcsPercent);
}

void TSymbolEditor::CBSymbolPosChange(TObject*) {
    if (FSymbol) FSymbol->SetPosition(CBSymbolPos->GetItemIndex() == 1 ? spRight : spLeft);
}

void TSymbolEditor::CBContinuousClick(TObject*) {
    if (FSymbol) FSymbol->SetContinuous(CBContinuous->GetChecked());
}

void TSymbolEditor::CBVisibleClick(TObject*) {
    if (FSymbol) FSymbol->SetVisible(CBVisible->GetChecked());
}

void TSymbolEditor::CBSymPenClick(TObject*) {
    if (FSymbol) FSymbol->SetDefaultPen(CBSymPen->GetChecked());
    BSymPen->SetEnabled(!CBSymPen->GetChecked());
}

void TSymbolEditor::CBSquaredClick(TObject*) {
    if (FSymbol) FSymbol->SetSquared(CBSquared->GetChecked());
    SEColWi->SetEnabled(!CBSquared->GetChecked());
    UDColWi->SetEnabled(!CBSquared->GetChecked());
}

void TSymbolEditor::Button1Click(TObject*) {
    if (FSymbol) EditZuzShadow(this, FSymbol->GetShadow());
}

void RegisterZuzSymbolEditorClasses() {
    RegisterClass(TSymbolEditor::StaticClass());
}
