#pragma once
// The legend symbol editor: width and its unit, place, continuity, visibility,
// border, squared look, gradient and shadow of a legend's symbol. Embedded in
// the legend page with the symbol in its Tag; every change is written into the
// symbol at once.

#include "platform/gui/forms.h"

class TButtonGradient;
class TButtonPen;
class TCheckBox;
class TComboFlat;
class TEdit;
class TLabel;
class TLegendSymbol;
class TUpDown;

class TSymbolEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TSymbolEditor(TComponent* AOwner) : TForm(AOwner) {}

    TLabel* L11 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* SEColWi = nullptr;
    TUpDown* UDColWi = nullptr;
    TComboFlat* CBColWUnits = nullptr;
    TComboFlat* CBSymbolPos = nullptr;
    TCheckBox* CBContinuous = nullptr;
    TCheckBox* CBVisible = nullptr;
    TCheckBox* CBSymPen = nullptr;
    TButtonPen* BSymPen = nullptr;
    TCheckBox* CBSquared = nullptr;
    TButtonGradient* BSymGradient = nullptr;
    TButton* Button1 = nullptr;

    // Edits this symbol from now on (not owned) and loads the controls from it.
    void RefreshSymbol(TLegendSymbol* Symbol);
    TLegendSymbol* Symbol() const { return FSymbol; }

    void FormShow(TObject* Sender);
    void SEColWiChange(TObject* Sender);
    void CBColWUnitsChange(TObject* Sender);
    void CBSymbolPosChange(TObject* Sender);
    void CBContinuousClick(TObject* Sender);
    void CBVisibleClick(TObject* Sender);
    void CBSymPenClick(TObject* Sender);
    void CBSquaredClick(TObject* Sender);
    void Button1Click(TObject* Sender);

protected:
    void BindComponents() override;

private:
    // Set from creation until the first show: loading the width box writes no
    // width.
    bool FCreating = true;
    TLegendSymbol* FSymbol = nullptr;
};

void RegisterZuzSymbolEditorClasses();
