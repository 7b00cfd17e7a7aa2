#pragma once
// The chart editor's "Axis" page: one axis at a time (scales, title, labels, ticks, grid,
// position), the list of the chart's axes, and custom axes added and deleted.

#include "platform/gui/forms.h"

#include <functional>

class TButtonPen;
class TChartAxis;
class TCheckBox;
class TComboFlat;
class TCustomAxisPanel;
class TEdit;
class TFormZuzShape;
class TLabel;
class TListBox;
class TPageControl;
class TStrings;
class TTabSheet;
class TUpDown;
class TZuzFontEditor;

// Fills Items with the chart's axes as the page lists them: Left, Right, Top, Bottom, with
// WithDepth the two depth axes, then "Custom 0", "Custom 1"... for the custom axes.
void ZuzAddAxes(TCustomAxisPanel* Chart, TStrings* Items, bool WithDepth);

class TFormZuzAxis : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    TFormZuzAxis(TComponent* AOwner, TChartAxis* Axis);
    explicit TFormZuzAxis(TComponent* AOwner) : TFormZuzAxis(AOwner, nullptr) {}

    TLabel* Label1 = nullptr;
    TListBox* LBAxes = nullptr;
    TCheckBox* CBShow = nullptr;
    TCheckBox* CBAxisBeh = nullptr;
    TButton* BAdd = nullptr;
    TButton* BDelete = nullptr;
    TPageControl* PageAxis = nullptr;
    TTabSheet* TabScales = nullptr;
    TPageControl* PageScales = nullptr;
    TTabSheet* TabOptions = nullptr;
    TCheckBox* CBAutomatic = nullptr;
    TCheckBox* CBVisible = nullptr;
    TCheckBox* CBInverted = nullptr;
    TCheckBox* CBLogarithmic = nullptr;
    TLabel* LLogBase = nullptr;
    TEdit* ELogBase = nullptr;
    TCheckBox* LogE = nullptr;
    TTabSheet* TabMinimum = nullptr;
    TLabel* LAxisMin = nullptr;
    TCheckBox* CBAutoMin = nullptr;
    TButton* BAxisMin = nullptr;
    TLabel* LMinOff = nullptr;
    TEdit* EMinOff = nullptr;
    TUpDown* UDMinOff = nullptr;
    TCheckBox* CBMinRound = nullptr;
    TTabSheet* TabMaximum = nullptr;
    TLabel* LAxisMax = nullptr;
    TCheckBox* CBAutoMax = nullptr;
    TButton* BAxisMax = nullptr;
    TLabel* LMaxOff = nullptr;
    TEdit* EMaxOff = nullptr;
    TUpDown* UDMaxOff = nullptr;
    TCheckBox* CBMaxRound = nullptr;
    TTabSheet* TabIncrement = nullptr;
    TLabel* L6 = nullptr;
    TLabel* LAxisIncre = nullptr;
    TButton* BIncre = nullptr;
    TCheckBox* CBShowAll = nullptr;
    TTabSheet* TabTitle = nullptr;
    TPageControl* PageTitle = nullptr;
    TTabSheet* TabTitleStyle = nullptr;
    TLabel* L2 = nullptr;
    TEdit* ETitle = nullptr;
    TLabel* L3 = nullptr;
    TEdit* SETitleAngle = nullptr;
    TUpDown* UDTitleAngle = nullptr;
    TLabel* L4 = nullptr;
    TEdit* SETitleSize = nullptr;
    TUpDown* UDTitleSize = nullptr;
    TCheckBox* CBTitleVisible = nullptr;
    TTabSheet* TabTitleFormat = nullptr;
    TPageControl* PageTitleFormat = nullptr;
    TTabSheet* TabLabels = nullptr;
    TPageControl* PageLabels = nullptr;
    TTabSheet* TabLabStyle = nullptr;
    TCheckBox* CBLabels = nullptr;
    TCheckBox* CBMultiline = nullptr;
    TCheckBox* CBOnAxis = nullptr;
    TCheckBox* CBRoundFirst = nullptr;
    TCheckBox* CBAlternate = nullptr;
    TLabel* L5 = nullptr;
    TEdit* SELabelsSize = nullptr;
    TUpDown* UDLabelsSize = nullptr;
    TLabel* L7 = nullptr;
    TEdit* SELabelsAngle = nullptr;
    TUpDown* UDLabelsAngle = nullptr;
    TLabel* L8 = nullptr;
    TEdit* SESepar = nullptr;
    TUpDown* UDSepar = nullptr;
    TLabel* L9 = nullptr;
    TComboFlat* CBLabelStyle = nullptr;
    TTabSheet* TabLabFormat = nullptr;
    TLabel* LabelAxisFormat = nullptr;
    TComboFlat* CBFormat = nullptr;
    TButton* Button1 = nullptr;
    TCheckBox* CBExpo = nullptr;
    TCheckBox* CBLabelAlign = nullptr;
    TTabSheet* TabLabText = nullptr;
    TTabSheet* TabTicks = nullptr;
    TButtonPen* BAxisPen = nullptr;
    TButtonPen* BTickPen = nullptr;
    TLabel* L10 = nullptr;
    TEdit* SEAxisTickLength = nullptr;
    TUpDown* UDAxisTickLength = nullptr;
    TButtonPen* BTickInner = nullptr;
    TLabel* L11 = nullptr;
    TEdit* SEInnerTicksLength = nullptr;
    TUpDown* UDInnerTicksLength = nullptr;
    TButtonPen* BTickMinor = nullptr;
    TLabel* L12 = nullptr;
    TEdit* SEAxisMinorTickLen = nullptr;
    TUpDown* UDAxisMinorTickLen = nullptr;
    TLabel* L13 = nullptr;
    TEdit* Edit3 = nullptr;
    TUpDown* UDMinorC = nullptr;
    TCheckBox* CBTickOnLabels = nullptr;
    TTabSheet* TabGrid = nullptr;
    TButtonPen* BAxisGrid = nullptr;
    TButtonPen* BMinorGrid = nullptr;
    TLabel* L14 = nullptr;
    TEdit* SEMinorCount = nullptr;
    TUpDown* UDMinorCount = nullptr;
    TLabel* L15 = nullptr;
    TEdit* Edit2 = nullptr;
    TUpDown* UDGridZ = nullptr;
    TCheckBox* CBGridCentered = nullptr;
    TLabel* L16 = nullptr;
    TEdit* EMarksEvery = nullptr;
    TUpDown* UDEvery = nullptr;
    TTabSheet* TabPosition = nullptr;
    TLabel* L17 = nullptr;
    TEdit* EPos = nullptr;
    TUpDown* UDPos = nullptr;
    TLabel* L18 = nullptr;
    TEdit* EStart = nullptr;
    TUpDown* UDStart = nullptr;
    TLabel* L19 = nullptr;
    TEdit* EEnd = nullptr;
    TUpDown* UDEnd = nullptr;
    TLabel* L20 = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UDZ = nullptr;
    TLabel* L21 = nullptr;
    TComboFlat* CBPosUnits = nullptr;
    TCheckBox* CBOtherSide = nullptr;
    TCheckBox* CBHorizAxis = nullptr;
    TChartAxis* GetAxis() const { return FAxis; }
    TZuzFontEditor* GetFontEditor() const { return FFontEditor; }
    TFormZuzShape* GetTitleShape() const { return FTitleShape; }
    // Edits this axis from now on; PageAxisChange loads it.
    void SetAxis(TChartAxis* Value) { FAxis = Value; }
    // Told the axis after a custom axis turned between horizontal and vertical.
    std::function<void(TChartAxis* Axis)> OnChangeHorizAxis;

    void BAddClick(TObject* Sender);
    void BAxisMaxClick(TObject* Sender);
    void BAxisMinClick(TObject* Sender);
    void BDeleteClick(TObject* Sender);
    void BIncreClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void CBAlternateClick(TObject* Sender);
    void CBAutoMaxClick(TObject* Sender);
    void CBAutoMinClick(TObject* Sender);
    void CBAutomaticClick(TObject* Sender);
    void CBAxisBehClick(TObject* Sender);
    void CBExpoClick(TObject* Sender);
    void CBFormatChange(TObject* Sender);
    void CBGridCenteredClick(TObject* Sender);
    void CBHorizAxisClick(TObject* Sender);
    void CBInvertedClick(TObject* Sender);
    void CBLabelAlignClick(TObject* Sender);
    void CBLabelStyleChange(TObject* Sender);
    void CBLabelsClick(TObject* Sender);
    void CBLogarithmicClick(TObject* Sender);
    void CBMaxRoundClick(TObject* Sender);
    void CBMinRoundClick(TObject* Sender);
    void CBMultilineClick(TObject* Sender);
    void CBOnAxisClick(TObject* Sender);
    void CBOtherSideClick(TObject* Sender);
    void CBPosUnitsChange(TObject* Sender);
    void CBRoundFirstClick(TObject* Sender);
    void CBShowAllClick(TObject* Sender);
    void CBShowClick(TObject* Sender);
    void CBTickOnLabelsClick(TObject* Sender);
    void CBTitleVisibleClick(TObject* Sender);
    void CBVisibleClick(TObject* Sender);
    void EEndChange(TObject* Sender);
    void ELogBaseChange(TObject* Sender);
    void EMarksEveryChange(TObject* Sender);
    void EMaxOffChange(TObject* Sender);
    void EMinOffChange(TObject* Sender);
    void EPosChange(TObject* Sender);
    void EStartChange(TObject* Sender);
    void ETitleChange(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void Edit2Change(TObject* Sender);
    void Edit3Change(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormShow(TObject* Sender);
    void LBAxesClick(TObject* Sender);
    void LogEClick(TObject* Sender);
    void PageAxisChange(TObject* Sender);
    void PageLabelsChange(TObject* Sender);
    void PageTitleChange(TObject* Sender);
    void PageTitleFormatChange(TObject* Sender);
    void SEAxisMinorTickLenChange(TObject* Sender);
    void SEAxisTickLengthChange(TObject* Sender);
    void SEInnerTicksLengthChange(TObject* Sender);
    void SELabelsAngleChange(TObject* Sender);
    void SELabelsSizeChange(TObject* Sender);
    void SEMinorCountChange(TObject* Sender);
    void SESeparChange(TObject* Sender);
    void SETitleAngleChange(TObject* Sender);
    void SETitleSizeChange(TObject* Sender);

protected:
    void BindComponents() override;

private:
    TCustomAxisPanel* Chart() const;
    // Whether the controls may write: not while a tab is being loaded.
    bool Writing() const { return FAxis && !FLoading; }
    void SetAxisIndex();
    void SetAxisScales();
    void LoadLabels();
    void LoadPosition();
    void LogBaseRule();
    void EditAxisMaxMin(bool IsMax);
    void SelectAxis(TCustomAxisPanel* AChart, int Index);

    TChartAxis* FAxis = nullptr;
    // Made the first time their tab shows; freed with the tabs that hold them.
    TZuzFontEditor* FFontEditor = nullptr;
    TFormZuzShape* FTitleShape = nullptr;
    bool FLoading = true;
    bool FScales = false;
};

void ZuzEdiAxisInitialization();
