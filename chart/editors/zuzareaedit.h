#pragma once
// The area series' options page: stairs, pens, patterns, transparency, colours, nulls and
// stacking, written into the series as each control changes. It adds the series' pointer
// settings as the "Point" page and its gradient as the "Gradient" page beside itself.

#include "platform/gui/forms.h"

class TAreaSeries;
class TButtonColor;
class TButtonPen;
class TCheckBox;
class TComboFlat;
class TEdit;
class TGroupBox;
class TLabel;
class TPageControl;
class TRadioGroup;
class TTabSheet;
class TUpDown;

class TAreaSeriesEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TAreaSeriesEditor(TComponent* AOwner) : TForm(AOwner) {}

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabOptions = nullptr;
    TGroupBox* GBArea = nullptr;
    TCheckBox* CBStairs = nullptr;
    TCheckBox* CBInvStairs = nullptr;
    TButtonPen* BAreaLinesPen = nullptr;
    TButtonPen* BAreaLinePen = nullptr;
    TButton* BPattern = nullptr;
    TButton* Button1 = nullptr;
    TGroupBox* GBTransp = nullptr;
    TEdit* ETransp = nullptr;
    TUpDown* UDTransp = nullptr;
    TCheckBox* CBDark3D = nullptr;
    TGroupBox* GBColor = nullptr;
    TCheckBox* CBColorEach = nullptr;
    TButtonColor* BAreaColor = nullptr;
    TGroupBox* GBNulls = nullptr;
    TComboFlat* CBNulls = nullptr;
    TTabSheet* TabStack = nullptr;
    TRadioGroup* RGMultiArea = nullptr;
    TCheckBox* CBUseOrigin = nullptr;
    TLabel* LOrigin = nullptr;
    TEdit* EOrigin = nullptr;
    TUpDown* UDOrigin = nullptr;
    TGroupBox* GBGroup = nullptr;
    TEdit* EGroup = nullptr;
    TUpDown* UDGroup = nullptr;

    // The "Point" and "Gradient" pages' forms once inserted, else nullptr.
    TCustomForm* PointerForm() const { return FPointerForm; }
    TCustomForm* GradientForm() const { return FGradientForm; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void CBStairsClick(TObject* Sender);
    void CBInvStairsClick(TObject* Sender);
    void BPatternClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void ETranspChange(TObject* Sender);
    void CBDark3DClick(TObject* Sender);
    void CBColorEachClick(TObject* Sender);
    void BAreaColorClick(TObject* Sender);
    void CBNullsChange(TObject* Sender);
    void RGMultiAreaClick(TObject* Sender);
    void CBUseOriginClick(TObject* Sender);
    void EOriginChange(TObject* Sender);
    void EGroupChange(TObject* Sender);

protected:
    void BindComponents() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Writing() const { return FArea && !FFilling; }
    void EnableOrigin();
    void EnableGroup();
    void InsertPages();

    TAreaSeries* FArea = nullptr;
    TCustomForm* FPointerForm = nullptr;
    TCustomForm* FGradientForm = nullptr;
    bool FFilling = false;
};

void RegisterZuzAreaEditClasses();
