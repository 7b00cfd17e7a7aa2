#include "chart/editors/zuzaxmaxmin.h"

#include "chart/canvas/zuzpanelprocs.h"
#include "platform/core/sysutils.h"
#include "platform/gui/buttons.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TAxisMaxMin::StaticClass() {
    static const MethodInfo methods[] = {
        MakeMethod<&TAxisMaxMin::FormCreate>("FormCreate"),
        MakeMethod<&TAxisMaxMin::FormShow>("FormShow"),
        MakeMethod<&TAxisMaxMin::BitBtn1Click>("BitBtn1Click"),
    };
    static const ClassInfo ci = MakeClassInfo<TAxisMaxMin>("TAxisMaxMin", &TForm::StaticClass(), methods);
    return ci;
}

void TAxisMaxMin::BindComponents() {
    Bind(Label1, u"Label1");
    Bind(EMaximum, u"EMaximum");
    Bind(Label2, u"Label2");
    Bind(EMinimum, u"EMinimum");
    Bind(BitBtn1, u"BitBtn1");
    Bind(BitBtn2, u"BitBtn2");
}

void TAxisMaxMin::FormCreate(TObject*) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
}

void TAxisMaxMin::FormShow(TObject*) {
    if (IsDateTime) {
        EMaximum->SetText(MaxMin >= 1.0 ? DateToStr(MaxMin) : String());
        EMinimum->SetText(TimeToStr(MaxMin));
    } else {
        EMaximum->SetHint(String());
        EMinimum->SetHint(String());
        Label1->SetCaption(u"Value:");
        EMaximum->SetText(FloatToStr(MaxMin));
        Label2->SetVisible(false);
        EMinimum->SetVisible(false);
    }
    ZuzTranslateControl(this);
}

void TAxisMaxMin::BitBtn1Click(TObject*) {
    if (!IsDateTime)
        MaxMin = StrToFloat(EMaximum->GetText());
    else if (!EMaximum->GetText().empty())
        MaxMin = StrToDateTime(EMaximum->GetText() + u" " + EMinimum->GetText());
    else
        MaxMin = StrToTime(EMinimum->GetText());
    SetModalResult(mrOk);
}

void RegisterZuzAxMaxMinClasses() {
    RegisterClass(TAxisMaxMin::StaticClass());
}
