// The port and terminal setup dialogs, answered through the dialog responder.

#include "serial/comsetupdialogs.h"

#include "moltren_resources.h"
#include "platform/win32/comm_fake.h"
#include "serial/comterminal.h"
#include "tests/serial/portlist.h"
#include "tests/support/formtest.h"

namespace {

class SetupDialogs : public FormTest {
protected:
    static void SetUpTestSuite() {
        FormTest::SetUpTestSuite();
        RegisterMoltrenResources();
        RegisterComPortClasses();
        RegisterComSetupClasses();
    }
    template <class T>
    static T* Find(TCustomForm* form, const char16_t* name) {
        auto* c = dynamic_cast<T*>(form->FindComponent(name));
        EXPECT_NE(c, nullptr) << UTF8Encode(name);
        return c;
    }
    // The user picks an item of a drop-down list.
    static void Choose(TComboBox* box, const String& item) {
        const int index = box->GetItems()->IndexOf(item);
        ASSERT_GE(index, 0) << UTF8Encode(item);
        probe::Choose(*box, index);
    }

    static TDialogAnswer Press(int result) {
        TDialogAnswer a;
        a.Result = result;
        return a;
    }

    TempPortList ports{"setup"};
    win32::RecordingComm comm;
};

} // namespace

TEST_F(SetupDialogs, PortDialogShowsThePortsSettingsAndAppliesThemOnce) {
    ports.Register("COM1\nCOM2\n");
    Owned<TComPort> port(Create<TComPort>(nullptr));
    port->SetBaudRate(br19200);
    port->Open();
    const std::size_t statesBefore = comm.Count("SetCommState");
    answer = [&](const TDialogRequest& r) {
        EXPECT_EQ(r.Kind, TDialogKind::ModalForm);
        TCustomForm* form = r.Form;
        EXPECT_EQ(form->GetCaption(), u"Setup");
        auto* baud = Find<TComComboBox>(form, u"Combo2");
        EXPECT_EQ(baud->GetText(), u"19200");
        EXPECT_EQ(Find<TComComboBox>(form, u"Combo1")->GetText(), u"COM1");
        EXPECT_EQ(Find<TComComboBox>(form, u"Combo3")->GetText(), u"8");
        Choose(baud, u"4800");
        Choose(Find<TComComboBox>(form, u"Combo5"), u"Even");
        Choose(Find<TComComboBox>(form, u"Combo6"), u"Hardware");
        // Nothing reaches the port before OK.
        EXPECT_EQ(port->GetBaudRate(), br19200);
        return Press(mrOk);
    };
    port->ShowSetupDialog();
    EXPECT_EQ(port->GetBaudRate(), br4800);
    EXPECT_EQ(port->GetParity()->GetBits(), prEven);
    EXPECT_EQ(port->GetFlowControl()->GetFlowControl(), fcHardware);
    // Six settings, one application to the open port.
    EXPECT_EQ(comm.Count("SetCommState"), statesBefore + 1);
    EXPECT_EQ(requests.size(), 1u);

    answer = [&](const TDialogRequest& r) {
        Choose(Find<TComComboBox>(r.Form, u"Combo2"), u"110");
        // Escape is Cancel's key.
        probe::Key(*Find<TComComboBox>(r.Form, u"Combo2"), VK_ESCAPE);
        EXPECT_EQ(r.Form->GetModalResult(), mrCancel);
        return Press(mrCancel);
    };
    EditComPort(port.get());
    EXPECT_EQ(port->GetBaudRate(), br4800);
    EXPECT_EQ(comm.Count("SetCommState"), statesBefore + 1);

    // A name the machine does not list shows no choice, and OK keeps it.
    port->SetPort(u"COM7");
    answer = [&](const TDialogRequest& r) {
        EXPECT_EQ(Find<TComComboBox>(r.Form, u"Combo1")->GetItemIndex(), -1);
        Choose(Find<TComComboBox>(r.Form, u"Combo2"), u"9600");
        return Press(mrOk);
    };
    EditComPort(port.get());
    EXPECT_EQ(port->GetPort(), u"COM7");
    EXPECT_EQ(port->GetBaudRate(), br9600);
}

TEST_F(SetupDialogs, TerminalDialogFillsFromTheTerminalAndAppliesOnOk) {
    Owned<TComTerminal> term(Create<TComTerminal>(nullptr));
    term->SetLocalEcho(true);
    term->SetForce7Bit(true);
    term->SetCaret(tcUnderline);
    term->SetEmulation(teVT52);
    term->SetArrowKeys(akWindows);
    answer = [&](const TDialogRequest& r) {
        TCustomForm* form = r.Form;
        EXPECT_EQ(form->GetCaption(), u"Setup");
        EXPECT_TRUE(Find<TCheckBox>(form, u"CheckBox1")->GetChecked());
        EXPECT_FALSE(Find<TCheckBox>(form, u"CheckBox2")->GetChecked());
        EXPECT_TRUE(Find<TCheckBox>(form, u"CheckBox4")->GetChecked());
        EXPECT_EQ(Find<TComboBox>(form, u"ComboBox1")->GetText(), u"Underline");
        EXPECT_EQ(Find<TComboBox>(form, u"ComboBox2")->GetText(), u"VT52");
        EXPECT_EQ(Find<TComboBox>(form, u"ComboBox3")->GetText(), u"Act as windows keys");
        EXPECT_EQ(Find<TEdit>(form, u"Edit1")->GetText(), u"80");
        EXPECT_EQ(Find<TEdit>(form, u"Edit2")->GetText(), u"24");
        Find<TCheckBox>(form, u"CheckBox1")->SetChecked(false);
        Find<TCheckBox>(form, u"CheckBox3")->SetChecked(true);
        Find<TCheckBox>(form, u"CheckBox5")->SetChecked(true);
        Choose(Find<TComboBox>(form, u"ComboBox1"), u"Block");
        Choose(Find<TComboBox>(form, u"ComboBox2"), u"ANSI/VT100");
        Choose(Find<TComboBox>(form, u"ComboBox3"), u"Act as terminal keys");
        Find<TEdit>(form, u"Edit1")->SetText(u"300");
        Find<TEdit>(form, u"Edit2")->SetText(u"30");
        return Press(mrOk);
    };
    term->ShowSetupDialog();
    EXPECT_FALSE(term->GetLocalEcho());
    EXPECT_TRUE(term->GetWrapLines());
    EXPECT_TRUE(term->GetAppendLF());
    EXPECT_TRUE(term->GetForce7Bit());
    EXPECT_EQ(term->GetCaret(), tcBlock);
    EXPECT_EQ(term->GetEmulation(), teVT100orANSI);
    EXPECT_TRUE(dynamic_cast<TEscapeCodesVT100*>(term->GetEscapeCodes()));
    EXPECT_EQ(term->GetArrowKeys(), akTerminal);
    EXPECT_EQ(term->GetColumns(), 256); // limited as the setter limits it
    EXPECT_EQ(term->GetRows(), 30);

    // Cancel changes nothing.
    answer = [&](const TDialogRequest& r) {
        Find<TCheckBox>(r.Form, u"CheckBox2")->SetChecked(true);
        Find<TEdit>(r.Form, u"Edit2")->SetText(u"40");
        probe::Key(*Find<TEdit>(r.Form, u"Edit2"), VK_ESCAPE);
        EXPECT_EQ(r.Form->GetModalResult(), mrCancel);
        return Press(mrCancel);
    };
    EditComTerminal(term.get());
    EXPECT_FALSE(term->GetSendLF());
    EXPECT_EQ(term->GetRows(), 30);
}

TEST_F(SetupDialogs, TerminalDialogWithoutACaretEntryOrWithABadNumberChangesNothing) {
    Owned<TComTerminal> term(Create<TComTerminal>(nullptr));
    term->SetCaret(tcNone);
    answer = [&](const TDialogRequest& r) {
        EXPECT_EQ(Find<TComboBox>(r.Form, u"ComboBox1")->GetItemIndex(), -1);
        Find<TCheckBox>(r.Form, u"CheckBox2")->SetChecked(true);
        return Press(mrOk);
    };
    EditComTerminal(term.get());
    EXPECT_EQ(term->GetCaret(), tcNone);
    EXPECT_TRUE(term->GetSendLF());

    answer = [&](const TDialogRequest& r) {
        Find<TCheckBox>(r.Form, u"CheckBox1")->SetChecked(true);
        Find<TEdit>(r.Form, u"Edit1")->SetText(u"100");
        Find<TEdit>(r.Form, u"Edit2")->SetText(u"many");
        return Press(mrOk);
    };
    EXPECT_THROW(EditComTerminal(term.get()), EConvertError);
    EXPECT_FALSE(term->GetLocalEcho());
    EXPECT_EQ(term->GetColumns(), 80);
}
