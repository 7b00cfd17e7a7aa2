#pragma once
// The margins editor: the four margins of a TMargins object and their unit. Embedded in
// the marks settings of the series page, or shown alone with the margins in its Tag.

#include "platform/gui/forms.h"

class TEdit;
class TLabel;
class TMargins;
class TRadioGroup;
class TUpDown;

class TMarginsEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TMarginsEditor(TComponent* AOwner) : TForm(AOwner) {}

    TRadioGroup* RGUnits = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* ELeft = nullptr;
    TUpDown* UDLeft = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* ETop = nullptr;
    TUpDown* UDTop = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* ERight = nullptr;
    TUpDown* UDRight = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* EBottom = nullptr;
    TUpDown* UDBottom = nullptr;

    // Edits these margins from now on (not owned) and loads the controls from them.
    void RefreshControls(TMargins* Margins);
    TMargins* Margins() const { return FMargins; }

    void FormShow(TObject* Sender);
    void RGUnitsClick(TObject* Sender);
    void ELeftChange(TObject* Sender);
    void ETopChange(TObject* Sender);
    void ERightChange(TObject* Sender);
    void EBottomChange(TObject* Sender);

protected:
    void BindComponents() override;

private:
    TMargins* FMargins = nullptr;
};

void RegisterZuzMarginsClasses();
