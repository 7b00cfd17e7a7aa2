#pragma once
// The shape series' options page: figure, colours, text, position and font of a shape,
// written into the series as each control changes.

#include "platform/gui/forms.h"

class TButtonColor;
class TButtonGradient;
class TButtonPen;
class TChartShape;
class TCheckBox;
class TComboFlat;
class TEdit;
class TLabel;
class TMemo;
class TPageControl;
class TRadioGroup;
class TTabSheet;
class TUpDown;
class TZuzFontEditor;

class TChartShapeEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartShapeEditor(TComponent* AOwner) : TForm(AOwner) {}

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabStyle = nullptr;
    TLabel* LStyle = nullptr;
    TComboFlat* CBStyle = nullptr;
    TButtonColor* BShapeColor = nullptr;
    TButtonPen* BShapePen = nullptr;
    TButton* BShapeBrush = nullptr;
    TCheckBox* CBTrans = nullptr;
    TCheckBox* CBRound = nullptr;
    TButtonGradient* BGradient = nullptr;
    TLabel* LTransp = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UDTransp = nullptr;
    TTabSheet* TabText = nullptr;
    TLabel* LText = nullptr;
    TMemo* MemoText = nullptr;
    TRadioGroup* RGVertAlign = nullptr;
    TRadioGroup* RGAlign = nullptr;
    TButton* Button1 = nullptr;
    TTabSheet* TabPosition = nullptr;
    TLabel* LX0 = nullptr;
    TEdit* SEX0 = nullptr;
    TLabel* LY0 = nullptr;
    TEdit* SEY0 = nullptr;
    TLabel* LX1 = nullptr;
    TEdit* SEX1 = nullptr;
    TLabel* LY1 = nullptr;
    TEdit* SEY1 = nullptr;
    TLabel* LUnits = nullptr;
    TComboFlat* CBUnits = nullptr;
    TTabSheet* TabFont = nullptr;

    void FormShow(TObject* Sender);
    void CBStyleChange(TObject* Sender);
    void BShapeBrushClick(TObject* Sender);
    void CBTransClick(TObject* Sender);
    void CBRoundClick(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void MemoTextChange(TObject* Sender);
    void RGVertAlignClick(TObject* Sender);
    void RGAlignClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void SEX0Change(TObject* Sender);
    void SEY0Change(TObject* Sender);
    void SEX1Change(TObject* Sender);
    void SEY1Change(TObject* Sender);
    void CBUnitsChange(TObject* Sender);

protected:
    void BindComponents() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Writing() const { return FShape && !FLoading && GetShowing(); }
    void CheckRound();
    // The number in Edit, or false for an empty box or a text that is not a number.
    bool PositionValue(const TEdit* Edit, double& Value) const;

    TChartShape* FShape = nullptr;
    TZuzFontEditor* FFontForm = nullptr;
    bool FLoading = true;
};

void RegisterZuzShapeEdiClasses();
