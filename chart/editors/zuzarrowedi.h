#pragma once
// The arrow series' options page: outline and fill of the arrows, head size, colours and the
// head's share of the arrow, written into the series as each control changes.

#include "platform/gui/forms.h"

class TArrowSeries;
class TButtonColor;
class TButtonPen;
class TCheckBox;
class TEdit;
class TLabel;
class TScrollBar;
class TUpDown;

class TArrowSeriesEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TArrowSeriesEditor(TComponent* AOwner) : TForm(AOwner) {}

    TButtonPen* BPen = nullptr;
    TButton* BBrush = nullptr;
    TLabel* LWidth = nullptr;
    TEdit* SEArrowWidth = nullptr;
    TUpDown* UDArrowWidth = nullptr;
    TLabel* LHeight = nullptr;
    TEdit* SEArrowHeight = nullptr;
    TUpDown* UDArrowHeight = nullptr;
    TCheckBox* CBColorEach = nullptr;
    TButtonColor* BArrowColor = nullptr;
    TLabel* LSize = nullptr;
    TScrollBar* SBPercent = nullptr;
    TLabel* LPercent = nullptr;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void BBrushClick(TObject* Sender);
    void SEArrowWidthChange(TObject* Sender);
    void SEArrowHeightChange(TObject* Sender);
    void CBColorEachClick(TObject* Sender);
    void SBPercentChange(TObject* Sender);

protected:
    void BindComponents() override;

private:
    bool Writing() const { return FArrow && !FFilling && GetShowing(); }
    void RefreshPercent();

    TArrowSeries* FArrow = nullptr;
    bool FFilling = false;
};

void RegisterZuzArrowEdiClasses();
