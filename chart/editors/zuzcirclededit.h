#pragma once
// The circle settings every round series shares: circled or not, 3D, rotation, background
// colour or gradient, custom radii and the circle's shadow. The pie series' page inserts it
// as the "Circled" page.

#include "platform/gui/forms.h"

class TButtonColor;
class TButtonGradient;
class TCheckBox;
class TCircledSeries;
class TEdit;
class TLabel;
class TPageControl;
class TTabSheet;
class TUpDown;
class TZuzShadowEditor;

class TCircledSeriesEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TCircledSeriesEditor(TComponent* AOwner) : TForm(AOwner) {}

    // Inserts the form for Series as the "Circled" page of the series page that holds
    // AForm, and returns it.
    static TCircledSeriesEditor* CreateForm(TCustomForm* AForm, TCircledSeries* Series);

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabOptions = nullptr;
    TCheckBox* CBCircled = nullptr;
    TCheckBox* CB3D = nullptr;
    TLabel* LRotation = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UDRot = nullptr;
    TButtonColor* BBack = nullptr;
    TCheckBox* CBTransp = nullptr;
    TButtonGradient* BGradient = nullptr;
    TTabSheet* TabRadius = nullptr;
    TLabel* LXRadius = nullptr;
    TEdit* Edit2 = nullptr;
    TUpDown* UDX = nullptr;
    TCheckBox* CBAutoXR = nullptr;
    TLabel* LYRadius = nullptr;
    TEdit* Edit3 = nullptr;
    TUpDown* UDY = nullptr;
    TCheckBox* CBAutoYR = nullptr;
    TTabSheet* TabShadow = nullptr;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void CBCircledClick(TObject* Sender);
    void CB3DClick(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void BBackClick(TObject* Sender);
    void CBTranspClick(TObject* Sender);
    void BGradientClick(TObject* Sender);
    void Edit2Change(TObject* Sender);
    void CBAutoXRClick(TObject* Sender);
    void Edit3Change(TObject* Sender);
    void CBAutoYRClick(TObject* Sender);

protected:
    void BindComponents() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Writing() const;
    void ColourChosen();

    TCircledSeries* FCircled = nullptr;
    TZuzShadowEditor* FShadowForm = nullptr;
    bool FFilling = true;
};

void RegisterZuzCircledEditClasses();
