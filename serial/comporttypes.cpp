#include "serial/comporttypes.h"

#include "platform/win32/comm.h"

#include <algorithm>

namespace {

// Win32 event bit of each TComEvent, in value order.
constexpr std::uint32_t kEventBits[] = {EV_RXCHAR, EV_TXEMPTY, EV_RXFLAG, EV_RING, EV_BREAK,
                                        EV_CTS,    EV_DSR,     EV_ERR,    EV_RLSD, EV_RX80FULL};

} // namespace

std::uint32_t EventsToInt(TComEvents Events) {
    std::uint32_t mask = 0;
    for (int e = evRxChar; e <= evRx80Full; ++e)
        if (Events.Contains(static_cast<TComEvent>(e))) mask |= kEventBits[e];
    return mask;
}

TComEvents IntToEvents(std::uint32_t Mask) {
    TComEvents events;
    for (int e = evRxChar; e <= evRx80Full; ++e)
        if (Mask & kEventBits[e]) events.Include(static_cast<TComEvent>(e));
    return events;
}

String ComErrorsToStr(TComErrors Errors) {
    static const char16_t* const names[] = {u"Frame", u"Parity", u"Overrun", u"Break",
                                            u"IO",    u"Mode",   u"RxOver",  u"TxFull"};
    if (Errors.Empty()) return u"<Ok>";
    String text = u"<ComError:";
    bool first = true;
    for (int e = ceFrame; e <= ceTxFull; ++e) {
        if (!Errors.Contains(static_cast<TComError>(e))) continue;
        if (!first) text += u',';
        text += names[e];
        first = false;
    }
    return text + u">";
}

template <>
const EnumInfo& EnumInfoOf<TBaudRate>() {
    static const EnumInfo info{"TBaudRate",
                               {"brCustom", "br110", "br300", "br600", "br1200", "br2400", "br4800", "br9600",
                                "br14400", "br19200", "br38400", "br56000", "br57600", "br115200", "br128000",
                                "br256000"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TStopBits>() {
    static const EnumInfo info{"TStopBits", {"sbOneStopBit", "sbOne5StopBits", "sbTwoStopBits"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TDataBits>() {
    static const EnumInfo info{"TDataBits", {"dbFive", "dbSix", "dbSeven", "dbEight"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TParityBits>() {
    static const EnumInfo info{"TParityBits", {"prNone", "prOdd", "prEven", "prMark", "prSpace"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TDTRFlowControl>() {
    static const EnumInfo info{"TDTRFlowControl", {"dtrDisable", "dtrEnable", "dtrHandshake"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TRTSFlowControl>() {
    static const EnumInfo info{"TRTSFlowControl", {"rtsDisable", "rtsEnable", "rtsHandshake", "rtsToggle"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TFlowControl>() {
    static const EnumInfo info{"TFlowControl", {"fcHardware", "fcSoftware", "fcNone", "fcCustom"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TComEvent>() {
    static const EnumInfo info{"TComEvent",
                               {"evRxChar", "evTxEmpty", "evRxFlag", "evRing", "evBreak", "evCTS", "evDSR",
                                "evError", "evRLSD", "evRx80Full"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TSyncMethod>() {
    static const EnumInfo info{"TSyncMethod", {"smThreadSync", "smWindowSync", "smNone", "smDisableEvents"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TStoredProp>() {
    static const EnumInfo info{
        "TStoredProp", {"spBasic", "spFlowControl", "spBuffer", "spTimeouts", "spParity", "spOthers"}};
    return info;
}

std::size_t IncompleteCharTail(std::string_view Bytes) {
    const std::size_t n = Bytes.size();
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, n); ++back) {
        const auto c = static_cast<unsigned char>(Bytes[n - back]);
        if ((c & 0xC0) == 0x80) continue; // a continuation byte: look further back
        const std::size_t length = (c & 0xE0) == 0xC0   ? 2
                                   : (c & 0xF0) == 0xE0 ? 3
                                   : (c & 0xF8) == 0xF0 ? 4
                                                        : 1;
        return length > back ? back : 0;
    }
    return 0;
}
