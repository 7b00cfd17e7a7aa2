#pragma once
// The option form of a function calculated by period: the period as a number of
// points or an X range, how the results are placed in each period, and the
// period itself.

#include "chart/editors/zuzbasefuncedit.h"

class TComboFlat;
class TEdit;
class TLabel;

class TZuzFunctionEditor : public TBaseFunctionEditor {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzFunctionEditor(TComponent* AOwner);

    TEdit* ENum = nullptr;
    TButton* BChange = nullptr;
    TLabel* Label1 = nullptr;
    TComboFlat* CBAlign = nullptr;
    TLabel* Label2 = nullptr;
    TComboFlat* CBStyle = nullptr;
    TLabel* Label3 = nullptr;

    void ApplyFormChanges() override;
    void SetFunction() override;
    // A period must be a number unless all points are taken.
    bool CheckFormValues() override;

    void CBStyleChange(TObject* Sender);
    void ENumChange(TObject* Sender);
    void CBAlignChange(TObject* Sender);
    void BChangeClick(TObject* Sender);

protected:
    void BindComponents() override;
};

void RegisterZuzEdiPeriClasses();
