#include "chart/editors/zuzcustomfunceditor.h"

#include "chart/series/zuzfunci.h"
#include "platform/core/sysutils.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/stdctrls.h"

#include <cmath>

const ClassInfo& TCustomFunctionEditor::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TCustomFunctionEditor::EditChange>("EditChange"),
    };
    static const ClassInfo ci = MakeClassInfo<TCustomFunctionEditor>(
        "TCustomFunctionEditor", &TBaseFunctionEditor::StaticClass(), methods);
    return ci;
}

void TCustomFunctionEditor::BindComponents() {
    TBaseFunctionEditor::BindComponents();
    Bind(Label1, u"Label1");
    Bind(EStart, u"EStart");
    Bind(Label2, u"Label2");
    Bind(EStep, u"EStep");
    Bind(ENum, u"ENum");
    Bind(Label3, u"Label3");
}

void TCustomFunctionEditor::SetFunction() {
    TBaseFunctionEditor::SetFunction();
    auto* custom = dynamic_cast<TCustomZuzFunction*>(IFunction);
    if (!custom) return;
    EStart->SetText(FloatToStr(custom->GetStartX()));
    EStep->SetText(FloatToStr(custom->GetPeriod()));
    ENum->SetText(IntToStr(custom->GetNumPoints()));
}

TCustomFunctionEditor::Values TCustomFunctionEditor::ReadValues() const {
    Values v;
    Extended number = 0;
    if (!TryStrToFloat(EStart->GetText(), number) || !std::isfinite(number)) {
        v.Error = u"Start X is not a number: " + EStart->GetText();
        return v;
    }
    v.Start = number;
    // A step of 0 would put every point on one X; the function takes no negative
    // step.
    if (!TryStrToFloat(EStep->GetText(), number) || !std::isfinite(number) || number <= 0) {
        v.Error = u"Step must be a number above 0: " + EStep->GetText();
        return v;
    }
    v.Step = number;
    Integer count = 0;
    if (!TryStrToInt(ENum->GetText(), count) || count < 0 || count > MaxNumPoints) {
        v.Error = u"Number of points must be from 0 to " + IntToStr(MaxNumPoints) + u": " + ENum->GetText();
        return v;
    }
    v.Count = count;
    return v;
}

bool TCustomFunctionEditor::CheckFormValues() {
    if (!dynamic_cast<TCustomZuzFunction*>(IFunction) && IFunction) return true;
    const Values v = ReadValues();
    if (v.Error.empty()) return true;
    ShowMessage(v.Error);
    return false;
}

void TCustomFunctionEditor::ApplyFormChanges() {
    TBaseFunctionEditor::ApplyFormChanges();
    auto* custom = dynamic_cast<TCustomZuzFunction*>(IFunction);
    const Values v = ReadValues();
    if (!custom || !v.Error.empty()) return;
    custom->SetStartX(v.Start);
    custom->SetPeriod(v.Step);
    custom->SetNumPoints(v.Count);
}

void TCustomFunctionEditor::EditChange(TObject*) {
    EnableApply();
}

void RegisterZuzCustomFuncEditorClasses() {
    RegisterClass(TCustomFunctionEditor::StaticClass());
}
