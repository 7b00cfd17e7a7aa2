#pragma once
// The option form of a custom "y = f(x)" function: the first X, the step
// between points and the number of points. Numbers that are no numbers, a step
// that is not above 0 or a count out of range are refused with a message and
// change nothing.

#include "chart/editors/zuzbasefuncedit.h"

class TEdit;
class TLabel;

class TCustomFunctionEditor : public TBaseFunctionEditor {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TCustomFunctionEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {}

    // The most points a custom function is given.
    static constexpr int MaxNumPoints = 1000000;

    TLabel* Label1 = nullptr;
    TEdit* EStart = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* EStep = nullptr;
    TEdit* ENum = nullptr;
    TLabel* Label3 = nullptr;

    void ApplyFormChanges() override;
    void SetFunction() override;
    bool CheckFormValues() override;
    void EditChange(TObject* Sender);

protected:
    void BindComponents() override;

private:
    // The three numbers when all are good, else the reason they are not.
    struct Values {
        double Start = 0, Step = 1;
        int Count = 0;
        String Error;
    };
    Values ReadValues() const;
};

void RegisterZuzCustomFuncEditorClasses();
