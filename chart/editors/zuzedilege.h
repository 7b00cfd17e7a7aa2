#pragma once
// The chart editor's legend page: style, text style, check boxes, spacing, position and margins,
// the symbols, the legend's title, and on further tabs the frames, texts, gradients, shadows and
// pictures of the legend and of its title. Every change is written into the legend at once.

#include "platform/gui/forms.h"

class TButtonPen;
class TChartLegend;
class TCheckBox;
class TComboFlat;
class TEdit;
class TFormZuzShape;
class TLabel;
class TMemo;
class TPageControl;
class TRadioGroup;
class TSymbolEditor;
class TTabSheet;
class TUpDown;

class TFormZuzLegend : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFormZuzLegend(TComponent* AOwner);
    TFormZuzLegend(TComponent* AOwner, TChartLegend* Legend);
    void AfterConstruction() override;

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabStyle = nullptr;
    TCheckBox* CBShow = nullptr;
    TCheckBox* CBInverted = nullptr;
    TLabel* Label1 = nullptr;
    TComboFlat* CBLegendStyle = nullptr;
    TLabel* Label2 = nullptr;
    TComboFlat* CBLegStyle = nullptr;
    TButtonPen* BDivLines = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* EVertSpacing = nullptr;
    TUpDown* UDVertSpacing = nullptr;
    TCheckBox* CBFontColor = nullptr;
    TComboFlat* CBCheckBoxes = nullptr;
    TTabSheet* TabPosition = nullptr;
    TRadioGroup* RGPosition = nullptr;
    TCheckBox* CBResizeChart = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* SETopPos = nullptr;
    TUpDown* UDTopPos = nullptr;
    TLabel* Label5 = nullptr;
    TEdit* SEMargin = nullptr;
    TUpDown* UDMargin = nullptr;
    TCheckBox* CBCustPos = nullptr;
    TCheckBox* CBPosPercent = nullptr;
    TLabel* Label6 = nullptr;
    TEdit* ECustLeft = nullptr;
    TUpDown* UDLeft = nullptr;
    TLabel* Label7 = nullptr;
    TEdit* ECustTop = nullptr;
    TUpDown* UDTop = nullptr;
    TTabSheet* TabSymbols = nullptr;
    TTabSheet* TabTitle = nullptr;
    TPageControl* PageControl2 = nullptr;
    TTabSheet* TabTitleOptions = nullptr;
    TLabel* Label8 = nullptr;
    TMemo* MemoText = nullptr;
    TLabel* Label9 = nullptr;
    TComboFlat* CBTextAlign = nullptr;
    TCheckBox* CBTitleVisible = nullptr;
    TButton* Button1 = nullptr;

    // Makes Legend the edited one and puts the format tabs of it and of its title in place.
    void SetLegend(TChartLegend* Legend);
    TChartLegend* GetLegend() const { return FLegend; }
    TFormZuzShape* GetLegendShapeEditor() const { return FLegendShape; }
    TFormZuzShape* GetTitleShapeEditor() const { return FTitleShape; }
    TSymbolEditor* GetSymbolEditor() const { return FSymbolEditor; }

    void FormShow(TObject* Sender);
    void CBShowClick(TObject* Sender);
    void CBInvertedClick(TObject* Sender);
    void CBLegendStyleChange(TObject* Sender);
    void CBLegStyleChange(TObject* Sender);
    void EVertSpacingChange(TObject* Sender);
    void CBFontColorClick(TObject* Sender);
    void CBCheckBoxesChange(TObject* Sender);
    void RGPositionClick(TObject* Sender);
    void CBResizeChartClick(TObject* Sender);
    void SETopPosChange(TObject* Sender);
    void SEMarginChange(TObject* Sender);
    void CBCustPosClick(TObject* Sender);
    void CBPosPercentClick(TObject* Sender);
    void ECustLeftChange(TObject* Sender);
    void ECustTopChange(TObject* Sender);
    void MemoTextChange(TObject* Sender);
    void CBTextAlignChange(TObject* Sender);
    void CBTitleVisibleClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void PageControl1Change(TObject* Sender);
    void PageControl2Change(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void EnableCustomPosition();
    void EnableMarginControls();
    void SetLeftTop();
    // The symbol editor on its tab: made once, later shown the legend's symbol again.
    void ShowSymbolEditor();
    bool Writing() const { return FLegend && !FLoading; }

    TChartLegend* FLegend = nullptr;
    TFormZuzShape* FLegendShape = nullptr;
    TFormZuzShape* FTitleShape = nullptr;
    TSymbolEditor* FSymbolEditor = nullptr;
    bool FLoading = true; // from creation until the first show ends
};

void ZuzEdiLegeInitialization();
