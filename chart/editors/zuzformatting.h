#pragma once
// The value-format dialog: a number format assembled from check boxes and counters, a
// date-time format, a geographic (degrees, minutes, seconds) format or free text. It
// recognises which kind a format string is, sets its controls from it and on OK builds the
// string back.

#include "platform/gui/forms.h"

class TButton;
class TCheckBox;
class TComboFlat;
class TEdit;
class TGroupBox;
class TLabel;
class TPanel;
class TRadioButton;
class TUpDown;

class TFormatEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TFormatEditor(TComponent* AOwner) : TForm(AOwner) {}

    TPanel* PanelOK = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TComboFlat* CBCustom = nullptr;
    TComboFlat* CBDate = nullptr;
    TRadioButton* RBDate = nullptr;
    TRadioButton* RBCustom = nullptr;
    TRadioButton* RBGeo = nullptr;
    TComboFlat* CBGeo = nullptr;
    TPanel* Panel2 = nullptr;
    TRadioButton* RBInteger = nullptr;
    TCheckBox* CBPercent = nullptr;
    TCheckBox* CBThousands = nullptr;
    TCheckBox* CBCurrency = nullptr;
    TCheckBox* CBFixedDecimals = nullptr;
    TUpDown* UpDown1 = nullptr;
    TEdit* Edit1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* Edit2 = nullptr;
    TUpDown* UpDown2 = nullptr;

    // Edits Format; the date-time choice shows only when IsDate. Returns the built format on
    // OK, Format unchanged otherwise. The dialog is freed in every case.
    static String Change(TComponent* AOwner, const String& Format, bool IsDate);

    // The format the controls describe now.
    String TheFormat() const;
    // The format the dialog reads when it shows (what typing in a format box stores).
    const String& GetFormatText() const { return FFormat; }
    void SetFormatText(const String& Value) { FFormat = Value; }

    void FormShow(TObject* Sender);
    void RBIntegerClick(TObject* Sender);
    void RBChoiceClick(TObject* Sender); // date, custom, geographic; and thousands, currency
    void CBPercentClick(TObject* Sender);
    void CBFormatChange(TObject* Sender); // typing in the date, geographic or custom box

protected:
    void BindComponents() override;

private:
    void FillLists();
    bool ShowChoice(TRadioButton* Button, TComboFlat* Box, bool Remembered);
    void ReadNumber();
    void FocusIfCan(TWinControl* Control);

    bool FChanging = false; // the dialog checks a radio button itself
    String FFormat;
    bool FDateChosen = false, FGeoChosen = false;
};

void RegisterZuzFormattingClasses();
