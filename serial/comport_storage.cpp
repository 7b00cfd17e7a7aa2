// Storing and loading a port's settings in the registry or an ini file.

#include "platform/core/inifiles.h"
#include "platform/win32/registry.h"
#include "serial/comport.h"

#include <memory>

namespace {

String YesNo(bool Value) {
    return Value ? u"Yes" : u"No";
}

bool IsYes(const String& Text) {
    return UpperCase(Text) == u"YES";
}

// A printable character as itself, any other as "#" and its code.
String CharText(AnsiChar Ch) {
    const auto code = static_cast<Byte>(Ch);
    if (code >= 33 && code <= 127) return String(1, static_cast<char16_t>(code));
    return u"#" + IntToStr(code);
}

AnsiChar TextChar(const String& Text) {
    if (Text.empty()) return 0;
    if (Text[0] == u'#' && Text.size() > 1)
        return static_cast<AnsiChar>(StrToIntDef(Text.substr(1), 0) & 0xFF);
    return static_cast<AnsiChar>(Text[0] & 0xFF);
}

// One place of stored settings: names and values, whatever holds them.
class SettingsPlace {
public:
    virtual ~SettingsPlace() = default;
    virtual void WriteString(const String& Name, const String& Value) = 0;
    virtual void WriteInteger(const String& Name, Integer Value) = 0;
    // Fallback: what a place that keeps no value for the name gives, where it gives one.
    virtual String ReadString(const String& Name, const String& Fallback) = 0;
    virtual Integer ReadInteger(const String& Name, Integer Fallback) = 0;
};

// The registry has no fall-backs: a missing text is empty, a missing integer
// raises.
class RegistryPlace final : public SettingsPlace {
public:
    explicit RegistryPlace(TRegistry* Reg) : FReg(Reg) {}
    void WriteString(const String& Name, const String& Value) override { FReg->WriteString(Name, Value); }
    void WriteInteger(const String& Name, Integer Value) override { FReg->WriteInteger(Name, Value); }
    String ReadString(const String& Name, const String&) override { return FReg->ReadString(Name); }
    Integer ReadInteger(const String& Name, Integer) override { return FReg->ReadInteger(Name); }

private:
    TRegistry* FReg;
};

// An ini file: the section is the port's name; a missing key gives the fall-back.
class IniPlace final : public SettingsPlace {
public:
    IniPlace(TIniFile* Ini, const String& Section) : FIni(Ini), FSection(Section) {}
    void WriteString(const String& Name, const String& Value) override {
        FIni->WriteString(FSection, Name, Value);
    }
    void WriteInteger(const String& Name, Integer Value) override {
        FIni->WriteInteger(FSection, Name, Value);
    }
    String ReadString(const String& Name, const String& Fallback) override {
        return FIni->ReadString(FSection, Name, Fallback);
    }
    Integer ReadInteger(const String& Name, Integer Fallback) override {
        return FIni->ReadInteger(FSection, Name, Fallback);
    }

private:
    TIniFile* FIni;
    String FSection;
};

void StoreTo(const TCustomComPort& Port, SettingsPlace& To) {
    const TStoredProps props = Port.GetStoredProps();
    if (props.Contains(spBasic)) {
        To.WriteString(u"Port", Port.GetPort());
        To.WriteString(u"BaudRate", BaudRateToStr(Port.GetBaudRate()));
        if (Port.GetBaudRate() == brCustom) To.WriteInteger(u"CustomBaudRate", Port.GetCustomBaudRate());
        To.WriteString(u"StopBits", StopBitsToStr(Port.GetStopBits()));
        To.WriteString(u"DataBits", DataBitsToStr(Port.GetDataBits()));
        To.WriteString(u"Parity", ParityToStr(Port.GetParity()->GetBits()));
        To.WriteString(u"FlowControl", FlowControlToStr(Port.GetFlowControl()->GetFlowControl()));
    }
    if (props.Contains(spOthers)) {
        To.WriteString(u"EventChar", CharText(Port.GetEventChar()));
        To.WriteString(u"DiscardNull", YesNo(Port.GetDiscardNull()));
    }
    if (props.Contains(spParity)) {
        const TComParity& p = *Port.GetParity();
        To.WriteString(u"Parity.Check", YesNo(p.GetCheck()));
        To.WriteString(u"Parity.Replace", YesNo(p.GetReplace()));
        To.WriteString(u"Parity.ReplaceChar", CharText(p.GetReplaceChar()));
    }
    if (props.Contains(spBuffer)) {
        To.WriteInteger(u"Buffer.OutputSize", Port.GetBuffer()->GetOutputSize());
        To.WriteInteger(u"Buffer.InputSize", Port.GetBuffer()->GetInputSize());
    }
    if (props.Contains(spTimeouts)) {
        const TComTimeouts& t = *Port.GetTimeouts();
        To.WriteInteger(u"Timeouts.ReadInterval", t.GetReadInterval());
        To.WriteInteger(u"Timeouts.ReadTotalConstant", t.GetReadTotalConstant());
        To.WriteInteger(u"Timeouts.ReadTotalMultiplier", t.GetReadTotalMultiplier());
        To.WriteInteger(u"Timeouts.WriteTotalConstant", t.GetWriteTotalConstant());
        To.WriteInteger(u"Timeouts.WriteTotalMultiplier", t.GetWriteTotalMultiplier());
    }
    if (props.Contains(spFlowControl)) {
        const TComFlowControl& f = *Port.GetFlowControl();
        To.WriteString(u"FlowControl.ControlRTS", RTSToStr(f.GetControlRTS()));
        To.WriteString(u"FlowControl.ControlDTR", DTRToStr(f.GetControlDTR()));
        To.WriteString(u"FlowControl.DSRSensitivity", YesNo(f.GetDSRSensitivity()));
        To.WriteString(u"FlowControl.OutCTSFlow", YesNo(f.GetOutCTSFlow()));
        To.WriteString(u"FlowControl.OutDSRFlow", YesNo(f.GetOutDSRFlow()));
        To.WriteString(u"FlowControl.TxContinueOnXoff", YesNo(f.GetTxContinueOnXoff()));
        To.WriteString(u"FlowControl.XonXoffIn", YesNo(f.GetXonXoffIn()));
        To.WriteString(u"FlowControl.XonXoffOut", YesNo(f.GetXonXoffOut()));
        To.WriteString(u"FlowControl.XoffChar", CharText(f.GetXoffChar()));
        To.WriteString(u"FlowControl.XonChar", CharText(f.GetXonChar()));
    }
}

// Each value goes through the port's setters, so it takes effect as a property
// write would. Fall-backs are the current values, so a place without the port's
// settings changes nothing -- the custom rate included.
void LoadFrom(TCustomComPort& Port, SettingsPlace& From) {
    const TStoredProps props = Port.GetStoredProps();
    if (props.Contains(spBasic)) {
        Port.SetPort(From.ReadString(u"Port", Port.GetPort()));
        Port.SetBaudRate(StrToBaudRate(From.ReadString(u"BaudRate", BaudRateToStr(Port.GetBaudRate()))));
        if (Port.GetBaudRate() == brCustom)
            Port.SetCustomBaudRate(From.ReadInteger(u"CustomBaudRate", Port.GetCustomBaudRate()));
        Port.SetStopBits(StrToStopBits(From.ReadString(u"StopBits", StopBitsToStr(Port.GetStopBits()))));
        Port.SetDataBits(StrToDataBits(From.ReadString(u"DataBits", DataBitsToStr(Port.GetDataBits()))));
        TComParity& p = *Port.GetParity();
        p.SetBits(StrToParity(From.ReadString(u"Parity", ParityToStr(p.GetBits()))));
        TComFlowControl& f = *Port.GetFlowControl();
        f.SetFlowControl(
            StrToFlowControl(From.ReadString(u"FlowControl", FlowControlToStr(f.GetFlowControl()))));
    }
    if (props.Contains(spOthers)) {
        Port.SetEventChar(TextChar(From.ReadString(u"EventChar", CharText(Port.GetEventChar()))));
        Port.SetDiscardNull(IsYes(From.ReadString(u"DiscardNull", YesNo(Port.GetDiscardNull()))));
    }
    if (props.Contains(spParity)) {
        TComParity& p = *Port.GetParity();
        p.SetCheck(IsYes(From.ReadString(u"Parity.Check", YesNo(p.GetCheck()))));
        p.SetReplace(IsYes(From.ReadString(u"Parity.Replace", YesNo(p.GetReplace()))));
        p.SetReplaceChar(TextChar(From.ReadString(u"Parity.ReplaceChar", CharText(p.GetReplaceChar()))));
    }
    if (props.Contains(spBuffer)) {
        TComBuffer& b = *Port.GetBuffer();
        b.SetOutputSize(From.ReadInteger(u"Buffer.OutputSize", b.GetOutputSize()));
        b.SetInputSize(From.ReadInteger(u"Buffer.InputSize", b.GetInputSize()));
    }
    if (props.Contains(spTimeouts)) {
        TComTimeouts& t = *Port.GetTimeouts();
        t.SetReadInterval(From.ReadInteger(u"Timeouts.ReadInterval", t.GetReadInterval()));
        t.SetReadTotalConstant(From.ReadInteger(u"Timeouts.ReadTotalConstant", t.GetReadTotalConstant()));
        t.SetReadTotalMultiplier(
            From.ReadInteger(u"Timeouts.ReadTotalMultiplier", t.GetReadTotalMultiplier()));
        t.SetWriteTotalConstant(From.ReadInteger(u"Timeouts.WriteTotalConstant", t.GetWriteTotalConstant()));
        t.SetWriteTotalMultiplier(
            From.ReadInteger(u"Timeouts.WriteTotalMultiplier", t.GetWriteTotalMultiplier()));
    }
    if (props.Contains(spFlowControl)) {
        TComFlowControl& f = *Port.GetFlowControl();
        f.SetControlRTS(StrToRTS(From.ReadString(u"FlowControl.ControlRTS", RTSToStr(f.GetControlRTS()))));
        f.SetControlDTR(StrToDTR(From.ReadString(u"FlowControl.ControlDTR", DTRToStr(f.GetControlDTR()))));
        f.SetDSRSensitivity(
            IsYes(From.ReadString(u"FlowControl.DSRSensitivity", YesNo(f.GetDSRSensitivity()))));
        f.SetOutCTSFlow(IsYes(From.ReadString(u"FlowControl.OutCTSFlow", YesNo(f.GetOutCTSFlow()))));
        f.SetOutDSRFlow(IsYes(From.ReadString(u"FlowControl.OutDSRFlow", YesNo(f.GetOutDSRFlow()))));
        f.SetTxContinueOnXoff(
            IsYes(From.ReadString(u"FlowControl.TxContinueOnXoff", YesNo(f.GetTxContinueOnXoff()))));
        f.SetXonXoffIn(IsYes(From.ReadString(u"FlowControl.XonXoffIn", YesNo(f.GetXonXoffIn()))));
        f.SetXonXoffOut(IsYes(From.ReadString(u"FlowControl.XonXoffOut", YesNo(f.GetXonXoffOut()))));
        f.SetXoffChar(TextChar(From.ReadString(u"FlowControl.XoffChar", CharText(f.GetXoffChar()))));
        f.SetXonChar(TextChar(From.ReadString(u"FlowControl.XonChar", CharText(f.GetXonChar()))));
    }
}

// Opens "ROOT\path" as the key path\<Name>, created when missing. A location
// without a backslash names no key: it is refused rather than writing the
// settings at the top of the user's registry. Loading asks to read only, so
// settings that can no longer be written (a full disk) still load.
std::unique_ptr<TRegistry> OpenPlace(const String& Location, const String& Name, REGSAM Access) {
    const std::size_t slash = Location.find(u'\\');
    if (slash == String::npos) throw Exception(u"Registry location without a key: " + Location);
    auto reg = std::make_unique<TRegistry>(Access);
    const String root = UpperCase(Location.substr(0, slash));
    if (root == u"HKEY_LOCAL_MACHINE")
        reg->SetRootKey(HKEY_LOCAL_MACHINE);
    else if (root == u"HKEY_CURRENT_USER")
        reg->SetRootKey(HKEY_CURRENT_USER);
    String path = Location.substr(slash + 1);
    if (path.empty() || path.back() != u'\\') path += u'\\';
    if (!reg->OpenKey(path + Name, true)) throw Exception(u"Cannot open registry key " + path + Name);
    return reg;
}

} // namespace

void TCustomComPort::StoreSettings(TStoreType StoreType, const String& StoreTo) {
    try {
        if (StoreType == stRegistry)
            StoreRegistry(*OpenPlace(StoreTo, GetName(), KEY_ALL_ACCESS));
        else {
            TIniFile ini(StoreTo);
            StoreIniFile(ini);
        }
    } catch (...) {
        throw EComPort(CError_StoreFailed);
    }
}

void TCustomComPort::LoadSettings(TStoreType StoreType, const String& LoadFrom) {
    // An open port applies what was loaded once, when the bracket closes;
    // settings loaded before a failure stay set and take effect with it.
    BeginUpdate();
    try {
        if (StoreType == stRegistry)
            LoadRegistry(*OpenPlace(LoadFrom, GetName(), KEY_READ));
        else {
            TIniFile ini(LoadFrom);
            LoadIniFile(ini);
        }
    } catch (...) {
        try {
            EndUpdate();
        } catch (...) {
        }
        throw EComPort(CError_LoadFailed);
    }
    try {
        EndUpdate();
    } catch (...) {
        throw EComPort(CError_LoadFailed);
    }
}

void TCustomComPort::StoreRegistry(TRegistry& Reg) {
    RegistryPlace place(&Reg);
    StoreTo(*this, place);
}

void TCustomComPort::StoreIniFile(TIniFile& IniFile) {
    IniPlace place(&IniFile, GetName());
    StoreTo(*this, place);
}

void TCustomComPort::LoadRegistry(TRegistry& Reg) {
    RegistryPlace place(&Reg);
    LoadFrom(*this, place);
}

void TCustomComPort::LoadIniFile(TIniFile& IniFile) {
    IniPlace place(&IniFile, GetName());
    LoadFrom(*this, place);
}
