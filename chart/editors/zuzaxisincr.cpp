#include "chart/editors/zuzaxisincr.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "platform/core/sysutils.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

#include <cmath>

namespace {

// Days and a time: one second for nothing, whole days with the time of what is left, or a
// time below a day.
String IncrementEditText(double Increment) {
    if (Increment <= 0) return TimeToStr(DateTimeStep[dtOneSecond]);
    if (Increment >= 1.0) {
        const double days = std::trunc(Increment);
        String s = FloatToStr(days);
        if (const double rest = Increment - days; rest != 0) s += u" " + TimeToStr(rest);
        return s;
    }
    return TimeToStr(Increment);
}

void FocusIfCan(TWinControl* Control) {
    if (Control->CanFocus()) Control->SetFocus();
}

} // namespace

const ClassInfo& TAxisIncrement::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TAxisIncrement::FormCreate>("FormCreate"),
        MakeMethod<&TAxisIncrement::FormShow>("FormShow"),
        MakeMethod<&TAxisIncrement::RadioGroup1Click>("RadioGroup1Click"),
        MakeMethod<&TAxisIncrement::CBStepsChange>("CBStepsChange"),
        MakeMethod<&TAxisIncrement::CBExactClick>("CBExactClick"),
        MakeMethod<&TAxisIncrement::BOkClick>("BOkClick"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TAxisIncrement>("TAxisIncrement", &TForm::StaticClass(), methods);
    return ci;
}

void TAxisIncrement::BindComponents() {
    Bind(RadioGroup1, u"RadioGroup1");
    Bind(CBSteps, u"CBSteps");
    Bind(Label1, u"Label1");
    Bind(ECustom, u"ECustom");
    Bind(CBExact, u"CBExact");
    Bind(BOk, u"BOk");
    Bind(BCancel, u"BCancel");
}

bool TAxisIncrement::ChangeIncrement(TComponent* AOwner, TChartAxis* Axis) {
    const Owned<TAxisIncrement> dialog(Create<TAxisIncrement>(AOwner));
    const auto* chart = dynamic_cast<const TCustomChart*>(Axis->ParentChart);
    dialog->SetCaption(Format(VavIve_DesiredIncrement, {chart ? chart->AxisTitleOrName(Axis) : String()}));
    dialog->IsDateTime = Axis->IsDateTime();
    dialog->IsExact = Axis->GetExactDateTime();
    dialog->Increment = Axis->GetIncrement();
    dialog->IStep = FindDateTimeStep(dialog->Increment);
    PositionToCenter(dialog.get());
    ZuzTranslateControl(dialog.get());
    if (dialog->ShowModal() != mrOk) return false;
    Axis->SetDesiredIncrement(dialog->Increment);
    Axis->SetExactDateTime(dialog->IsExact);
    return true;
}

void TAxisIncrement::FormCreate(TObject*) {
    SetBorderStyle(bsDialog);
}

void TAxisIncrement::FormShow(TObject*) {
    FChanging = true;
    CBExact->SetVisible(IsDateTime);
    CBExact->SetChecked(IsExact);
    FChanging = false;
    if (IsDateTime) {
        ECustom->SetHint(VavIve_EnterDateTime);
        ECustom->SetText(IncrementEditText(Increment));
        const bool standard = IsExact && IStep != dtNone;
        FChanging = true;
        RadioGroup1->SetItemIndex(standard ? 0 : 1);
        FChanging = false;
        ApplyChoice();
        if (standard) {
            CBSteps->SetItemIndex(IStep);
            ECustom->SetText(String());
            ECustom->SetEnabled(false);
            FocusIfCan(CBSteps);
        } else {
            CBSteps->SetItemIndex(-1);
        }
    } else {
        CBSteps->SetVisible(false);
        RadioGroup1->SetVisible(false);
        FChanging = true;
        RadioGroup1->SetItemIndex(1);
        FChanging = false;
        ECustom->SetHint(String());
        ECustom->SetText(FloatToStr(Increment));
        ECustom->SelectAll();
        FocusIfCan(ECustom);
    }
}

void TAxisIncrement::RadioGroup1Click(TObject*) {
    if (!FChanging) ApplyChoice();
}

void TAxisIncrement::ApplyChoice() {
    const bool standard = RadioGroup1->GetItemIndex() == 0;
    ECustom->SetEnabled(!standard);
    CBSteps->SetEnabled(standard);
    CBExact->SetEnabled(standard);
    IsExact = standard;
    FChanging = true;
    CBExact->SetChecked(standard);
    FChanging = false;
    if (standard) {
        CBSteps->SetItemIndex(IStep == dtNone ? 0 : IStep);
        FocusIfCan(CBSteps);
    } else {
        ECustom->SetText(IncrementEditText(Increment));
        FocusIfCan(ECustom);
    }
}

void TAxisIncrement::CBStepsChange(TObject*) {
    if (CBSteps->GetItemIndex() >= 0) IStep = static_cast<TDateTimeStep>(CBSteps->GetItemIndex());
}

void TAxisIncrement::CBExactClick(TObject*) {
    if (FChanging) return;
    IsExact = CBExact->GetChecked();
    if (!IsExact) RadioGroup1->SetItemIndex(1);
}

void TAxisIncrement::BOkClick(TObject*) {
    const String text = ECustom->GetText();
    if (!IsDateTime) {
        Increment = StrToFloat(text);
    } else if (RadioGroup1->GetItemIndex() == 0) {
        // The step the list shows: it shows the first one when none was stored.
        const int step = CBSteps->GetItemIndex();
        IStep = static_cast<TDateTimeStep>(step < 0 ? 0 : step);
        Increment = DateTimeStep[IStep];
    } else if (const auto blank = text.find(u' '); blank != String::npos) {
        Increment = StrToFloat(std::u16string_view(text).substr(0, blank)) +
                    StrToTime(std::u16string_view(text).substr(blank + 1, 255));
    } else {
        Extended days = 0;
        Increment = TryStrToFloat(text, days) ? days : StrToTime(text);
    }
    SetModalResult(mrOk);
}

String GetIncrementText(TComponent* AOwner, double Increment, bool IsDateTime, bool Exact,
                        const String& ValuesFormat) {
    if (!IsDateTime) {
        const String s = FormatFloat(ValuesFormat, Increment);
        return StrToFloatDef(s, 0) == Increment ? s : FloatToStr(Increment);
    }
    if (Exact) {
        if (const TDateTimeStep step = FindDateTimeStep(Increment); step != dtNone) {
            const Owned<TAxisIncrement> dialog(Create<TAxisIncrement>(AOwner));
            return dialog->CBSteps->GetItems()->GetStrings(step);
        }
    }
    return IncrementEditText(Increment);
}

void ZuzShowIncorrect(const String& Reason) {
    ShowMessage(Format(VavIve_IncorrectMaxMinValue, {Reason}));
}

void RegisterZuzAxisIncrClasses() {
    RegisterClass(TAxisIncrement::StaticClass());
}
