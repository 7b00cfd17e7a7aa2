#pragma once
// The bar series' options page: style, colours, sizes, shadow and border of a bar series,
// written into the series as each control changes. It adds the "Stack" page beside itself.

#include "platform/gui/forms.h"

class TButtonColor;
class TButtonPen;
class TCheckBox;
class TComboFlat;
class TCustomBarSeries;
class TEdit;
class TLabel;
class TPageControl;
class TStackBarSeriesEditor;
class TTabSheet;
class TTrackBar;
class TUpDown;
class TZuzShadowEditor;

class TBarSeriesEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBarSeriesEditor(TComponent* AOwner) : TForm(AOwner) {}

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabFormat = nullptr;
    TLabel* LStyle = nullptr;
    TComboFlat* CBBarStyle = nullptr;
    TButton* BBarBrush = nullptr;
    TCheckBox* CBColorEach = nullptr;
    TButtonColor* BBarColor = nullptr;
    TButton* BGradient = nullptr;
    TButtonPen* BTickLines = nullptr;
    TCheckBox* CBDarkBar = nullptr;
    TLabel* LTransp = nullptr;
    TTrackBar* TBTransp = nullptr;
    TTabSheet* TabSize = nullptr;
    TLabel* LBarWidth = nullptr;
    TEdit* SEBarwidth = nullptr;
    TUpDown* UDBarWidth = nullptr;
    TLabel* LBarOffset = nullptr;
    TEdit* SEBarOffset = nullptr;
    TUpDown* UDBarOffset = nullptr;
    TLabel* LDepth = nullptr;
    TEdit* Edit1 = nullptr;
    TUpDown* UDDepth = nullptr;
    TCheckBox* CBBarSideMargins = nullptr;
    TCheckBox* CBMarksAutoPosition = nullptr;
    TTabSheet* TabShadow = nullptr;
    TTabSheet* TabBorder = nullptr;
    TButtonPen* BBarPen = nullptr;
    TLabel* LBevel = nullptr;
    TEdit* EBevel = nullptr;
    TUpDown* UDBevel = nullptr;
    TLabel* LDarkPen = nullptr;
    TEdit* Edit2 = nullptr;
    TUpDown* UDDarkPen = nullptr;

    TCustomBarSeries* Series() const { return FBar; }
    // The "Stack" page's form once inserted, else nullptr.
    TStackBarSeriesEditor* StackForm() const { return FStackForm; }

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void CBBarStyleChange(TObject* Sender);
    void BBarBrushClick(TObject* Sender);
    void CBColorEachClick(TObject* Sender);
    void BGradientClick(TObject* Sender);
    void CBDarkBarClick(TObject* Sender);
    void TBTranspChange(TObject* Sender);
    void SEBarwidthChange(TObject* Sender);
    void SEBarOffsetChange(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void CBBarSideMarginsClick(TObject* Sender);
    void CBMarksAutoPositionClick(TObject* Sender);
    void EBevelChange(TObject* Sender);
    void Edit2Change(TObject* Sender);

protected:
    void BindComponents() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void CheckControls();
    void RefreshShape();
    void AddStackBarEditor();

    TCustomBarSeries* FBar = nullptr;
    TStackBarSeriesEditor* FStackForm = nullptr;
    TZuzShadowEditor* FShadowForm = nullptr;
    bool FFilling = true;
};

void RegisterZuzBarEditClasses();
