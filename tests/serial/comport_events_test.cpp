// The event thread and the dispatch of its events, over the recording fake.

#include "tests/serial/fakeport.h"

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

using namespace std::chrono_literals;

namespace {

class ComPortEvents : public FakePortTest {
protected:
    void TearDown() override { port.reset(); } // its handlers use the members below
    // Every handler of the port appends its name here.
    void Record() {
        port->OnRxChar.Bind([this](TObject*, Integer n) { Log("RxChar " + std::to_string(n)); });
        port->OnRxBuf.Bind(
            [this](TObject*, const AnsiChar* b, Integer n) { Log("RxBuf " + std::string(b, n)); });
        port->OnError.Bind([this](TObject*, TComErrors e) { Log("Error " + UTF8Encode(ComErrorsToStr(e))); });
        port->OnTxEmpty.Bind([this](TObject*) { Log("TxEmpty"); });
        port->OnBreak.Bind([this](TObject*) { Log("Break"); });
        port->OnRing.Bind([this](TObject*) { Log("Ring"); });
        port->OnRxFlag.Bind([this](TObject*) { Log("RxFlag"); });
        port->OnRx80Full.Bind([this](TObject*) { Log("Rx80Full"); });
        port->OnCTSChange.Bind([this](TObject*, bool on) { Log(std::string("CTS ") + (on ? "on" : "off")); });
        port->OnDSRChange.Bind([this](TObject*, bool on) { Log(std::string("DSR ") + (on ? "on" : "off")); });
        port->OnRLSDChange.Bind(
            [this](TObject*, bool on) { Log(std::string("RLSD ") + (on ? "on" : "off")); });
        port->OnAfterOpen.Bind([this](TObject*) { Log("AfterOpen"); });
        port->OnBeforeClose.Bind([this](TObject*) { Log("BeforeClose"); });
        port->OnAfterClose.Bind([this](TObject*) { Log("AfterClose"); });
    }
    void Log(std::string s) {
        std::lock_guard lock(m);
        log.push_back(std::move(s));
        threads.push_back(std::this_thread::get_id());
    }
    std::vector<std::string> Logged() {
        std::lock_guard lock(m);
        return log;
    }
    std::size_t LogSize() {
        std::lock_guard lock(m);
        return log.size();
    }
    void ClearLogged() {
        std::lock_guard lock(m);
        log.clear();
        threads.clear();
    }
    // Opens with the handlers recording, the log then empty.
    void OpenRecording() {
        Record();
        port->Open();
        ClearLogged();
    }

    std::mutex m;
    std::vector<std::string> log;
    std::vector<std::thread::id> threads;
};

} // namespace

TEST_F(ComPortEvents, ReceivedBytesAreAnnouncedOnTheMainThread) {
    OpenRecording();
    ASSERT_TRUE(comm.Receive("12345"));
    ASSERT_TRUE(Pump([&] { return LogSize() == 1; }));
    EXPECT_EQ(Logged(), std::vector<std::string>{"RxChar 5"});
    EXPECT_EQ(threads[0], std::this_thread::get_id());
    AnsiString s;
    EXPECT_EQ(port->ReadStr(s, 1024), 5);
    EXPECT_EQ(s, "12345");
}

TEST_F(ComPortEvents, BatchesAreHandledInTheFixedOrder) {
    OpenRecording();
    comm.SetCommErrors(CE_FRAME);
    comm.QueueInput("ab");
    comm.SetModemStatus(MS_CTS_ON | MS_RLSD_ON);
    ASSERT_TRUE(comm.CompleteWait(EV_RLSD | EV_RXFLAG | EV_CTS | EV_RING | EV_RXCHAR | EV_ERR | EV_TXEMPTY |
                                  EV_BREAK | EV_DSR | EV_RX80FULL));
    ASSERT_TRUE(Pump([&] { return LogSize() == 10; }));
    EXPECT_EQ(Logged(),
              (std::vector<std::string>{"Error <ComError:Frame>", "RxChar 2", "TxEmpty", "Break", "Ring",
                                        "CTS on", "DSR off", "RxFlag", "RLSD on", "Rx80Full"}));
}

TEST_F(ComPortEvents, SignalsAreReportedAtOpenAndClose) {
    comm.SetModemStatus(MS_DSR_ON);
    Record();
    port->Open();
    EXPECT_EQ(Logged(), (std::vector<std::string>{"AfterOpen", "CTS off", "DSR on", "RLSD off"}));
    ClearLogged();
    port->Close();
    EXPECT_EQ(Logged(),
              (std::vector<std::string>{"CTS off", "DSR off", "RLSD off", "BeforeClose", "AfterClose"}));
}

TEST_F(ComPortEvents, BufferLinksTakeTheBytes) {
    TComLink link;
    std::string linkGot;
    link.OnRxBuf.Bind([&](TObject* sender, const AnsiChar* b, Integer n) {
        EXPECT_EQ(sender, port.get());
        linkGot.append(b, static_cast<std::size_t>(n));
    });
    port->RegisterLink(&link);
    EXPECT_TRUE(port->GetHasLink());
    EXPECT_FALSE(port->GetTriggersOnRxChar());
    EXPECT_EQ(Raised([&] { port->SetTriggersOnRxChar(true); }).GetCode(), CError_HasLink);
    EXPECT_EQ(Raised([&] { port->RegisterLink(&link); }).GetCode(), CError_RegFailed);
    OpenRecording();
    ASSERT_TRUE(comm.Receive("hello"));
    ASSERT_TRUE(Pump([&] { return LogSize() == 1; }));
    EXPECT_EQ(Logged(), std::vector<std::string>{"RxBuf hello"}); // and no OnRxChar
    EXPECT_EQ(linkGot, "hello");
    port->UnRegisterLink(&link);
    EXPECT_EQ(Raised([&] { port->UnRegisterLink(&link); }).GetCode(), CError_RegFailed);
    EXPECT_FALSE(port->GetHasLink());
}

TEST_F(ComPortEvents, WithoutTriggeringOnlyThePortsBufferHandlerRuns) {
    port->SetTriggersOnRxChar(false);
    OpenRecording();
    ASSERT_TRUE(comm.Receive("xyz"));
    ASSERT_TRUE(Pump([&] { return LogSize() == 1; }));
    EXPECT_EQ(Logged(), std::vector<std::string>{"RxBuf xyz"});
    EXPECT_EQ(port->InputCount(), 0);
}

TEST_F(ComPortEvents, BufferHandlersGetOnlyTheBytesRead) {
    // A handler that runs first takes some of the bytes: the rest is all the
    // buffer handlers see.
    TComLink first, second;
    first.OnRx.Bind([&](TObject*, bool on) {
        AnsiString s;
        if (on) port->ReadStr(s, 2);
    });
    std::vector<std::string> got;
    second.OnRxBuf.Bind([&](TObject*, const AnsiChar* b, Integer n) { got.emplace_back(b, n); });
    port->RegisterLink(&first);
    port->RegisterLink(&second);
    OpenRecording();
    ASSERT_TRUE(comm.Receive("12345"));
    ASSERT_TRUE(Pump([&] { return LogSize() == 1; }));
    EXPECT_EQ(got, std::vector<std::string>{"345"});
    EXPECT_EQ(Logged(), std::vector<std::string>{"RxBuf 345"});
    // All of them taken first: no buffer handler runs with nothing.
    first.OnRx.Bind([&](TObject*, bool on) {
        AnsiString s;
        if (on) port->ReadStr(s, 100);
    });
    ASSERT_TRUE(comm.Receive("67"));
    ASSERT_TRUE(Pump([&] { return comm.WaitPending(0ms); })); // the batch was handled
    EXPECT_EQ(got.size(), 1u);
    port->UnRegisterLink(&first);
    port->UnRegisterLink(&second);
}

TEST_F(ComPortEvents, TransmitBufferHandlersSeeCompletedWritesOnly) {
    TComLink link;
    std::vector<std::string> sent;
    link.OnTxBuf.Bind([&](TObject*, const AnsiChar* b, Integer n) { sent.emplace_back(b, n); });
    port->RegisterLink(&link);
    port->SetEvents({});
    port->Open();
    port->WriteStr("cmd");
    comm.QueueInput("reply");
    AnsiString s;
    port->ReadStr(s, 2); // leaves bytes queued: still nothing was sent
    port->ReadStr(s, 10);
    EXPECT_EQ(sent, std::vector<std::string>{"cmd"});
    port->UnRegisterLink(&link);
}

TEST_F(ComPortEvents, LinksMayLeaveWhileBeingNotified) {
    TComLink a, b;
    int bCalls = 0;
    a.OnConn.Bind([&](TObject*, bool) { port->UnRegisterLink(&b); });
    b.OnConn.Bind([&](TObject*, bool) { ++bCalls; });
    port->RegisterLink(&a);
    port->RegisterLink(&b);
    port->SetEvents({});
    port->Open();
    EXPECT_EQ(bCalls, 0);
    port->UnRegisterLink(&a);
}

TEST_F(ComPortEvents, WindowDispatchSendsOneMessagePerEvent) {
    port->SetSyncMethod(smWindowSync);
    comm.SetModemStatus(MS_RLSD_ON);
    OpenRecording();
    EXPECT_NE(port->GetWindow(), nullptr);
    ASSERT_TRUE(comm.CompleteWait(EV_RLSD));
    ASSERT_TRUE(Pump([&] { return LogSize() == 1; }));
    EXPECT_EQ(Logged(), std::vector<std::string>{"RLSD on"});
    ClearLogged();
    ASSERT_TRUE(comm.CompleteWait(EV_RING));
    ASSERT_TRUE(Pump([&] { return LogSize() == 1; }));
    ASSERT_TRUE(Pump([&] { return comm.WaitPending(0ms); }));
    EXPECT_EQ(Logged(), std::vector<std::string>{"Ring"});
    port->Close();
    EXPECT_EQ(port->GetWindow(), nullptr);
}

TEST_F(ComPortEvents, NoHandlerRunsWhileClosing) {
    for (const TSyncMethod sync : {smWindowSync, smThreadSync}) {
        port->SetSyncMethod(sync);
        OpenRecording();
        ASSERT_TRUE(comm.CompleteWait(EV_RING)); // its dispatch will wait for the main thread
        port->Close(); // serves what waits meanwhile, without handing it to the handlers
        EXPECT_EQ(Logged(),
                  (std::vector<std::string>{"CTS off", "DSR off", "RLSD off", "BeforeClose", "AfterClose"}))
            << sync;
    }
}

TEST_F(ComPortEvents, WindowIsReleasedAlsoWithoutThread) {
    port->SetSyncMethod(smWindowSync);
    port->SetOverlapped(false);
    port->Open();
    EXPECT_FALSE(port->GetThreadCreated());
    EXPECT_NE(port->GetWindow(), nullptr);
    port->Close();
    EXPECT_EQ(port->GetWindow(), nullptr);
}

TEST_F(ComPortEvents, CloseWhileWaitingEndsTheThreadFirst) {
    OpenRecording();
    ASSERT_TRUE(comm.WaitPending());
    comm.ClearLog();
    port->Close();
    EXPECT_EQ(port->GetEventThread(), nullptr);
    const auto calls = comm.Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].name, "PurgeComm");
    EXPECT_EQ(calls[0].args[0], PURGE_TXABORT | PURGE_RXABORT);
    EXPECT_EQ(calls[1].name, "SetCommMask");
    EXPECT_EQ(calls[1].args[0], 0);
    EXPECT_EQ(calls[2].name, "PurgeComm");
    EXPECT_EQ(calls[2].args[0], PURGE_TXCLEAR | PURGE_RXCLEAR);
    EXPECT_EQ(calls[3].name, "CloseHandle");
    EXPECT_EQ(Logged().back(), "AfterClose");
    const std::size_t n = LogSize();
    CheckSynchronize(20);
    EXPECT_EQ(LogSize(), n); // nothing after OnAfterClose
}

TEST_F(ComPortEvents, AHandlerThatThrowsDoesNotStopTheThread) {
    int calls = 0;
    port->OnRxChar.Bind([&](TObject*, Integer) {
        ++calls;
        AnsiString s;
        port->ReadStr(s, 100);
        throw EComPort(CError_ReadFailed);
    });
    port->Open();
    ASSERT_TRUE(comm.Receive("a"));
    ASSERT_TRUE(Pump([&] { return calls == 1; }));
    ASSERT_TRUE(comm.Receive("b"));
    ASSERT_TRUE(Pump([&] { return calls == 2; }));
}

TEST_F(ComPortEvents, HandlersOnTheEventThreadMayThrowToo) {
    port->SetSyncMethod(smNone);
    std::atomic<int> calls{0};
    std::thread::id on;
    port->OnRxChar.Bind([&](TObject*, Integer) {
        on = std::this_thread::get_id();
        ++calls;
        throw std::runtime_error("handler failed");
    });
    port->Open();
    ASSERT_TRUE(comm.Receive("a"));
    ASSERT_TRUE(comm.Receive("b")); // the thread waits again after the first
    ASSERT_TRUE(Pump([&] { return calls == 2; }));
    EXPECT_NE(on, std::this_thread::get_id());
    port->Close();
}

TEST_F(ComPortEvents, ClosingFromInsideAHandlerDoesNotDeadlock) {
    for (const TSyncMethod sync : {smThreadSync, smNone, smWindowSync}) {
        std::atomic<bool> closed{false};
        port->SetSyncMethod(sync);
        port->OnRxChar.Bind([&](TObject*, Integer) {
            port->Close();
            closed = true;
        });
        port->OnTxEmpty.Bind([&](TObject*) { ADD_FAILURE() << "dispatched after close"; });
        port->Open();
        ASSERT_TRUE(comm.Receive("x"));
        ASSERT_TRUE(Pump([&] { return closed.load(); })) << sync;
        EXPECT_FALSE(port->GetConnected());
        EXPECT_EQ(comm.OpenDevices(), 0);
        port->OnTxEmpty.Clear();
        // The port opens again, with a fresh thread.
        port->OnRxChar.Clear();
        port->Open();
        EXPECT_TRUE(port->GetThreadCreated());
        port->Close();
    }
}

TEST_F(ComPortEvents, OpenAndCloseHandlersMayCloseAndOpenThePort) {
    Record();
    port->OnAfterOpen.Bind([&](TObject*) {
        Log("AfterOpen");
        port->Close(); // no line states are read from the closed port
    });
    EXPECT_NO_THROW(port->Open());
    EXPECT_FALSE(port->GetConnected());
    EXPECT_EQ(port->GetEventThread(), nullptr);
    EXPECT_EQ(comm.OpenDevices(), 0);
    EXPECT_EQ(Logged().front(), "AfterOpen");
    EXPECT_EQ(Logged().back(), "AfterClose");
    port->OnAfterOpen.Clear();
    port->OnBeforeClose.Bind([&](TObject*) { port->Open(); }); // already open: nothing
    port->Open();
    port->Close();
    EXPECT_FALSE(port->GetConnected());
    EXPECT_EQ(comm.OpenDevices(), 0);
}

TEST_F(ComPortEvents, CloseFinishesEvenWhenAStepFails) {
    OpenRecording();
    comm.FailNext("PurgeComm", ERROR_BAD_COMMAND);
    const EComPort e = Raised([&] { port->Close(); });
    EXPECT_EQ(e.GetCode(), CError_PurgeFailed);
    EXPECT_FALSE(port->GetConnected());
    EXPECT_EQ(port->GetEventThread(), nullptr);
    EXPECT_EQ(comm.Count("CloseHandle"), 1u);
    EXPECT_EQ(Logged().back(), "AfterClose");
    port->Open(); // and it opens again
    EXPECT_TRUE(port->GetConnected());
    comm.FailNext("PurgeComm", ERROR_BAD_COMMAND);
    EXPECT_NO_THROW(port.reset()); // freeing never throws
}

TEST_F(ComPortEvents, ADeviceThatFailsEndsTheThread) {
    OpenRecording();
    ASSERT_TRUE(comm.WaitPending());
    comm.FailNext("WaitCommEvent", ERROR_BAD_COMMAND);
    ASSERT_TRUE(comm.CompleteWait(EV_BREAK)); // handled, then the next wait fails
    ASSERT_TRUE(Pump([&] { return LogSize() == 1; }));
    // The thread leaves its loop (SetCommMask 0, purge) instead of waiting on.
    ASSERT_TRUE(Pump([&] { return comm.Last("SetCommMask")->args[0] == 0; }));
    const std::size_t waits = comm.Count("WaitCommEvent");
    CheckSynchronize(20);
    EXPECT_EQ(comm.Count("WaitCommEvent"), waits);
    EXPECT_NO_THROW(port->Close());
}
