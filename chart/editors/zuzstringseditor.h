#pragma once
// The text editor: a modal memo for a list of lines or one text (titles, legend and shape
// texts, export previews), with copy, load and save. Escape anywhere closes it with Cancel.

#include "platform/gui/forms.h"

class TButton;
class TMemo;
class TOpenDialog;
class TPanel;
class TSaveDialog;
class TStrings;

class TStringsEditor : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TStringsEditor(TComponent* AOwner) : TForm(AOwner) {}

    TPanel* Panel1 = nullptr;
    TPanel* Panel2 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TMemo* Memo1 = nullptr;
    TButton* Button4 = nullptr;
    TButton* Button5 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

    void FormCreate(TObject* Sender);
    void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);

protected:
    void BindComponents() override;
};

// Edits a copy of the lines in a modal text editor owned by Owner (centred when Owner has no
// owner itself); on OK and not ReadOnly the lines take the edited text. True on OK.
bool ZuzEditStrings(TComponent* Owner, TStrings* Strings, bool ReadOnly = false);
// The same for one text, the editor centred whenever Owner is given.
bool ZuzEditStrings(TComponent* Owner, String& Text, bool ReadOnly = false);

void RegisterZuzStringsEditorClasses();
