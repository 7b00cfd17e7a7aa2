#pragma once
// The line-type series' options page: pens, colours, stairs, 3D height, stacking, nulls,
// shadow, gradient and transparency, written into the series as each control changes. Series
// other than line series see only the controls that apply to them. It adds the series'
// pointer settings as the "Point" page beside itself.

#include "platform/gui/forms.h"

class TButtonColor;
class TButtonGradient;
class TButtonPen;
class TCheckBox;
class TComboFlat;
class TCustomSeries;
class TEdit;
class TGroupBox;
class TLabel;
class TTrackBar;
class TUpDown;

class TCustomSeriesEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TCustomSeriesEditor(TComponent* AOwner) : TForm(AOwner) {}

    TButtonPen* BLineBorder = nullptr;
    TButtonColor* BLineColor = nullptr;
    TButton* BBrush = nullptr;
    TCheckBox* CBDark3D = nullptr;
    TCheckBox* CBColorEach = nullptr;
    TCheckBox* CBClick = nullptr;
    TGroupBox* GBStair = nullptr;
    TCheckBox* CBStairs = nullptr;
    TCheckBox* CBInvStairs = nullptr;
    TLabel* LHeight = nullptr;
    TEdit* EHeight = nullptr;
    TUpDown* UDHeight = nullptr;
    TLabel* Label1 = nullptr;
    TComboFlat* CBStack = nullptr;
    TLabel* Label2 = nullptr;
    TComboFlat* CBNulls = nullptr;
    TButtonPen* BOutline = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TButton* Button1 = nullptr;
    TButtonGradient* BGradient = nullptr;
    TLabel* LTransp = nullptr;
    TTrackBar* TBTransp = nullptr;

    // The "Point" page's form once inserted, else nullptr.
    TCustomForm* PointerForm() const { return FPointerForm; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void BLineBorderClick(TObject* Sender);
    void BLineColorClick(TObject* Sender);
    void BBrushClick(TObject* Sender);
    void CBDark3DClick(TObject* Sender);
    void CBColorEachClick(TObject* Sender);
    void CBClickClick(TObject* Sender);
    void CBStairsClick(TObject* Sender);
    void CBInvStairsClick(TObject* Sender);
    void EHeightChange(TObject* Sender);
    void CBStackChange(TObject* Sender);
    void CBNullsChange(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void TBTranspChange(TObject* Sender);

protected:
    void BindComponents() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Writing() const { return FSeries && !FFilling; }

    TCustomSeries* FSeries = nullptr;
    TCustomForm* FPointerForm = nullptr;
    bool FFilling = false;
};

void RegisterZuzCustEditClasses();
