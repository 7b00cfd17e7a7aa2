#pragma once
// The serial port library's enumerations, sets and event types, and the
// conversions between event sets and the Win32 event mask.

#include "platform/core/system.h"

#include <string_view>

enum TBaudRate : std::uint8_t {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TStopBits : std::uint8_t { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits : std::uint8_t { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits : std::uint8_t { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl : std::uint8_t { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl : std::uint8_t { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl : std::uint8_t { fcHardware, fcSoftware, fcNone, fcCustom };
enum TComEvent : std::uint8_t {
    evRxChar,
    evTxEmpty,
    evRxFlag,
    evRing,
    evBreak,
    evCTS,
    evDSR,
    evError,
    evRLSD,
    evRx80Full
};
using TComEvents = Set<TComEvent>;
enum TSyncMethod : std::uint8_t { smThreadSync, smWindowSync, smNone, smDisableEvents };
enum TStoredProp : std::uint8_t { spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers };
using TStoredProps = Set<TStoredProp>;
enum TStoreType : std::uint8_t { stRegistry, stIniFile };

enum TComSignal : std::uint8_t { csCTS, csDSR, csRing, csRLSD };
using TComSignals = Set<TComSignal>;
enum TComError : std::uint8_t { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
using TComErrors = Set<TComError>;
// The status bits of the driver's COMSTAT, in its bit order.
enum TComStateFlag : std::uint8_t { fsCTSHold, fsDSRHold, fsRLSDHold, fsXOffHold, fsXOffSent, fsEof, fsTxim };
using TComStateFlags = Set<TComStateFlag>;

using TRxCharEvent = Event<void(TObject* Sender, Integer Count)>;
using TRxBufEvent = Event<void(TObject* Sender, const AnsiChar* Buffer, Integer Count)>;
using TComSignalEvent = Event<void(TObject* Sender, bool OnOff)>;
using TComErrorEvent = Event<void(TObject* Sender, TComErrors Errors)>;

inline constexpr TComEvents AllComEvents{evRxChar, evTxEmpty, evRxFlag, evRing, evBreak,
                                         evCTS,    evDSR,     evError,  evRLSD, evRx80Full};

// The Win32 event mask of a set of events, and back.
std::uint32_t EventsToInt(TComEvents Events);
TComEvents IntToEvents(std::uint32_t Mask);
// "<Ok>", or "<ComError:" and the members' names joined by "," and ">".
String ComErrorsToStr(TComErrors Errors);
// How many bytes at the end of a received block begin a character that is not
// complete yet (the next block brings the rest); 0 when the last one is whole.
std::size_t IncompleteCharTail(std::string_view Bytes);

template <>
const EnumInfo& EnumInfoOf<TBaudRate>();
template <>
const EnumInfo& EnumInfoOf<TStopBits>();
template <>
const EnumInfo& EnumInfoOf<TDataBits>();
template <>
const EnumInfo& EnumInfoOf<TParityBits>();
template <>
const EnumInfo& EnumInfoOf<TDTRFlowControl>();
template <>
const EnumInfo& EnumInfoOf<TRTSFlowControl>();
template <>
const EnumInfo& EnumInfoOf<TFlowControl>();
template <>
const EnumInfo& EnumInfoOf<TComEvent>();
template <>
const EnumInfo& EnumInfoOf<TSyncMethod>();
template <>
const EnumInfo& EnumInfoOf<TStoredProp>();
