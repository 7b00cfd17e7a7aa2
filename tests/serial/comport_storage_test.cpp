// Port settings stored in and loaded from the registry and ini files.

#include "platform/core/inifiles.h"
#include "platform/win32/registry.h"
#include "tests/serial/fakeport.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Every stored value, in storing order, as text: equal lists mean equal settings.
std::vector<String> AllValues(const TCustomComPort& p) {
    const TComParity& par = *p.GetParity();
    const TComTimeouts& t = *p.GetTimeouts();
    const TComFlowControl& f = *p.GetFlowControl();
    auto b = [](bool v) { return String(v ? u"1" : u"0"); };
    auto c = [](AnsiChar ch) { return IntToStr(static_cast<Byte>(ch)); };
    return {p.GetPort(),
            BaudRateToStr(p.GetBaudRate()),
            IntToStr(p.GetCustomBaudRate()),
            StopBitsToStr(p.GetStopBits()),
            DataBitsToStr(p.GetDataBits()),
            ParityToStr(par.GetBits()),
            FlowControlToStr(f.GetFlowControl()),
            c(p.GetEventChar()),
            b(p.GetDiscardNull()),
            b(par.GetCheck()),
            b(par.GetReplace()),
            c(par.GetReplaceChar()),
            IntToStr(p.GetBuffer()->GetOutputSize()),
            IntToStr(p.GetBuffer()->GetInputSize()),
            IntToStr(t.GetReadInterval()),
            IntToStr(t.GetReadTotalConstant()),
            IntToStr(t.GetReadTotalMultiplier()),
            IntToStr(t.GetWriteTotalConstant()),
            IntToStr(t.GetWriteTotalMultiplier()),
            RTSToStr(f.GetControlRTS()),
            DTRToStr(f.GetControlDTR()),
            b(f.GetDSRSensitivity()),
            b(f.GetOutCTSFlow()),
            b(f.GetOutDSRFlow()),
            b(f.GetTxContinueOnXoff()),
            b(f.GetXonXoffIn()),
            b(f.GetXonXoffOut()),
            c(f.GetXoffChar()),
            c(f.GetXonChar())};
}

// No value left at its default, characters of both text forms.
void SetEverything(TCustomComPort& p) {
    p.SetPort(u"COM12");
    p.SetBaudRate(brCustom);
    p.SetCustomBaudRate(31250);
    p.SetStopBits(sbTwoStopBits);
    p.SetDataBits(dbSeven);
    p.GetParity()->SetBits(prMark);
    p.SetEventChar(13);
    p.SetDiscardNull(true);
    p.GetParity()->SetCheck(true);
    p.GetParity()->SetReplace(true);
    p.GetParity()->SetReplaceChar('?');
    p.GetBuffer()->SetOutputSize(4096);
    p.GetBuffer()->SetInputSize(8192);
    TComTimeouts& t = *p.GetTimeouts();
    t.SetReadInterval(25);
    t.SetReadTotalConstant(500);
    t.SetReadTotalMultiplier(3);
    t.SetWriteTotalConstant(2000);
    t.SetWriteTotalMultiplier(7);
    TComFlowControl& f = *p.GetFlowControl();
    f.SetControlRTS(rtsToggle);
    f.SetControlDTR(dtrHandshake);
    f.SetDSRSensitivity(true);
    f.SetOutCTSFlow(true);
    f.SetOutDSRFlow(true);
    f.SetTxContinueOnXoff(true);
    f.SetXonXoffIn(true);
    f.SetXonXoffOut(false);
    f.SetXoffChar(static_cast<AnsiChar>(0xA4));
    f.SetXonChar('!');
    p.SetStoredProps({spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers});
}

class SettingsStore : public FakePortTest {
protected:
    void SetUp() override {
        win32::SetRegistryDirectory(dir.path / "registry");
        port->SetName(u"ComPort1");
    }
    void TearDown() override { win32::SetRegistryDirectory({}); }
    Owned<TComPort> Fresh() {
        Owned<TComPort> p{Create<TComPort>(nullptr)};
        p->SetName(u"ComPort1");
        p->SetStoredProps(port->GetStoredProps());
        return p;
    }
    String IniName() const { return UTF8ToString((dir.path / "ports.ini").string()); }
    static constexpr const char16_t* kKey = u"HKEY_CURRENT_USER\\Software\\Moltren test";

    TempDir dir;
};

} // namespace

TEST_F(SettingsStore, AllTwentyNineValuesSurviveTheRegistryAndAnIniFile) {
    SetEverything(*port);
    const std::vector<String> before = AllValues(*port);
    ASSERT_EQ(before.size(), 29u);
    for (TStoreType where : {stRegistry, stIniFile}) {
        const String place = where == stRegistry ? String(kKey) : IniName();
        port->StoreSettings(where, place);
        Owned<TComPort> loaded = Fresh();
        loaded->LoadSettings(where, place);
        EXPECT_EQ(AllValues(*loaded), before) << (where == stRegistry ? "registry" : "ini file");
    }
    {
        // Settings that can be read load where they can no longer be written (a full disk).
        FileSizeLimit limit(std::filesystem::file_size(dir.path / "registry" / "registry") - 1);
        Owned<TComPort> loaded = Fresh();
        loaded->LoadSettings(stRegistry, kKey);
        EXPECT_EQ(AllValues(*loaded), before);
    }
    // Integers are DWORD values in the registry, decimal texts in the file.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\Moltren test\\ComPort1"));
    EXPECT_EQ(reg.GetDataType(u"Buffer.InputSize"), rdInteger);
    EXPECT_EQ(reg.ReadInteger(u"CustomBaudRate"), 31250);
    EXPECT_EQ(reg.ReadString(u"EventChar"), u"#13");
    EXPECT_EQ(reg.ReadString(u"FlowControl.XoffChar"), u"#164");
    EXPECT_EQ(reg.ReadString(u"FlowControl.XonChar"), u"!");
    EXPECT_EQ(reg.ReadString(u"Parity.Check"), u"Yes");
    EXPECT_EQ(reg.ReadString(u"FlowControl.XonXoffOut"), u"No");
    EXPECT_EQ(TIniFile(IniName()).ReadString(u"ComPort1", u"Timeouts.ReadInterval", u""), u"25");
}

TEST_F(SettingsStore, BasicGroupWritesExactlyItsNamesInOrder) {
    port->SetBaudRate(br19200);
    port->StoreSettings(stIniFile, IniName());
    TStringList names;
    TIniFile(IniName()).ReadSection(u"ComPort1", &names);
    EXPECT_EQ(names.GetText(), u"Port\r\nBaudRate\r\nStopBits\r\nDataBits\r\nParity\r\nFlowControl\r\n");
    port->SetBaudRate(brCustom);
    port->StoreSettings(stRegistry, kKey);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\Moltren test\\ComPort1"));
    reg.GetValueNames(&names);
    EXPECT_EQ(names.GetText(),
              u"Port\r\nBaudRate\r\nCustomBaudRate\r\nStopBits\r\nDataBits\r\nParity\r\nFlowControl\r\n");
}

TEST_F(SettingsStore, CharacterAndYesNoTextsAsTheFileGivesThem) {
    port->SetStoredProps({spOthers, spParity, spFlowControl});
    TIniFile ini(IniName());
    struct Row {
        const char16_t* text;
        int code;
    };
    for (const Row& r : {Row{u"A", 65}, Row{u"#13", 13}, Row{u"#", 35}, Row{u"#x", 0}, Row{u"#321", 65},
                         Row{u"", 0}, Row{u"#0", 0}, Row{u"Zebra", 90}}) {
        ini.WriteString(u"ComPort1", u"EventChar", r.text);
        port->LoadSettings(stIniFile, IniName());
        EXPECT_EQ(static_cast<Byte>(port->GetEventChar()), r.code) << UTF8Encode(r.text);
    }
    ini.WriteString(u"ComPort1", u"Parity.Check", u"yes");
    ini.WriteString(u"ComPort1", u"Parity.Replace", u"true");
    port->GetParity()->SetReplace(true);
    port->LoadSettings(stIniFile, IniName());
    EXPECT_TRUE(port->GetParity()->GetCheck());
    EXPECT_FALSE(port->GetParity()->GetReplace());
    // Stored: 33..127 as themselves, the rest as "#" and the code.
    port->SetEventChar(' ');
    port->GetFlowControl()->SetXonChar(17);
    port->GetParity()->SetReplaceChar(127);
    port->StoreSettings(stIniFile, IniName());
    EXPECT_EQ(ini.ReadString(u"ComPort1", u"EventChar", u""), u"#32");
    EXPECT_EQ(ini.ReadString(u"ComPort1", u"FlowControl.XonChar", u""), u"#17");
    EXPECT_EQ(ini.ReadString(u"ComPort1", u"Parity.ReplaceChar", u""), u"\x7f");
}

TEST_F(SettingsStore, AnIniFileWithoutThePortsSectionChangesNothing) {
    SetEverything(*port);
    const std::vector<String> before = AllValues(*port);
    TIniFile ini(IniName());
    ini.WriteString(u"OtherPort", u"BaudRate", u"110");
    port->LoadSettings(stIniFile, IniName());
    EXPECT_EQ(AllValues(*port), before); // the custom rate 31250 included
    // A file that does not exist at all is the same case.
    port->LoadSettings(stIniFile, UTF8ToString((dir.path / "none.ini").string()));
    EXPECT_EQ(AllValues(*port), before);
    EXPECT_EQ(port->GetCustomBaudRate(), 31250);
}

TEST_F(SettingsStore, AMissingRegistryIntegerFailsAfterWhatWasLoaded) {
    port->SetStoredProps({spBasic, spBuffer});
    port->SetBaudRate(br57600);
    port->StoreSettings(stRegistry, kKey);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(u"Software\\Moltren test\\ComPort1", false));
        reg.WriteInteger(u"Buffer.OutputSize", 512);
        reg.DeleteValue(u"Buffer.InputSize");
    }
    Owned<TComPort> loaded = Fresh();
    const EComPort e = Raised([&] { loaded->LoadSettings(stRegistry, kKey); });
    EXPECT_EQ(e.GetCode(), CError_LoadFailed);
    EXPECT_EQ(e.GetWinCode(), -1);
    EXPECT_EQ(loaded->GetBaudRate(), br57600);
    EXPECT_EQ(loaded->GetBuffer()->GetOutputSize(), 512);
    // The bracket was closed: the port applies settings again.
    loaded->BeginUpdate();
    loaded->EndUpdate();
    // A missing text is empty in the registry: the table's no-match value.
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(u"Software\\Moltren test\\ComPort1", false));
        reg.DeleteValue(u"StopBits");
        reg.WriteString(u"DataBits", u"9");
        reg.WriteInteger(u"Buffer.InputSize", 100);
    }
    loaded->SetStopBits(sbTwoStopBits);
    loaded->SetDataBits(dbFive);
    loaded->LoadSettings(stRegistry, kKey);
    EXPECT_EQ(loaded->GetStopBits(), sbOneStopBit);
    EXPECT_EQ(loaded->GetDataBits(), dbEight);
}

TEST_F(SettingsStore, RegistryLocationsRootsAndTheMissingBackslash) {
    port->StoreSettings(stRegistry, u"hkey_local_machine\\Software\\Moltren test\\");
    port->StoreSettings(stRegistry, u"HKEY_USERS\\Software\\Elsewhere");
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(reg.KeyExists(u"Software\\Moltren test\\ComPort1"));
    reg.SetRootKey(HKEY_CURRENT_USER); // an unknown root leaves the default one
    EXPECT_TRUE(reg.KeyExists(u"Software\\Elsewhere\\ComPort1"));

    // Without a backslash there is no key to write under: refused, nothing
    // written at the top of the user's registry.
    EXPECT_EQ(Raised([&] { port->StoreSettings(stRegistry, u"Software"); }).GetCode(), CError_StoreFailed);
    EXPECT_EQ(Raised([&] { port->LoadSettings(stRegistry, u"Software"); }).GetCode(), CError_LoadFailed);
    TRegistry top;
    EXPECT_FALSE(top.ValueExists(u"Port"));
    EXPECT_FALSE(top.ValueExists(u"BaudRate"));
}

TEST_F(SettingsStore, AnUnwritableIniFileFailsWithCode16) {
    const String lost = UTF8ToString((dir.path / "missing-dir" / "p.ini").string());
    EXPECT_EQ(Raised([&] { port->StoreSettings(stIniFile, lost); }).GetCode(), CError_StoreFailed);
}

TEST_F(SettingsStore, AnOpenPortAppliesLoadedSettingsOnce) {
    port->SetStoredProps({spBasic, spBuffer, spTimeouts});
    port->SetBaudRate(br115200);
    port->GetBuffer()->SetInputSize(4096);
    port->GetTimeouts()->SetReadInterval(10);
    port->StoreSettings(stIniFile, IniName());
    Owned<TComPort> open = Fresh();
    open->SetEvents({});
    open->Open();
    comm.ClearLog();
    open->LoadSettings(stIniFile, IniName());
    EXPECT_EQ(comm.Names(), (std::vector<std::string>{"SetupComm", "SetCommState", "SetCommTimeouts"}));
    EXPECT_EQ(open->GetBaudRate(), br115200);
    open->Close();
}
