#include "chart/editors/zuzmargins.h"

#include "chart/canvas/zuzpanelprocs.h"
#include "chart/engine/seriesmarks.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TMarginsEditor::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TMarginsEditor::FormShow>("FormShow"),
        MakeMethod<&TMarginsEditor::RGUnitsClick>("RGUnitsClick"),
        MakeMethod<&TMarginsEditor::ELeftChange>("ELeftChange"),
        MakeMethod<&TMarginsEditor::ETopChange>("ETopChange"),
        MakeMethod<&TMarginsEditor::ERightChange>("ERightChange"),
        MakeMethod<&TMarginsEditor::EBottomChange>("EBottomChange"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TMarginsEditor>("TMarginsEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TMarginsEditor::BindComponents() {
    Bind(RGUnits, u"RGUnits");
    Bind(Label1, u"Label1");
    Bind(ELeft, u"ELeft");
    Bind(UDLeft, u"UDLeft");
    Bind(Label2, u"Label2");
    Bind(ETop, u"ETop");
    Bind(UDTop, u"UDTop");
    Bind(Label3, u"Label3");
    Bind(ERight, u"ERight");
    Bind(UDRight, u"UDRight");
    Bind(Label4, u"Label4");
    Bind(EBottom, u"EBottom");
    Bind(UDBottom, u"UDBottom");
}

void TMarginsEditor::RefreshControls(TMargins* Margins) {
    FMargins = Margins;
    if (!FMargins) return;
    switch (FMargins->GetUnits()) {
    case maPercentFont:
        RGUnits->SetItemIndex(0);
        break;
    case maPercentSize:
        RGUnits->SetItemIndex(1);
        break;
    default:
        RGUnits->SetItemIndex(2);
        break;
    }
    RGUnitsClick(RGUnits);
    UDLeft->SetPosition(FMargins->GetLeft());
    UDTop->SetPosition(FMargins->GetTop());
    UDRight->SetPosition(FMargins->GetRight());
    UDBottom->SetPosition(FMargins->GetBottom());
}

void TMarginsEditor::FormShow(TObject*) {
    if (auto* margins = dynamic_cast<TMargins*>(reinterpret_cast<TObject*>(GetTag())))
        RefreshControls(margins);
    ZuzTranslateControl(this);
}

void TMarginsEditor::RGUnitsClick(TObject*) {
    if (!FMargins) return;
    switch (RGUnits->GetItemIndex()) {
    case 0:
        FMargins->SetUnits(maPercentFont);
        break;
    case 1:
        FMargins->SetUnits(maPercentSize);
        break;
    default:
        FMargins->SetUnits(maPixels);
        break;
    }
}

// The boxes write only while the form shows: loading them writes their own values back.
void TMarginsEditor::ELeftChange(TObject*) {
    if (GetShowing() && FMargins) FMargins->SetLeft(UDLeft->GetPosition());
}

void TMarginsEditor::ETopChange(TObject*) {
    if (GetShowing() && FMargins) FMargins->SetTop(UDTop->GetPosition());
}

void TMarginsEditor::ERightChange(TObject*) {
    if (GetShowing() && FMargins) FMargins->SetRight(UDRight->GetPosition());
}

void TMarginsEditor::EBottomChange(TObject*) {
    if (GetShowing() && FMargins) FMargins->SetBottom(UDBottom->GetPosition());
}

void RegisterZuzMarginsClasses() {
    RegisterClass(TMarginsEditor::StaticClass());
}
