// Errors, settings objects, setting texts and the port list.

#include "serial/comport.h"

#include "tests/serial/fakeport.h"
#include "tests/serial/portlist.h"
#include "tests/support/streamtext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

TEST(ComPortErrors, CodesTextsAndMessages) {
    const char16_t* expected[] = {u"Unable to open com port",
                                  u"WriteFile function failed",
                                  u"ReadFile function failed",
                                  u"Invalid Async parameter",
                                  u"PurgeComm function failed",
                                  u"Unable to get async status",
                                  u"SetCommState function failed",
                                  u"SetCommTimeouts failed",
                                  u"SetupComm function failed",
                                  u"ClearCommError function failed",
                                  u"GetCommModemStatus function failed",
                                  u"EscapeCommFunction function failed",
                                  u"TransmitCommChar function failed",
                                  u"Cannot set property while connected",
                                  u"EnumPorts function failed",
                                  u"Failed to store settings",
                                  u"Failed to load settings",
                                  u"Link (un)registration failed",
                                  u"Cannot change led state if ComPort is selected",
                                  u"Cannot wait for event if event thread is created",
                                  u"WaitForEvent method failed",
                                  u"A component is linked to OnRxBuf event",
                                  u"Registry error"};
    for (int code = 1; code <= 23; ++code) {
        EXPECT_EQ(ComErrorMessage(code), expected[code - 1]);
        const EComPort withPort(code, 5, u"COM7");
        EXPECT_EQ(withPort.Message(), String(u"COM Port Error: ") + expected[code - 1] + u" on COM7");
        EXPECT_EQ(withPort.GetCode(), code);
        EXPECT_EQ(withPort.GetWinCode(), 5);
    }
    EXPECT_EQ(ComErrorMessage(24), u"Unknown Error #24");
    EXPECT_EQ(ComErrorMessage(0), u"Unknown Error #0");
    const EComPort bare(CError_ConnChangeProp);
    EXPECT_EQ(bare.Message(), u"COM Port Error: Cannot set property while connected");
    EXPECT_EQ(bare.GetWinCode(), -1);
    EXPECT_EQ(EComPort(CError_SetStateFailed, 87, u"COM2").Message(),
              u"COM Port Error: SetCommState function failed on COM2");
}

TEST(ComPortSettings, BufferKeepsEvenSizes) {
    TComBuffer buffer;
    buffer.SetInputSize(1025);
    EXPECT_EQ(buffer.GetInputSize(), 1024);
    buffer.SetOutputSize(7);
    EXPECT_EQ(buffer.GetOutputSize(), 6);
    buffer.SetInputSize(0);
    EXPECT_EQ(buffer.GetInputSize(), 0);
    buffer.SetInputSize(-3);
    EXPECT_EQ(buffer.GetInputSize(), -3);
}

TEST(ComPortSettings, FlowControlSummaryReadsAndWrites) {
    TComFlowControl flow;
    EXPECT_EQ(flow.GetFlowControl(), fcNone);
    flow.SetFlowControl(fcHardware);
    EXPECT_EQ(flow.GetControlRTS(), rtsHandshake);
    EXPECT_TRUE(flow.GetOutCTSFlow());
    EXPECT_EQ(flow.GetFlowControl(), fcHardware);
    flow.SetXonXoffIn(true);
    EXPECT_EQ(flow.GetFlowControl(), fcCustom);
    flow.SetControlDTR(dtrHandshake);
    flow.SetFlowControl(fcSoftware);
    EXPECT_EQ(flow.GetControlRTS(), rtsDisable);
    EXPECT_FALSE(flow.GetOutCTSFlow());
    EXPECT_TRUE(flow.GetXonXoffIn() && flow.GetXonXoffOut());
    EXPECT_EQ(flow.GetControlDTR(), dtrHandshake); // never touched by the summary
    EXPECT_EQ(flow.GetFlowControl(), fcSoftware);
    flow.SetXonXoffOut(false);
    EXPECT_EQ(flow.GetFlowControl(), fcCustom);
    flow.SetFlowControl(fcCustom); // changes nothing
    EXPECT_TRUE(flow.GetXonXoffIn());
    flow.SetFlowControl(fcNone);
    EXPECT_EQ(flow.GetFlowControl(), fcNone);
    flow.SetControlRTS(rtsEnable);
    EXPECT_EQ(flow.GetFlowControl(), fcCustom);
}

TEST(ComPortSettings, AssignCopiesWithinTheClassOnly) {
    TComParity a, b;
    a.SetBits(prMark);
    a.SetCheck(true);
    a.SetReplaceChar('?');
    b.Assign(&a);
    EXPECT_EQ(b.GetBits(), prMark);
    EXPECT_TRUE(b.GetCheck());
    EXPECT_EQ(b.GetReplaceChar(), '?');
    TComTimeouts t1, t2;
    t1.SetReadInterval(5);
    t1.SetWriteTotalConstant(7);
    t2.Assign(&t1);
    EXPECT_EQ(t2.GetReadInterval(), 5);
    EXPECT_EQ(t2.GetWriteTotalConstant(), 7);
    TComBuffer buffer;
    EXPECT_THROW(buffer.Assign(&a), EConvertError);
}

TEST(ComPortTexts, ConversionsBothWays) {
    EXPECT_EQ(StrToBaudRate(u"115200"), br115200);
    EXPECT_EQ(StrToBaudRate(u""), br9600);
    EXPECT_EQ(StrToBaudRate(u"12"), br9600);
    EXPECT_EQ(StrToBaudRate(u"custom"), brCustom);
    EXPECT_EQ(StrToBaudRate(u" 4800"), br9600); // no trimming
    EXPECT_EQ(StrToStopBits(u"1.5"), sbOne5StopBits);
    EXPECT_EQ(StrToDataBits(u"9"), dbEight);
    EXPECT_EQ(StrToParity(u"none"), prNone);
    EXPECT_EQ(StrToParity(u"SPACE"), prSpace);
    EXPECT_EQ(StrToFlowControl(u"soft"), fcCustom);
    EXPECT_EQ(StrToFlowControl(u"Hardware"), fcHardware);
    EXPECT_EQ(StrToDTR(u"handshake"), dtrHandshake);
    EXPECT_EQ(StrToRTS(u"toggle"), rtsToggle);
    EXPECT_EQ(BaudRateToStr(brCustom), u"Custom");
    EXPECT_EQ(BaudRateToInt(brCustom), 0);
    EXPECT_EQ(BaudRateToInt(br256000), 256000);
    for (int b = brCustom; b <= br256000; ++b)
        EXPECT_EQ(StrToBaudRate(BaudRateToStr(static_cast<TBaudRate>(b))), b);
    EXPECT_EQ(StopBitsToStr(sbTwoStopBits), u"2");
    EXPECT_EQ(ParityToStr(prEven), u"Even");
    EXPECT_EQ(FlowControlToStr(fcNone), u"None");
    EXPECT_EQ(RTSToStr(rtsHandshake), u"Handshake");
}

namespace {

class PortList : public ::testing::Test {
protected:
    TempPortList ports{"portlist"};
};

} // namespace

TEST_F(PortList, NamesAreSortedAsTheStringListSorts) {
    ports.Register("COM3\nCOM1\nCOM10\n");
    TStringList list;
    list.Add(u"stale");
    EnumComPorts(&list);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list[0], u"COM1");
    EXPECT_EQ(list[1], u"COM10");
    EXPECT_EQ(list[2], u"COM3");
}

TEST_F(PortList, EmptyKeyGivesNoPortsAndMissingKeyRaises) {
    TStringList list;
    list.Add(u"kept");
    EnumComPorts(&list);
    EXPECT_EQ(list.GetCount(), 0);
    list.Add(u"kept");
    ports.RemoveKey();
    try {
        EnumComPorts(&list);
        FAIL() << "no error";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.GetCode(), CError_RegError);
        EXPECT_EQ(e.GetWinCode(), 2);
        EXPECT_EQ(e.Message(), u"COM Port Error: Registry error on registry read");
    }
    EXPECT_EQ(list.GetCount(), 1);
}

// A name takes 128 UTF-16 units with its NUL at most; a longer one is left
// out and the rest are listed.
TEST_F(PortList, NamesTooLongForTheListAreSkipped) {
    std::string fits, tooLong;
    for (int i = 0; i < 127; ++i) fits += "\u042F"; // one UTF-16 unit, two UTF-8 bytes
    for (int i = 0; i < 128; ++i) tooLong += "x";
    ports.Register("COM2\n" + tooLong + "\n" + fits + "\n" + std::string(1000, 'y') + "\nCOM1\n");
    TStringList list;
    EnumComPorts(&list);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list[0], u"COM1");
    EXPECT_EQ(list[1], u"COM2");
    EXPECT_EQ(list[2], String(127, u'\u042F'));
}

// ---------------------------------------------------------------------------
// Settings reach the device

using ComPortSetup = FakePortTest;

// A new port's defaults are pinned by what its first open sends.
TEST_F(ComPortSetup, OpenSequenceAndTheApplicationsDcb) {
    EXPECT_TRUE(comm.Names().empty()); // nothing reaches the device before Open
    EXPECT_FALSE(port->GetConnected());
    // The application's port: 8 data bits, no parity, 2 stop bits, NULs discarded.
    port->SetStopBits(sbTwoStopBits);
    port->SetDiscardNull(true);
    port->Open();
    EXPECT_TRUE(port->GetConnected());
    const auto calls = comm.Calls();
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls[0].name, "CreateFileW");
    EXPECT_EQ(calls[0].path, u"\\\\.\\COM1");
    EXPECT_EQ(calls[0].args, (std::vector<std::int64_t>{GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING,
                                                        FILE_FLAG_OVERLAPPED}));
    EXPECT_EQ(calls[1].name, "SetupComm");
    EXPECT_EQ(calls[1].args, (std::vector<std::int64_t>{1024, 1024}));
    EXPECT_EQ(calls[2].name, "SetCommState");
    EXPECT_EQ(calls[3].name, "SetCommTimeouts");
    EXPECT_EQ(calls[3].args, (std::vector<std::int64_t>{MAXDWORD, 0, 0, 100, 1000}));
    EXPECT_EQ(calls[4].name, "SetCommMask");
    EXPECT_EQ(calls[4].args, (std::vector<std::int64_t>{0x05FF}));

    const unsigned char expected[28] = {0x1C, 0,    0, 0,    0x80, 0x25, 0, 0,    0x01, 0x08, 0, 0, 0, 0,
                                        0,    0x01, 0, 0x01, 8,    0,    2, 0x11, 0x13, 0,    0, 0, 0, 0};
    unsigned char bytes[28];
    const DCB dcb = calls[2].dcb;
    std::memcpy(bytes, &dcb, sizeof bytes);
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 28),
              std::vector<unsigned char>(expected, expected + 28));
}

TEST_F(ComPortSetup, SettersApplyOnlyChangesAndUpdatesBracketThem) {
    port->Open();
    comm.ClearLog();
    port->SetBaudRate(br9600);
    EXPECT_TRUE(comm.NamesWithout("WaitCommEvent").empty());
    port->SetBaudRate(br19200);
    EXPECT_EQ(comm.NamesWithout("WaitCommEvent"), std::vector<std::string>{"SetCommState"});
    EXPECT_EQ(LastDcb().BaudRate, 19200u);

    comm.ClearLog();
    port->BeginUpdate();
    port->SetDataBits(dbSeven);
    port->GetTimeouts()->SetReadTotalConstant(50);
    port->GetBuffer()->SetInputSize(4096);
    EXPECT_TRUE(comm.NamesWithout("WaitCommEvent").empty());
    port->EndUpdate();
    EXPECT_EQ(comm.NamesWithout("WaitCommEvent"),
              (std::vector<std::string>{"SetupComm", "SetCommState", "SetCommTimeouts"}));
    EXPECT_EQ(LastDcb().ByteSize, 7);
    port->EndUpdate(); // unbalanced: nothing happens
    EXPECT_EQ(comm.NamesWithout("WaitCommEvent").size(), 3u);
}

TEST_F(ComPortSetup, DcbFields) {
    port->Open();
    port->GetBuffer()->SetInputSize(1025);
    port->GetBuffer()->SetInputSize(2050);
    EXPECT_EQ(port->GetBuffer()->GetInputSize(), 2050);
    port->SetDiscardNull(true); // the DCB again, with the new queue size
    EXPECT_EQ(LastDcb().XonLim, 512);
    EXPECT_EQ(LastDcb().XoffLim, 512);

    port->SetCustomBaudRate(31250);
    port->SetBaudRate(brCustom);
    EXPECT_EQ(LastDcb().BaudRate, 31250u);

    port->GetParity()->SetReplace(true);
    port->GetParity()->SetReplaceChar('?');
    EXPECT_EQ(LastDcb().fParity, 0u);
    EXPECT_EQ(LastDcb().fErrorChar, 0u);
    EXPECT_EQ(LastDcb().ErrorChar, 0);
    port->GetParity()->SetCheck(true);
    EXPECT_EQ(LastDcb().fParity, 1u);
    EXPECT_EQ(LastDcb().fErrorChar, 1u);
    EXPECT_EQ(LastDcb().ErrorChar, '?');

    port->GetFlowControl()->SetFlowControl(fcHardware);
    EXPECT_EQ(LastDcb().fRtsControl, RTS_CONTROL_HANDSHAKE);
    EXPECT_EQ(LastDcb().fOutxCtsFlow, 1u);
    port->GetFlowControl()->SetControlDTR(dtrEnable);
    port->GetFlowControl()->SetXonXoffIn(true);
    port->SetEventChar('\n');
    const DCB d = LastDcb();
    EXPECT_EQ(d.fDtrControl, DTR_CONTROL_ENABLE);
    EXPECT_EQ(d.fInX, 1u);
    EXPECT_EQ(d.fOutX, 0u);
    EXPECT_EQ(d.EvtChar, '\n');
    EXPECT_EQ(d.fBinary, 1u);
    EXPECT_EQ(d.fAbortOnError, 0u);

    port->GetTimeouts()->SetWriteTotalConstant(-1);
    EXPECT_EQ(comm.Last("SetCommTimeouts")->timeouts.WriteTotalTimeoutConstant, MAXDWORD);
}

TEST_F(ComPortSetup, OpenFailuresLeaveThePortClosed) {
    comm.FailNext("CreateFileW", ERROR_FILE_NOT_FOUND);
    const EComPort e = Raised([&] { port->Open(); });
    EXPECT_EQ(e.GetCode(), CError_OpenFailed);
    EXPECT_EQ(e.GetWinCode(), 2);
    EXPECT_EQ(e.Message(), u"COM Port Error: Unable to open com port on COM1");
    EXPECT_FALSE(port->GetConnected());
    EXPECT_EQ(comm.Names(), std::vector<std::string>{"CreateFileW"});

    comm.ClearLog();
    comm.FailNext("SetCommState", ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Raised([&] { port->Open(); }).GetCode(), CError_SetStateFailed);
    EXPECT_FALSE(port->GetConnected());
    EXPECT_EQ(port->GetEventThread(), nullptr);
    EXPECT_EQ(comm.Names(),
              (std::vector<std::string>{"CreateFileW", "SetupComm", "SetCommState", "CloseHandle"}));
    EXPECT_EQ(comm.OpenDevices(), 0);
}

TEST_F(ComPortSetup, OpenAndCloseTwiceDoNothingMore) {
    int opened = 0, closed = 0;
    port->OnAfterOpen.Bind([&](TObject*) { ++opened; });
    port->OnAfterClose.Bind([&](TObject*) { ++closed; });
    port->Close();
    port->Open();
    port->Open();
    EXPECT_EQ(comm.Count("CreateFileW"), 1u);
    port->Close();
    port->Close();
    EXPECT_EQ(comm.Count("CloseHandle"), 1u);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(closed, 1);
    port->SetConnected(true);
    EXPECT_TRUE(port->GetConnected());
    port->SetConnected(false);
    EXPECT_FALSE(port->GetConnected());
}

TEST_F(ComPortSetup, NoEventsNoThread) {
    port->SetEvents({});
    port->Open();
    EXPECT_FALSE(port->GetThreadCreated());
    EXPECT_EQ(port->GetEventThread(), nullptr);
    EXPECT_EQ(comm.Count("SetCommMask"), 0u);
    EXPECT_EQ(comm.Count("WaitCommEvent"), 0u);
}

TEST_F(ComPortSetup, PropertiesGuardedWhileConnected) {
    port->SetSyncMethod(smNone);
    port->SetEventThreadPriority(tpLowest);
    port->Open();
    ASSERT_NE(port->GetEventThread(), nullptr);
    EXPECT_EQ(port->GetEventThread()->GetPriority(), tpLowest); // the thread runs as asked
    const EComPort e = Raised([&] { port->SetSyncMethod(smWindowSync); });
    EXPECT_EQ(e.GetCode(), CError_ConnChangeProp);
    EXPECT_EQ(e.GetWinCode(), -1);
    EXPECT_EQ(port->GetSyncMethod(), smNone);
    port->SetSyncMethod(smNone); // the same value is no change
    EXPECT_EQ(Raised([&] { port->SetEventThreadPriority(tpHigher); }).GetCode(), CError_ConnChangeProp);
    port->SetOverlapped(false);
    EXPECT_TRUE(port->GetOverlapped());
    port->Close();
    port->SetSyncMethod(smWindowSync);
    EXPECT_EQ(port->GetSyncMethod(), smWindowSync);
}

TEST_F(ComPortSetup, ChangingThePortNameReopens) {
    port->Open();
    comm.ClearLog();
    port->SetPort(u"COM1");
    EXPECT_EQ(comm.Count("CreateFileW"), 0u);
    port->SetPort(u"/dev/pts/99");
    EXPECT_EQ(comm.Count("CloseHandle"), 1u);
    EXPECT_EQ(comm.Last("CreateFileW")->path, u"\\\\.\\/dev/pts/99");
    EXPECT_TRUE(port->GetConnected());
}

TEST_F(ComPortSetup, LoadedOpensAndHandsErrorsOn) {
    port->IncludeState(csLoading);
    port->SetConnected(true);
    EXPECT_EQ(comm.Count("CreateFileW"), 0u);
    port->Loaded();
    EXPECT_TRUE(port->GetConnected());
    port->Close();
    port->IncludeState(csLoading);
    port->SetConnected(true);
    comm.FailNext("CreateFileW", ERROR_FILE_NOT_FOUND);
    EXPECT_NO_THROW(port->Loaded()); // the form still loads
    EXPECT_FALSE(port->GetConnected());
}

TEST_F(ComPortSetup, PublishedPropertiesForFormResources) {
    const ClassInfo& ci = TComPort::StaticClass();
    std::vector<std::string_view> names;
    for (const PropInfo* p : ci.AllProps()) names.push_back(p->name);
    const auto connected = std::find(names.begin(), names.end(), "Connected");
    ASSERT_EQ(std::distance(connected, names.end()), 28);
    EXPECT_EQ(connected[12], "SyncMethod");
    EXPECT_EQ(names.back(), "OnRx80Full");
    EXPECT_EQ(std::find(names.begin(), names.end(), "CustomBaudRate"), names.end());
    SetEnumProp(*port, "StopBits", "sbTwoStopBits");
    SetOrdProp(*port, "DiscardNull", 1);
    EXPECT_EQ(port->GetStopBits(), sbTwoStopBits);
    EXPECT_TRUE(port->GetDiscardNull());
    TObject* flow = GetObjectProp(*port, "FlowControl");
    ASSERT_EQ(flow, port->GetFlowControl());
    SetEnumProp(*flow, "ControlRTS", "rtsHandshake");
    EXPECT_EQ(port->GetFlowControl()->GetControlRTS(), rtsHandshake);
    EXPECT_EQ(GetOrdProp(*flow, "XoffChar"), 19);
    EXPECT_EQ(GetOrdProp(*port, "Events"), 0x3FF);
}

TEST_F(ComPortSetup, FormResourcesWriteWhatIsStoredAndReadItBack) {
    port->SetName(u"ComPort");
    port->SetStopBits(sbTwoStopBits);
    port->SetDiscardNull(true);
    const std::string text = streamtext::ObjectText(port.get());
    // Written whatever their values: the settings without a stored default.
    for (const char* line : {"BaudRate = br9600", "Port = 'COM1'", "Parity.Bits = prNone",
                             "StopBits = sbTwoStopBits", "DataBits = dbEight", "DiscardNull = True",
                             "Events = [evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, "
                             "evError, evRLSD, evRx80Full]",
                             "FlowControl.OutCTSFlow = False", "FlowControl.OutDSRFlow = False",
                             "FlowControl.ControlDTR = dtrDisable", "FlowControl.ControlRTS = rtsDisable",
                             "FlowControl.XonXoffOut = False", "FlowControl.XonXoffIn = False"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    // Left out at their defaults, and never: the derived summary and what is not published.
    for (const char* name :
         {"Connected", "EventChar", "Buffer.", "Timeouts.", "SyncMethod", "Parity.Check", "Parity.Replace",
          "XonChar", "XoffChar", "DSRSensitivity", "TxContinueOnXoff", "FlowControl.FlowControl",
          "CustomBaudRate", "TriggersOnRxChar", "Overlapped", "StoredProps", "EventThreadPriority"})
        EXPECT_EQ(text.find(name), std::string::npos) << name << "\n" << text;

    port->SetEventChar('\n');
    port->SetSyncMethod(smWindowSync);
    port->SetEvents({evRxChar});
    port->GetBuffer()->SetInputSize(4096);
    port->GetTimeouts()->SetReadInterval(20);
    port->GetTimeouts()->SetWriteTotalConstant(0);
    port->GetParity()->SetCheck(true);
    port->GetParity()->SetReplaceChar('?');
    port->GetFlowControl()->SetFlowControl(fcHardware);
    port->GetFlowControl()->SetXoffChar(0x14);
    TMemoryStream binary;
    binary.WriteComponent(port.get());
    binary.SetPosition(0);
    Owned<TComPort> read{Create<TComPort>(nullptr)};
    binary.ReadComponent(read.get());
    EXPECT_EQ(read->GetStopBits(), sbTwoStopBits);
    EXPECT_TRUE(read->GetDiscardNull());
    EXPECT_EQ(read->GetEventChar(), '\n');
    EXPECT_EQ(read->GetSyncMethod(), smWindowSync);
    EXPECT_EQ(read->GetEvents(), TComEvents{evRxChar});
    EXPECT_EQ(read->GetBuffer()->GetInputSize(), 4096);
    EXPECT_EQ(read->GetTimeouts()->GetReadInterval(), 20);
    EXPECT_EQ(read->GetTimeouts()->GetWriteTotalConstant(), 0);
    EXPECT_TRUE(read->GetParity()->GetCheck());
    EXPECT_EQ(read->GetParity()->GetReplaceChar(), '?');
    EXPECT_EQ(read->GetFlowControl()->GetFlowControl(), fcHardware);
    EXPECT_EQ(read->GetFlowControl()->GetXoffChar(), 0x14);
    EXPECT_FALSE(read->GetConnected());
    EXPECT_EQ(comm.Count("CreateFileW"), 0u);
}
