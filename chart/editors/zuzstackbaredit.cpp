#include "chart/editors/zuzstackbaredit.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/series/series_bar.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TStackBarSeriesEditor::StaticClass() {
    using F = TStackBarSeriesEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),           MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBYOriginClick>("CBYOriginClick"),   MakeMethod<&F::EYOriginChange>("EYOriginChange"),
        MakeMethod<&F::RGMultiBarClick>("RGMultiBarClick"), MakeMethod<&F::EGroupChange>("EGroupChange"),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TStackBarSeriesEditor", &TForm::StaticClass(), methods);
    return ci;
}

void TStackBarSeriesEditor::BindComponents() {
    Bind(CBYOrigin, u"CBYOrigin");
    Bind(EYOrigin, u"EYOrigin");
    Bind(RGMultiBar, u"RGMultiBar");
    Bind(LGroup, u"LGroup");
    Bind(EGroup, u"EGroup");
    Bind(UDGroup, u"UDGroup");
}

void TStackBarSeriesEditor::FormCreate(TObject*) {
    FFilling = true;
    SetAlign(alClient);
}

void TStackBarSeriesEditor::FormShow(TObject*) {
    FBar = ZuzTagObject<TCustomBarSeries>(this);
    if (FBar) {
        const TRestoreOnExit<bool> filling(FFilling, true);
        CBYOrigin->SetChecked(FBar->GetUseYOrigin());
        EYOrigin->SetText(FloatToStr(FBar->GetYOrigin()));
        EYOrigin->SetEnabled(FBar->GetUseYOrigin());
        RGMultiBar->SetItemIndex(FBar->GetMultiBar());
        UDGroup->SetPosition(FBar->GetStackGroup());
        EnableGroup();
    }
    FFilling = false;
}

void TStackBarSeriesEditor::EnableGroup() {
    const bool stacked = FBar && (FBar->GetMultiBar() == mbStacked || FBar->GetMultiBar() == mbStacked100);
    EGroup->SetEnabled(stacked);
    UDGroup->SetEnabled(stacked);
}

void TStackBarSeriesEditor::CBYOriginClick(TObject*) {
    if (FFilling || !FBar) return;
    FBar->SetUseYOrigin(CBYOrigin->GetChecked());
    EYOrigin->SetEnabled(FBar->GetUseYOrigin());
    if (EYOrigin->GetEnabled() && EYOrigin->CanFocus()) EYOrigin->SetFocus();
}

// Text that is no number (half typed, or wrong) keeps the origin the series has.
void TStackBarSeriesEditor::EYOriginChange(TObject*) {
    if (FFilling || !FBar) return;
    FBar->SetYOrigin(StrToFloatDef(EYOrigin->GetText(), FBar->GetYOrigin()));
}

void TStackBarSeriesEditor::RGMultiBarClick(TObject*) {
    if (FFilling || !FBar || RGMultiBar->GetItemIndex() < 0) return;
    FBar->SetMultiBar(static_cast<TMultiBar>(RGMultiBar->GetItemIndex()));
    EnableGroup();
}

void TStackBarSeriesEditor::EGroupChange(TObject*) {
    if (FFilling || !FBar) return;
    FBar->SetStackGroup(UDGroup->GetPosition());
}

void RegisterZuzStackBarEditClasses() {
    RegisterClass(TStackBarSeriesEditor::StaticClass());
}
