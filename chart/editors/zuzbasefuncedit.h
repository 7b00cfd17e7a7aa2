#pragma once
// The base of a function's option form, embedded in the function page: it loads
// its controls from the function in its Tag when shown, and applies them when
// the page asks it to close.

#include "platform/gui/forms.h"

class TChartSeries;
class TStrings;
class TZuzFuncEditor;
class TZuzFunction;

class TBaseFunctionEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBaseFunctionEditor(TComponent* AOwner);

    // Writes the controls into the function (inside its update bracket).
    virtual void ApplyFormChanges() {}
    // Loads the controls from the function.
    virtual void SetFunction() {}
    // Whether the controls hold settings the function can take; a form that says
    // no has told the user why.
    virtual bool CheckFormValues() { return true; }

    TZuzFunction* EditedFunction() const { return IFunction; }
    // The function page that holds this form, else nullptr.
    TZuzFuncEditor* FuncEditor() const;
    // The page's Apply button on: something changed (not while loading).
    void EnableApply();
    // The series of the function's chart, by title.
    void FillSeries(TStrings* Items) const;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

protected:
    bool FLoading = false;
    TZuzFunction* IFunction = nullptr;
};

void RegisterZuzBaseFuncEditClasses();
