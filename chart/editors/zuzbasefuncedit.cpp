#include "chart/editors/zuzbasefuncedit.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/editors/zuzfuncedit.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TBaseFunctionEditor::StaticClass() {
    using F = TBaseFunctionEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::FormCloseQuery>("FormCloseQuery"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TBaseFunctionEditor>("TBaseFunctionEditor", &TForm::StaticClass(), methods);
    return ci;
}

TBaseFunctionEditor::TBaseFunctionEditor(TComponent* AOwner) : TForm(AOwner) {}

TZuzFuncEditor* TBaseFunctionEditor::FuncEditor() const {
    return dynamic_cast<TZuzFuncEditor*>(GetOwner());
}

void TBaseFunctionEditor::EnableApply() {
    if (FLoading) return;
    if (TZuzFuncEditor* page = FuncEditor()) page->BApply->SetEnabled(true);
}

void TBaseFunctionEditor::FormCreate(TObject*) {
    SetAlign(alClient);
}

// The controls are loaded once: shown again (its tab chosen anew, the page laid out again), the
// form keeps what was typed. Loading changes nothing, so the page's Apply stays as it is: on for a
// function just chosen or sources just moved.
void TBaseFunctionEditor::FormShow(TObject*) {
    TZuzFunction* function = ZuzTagObject<TZuzFunction>(this);
    if (!function || function == IFunction) return;
    const TRestoreOnExit<bool> loading(FLoading, true);
    IFunction = function;
    SetFunction();
}

void TBaseFunctionEditor::FormCloseQuery(TObject*, bool& CanClose) {
    CanClose = CheckFormValues();
    if (!CanClose) return;
    TZuzFuncEditor* page = FuncEditor();
    TChartSeries* series = page ? page->TheSeries() : nullptr;
    // Applied before its tab was ever shown, the form takes the function it was made for and
    // that function's own settings: a new one in its place would free the one the form holds.
    if (!IFunction && (IFunction = ZuzTagObject<TZuzFunction>(this))) {
        const TRestoreOnExit<bool> loading(FLoading, true);
        SetFunction();
    }
    if (!IFunction && series && page->FunctionClass())
        IFunction = CreateNewZuzFunction(series, page->FunctionClass());
    if (!IFunction) return;
    IFunction->BeginUpdate();
    try {
        ApplyFormChanges();
    } catch (...) {
        IFunction->EndUpdate();
        throw;
    }
    IFunction->EndUpdate();
    if (series && !series->GetFunction()) series->SetFunction(IFunction);
}

void TBaseFunctionEditor::FillSeries(TStrings* Items) const {
    TChartSeries* parent = IFunction ? IFunction->GetParentSeries() : nullptr;
    ISeriesChart* chart = parent ? parent->GetParentChart() : nullptr;
    if (!chart) return;
    for (int i = 0; i < chart->SeriesCount(); ++i)
        if (TChartSeries* s = chart->GetSeries(i)) Items->AddObject(SeriesTitleOrName(s), s);
}

void RegisterZuzBaseFuncEditClasses() {
    RegisterClass(TBaseFunctionEditor::StaticClass());
}
