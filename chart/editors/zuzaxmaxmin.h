#pragma once
// The dialog that asks for one fixed end of an axis: a number, or for a date-time axis a
// date and a time. The caller sets the caption, the value and the kind, shows it modally
// and on OK reads the value back.

#include "platform/gui/forms.h"

class TBitBtn;
class TEdit;
class TLabel;

class TAxisMaxMin : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TAxisMaxMin(TComponent* AOwner) : TForm(AOwner) {}

    TLabel* Label1 = nullptr;
    TEdit* EMaximum = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* EMinimum = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;

    bool IsDateTime = false;
    double MaxMin = 0;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    // A text that does not convert raises, and the dialog stays open with it.
    void BitBtn1Click(TObject* Sender);

protected:
    void BindComponents() override;
};

void RegisterZuzAxMaxMinClasses();
