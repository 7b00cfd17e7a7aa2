#pragma once
// The dialog for an axis' desired increment: a number, or for a date-time axis one of the
// standard calendar steps or a custom count of days and a time; and the increment written
// as the axis page shows it.

#include "chart/canvas/zuzprocs.h"
#include "platform/gui/forms.h"

class TButton;
class TChartAxis;
class TCheckBox;
class TComboFlat;
class TEdit;
class TLabel;
class TRadioGroup;

class TAxisIncrement : public TForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TAxisIncrement(TComponent* AOwner) : TForm(AOwner) {}

    TRadioGroup* RadioGroup1 = nullptr;
    TComboFlat* CBSteps = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* ECustom = nullptr;
    TCheckBox* CBExact = nullptr;
    TButton* BOk = nullptr;
    TButton* BCancel = nullptr;

    bool IsDateTime = false;
    bool IsExact = false;
    double Increment = 0;
    TDateTimeStep IStep = dtNone;

    // Asks for the axis' increment; on OK the axis takes it and the exact flag. The dialog is
    // freed in every case.
    static bool ChangeIncrement(TComponent* AOwner, TChartAxis* Axis);

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void RadioGroup1Click(TObject* Sender);
    void CBStepsChange(TObject* Sender);
    void CBExactClick(TObject* Sender);
    // A text that does not convert raises, and the dialog stays open with it.
    void BOkClick(TObject* Sender);

protected:
    void BindComponents() override;

private:
    void ApplyChoice(); // what choosing "Standard" or "Custom" enables and sets
    bool FChanging = false;
};

// The increment as the axis page shows it: a number axis through the values format (or
// FloatToStr when that does not read back as the increment); a date-time axis by the name
// of its standard step when exact, else as days and a time.
String GetIncrementText(TComponent* AOwner, double Increment, bool IsDateTime, bool Exact,
                        const String& ValuesFormat);

// Tells the user why a value was refused, in a plain message box.
void ZuzShowIncorrect(const String& Reason);

void RegisterZuzAxisIncrClasses();
