#pragma once
// The port and terminal setup dialogs, read from the form resources
// TComSetupFrm and TComTrmSetForm.

#include "platform/gui/forms.h"
#include "platform/gui/stdctrls.h"
#include "serial/comportctrls.h"

class TCustomComTerminal;

class TComSetupFrm : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TComSetupFrm(TComponent* AOwner) : TForm(AOwner) {}

    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TComComboBox* Combo1 = nullptr;
    TComComboBox* Combo2 = nullptr;
    TComComboBox* Combo3 = nullptr;
    TComComboBox* Combo4 = nullptr;
    TComComboBox* Combo5 = nullptr;
    TComComboBox* Combo6 = nullptr;

    void FormCreate(TObject* Sender) {}

protected:
    void BindComponents() override;
};

class TComTrmSetForm : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TComTrmSetForm(TComponent* AOwner) : TForm(AOwner) {}

    TGroupBox* GroupBox1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TCheckBox* CheckBox2 = nullptr;
    TCheckBox* CheckBox3 = nullptr;
    TCheckBox* CheckBox4 = nullptr;
    TCheckBox* CheckBox5 = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TEdit* Edit1 = nullptr;
    TEdit* Edit2 = nullptr;
    TComboBox* ComboBox2 = nullptr;
    TComboBox* ComboBox3 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;

    void FormCreate(TObject* Sender) {}

protected:
    void BindComponents() override;
};

// Edits the port's name, speed, data bits, stop bits, parity and flow
// control; OK applies them all at once.
void EditComPort(TCustomComPort* ComPort);
// Edits the terminal's settings. OK applies them once both number edits hold
// numbers (EConvertError otherwise, with nothing changed).
void EditComTerminal(TCustomComTerminal* ComTerminal);

// Registers the dialogs' classes for their form resources.
void RegisterComSetupClasses();
