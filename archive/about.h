#pragma once
// The about box, read from the form resource TAboutBox: the program's picture, the
// product's name and version and the maker's e-mail and web links.

#include "platform/gui/buttons.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/forms.h"
#include "platform/gui/stdctrls.h"

class TAboutBox : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TAboutBox(TComponent* AOwner) : TForm(AOwner) {}

    TPanel* Panel1 = nullptr;
    TImage* ProgramIcon = nullptr;
    TLabel* ProductName = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Version = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Comments = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TButton* OKButton = nullptr;

    // The links: the maker's e-mail address and web site.
    void Label5Click(TObject* Sender);
    void Label7Click(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void OpenLink(const String& Url);
};

extern TAboutBox* AboutBox;
