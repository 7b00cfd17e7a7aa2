#include "serial/comsetupdialogs.h"

#include "platform/core/sysutils.h"
#include "serial/comterminal.h"

#include <array>

const ClassInfo& TComSetupFrm::StaticClass() {
    static const MethodInfo methods[] = {MakeMethod<&TComSetupFrm::FormCreate>("FormCreate")};
    static const ClassInfo ci = MakeClassInfo<TComSetupFrm>("TComSetupFrm", &TForm::StaticClass(), methods);
    return ci;
}

void TComSetupFrm::BindComponents() {
    Bind(Button1, u"Button1");
    Bind(Button2, u"Button2");
    Bind(GroupBox1, u"GroupBox1");
    Bind(Label1, u"Label1");
    Bind(Label2, u"Label2");
    Bind(Label3, u"Label3");
    Bind(Label4, u"Label4");
    Bind(Label5, u"Label5");
    Bind(Label6, u"Label6");
    Bind(Combo1, u"Combo1");
    Bind(Combo2, u"Combo2");
    Bind(Combo3, u"Combo3");
    Bind(Combo4, u"Combo4");
    Bind(Combo5, u"Combo5");
    Bind(Combo6, u"Combo6");
}

const ClassInfo& TComTrmSetForm::StaticClass() {
    static const MethodInfo methods[] = {MakeMethod<&TComTrmSetForm::FormCreate>("FormCreate")};
    static const ClassInfo ci =
        MakeClassInfo<TComTrmSetForm>("TComTrmSetForm", &TForm::StaticClass(), methods);
    return ci;
}

void TComTrmSetForm::BindComponents() {
    Bind(GroupBox1, u"GroupBox1");
    Bind(CheckBox1, u"CheckBox1");
    Bind(CheckBox2, u"CheckBox2");
    Bind(CheckBox3, u"CheckBox3");
    Bind(CheckBox4, u"CheckBox4");
    Bind(CheckBox5, u"CheckBox5");
    Bind(GroupBox2, u"GroupBox2");
    Bind(Label1, u"Label1");
    Bind(Label2, u"Label2");
    Bind(Label3, u"Label3");
    Bind(Label4, u"Label4");
    Bind(Label5, u"Label5");
    Bind(ComboBox1, u"ComboBox1");
    Bind(Edit1, u"Edit1");
    Bind(Edit2, u"Edit2");
    Bind(ComboBox2, u"ComboBox2");
    Bind(ComboBox3, u"ComboBox3");
    Bind(Button1, u"Button1");
    Bind(Button2, u"Button2");
}

void RegisterComSetupClasses() {
    RegisterClasses({&TComSetupFrm::StaticClass(), &TComTrmSetForm::StaticClass()});
}

void EditComPort(TCustomComPort* ComPort) {
    Owned<TComSetupFrm> form(Create<TComSetupFrm>(nullptr));
    const std::array<TComComboBox*, 6> selectors{form->Combo1, form->Combo2, form->Combo3,
                                                 form->Combo4, form->Combo5, form->Combo6};
    for (TComComboBox* s : selectors) s->SetComPort(ComPort);
    for (TComComboBox* s : selectors) s->UpdateSettings();
    if (form->ShowModal() != mrOk) return;
    ComPort->BeginUpdate();
    try {
        // A list left without a choice (a port name the machine does not list) keeps the
        // port's setting: OK on an untouched dialog changes nothing.
        for (TComComboBox* s : selectors)
            if (s->GetItemIndex() >= 0) s->ApplySettings();
    } catch (...) {
        ComPort->EndUpdate();
        throw;
    }
    ComPort->EndUpdate();
}

void EditComTerminal(TCustomComTerminal* ComTerminal) {
    Owned<TComTrmSetForm> form(Create<TComTrmSetForm>(nullptr));
    form->CheckBox1->SetChecked(ComTerminal->GetLocalEcho());
    form->CheckBox2->SetChecked(ComTerminal->GetSendLF());
    form->CheckBox3->SetChecked(ComTerminal->GetWrapLines());
    form->CheckBox4->SetChecked(ComTerminal->GetForce7Bit());
    form->CheckBox5->SetChecked(ComTerminal->GetAppendLF());
    // The list has no entry for "no caret": it then shows none selected.
    form->ComboBox1->SetItemIndex(
        ComTerminal->GetCaret() == tcNone ? -1 : static_cast<int>(ComTerminal->GetCaret()));
    form->ComboBox2->SetItemIndex(static_cast<int>(ComTerminal->GetEmulation()));
    form->Edit1->SetText(IntToStr(ComTerminal->GetColumns()));
    form->Edit2->SetText(IntToStr(ComTerminal->GetRows()));
    form->ComboBox3->SetItemIndex(static_cast<int>(ComTerminal->GetArrowKeys()));
    if (form->ShowModal() != mrOk) return;
    // Both numbers first: a bad one leaves every setting as it was.
    const Integer columns = StrToInt(form->Edit1->GetText());
    const Integer rows = StrToInt(form->Edit2->GetText());
    ComTerminal->SetLocalEcho(form->CheckBox1->GetChecked());
    ComTerminal->SetSendLF(form->CheckBox2->GetChecked());
    ComTerminal->SetWrapLines(form->CheckBox3->GetChecked());
    ComTerminal->SetForce7Bit(form->CheckBox4->GetChecked());
    ComTerminal->SetAppendLF(form->CheckBox5->GetChecked());
    const int caret = form->ComboBox1->GetItemIndex();
    if (caret == tcBlock || caret == tcUnderline) ComTerminal->SetCaret(static_cast<TTermCaret>(caret));
    const int emulation = form->ComboBox2->GetItemIndex();
    if (emulation >= teVT100orANSI && emulation <= teNone)
        ComTerminal->SetEmulation(static_cast<TTermEmulation>(emulation));
    ComTerminal->SetColumns(columns);
    ComTerminal->SetRows(rows);
    const int keys = form->ComboBox3->GetItemIndex();
    if (keys == akTerminal || keys == akWindows) ComTerminal->SetArrowKeys(static_cast<TArrowKeys>(keys));
}
