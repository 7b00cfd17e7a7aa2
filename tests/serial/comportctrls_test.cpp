// The port selector controls under Qt's offscreen platform.

#include "serial/comportctrls.h"

#include "platform/win32/comm_fake.h"
#include "tests/serial/portlist.h"
#include "tests/support/formtest.h"

namespace {

class ComSelectors : public FormTest {
protected:
    void Ports(const std::string& lines) { ports.Register(lines); }
    // The user picks an item of the drop-down list.
    static void Choose(TComComboBox* box, int index) { probe::Choose(*box, index); }

    TempPortList ports{"selectors"};
    win32::RecordingComm comm;
    TestForm form;
};

} // namespace

TEST_F(ComSelectors, BaudRateListAppliesTheChoice) {
    TComPort* port = Create<TComPort>(form.get());
    auto* box = Create<TComComboBox>(form.get());
    box->SetParent(form.get());
    EXPECT_EQ(box->GetStyle(), csDropDownList);
    box->SetComProperty(cpBaudRate);
    ASSERT_EQ(box->GetItems()->GetCount(), 16);
    EXPECT_EQ(box->GetItems()->GetStrings(0), u"Custom");
    EXPECT_EQ(box->GetItems()->GetStrings(15), u"256000");
    EXPECT_EQ(box->GetItemIndex(), 0); // no port bound yet
    box->SetComPort(port);
    EXPECT_EQ(box->GetText(), u"9600");
    int changes = 0;
    box->OnChange.Bind([&](TObject*) { ++changes; });
    Choose(box, box->GetItems()->IndexOf(u"19200"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box->GetComSelect()->GetBaudRate(), br19200);
    EXPECT_EQ(port->GetBaudRate(), br9600);
    box->ApplySettings();
    EXPECT_EQ(port->GetBaudRate(), br19200);

    box->SetAutoApply(true);
    Choose(box, box->GetItems()->IndexOf(u"4800"));
    EXPECT_EQ(port->GetBaudRate(), br4800);
    box->SetText(u"57600");
    EXPECT_EQ(box->GetText(), u"57600");
    box->SetText(u"12345"); // not listed: the selection stays
    EXPECT_EQ(box->GetText(), u"57600");
}

TEST_F(ComSelectors, PortListFollowsTheBoundPort) {
    Ports("COM3\nCOM1\nCOM10\n");
    TComPort* port = Create<TComPort>(form.get());
    auto* box = Create<TComComboBox>(form.get());
    box->SetComProperty(cpPort);
    ASSERT_EQ(box->GetItems()->GetCount(), 3);
    EXPECT_EQ(box->GetItems()->GetStrings(1), u"COM10");
    port->SetPort(u"com3");
    box->SetComPort(port);
    EXPECT_EQ(box->GetItemIndex(), 2); // found without regard to case
    EXPECT_EQ(box->GetComSelect()->GetPort(), u"COM3");
    Choose(box, 1);
    box->ApplySettings();
    EXPECT_EQ(port->GetPort(), u"COM10");

    // Freeing the bound port unbinds it and selects the first item.
    port->Free();
    EXPECT_EQ(box->GetComPort(), nullptr);
    EXPECT_EQ(box->GetItemIndex(), 0);

    TComPort* other = Create<TComPort>(form.get());
    other->SetPort(u"COM7");
    box->SetComPort(other);
    EXPECT_EQ(box->GetItemIndex(), -1); // its port is not installed
    EXPECT_EQ(box->GetText(), u"");
}

TEST_F(ComSelectors, NoPortsInstalled) {
    TComPort* port = Create<TComPort>(form.get());
    auto* box = Create<TComComboBox>(form.get());
    box->SetComProperty(cpPort);
    box->SetComPort(port);
    EXPECT_EQ(box->GetItems()->GetCount(), 0);
    EXPECT_EQ(box->GetText(), u"");
    box->ApplySettings();
    EXPECT_EQ(port->GetPort(), u""); // a later Open fails with code 1
    comm.FailNext("CreateFileW", ERROR_FILE_NOT_FOUND);
    try {
        port->Open();
        FAIL() << "opened";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.GetCode(), CError_OpenFailed);
    }
}

TEST_F(ComSelectors, ReadingAFormResolvesThePortLast) {
    Ports("COM2\nCOM1\n");
    TComPort* port = Create<TComPort>(form.get());
    port->SetPort(u"COM2");
    auto* box = Create<TComComboBox>(form.get());
    // The order in which the reader sets the properties of the main window's list.
    box->IncludeState(csLoading);
    box->SetComProperty(cpPort);
    EXPECT_EQ(box->GetItemIndex(), 0);
    box->SetText(u"COM1");
    box->SetItemIndex(0);
    box->SetComPort(port);
    static_cast<TComponent*>(box)->Loaded();
    EXPECT_EQ(box->GetText(), u"COM2");
    EXPECT_EQ(box->GetComSelect()->GetPort(), u"COM2");

    // A port whose name is not installed: nothing is selected and nothing chosen.
    TComPort* missing = Create<TComPort>(form.get());
    missing->SetPort(u"COM9");
    auto* other = Create<TComComboBox>(form.get());
    other->IncludeState(csLoading);
    other->SetComProperty(cpPort);
    other->SetText(u"COM1");
    other->SetItemIndex(0);
    other->SetComPort(missing);
    static_cast<TComponent*>(other)->Loaded();
    EXPECT_EQ(other->GetItemIndex(), -1);
    EXPECT_EQ(other->GetComSelect()->GetPort(), u"");
    other->ApplySettings();
    EXPECT_EQ(missing->GetPort(), u"");
}

TEST_F(ComSelectors, RadioGroupHandsClicksToTheSelector) {
    TComPort* port = Create<TComPort>(form.get());
    port->GetParity()->SetBits(prEven);
    auto* group = Create<TComRadioGroup>(form.get());
    group->SetParent(form.get());
    group->SetComProperty(cpParity);
    ASSERT_EQ(group->GetItems()->GetCount(), 5);
    group->SetComPort(port);
    EXPECT_EQ(group->GetItemIndex(), 2);
    EXPECT_EQ(group->GetComSelect()->GetParity(), prEven);
    int clicks = 0;
    group->OnClick.Bind([&](TObject*) { ++clicks; });
    group->SetAutoApply(true);
    group->SetItemIndex(3); // as a click on "Mark"
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(port->GetParity()->GetBits(), prMark);
    probe::Click(*group, 4);
    EXPECT_EQ(port->GetParity()->GetBits(), prSpace);
    port->Free();
    EXPECT_EQ(group->GetComPort(), nullptr);
    EXPECT_EQ(group->GetItemIndex(), 0);
}

TEST_F(ComSelectors, FlowControlAndFormatSettings) {
    TComPort* port = Create<TComPort>(form.get());
    auto* box = Create<TComComboBox>(form.get());
    box->SetComPort(port);
    for (const auto& [property, text] :
         {std::pair{cpFlowControl, u"Software"}, std::pair{cpStopBits, u"2"}, std::pair{cpDataBits, u"7"}}) {
        box->SetComProperty(property);
        Choose(box, box->GetItems()->IndexOf(text));
        box->ApplySettings();
    }
    EXPECT_EQ(port->GetFlowControl()->GetFlowControl(), fcSoftware);
    EXPECT_EQ(port->GetStopBits(), sbTwoStopBits);
    EXPECT_EQ(port->GetDataBits(), dbSeven);
    box->SetComProperty(cpNone);
    EXPECT_EQ(box->GetItems()->GetCount(), 0);
    box->ApplySettings(); // nothing to apply
}
