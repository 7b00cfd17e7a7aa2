// Port I/O and line control over the recording comm fake.

#include "tests/serial/fakeport.h"

#include <thread>

namespace {

class ComPortIo : public FakePortTest {
protected:
    void SetUp() override {
        port->SetEvents({}); // no event thread: the calls below are all the test's
        port->Open();
        comm.ClearLog();
    }
};

} // namespace

TEST_F(ComPortIo, ReadStrTakesWhatTheDriverHolds) {
    AnsiString s = "old";
    EXPECT_EQ(port->ReadStr(s, 1024), 0);
    EXPECT_EQ(s, "");
    comm.QueueInput("12345");
    EXPECT_EQ(port->ReadStr(s, 1024), 5);
    EXPECT_EQ(s, "12345");
    comm.QueueInput("abc");
    EXPECT_EQ(port->ReadStr(s, 0), 0);
    EXPECT_EQ(s, "");
    EXPECT_EQ(port->ReadStr(s, -4), 0);
    EXPECT_EQ(port->InputCount(), 3);
    char buf[2] = {'x', 'y'};
    EXPECT_EQ(port->Read(buf, 0), 0);
    EXPECT_EQ(buf[0], 'x'); // a zero-length read writes nothing
    EXPECT_EQ(port->Read(buf, 2), 2);
    EXPECT_EQ(std::string(buf, 2), "ab");
}

TEST_F(ComPortIo, WritesReachTheDevice) {
    EXPECT_EQ(port->Write("\x01\x02\x03\x04\x05", 5), 5);
    EXPECT_EQ(port->WriteStr(""), 0);
    EXPECT_EQ(port->WriteStr("ok"), 2);
    EXPECT_EQ(comm.Written(), "\x01\x02\x03\x04\x05ok");
    EXPECT_EQ(comm.Count("WriteFile"), 2u);
}

TEST_F(ComPortIo, AsynchronousWritesCanBeAborted) {
    TComPortAsyncPtr async;
    EXPECT_EQ(Raised([&] { port->WriteAsync("x", 1, nullptr); }).GetCode(), CError_InvalidAsync);
    ComInitAsync(async);
    TComPortAsync* const record = async.get();
    ComInitAsync(async);
    EXPECT_EQ(async.get(), record); // made once, then reused
    comm.HoldWrites(true);
    EXPECT_EQ(port->WriteStrAsync("hello", async.get()), 0);
    EXPECT_FALSE(port->IsAsyncCompleted(async.get()));
    EXPECT_EQ(port->OutputCount(), 5);
    port->AbortAllAsync();
    EXPECT_EQ(comm.Last("PurgeComm")->args[0], PURGE_TXABORT | PURGE_RXABORT);
    const EComPort e = Raised([&] { port->IsAsyncCompleted(async.get()); });
    EXPECT_EQ(e.GetCode(), CError_AsyncCheck);
    EXPECT_EQ(e.GetWinCode(), static_cast<Integer>(ERROR_OPERATION_ABORTED));
    EXPECT_EQ(Raised([&] { port->WaitForAsync(async.get()); }).GetCode(), CError_WriteFailed);
    comm.HoldWrites(false);
    ComCleanupAsync(async);
    EXPECT_EQ(async, nullptr);
}

TEST_F(ComPortIo, ReadsTheDriverRefusesAreReportedNotAwaited) {
    comm.FailNext("ReadFile", ERROR_INVALID_PARAMETER);
    AnsiString s;
    const EComPort e = Raised([&] { port->ReadStr(s, 10); });
    EXPECT_EQ(e.GetCode(), CError_ReadFailed);
    EXPECT_EQ(e.GetWinCode(), static_cast<Integer>(ERROR_INVALID_PARAMETER));
    TComPortAsyncPtr async;
    ComInitAsync(async);
    char buf[4];
    comm.FailNext("ReadFile", ERROR_INVALID_PARAMETER);
    EXPECT_EQ(port->ReadAsync(buf, 4, async.get()), 0); // the asynchronous start only reports 0
}

TEST_F(ComPortIo, LineStateAndControl) {
    comm.SetCommErrors(CE_RXPARITY | CE_FRAME);
    EXPECT_EQ(port->LastErrors(), TComErrors{ceFrame});
    EXPECT_EQ(port->LastErrors(), TComErrors{}); // reading clears them
    port->GetParity()->SetCheck(true);
    comm.SetCommErrors(CE_RXPARITY | CE_BREAK | CE_TXFULL);
    EXPECT_EQ(port->LastErrors(), (TComErrors{ceRxParity, ceBreak, ceTxFull}));

    comm.SetModemStatus(MS_CTS_ON | MS_RLSD_ON);
    EXPECT_EQ(port->Signals(), (TComSignals{csCTS, csRLSD}));
    comm.SetModemStatus(MS_DSR_ON | MS_RING_ON);
    EXPECT_EQ(port->Signals(), (TComSignals{csDSR, csRing}));

    comm.ClearLog();
    port->SetBreak(true);
    port->SetDTR(false);
    port->SetRTS(true);
    port->SetXonXoff(true);
    port->SetXonXoff(false);
    port->TransmitChar('Q');
    std::vector<std::int64_t> escapes;
    for (const auto& c : comm.Calls())
        if (c.name == "EscapeCommFunction") escapes.push_back(c.args[0]);
    EXPECT_EQ(escapes, (std::vector<std::int64_t>{SETBREAK, CLRDTR, SETRTS, SETXON, SETXOFF}));
    EXPECT_EQ(comm.Last("TransmitCommChar")->bytes, "Q");

    comm.ClearLog();
    port->ClearBuffer(true, false);
    port->ClearBuffer(false, false); // a request to purge nothing purges nothing
    port->ClearBuffer(false, true);
    EXPECT_EQ(comm.Names(), (std::vector<std::string>{"PurgeComm", "PurgeComm"}));
    EXPECT_EQ(comm.Calls()[0].args[0], PURGE_RXCLEAR);
    EXPECT_EQ(comm.Calls()[1].args[0], PURGE_TXCLEAR);
}

TEST_F(ComPortIo, EachRefusalRaisesItsCode) {
    struct Case {
        const char* call;
        Integer code;
        std::function<void()> action;
    };
    AnsiString s;
    const std::vector<Case> cases = {
        {"WriteFile", CError_WriteFailed, [&] { port->Write("x", 1); }},
        {"ReadFile", CError_ReadFailed, [&] { port->ReadStr(s, 4); }},
        {"PurgeComm", CError_PurgeFailed, [&] { port->ClearBuffer(true, true); }},
        {"SetCommState", CError_SetStateFailed, [&] { port->SetDataBits(dbSix); }},
        {"SetCommTimeouts", CError_TimeoutsFailed, [&] { port->GetTimeouts()->SetReadInterval(10); }},
        {"SetupComm", CError_SetupComFailed, [&] { port->GetBuffer()->SetOutputSize(64); }},
        {"ClearCommError", CError_ClearComFailed, [&] { port->InputCount(); }},
        {"GetCommModemStatus", CError_ModemStatFailed, [&] { port->Signals(); }},
        {"EscapeCommFunction", CError_EscapeComFailed, [&] { port->SetDTR(true); }},
        {"TransmitCommChar", CError_TransmitFailed, [&] { port->TransmitChar('a'); }},
    };
    for (const Case& c : cases) {
        comm.FailNext(c.call, ERROR_GEN_FAILURE);
        const EComPort e = Raised(c.action);
        EXPECT_EQ(e.GetCode(), c.code) << c.call;
        EXPECT_EQ(e.GetWinCode(), static_cast<Integer>(ERROR_GEN_FAILURE)) << c.call;
        EXPECT_EQ(e.Message(), u"COM Port Error: " + ComErrorMessage(c.code) + u" on COM1") << c.call;
    }
    EXPECT_TRUE(port->GetConnected()); // a refused setting keeps the port open
    EXPECT_EQ(port->GetDataBits(), dbSix);
}

TEST_F(ComPortIo, OneOffEventWait) {
    TComEvents events{evRxChar, evCTS};
    std::thread device([&] { comm.CompleteWait(EV_CTS); });
    port->WaitForEvent(events, nullptr, 2000);
    device.join();
    EXPECT_EQ(events, TComEvents{evCTS});
    EXPECT_EQ(comm.Calls()[0].args[0], EV_RXCHAR | EV_CTS);
    EXPECT_EQ(comm.Last("SetCommMask")->args[0], 0);

    events = {evRxChar};
    port->WaitForEvent(events, nullptr, 10); // time-out: nothing happened
    EXPECT_TRUE(events.Empty());

    HANDLE stop = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    events = {evRxChar};
    port->WaitForEvent(events, stop, 2000);
    EXPECT_TRUE(events.Empty());
    CloseHandle(stop);

    comm.FailNext("WaitCommEvent", ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Raised([&] { port->WaitForEvent(events, nullptr, 10); }).GetCode(), CError_WaitFailed);
}

TEST_F(FakePortTest, OneOffEventWaitNeedsAPortWithoutThread) {
    port->Open();
    TComEvents events{evRxChar};
    const EComPort e = Raised([&] { port->WaitForEvent(events, nullptr, 10); });
    EXPECT_EQ(e.GetCode(), CError_ThreadCreated);
    EXPECT_EQ(e.Message(), u"COM Port Error: Cannot wait for event if event thread is created");
}

TEST_F(FakePortTest, WithoutOverlappedIo) {
    port->SetEvents({});
    port->SetOverlapped(false);
    EXPECT_EQ(port->Write("abc", 3), 0); // closed: nothing, and no error
    port->Open();
    EXPECT_EQ(comm.Calls()[0].args[3], 0);
    comm.SetModemStatus(MS_CTS_ON);
    EXPECT_TRUE(port->Signals().Empty()); // no query without overlapped I/O
    EXPECT_EQ(port->Write("abc", 3), 3);
    comm.FailNext("WriteFile", ERROR_GEN_FAILURE);
    EXPECT_EQ(port->Write("abc", 3), 0);
    port->AbortAllAsync();
    EXPECT_EQ(comm.Count("PurgeComm"), 0u);
}
