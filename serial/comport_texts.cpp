// Setting texts, their conversions and the list of installed ports.

#include "serial/comport.h"

#include "platform/win32/registry.h"

#include <cstring>
#include <iterator>

namespace {

const char16_t* const kBaudRateTexts[] = {u"Custom", u"110",    u"300",    u"600",   u"1200",  u"2400",
                                          u"4800",   u"9600",   u"14400",  u"19200", u"38400", u"56000",
                                          u"57600",  u"115200", u"128000", u"256000"};
const Integer kBaudRates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                              14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
const char16_t* const kStopBitsTexts[] = {u"1", u"1.5", u"2"};
const char16_t* const kDataBitsTexts[] = {u"5", u"6", u"7", u"8"};
const char16_t* const kParityTexts[] = {u"None", u"Odd", u"Even", u"Mark", u"Space"};
const char16_t* const kFlowControlTexts[] = {u"Hardware", u"Software", u"None", u"Custom"};
const char16_t* const kDTRTexts[] = {u"Disable", u"Enable", u"Handshake"};
const char16_t* const kRTSTexts[] = {u"Disable", u"Enable", u"Handshake", u"Toggle"};

template <class E, std::size_t N>
E FromText(const char16_t* const (&texts)[N], const String& Str, E noMatch) {
    const String wanted = UpperCase(Str);
    for (std::size_t i = 0; i < N; ++i)
        if (UpperCase(texts[i]) == wanted) return static_cast<E>(i);
    return noMatch;
}

} // namespace

String BaudRateToStr(TBaudRate BaudRate) {
    return kBaudRateTexts[BaudRate];
}
String StopBitsToStr(TStopBits StopBits) {
    return kStopBitsTexts[StopBits];
}
String DataBitsToStr(TDataBits DataBits) {
    return kDataBitsTexts[DataBits];
}
String ParityToStr(TParityBits Parity) {
    return kParityTexts[Parity];
}
String FlowControlToStr(TFlowControl FlowControl) {
    return kFlowControlTexts[FlowControl];
}
String DTRToStr(TDTRFlowControl DTRFlowControl) {
    return kDTRTexts[DTRFlowControl];
}
String RTSToStr(TRTSFlowControl RTSFlowControl) {
    return kRTSTexts[RTSFlowControl];
}

TBaudRate StrToBaudRate(const String& Str) {
    return FromText(kBaudRateTexts, Str, br9600);
}
TStopBits StrToStopBits(const String& Str) {
    return FromText(kStopBitsTexts, Str, sbOneStopBit);
}
TDataBits StrToDataBits(const String& Str) {
    return FromText(kDataBitsTexts, Str, dbEight);
}
TParityBits StrToParity(const String& Str) {
    return FromText(kParityTexts, Str, prNone);
}
TFlowControl StrToFlowControl(const String& Str) {
    return FromText(kFlowControlTexts, Str, fcCustom);
}
TDTRFlowControl StrToDTR(const String& Str) {
    return FromText(kDTRTexts, Str, dtrDisable);
}
TRTSFlowControl StrToRTS(const String& Str) {
    return FromText(kRTSTexts, Str, rtsDisable);
}

Integer BaudRateToInt(TBaudRate BaudRate) {
    return kBaudRates[BaudRate];
}

void EnumComPorts(TStrings* Ports) {
    const String where = u"registry read";
    HKEY key = nullptr;
    if (const LONG result =
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key);
        result != static_cast<LONG>(ERROR_SUCCESS))
        throw EComPort(CError_RegError, result, where);
    struct KeyCloser {
        HKEY key;
        ~KeyCloser() { RegCloseKey(key); }
    } closer{key};
    TStringList list;
    for (DWORD index = 0;; ++index) {
        WCHAR valueName[256];
        BYTE data[256];
        DWORD nameLength = std::size(valueName), dataLength = sizeof data, type = 0;
        const LONG result =
            RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type, data, &dataLength);
        if (result == static_cast<LONG>(ERROR_NO_MORE_ITEMS)) break;
        // A name longer than the buffers is no port this list can offer; the
        // others still are.
        if (result == static_cast<LONG>(ERROR_MORE_DATA)) continue;
        if (result != static_cast<LONG>(ERROR_SUCCESS)) throw EComPort(CError_RegError, result, where);
        // The name ends at its NUL, and never past the data the key returned.
        std::u16string name(std::min<DWORD>(dataLength, sizeof data) / sizeof(WCHAR), u'\0');
        std::memcpy(name.data(), data, name.size() * sizeof(WCHAR));
        if (const auto nul = name.find(u'\0'); nul != std::u16string::npos) name.resize(nul);
        list.Add(name);
    }
    list.Sort();
    Ports->Assign(&list);
}
