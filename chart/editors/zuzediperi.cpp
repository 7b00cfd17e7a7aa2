#include "chart/editors/zuzediperi.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/editors/zuzaxisincr.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/zuzfunction.h"
#include "platform/core/sysutils.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <cmath>

namespace {
enum TPeriodChoice { pcAllPoints, pcNumPoints, pcRange };

// Whether the function's series takes its points from a series with date-time X
// values.
bool SourceIsDateTime(const TZuzFunction* Function) {
    TChartSeries* series = Function ? Function->GetParentSeries() : nullptr;
    if (!series) return false;
    for (TComponent* source : series->DataSources())
        if (auto* s = dynamic_cast<TChartSeries*>(source); s && s->GetXValues()->GetDateTime()) return true;
    return false;
}
} // namespace

const ClassInfo& TZuzFunctionEditor::StaticClass() {
    using F = TZuzFunctionEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::CBStyleChange>("CBStyleChange"),
        MakeMethod<&F::ENumChange>("ENumChange"),
        MakeMethod<&F::CBAlignChange>("CBAlignChange"),
        MakeMethod<&F::BChangeClick>("BChangeClick"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TZuzFunctionEditor>("TZuzFunctionEditor", &TBaseFunctionEditor::StaticClass(), methods);
    return ci;
}

TZuzFunctionEditor::TZuzFunctionEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {}

void TZuzFunctionEditor::BindComponents() {
    TBaseFunctionEditor::BindComponents();
    Bind(ENum, u"ENum");
    Bind(BChange, u"BChange");
    Bind(Label1, u"Label1");
    Bind(CBAlign, u"CBAlign");
    Bind(Label2, u"Label2");
    Bind(CBStyle, u"CBStyle");
    Bind(Label3, u"Label3");
}

void TZuzFunctionEditor::SetFunction() {
    TBaseFunctionEditor::SetFunction();
    if (!IFunction) return;
    const double period = IFunction->GetPeriod();
    int choice = pcAllPoints;
    if (IFunction->GetPeriodStyle() == psRange && !IFunction->Is<TZuzMovingFunction>())
        choice = pcRange;
    else if (Round(period) != 0)
        choice = pcNumPoints;
    CBStyle->SetItemIndex(choice);
    CBAlign->SetItemIndex(static_cast<int>(IFunction->GetPeriodAlign()));
    ENum->SetEnabled(choice != pcAllPoints);
    BChange->SetEnabled(choice == pcRange);
    CBStyleChange(CBStyle);
}

void TZuzFunctionEditor::CBStyleChange(TObject*) {
    const int choice = CBStyle->GetItemIndex();
    ENum->SetEnabled(choice != pcAllPoints && choice >= 0);
    BChange->SetEnabled(choice == pcRange);
    const double period = IFunction ? IFunction->GetPeriod() : 0;
    if (choice == pcNumPoints)
        ENum->SetText(IntToStr(std::max<Int64>(0, Round(period))));
    else if (choice == pcRange)
        ENum->SetText(FloatToStr(period));
    else
        ENum->SetText(String());
    if (ENum->CanFocus()) ENum->SetFocus();
    EnableApply();
}

void TZuzFunctionEditor::ENumChange(TObject*) {
    EnableApply();
}

void TZuzFunctionEditor::CBAlignChange(TObject*) {
    EnableApply();
}

// Text that is no number in the program's decimal separator ("3.5" under a comma) would give no
// period at all while the box still shows it.
bool TZuzFunctionEditor::CheckFormValues() {
    if (CBStyle->GetItemIndex() <= pcAllPoints) return true;
    Extended number = 0;
    if (TryStrToFloat(ENum->GetText(), number) && std::isfinite(number)) return true;
    ShowMessage(u"Number of points is not a number: " + ENum->GetText());
    return false;
}

void TZuzFunctionEditor::ApplyFormChanges() {
    TBaseFunctionEditor::ApplyFormChanges();
    if (!IFunction) return;
    if (CBAlign->GetItemIndex() >= 0)
        IFunction->SetPeriodAlign(static_cast<TFunctionPeriodAlign>(CBAlign->GetItemIndex()));
    IFunction->SetPeriodStyle(CBStyle->GetItemIndex() == pcRange ? psRange : psNumPoints);
    // A negative period, which the function would refuse, means none.
    IFunction->SetPeriod(std::max(0.0, StrToFloatDef(ENum->GetText(), 0)));
}

void TZuzFunctionEditor::BChangeClick(TObject*) {
    const TFormFreer<TAxisIncrement> dialog(Create<TAxisIncrement>(this));
    dialog->SetCaption(VavIve_PeriodRange);
    dialog->IsDateTime = SourceIsDateTime(IFunction);
    dialog->IsExact = true;
    dialog->Increment = IFunction ? IFunction->GetPeriod() : 0;
    dialog->IStep = FindDateTimeStep(dialog->Increment);
    PositionToCenter(dialog.get());
    ZuzTranslateControl(dialog.get());
    if (dialog->ShowModal() == mrOk) ENum->SetText(FloatToStr(dialog->Increment));
}

void RegisterZuzEdiPeriClasses() {
    RegisterClass(TZuzFunctionEditor::StaticClass());
}
