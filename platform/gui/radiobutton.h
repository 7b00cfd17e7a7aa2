#pragma once
// A radio button on its own. Buttons of one parent exclude each other, as the user sees
// them; checking one from code fires its OnClick, unchecking fires nothing.

#include "platform/gui/stdctrls.h"

class QRadioButton;

class TRadioButton : public TButtonControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TRadioButton(TComponent* AOwner);

    void SetText(const String& Value) override;
    String GetText() const override;
    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }

private:
    void UncheckSiblings();

    QRadioButton* FButton;
    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};

void RegisterRadioButtonClasses();
