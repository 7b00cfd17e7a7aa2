#pragma once
// The graph settings dialog, read from the form resource TGraphSettings. The
// main window fills its value list: item k names value column k + 1.

#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/forms.h"
#include "platform/gui/stdctrls.h"

class TGraphSettings : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TGraphSettings(TComponent* AOwner) : TForm(AOwner) {}

    TPageControl* PageControlGraph = nullptr;
    TTabSheet* ValueSelect = nullptr;
    TLabel* Label13 = nullptr;
    TCheckListBox* CheckListBoxValue = nullptr;
    TTabSheet* GraphSet = nullptr;

protected:
    void BindComponents() override;
};

extern TGraphSettings* GraphSettings;
