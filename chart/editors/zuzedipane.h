#pragma once
// The chart editor's panel page: colour, bevels and borders, rounded border, margins, and the
// panel's gradient, shadow and back image on tabs of their own. Every change is written into
// the panel at once.

#include "platform/gui/forms.h"

class TButtonColor;
class TButtonPen;
class TCheckBox;
class TComboFlat;
class TCustomZuzPanelExtended;
class TEdit;
class TGroupBox;
class TLabel;
class TPageControl;
class TTabSheet;
class TUpDown;
class TWinControl;
class TZuzGradientEditor;

class TFormZuzPanel : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFormZuzPanel(TComponent* AOwner);
    TFormZuzPanel(TComponent* AOwner, TCustomZuzPanelExtended* Panel);
    void AfterConstruction() override;

    // A page for Panel made with AOwner, filling AParent, translated and embedded there.
    static TFormZuzPanel* InsertAt(TComponent* AOwner, TWinControl* AParent, TCustomZuzPanelExtended* Panel);

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabColor = nullptr;
    TButtonColor* BPanelColor = nullptr;
    TCheckBox* CBColorDef = nullptr;
    TCheckBox* CBImageInside = nullptr;
    TTabSheet* TabBorders = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* SEPanelBor = nullptr;
    TUpDown* UDPanelBor = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* SEPanelWi = nullptr;
    TUpDown* UDPanelWi = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* ERound = nullptr;
    TUpDown* UDRound = nullptr;
    TLabel* Label4 = nullptr;
    TComboFlat* CBInner = nullptr;
    TLabel* Label5 = nullptr;
    TComboFlat* CBOuter = nullptr;
    TButtonPen* BBorder = nullptr;
    TTabSheet* TabMargins = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TEdit* SETopMa = nullptr;
    TUpDown* UDTopMa = nullptr;
    TEdit* SELeftMa = nullptr;
    TUpDown* UDLeftMa = nullptr;
    TEdit* SEBotMa = nullptr;
    TUpDown* UDBotMa = nullptr;
    TEdit* SERightMa = nullptr;
    TUpDown* UDRightMa = nullptr;
    TLabel* Label6 = nullptr;
    TComboFlat* CBMarUnits = nullptr;
    TTabSheet* TabGradient = nullptr;
    TTabSheet* TabShadow = nullptr;
    TTabSheet* TabImage = nullptr;

    TCustomZuzPanelExtended* GetPanel() const { return FPanel; }
    // The gradient editor, once its tab was first shown.
    TZuzGradientEditor* GetGradientEditor() const { return FGradientEditor; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void BPanelColorClick(TObject* Sender);
    void CBColorDefClick(TObject* Sender);
    void CBImageInsideClick(TObject* Sender);
    void SEPanelBorChange(TObject* Sender);
    void SEPanelWiChange(TObject* Sender);
    void ERoundChange(TObject* Sender);
    void CBInnerChange(TObject* Sender);
    void CBOuterChange(TObject* Sender);
    void SETopMaChange(TObject* Sender);
    void SELeftMaChange(TObject* Sender);
    void SEBotMaChange(TObject* Sender);
    void SERightMaChange(TObject* Sender);
    void CBMarUnitsChange(TObject* Sender);
    void PageControl1Change(TObject* Sender);

protected:
    void BindComponents() override;

private:
    // "Default" ticked exactly for the button face colour, and enabled only while not ticked.
    void CheckColorDef();
    // 0..100 in percent, -2000..2000 in pixels, for all four margins.
    void AdjustMarginMinMax();
    // The four boxes from the panel's margins, in the ranges of its units.
    void ShowMargins();
    // Writes the margin at Index from the up-down, unless in percent it would meet the opposite
    // margin at 100 or more: then the up-down goes back to the margin as it is.
    void ChangeMargin(TUpDown* UpDown, int Index, int Opposite);
    // Edit handlers write only while the form shows and is not filling its controls.
    bool Writing() const;

    TCustomZuzPanelExtended* FPanel = nullptr;
    TZuzGradientEditor* FGradientEditor = nullptr;
    bool FCheckingDef = false;
    bool FFilling = false;
};

void ZuzEdiPaneInitialization();
