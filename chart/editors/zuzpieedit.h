#pragma once
// The pie series' options page: 3D look, explosion, angle, borders, gradient, the grouped
// "other" slice, colours and callout marks, written into the series as each control changes.
// It inserts the circle settings as the "Circled" page beside itself.

#include "platform/gui/forms.h"

class TButtonColor;
class TButtonGradient;
class TButtonPen;
class TCheckBox;
class TCircledSeriesEditor;
class TComboFlat;
class TEdit;
class TLabel;
class TPageControl;
class TPieSeries;
class TScrollBar;
class TTabSheet;
class TTrackBar;
class TUpDown;

class TPieSeriesEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TPieSeriesEditor(TComponent* AOwner) : TForm(AOwner) {}

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabOptions = nullptr;
    TCheckBox* CBDark3d = nullptr;
    TLabel* LExpBig = nullptr;
    TEdit* SEExpBig = nullptr;
    TUpDown* UDExpBig = nullptr;
    TCheckBox* CBPatterns = nullptr;
    TButtonPen* BPen = nullptr;
    TLabel* LAngleSize = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UDAngleSize = nullptr;
    TButtonGradient* BGradient = nullptr;
    TLabel* LDarkPen = nullptr;
    TEdit* Edit2 = nullptr;
    TUpDown* UpDown1 = nullptr;
    TLabel* LMultiple = nullptr;
    TComboFlat* CBMultiple = nullptr;
    TLabel* LGradBright = nullptr;
    TTrackBar* TBBright = nullptr;
    TLabel* LBright = nullptr;
    TTabSheet* TabOther = nullptr;
    TLabel* LOther = nullptr;
    TComboFlat* CBOther = nullptr;
    TLabel* LOtherValue = nullptr;
    TEdit* EOtherValue = nullptr;
    TLabel* LOtherLabel = nullptr;
    TEdit* EOtherLabel = nullptr;
    TButton* Button2 = nullptr;
    TTabSheet* TabColors = nullptr;
    TCheckBox* CBColorEach = nullptr;
    TButtonColor* BColor = nullptr;
    TLabel* LPalette = nullptr;
    TComboFlat* CBPalette = nullptr;
    TTabSheet* TabMarks = nullptr;
    TCheckBox* CBMarksAutoPosition = nullptr;
    TCheckBox* CBVertCenter = nullptr;
    TLabel* LLegSize = nullptr;
    TScrollBar* SBLegSize = nullptr;

    TPieSeries* Series() const { return FPie; }
    // The "Circled" page's form once inserted, else nullptr.
    TCircledSeriesEditor* CircledForm() const { return FCircledForm; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void CBDark3dClick(TObject* Sender);
    void SEExpBigChange(TObject* Sender);
    void CBPatternsClick(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void Edit2Change(TObject* Sender);
    void CBMultipleChange(TObject* Sender);
    void TBBrightChange(TObject* Sender);
    void CBOtherChange(TObject* Sender);
    void EOtherValueChange(TObject* Sender);
    void EOtherLabelChange(TObject* Sender);
    void Button2Click(TObject* Sender);
    void CBColorEachClick(TObject* Sender);
    void CBPaletteChange(TObject* Sender);
    void CBMarksAutoPositionClick(TObject* Sender);
    void CBVertCenterClick(TObject* Sender);
    void SBLegSizeChange(TObject* Sender);

protected:
    void BindComponents() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Writing() const;
    void EnableOther();
    void EnableColors();

    TPieSeries* FPie = nullptr;
    TCircledSeriesEditor* FCircledForm = nullptr;
    bool FFilling = true;
};

void RegisterZuzPieEditClasses();
