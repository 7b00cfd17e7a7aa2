#pragma once
// The option form of the average function: the period settings and whether null
// points count.

#include "chart/editors/zuzediperi.h"

class TCheckBox;

class TAverageFuncEditor : public TZuzFunctionEditor {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TAverageFuncEditor(TComponent* AOwner) : TZuzFunctionEditor(AOwner) {}

    TCheckBox* CBNulls = nullptr;

    void ApplyFormChanges() override;
    void SetFunction() override;
    void CBNullsClick(TObject* Sender);

protected:
    void BindComponents() override;
};

void RegisterZuzAvgFuncEditorClasses();
