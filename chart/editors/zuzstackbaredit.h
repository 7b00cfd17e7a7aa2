#pragma once
// The bar series' "Stack" page: the origin the bars grow from, how bars of several series
// share a place, and the stack group.

#include "platform/gui/forms.h"

class TCheckBox;
class TCustomBarSeries;
class TEdit;
class TLabel;
class TRadioGroup;
class TUpDown;

class TStackBarSeriesEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TStackBarSeriesEditor(TComponent* AOwner) : TForm(AOwner) {}

    TCheckBox* CBYOrigin = nullptr;
    TEdit* EYOrigin = nullptr;
    TRadioGroup* RGMultiBar = nullptr;
    TLabel* LGroup = nullptr;
    TEdit* EGroup = nullptr;
    TUpDown* UDGroup = nullptr;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void CBYOriginClick(TObject* Sender);
    void EYOriginChange(TObject* Sender);
    void RGMultiBarClick(TObject* Sender);
    void EGroupChange(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void EnableGroup();

    TCustomBarSeries* FBar = nullptr;
    bool FFilling = true;
};

void RegisterZuzStackBarEditClasses();
