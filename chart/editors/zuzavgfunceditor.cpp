#include "chart/editors/zuzavgfunceditor.h"

#include "chart/series/zuzfunci.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TAverageFuncEditor::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TAverageFuncEditor::CBNullsClick>("CBNullsClick"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TAverageFuncEditor>("TAverageFuncEditor", &TZuzFunctionEditor::StaticClass(), methods);
    return ci;
}

void TAverageFuncEditor::BindComponents() {
    TZuzFunctionEditor::BindComponents();
    Bind(CBNulls, u"CBNulls");
}

void TAverageFuncEditor::SetFunction() {
    TZuzFunctionEditor::SetFunction();
    if (auto* average = dynamic_cast<TAverageZuzFunction*>(IFunction))
        CBNulls->SetChecked(average->GetIncludeNulls());
}

void TAverageFuncEditor::ApplyFormChanges() {
    TZuzFunctionEditor::ApplyFormChanges();
    if (auto* average = dynamic_cast<TAverageZuzFunction*>(IFunction))
        average->SetIncludeNulls(CBNulls->GetChecked());
}

void TAverageFuncEditor::CBNullsClick(TObject*) {
    EnableApply();
}

void RegisterZuzAvgFuncEditorClasses() {
    RegisterClass(TAverageFuncEditor::StaticClass());
}
