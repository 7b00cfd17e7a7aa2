#pragma once
// The about box, read from the form resource TAboutBox.

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
    TLabel* ProductName = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Version = nullptr;
    TLabel* Label2 = nullptr;
    TButton* OKButton = nullptr;

protected:
    void BindComponents() override;
};

extern TAboutBox* AboutBox;
