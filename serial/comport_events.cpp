// The event thread, the dispatch of its event batches to the port's handlers,
// and the port's observer links.

#include "serial/comport.h"

#include "platform/gui/forms.h"

#include <exception>

namespace {

// The hidden window's message for one event; wParam holds the event's Win32 bit.
constexpr UINT CM_COMPORT = WM_USER + 1;

// The order in which a batch of events is handled.
constexpr TComEvent kDispatchOrder[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                        evCTS,   evDSR,    evRxFlag,  evRLSD,  evRx80Full};

} // namespace

void ComPortHandleException(TObject* Sender) {
    if (Application) Application->HandleException(Sender);
}

// ---------------------------------------------------------------------------
// TComThread

const ClassInfo& TComThread::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TComThread>("TComThread", &TThread::StaticClass());
    return ci;
}

TComThread::TComThread(TCustomComPort* AComPort)
    : TThread(true), FComPort(AComPort), FStopEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      FHandle(AComPort->FHandle), FSyncMethod(AComPort->FSyncMethod), FWindow(AComPort->FWindow),
      FOnMain(FSyncMethod == smThreadSync && IsMainThread()) {
    SetPriority(AComPort->FEventThreadPriority);
    SetCommMask(FHandle, EventsToInt(AComPort->FEvents));
}

TComThread::~TComThread() {
    CloseHandle(FStopEvent);
}

void TComThread::AfterConstruction() {
    TThread::AfterConstruction();
    Start();
    if (!FOnMain) return;
    FMainOverlapped.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    FMainWait = std::make_unique<win32::MainThreadEventWait>([this] { MainWaitDone(); });
    FMainLoop = true;
    WaitOnMainThread();
}

void TComThread::BeforeDestruction() {
    Stop();
    TThread::BeforeDestruction();
}

void TComThread::Stop() {
    FStopped = true;
    if (FOnMain && IsMainThread()) {
        FMainWait.reset();
        // Stopped by one of its own handlers: the loop ends once they have
        // returned (the thread may free itself as soon as it is told).
        if (FDispatchThread.load() != GetCurrentThreadID()) EndMainLoop();
        return;
    }
    if (FOnMain) {
        // Stopped from another thread: the main thread owns the wait, and its
        // pending request writes into this object until the wait is ended
        // there. Unless the loop is over already, the main thread ends it.
        if (WaitForSingleObject(FStopEvent, 0) != WAIT_OBJECT_0)
            TThread::Synchronize(nullptr, [this] { Stop(); });
        return;
    }
    SetEvent(FStopEvent);
    Sleep(0);
}

void TComThread::WaitOnMainThread() {
    FMainPending = false;
    if (!WaitCommEvent(FHandle, &FMainMask, &FMainOverlapped)) {
        if (GetLastError() != ERROR_IO_PENDING) return EndMainLoop(); // the device is gone
        FMainPending = true;
    }
    // Also a wait that completed at once is handled from the event loop, so
    // that a stream of batches leaves it room to run.
    if (!FMainWait->Start(FMainOverlapped.hEvent)) EndMainLoop();
}

void TComThread::MainWaitDone() {
    FMainPending = false;
    DWORD transferred = 0;
    if (GetOverlappedResult(FHandle, &FMainOverlapped, &transferred, FALSE)) {
        FEvents = IntToEvents(FMainMask);
        RunEvents();
    } else if (GetLastError() != ERROR_OPERATION_ABORTED) {
        return EndMainLoop(); // the device reported a failure: it is lost
    }
    if (FStopped) return EndMainLoop(); // the stop a handler asked for
    WaitOnMainThread();
}

void TComThread::EndMainLoop() {
    FMainWait.reset();
    if (FMainLoop) {
        FMainLoop = false;
        CleanUp(FMainOverlapped, FMainPending);
    }
    SetEvent(FStopEvent); // this object may be gone right after
}

void TComThread::Execute() {
    // With the loop on the main thread, this thread has only to end with it.
    if (FOnMain) {
        WaitForSingleObject(FStopEvent, INFINITE);
        return;
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    const HANDLE handles[2] = {FStopEvent, overlapped.hEvent};
    DWORD mask = 0; // outlives the loop: a wait still pending at the end writes it
    bool pending = false;
    for (;;) {
        // A device that fails every wait at once (it is gone) ends the loop
        // instead of spinning on it.
        pending = true;
        if (!WaitCommEvent(FHandle, &mask, &overlapped) && GetLastError() != ERROR_IO_PENDING) {
            pending = false;
            break;
        }
        if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
        pending = false;
        DWORD transferred = 0;
        if (GetOverlappedResult(FHandle, &overlapped, &transferred, FALSE)) {
            FEvents = IntToEvents(mask);
            try {
                DispatchComMsg();
            } catch (...) {
                break; // the main thread is gone (it shut down)
            }
        } else if (GetLastError() != ERROR_OPERATION_ABORTED) {
            break; // the device reported a failure: it is lost
        }
    }
    CleanUp(overlapped, pending);
}

void TComThread::CleanUp(OVERLAPPED& Overlapped, bool Pending) {
    SetCommMask(FHandle, 0); // ends a wait still pending
    PurgeComm(FHandle, PURGE_TXCLEAR | PURGE_RXCLEAR);
    if (Pending) {
        DWORD unused = 0;
        GetOverlappedResult(FHandle, &Overlapped, &unused, TRUE);
    }
    CloseHandle(Overlapped.hEvent);
}

void TComThread::DispatchComMsg() {
    switch (FSyncMethod) {
    case smThreadSync:
        Synchronize([this] { RunEvents(); });
        break;
    case smWindowSync:
        SendEvents();
        break;
    case smNone:
        RunEvents();
        break;
    case smDisableEvents:
        break;
    }
}

void TComThread::RunEvents() {
    FDispatchThread = GetCurrentThreadID();
    try {
        DoEvents();
    } catch (...) {
        // A handler's exception goes to the application on the main thread;
        // this thread carries on.
        if (IsMainThread()) {
            ComPortHandleException(FComPort);
        } else {
            Queue([error = std::current_exception()] {
                try {
                    std::rethrow_exception(error);
                } catch (...) {
                    ComPortHandleException(nullptr);
                }
            });
        }
    }
    FDispatchThread = TThreadID();
}

void TComThread::DoEvents() {
    for (const TComEvent event : kDispatchOrder) {
        if (FStopped) return; // a handler closed the port
        if (FEvents.Contains(event)) FComPort->DispatchEvent(event);
    }
}

void TComThread::SendEvents() {
    for (const TComEvent event : kDispatchOrder) {
        if (FStopped) return;
        if (FEvents.Contains(event)) SendMessageW(FWindow, CM_COMPORT, EventsToInt({event}), 0);
    }
}

bool TComThread::InDispatch() const {
    const TThreadID self = GetCurrentThreadID();
    return FDispatchThread.load() == self || GetThreadID() == self;
}

void TComThread::Abandon() {
    SetFreeOnTerminate(true);
    Stop();
}

// ---------------------------------------------------------------------------
// Dispatch on the port

void TCustomComPort::DispatchEvent(TComEvent Event) {
    switch (Event) {
    case evError:
        CallError();
        break;
    case evRxChar:
        CallRxChar();
        break;
    case evTxEmpty:
        CallTxEmpty();
        break;
    case evBreak:
        CallBreak();
        break;
    case evRing:
        CallRing();
        break;
    case evCTS:
        CallCTSChange();
        break;
    case evDSR:
        CallDSRChange();
        break;
    case evRxFlag:
        CallRxFlag();
        break;
    case evRLSD:
        CallRLSDChange();
        break;
    case evRx80Full:
        CallRx80Full();
        break;
    }
}

void TCustomComPort::WindowMethod(TMessage& Message) {
    if (Message.Msg != CM_COMPORT) {
        Message.Result = DefWindowProcW(FWindow, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    try {
        if (InSendMessage()) ReplyMessage(0); // the event thread goes on at once
        if (FConnected && !FClosing) {        // a message still queued while closing is dropped
            const TComEvents events = IntToEvents(static_cast<std::uint32_t>(Message.WParam));
            for (const TComEvent event : kDispatchOrder)
                if (events.Contains(event)) DispatchEvent(event);
        }
    } catch (...) {
        ComPortHandleException(this);
    }
    Message.Result = 0;
}

void TCustomComPort::CallError() {
    const TComErrors errors = LastErrors();
    if (!errors.Empty()) DoError(errors);
}

void TCustomComPort::CallRxChar() {
    Integer count = InputCount();
    if (count > 0) SendSignalToLink(leRx, true);
    if (count > 0 && !GetTriggersOnRxChar()) {
        std::vector<AnsiChar> block;
        bool read = false;
        Integer got = 0;
        // The handlers get the bytes actually read, and nothing when none were.
        const auto readOnce = [&] {
            block.resize(static_cast<std::size_t>(count));
            got = Read(block.data(), count);
            read = true;
            if (got > 0) DoRxBuf(block.data(), got);
        };
        for (TComLink* link : LinkSnapshot()) {
            if (!IsLinked(link) || !link->OnRxBuf) continue;
            if (!read) readOnce();
            if (got > 0) link->OnRxBuf(this, block.data(), got);
        }
        if (!read && !FTriggersOnRxChar) readOnce();
        if (read) count = 0;
    }
    if (count > 0) DoRxChar(count);
}

void TCustomComPort::CallTxEmpty() {
    SendSignalToLink(leTx, false);
    NotifyLink(leTxEmpty);
    DoTxEmpty();
}

void TCustomComPort::CallBreak() {
    DoBreak();
}

void TCustomComPort::CallRing() {
    NotifyLink(leRing);
    DoRing();
}

void TCustomComPort::CallCTSChange() {
    const bool on = Signals().Contains(csCTS);
    SendSignalToLink(leCTS, on);
    DoCTSChange(on);
}

void TCustomComPort::CallDSRChange() {
    const bool on = Signals().Contains(csDSR);
    SendSignalToLink(leDSR, on);
    DoDSRChange(on);
}

void TCustomComPort::CallRLSDChange() {
    const bool on = Signals().Contains(csRLSD);
    SendSignalToLink(leRLSD, on);
    DoRLSDChange(on);
}

void TCustomComPort::CallRxFlag() {
    NotifyLink(leRxFlag);
    DoRxFlag();
}

void TCustomComPort::CallRx80Full() {
    DoRx80Full();
}

void TCustomComPort::CheckSignals(bool Open) {
    if (Open) {
        CallCTSChange();
        CallDSRChange();
        CallRLSDChange();
    } else {
        SendSignalToLink(leCTS, false);
        SendSignalToLink(leDSR, false);
        SendSignalToLink(leRLSD, false);
        DoCTSChange(false);
        DoDSRChange(false);
        DoRLSDChange(false);
    }
}

void TCustomComPort::CallAfterOpen() {
    SendSignalToLink(leConn, true);
    DoAfterOpen();
    if (FConnected) CheckSignals(true); // a handler may have closed the port again
}

void TCustomComPort::CallAfterClose() {
    SendSignalToLink(leConn, false);
    DoAfterClose();
}

void TCustomComPort::CallBeforeOpen() {
    DoBeforeOpen();
}

void TCustomComPort::CallBeforeClose() {
    CheckSignals(false); // without reading the lines
    DoBeforeClose();
}

void TCustomComPort::DoAfterClose() {
    if (OnAfterClose) OnAfterClose(this);
}
void TCustomComPort::DoAfterOpen() {
    if (OnAfterOpen) OnAfterOpen(this);
}
void TCustomComPort::DoBeforeClose() {
    if (OnBeforeClose) OnBeforeClose(this);
}
void TCustomComPort::DoBeforeOpen() {
    if (OnBeforeOpen) OnBeforeOpen(this);
}
void TCustomComPort::DoRxChar(Integer Count) {
    if (OnRxChar) OnRxChar(this, Count);
}
void TCustomComPort::DoRxBuf(const AnsiChar* Buffer, Integer Count) {
    if (OnRxBuf) OnRxBuf(this, Buffer, Count);
}
void TCustomComPort::DoTxEmpty() {
    if (OnTxEmpty) OnTxEmpty(this);
}
void TCustomComPort::DoBreak() {
    if (OnBreak) OnBreak(this);
}
void TCustomComPort::DoRing() {
    if (OnRing) OnRing(this);
}
void TCustomComPort::DoRxFlag() {
    if (OnRxFlag) OnRxFlag(this);
}
void TCustomComPort::DoCTSChange(bool OnOff) {
    if (OnCTSChange) OnCTSChange(this, OnOff);
}
void TCustomComPort::DoDSRChange(bool OnOff) {
    if (OnDSRChange) OnDSRChange(this, OnOff);
}
void TCustomComPort::DoError(TComErrors Errors) {
    if (OnError) OnError(this, Errors);
}
void TCustomComPort::DoRLSDChange(bool OnOff) {
    if (OnRLSDChange) OnRLSDChange(this, OnOff);
}
void TCustomComPort::DoRx80Full() {
    if (OnRx80Full) OnRx80Full(this);
}

// ---------------------------------------------------------------------------
// Links

const ClassInfo& TComLink::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TComLink>("TComLink", &TObject::StaticClass());
    return ci;
}

bool ChangeLinkedPort(TComponent* Observer, TComLink* Link, TCustomComPort*& Port, TCustomComPort* Value) {
    if (Value == Port) return false;
    if (Port) {
        Port->UnRegisterLink(Link);
        Port->RemoveFreeNotification(Observer);
    }
    Port = Value;
    if (Port) {
        Port->FreeNotification(Observer);
        Port->RegisterLink(Link);
    }
    return true;
}

void TCustomComPort::RegisterLink(TComLink* Link) {
    if (IsLinked(Link)) throw EComPort(CError_RegFailed);
    FLinks.Add(Link);
    FHasLink = ComputeHasLink();
}

void TCustomComPort::UnRegisterLink(TComLink* Link) {
    if (!IsLinked(Link)) throw EComPort(CError_RegFailed);
    FLinks.Remove(Link);
    FHasLink = ComputeHasLink();
}

bool TCustomComPort::ComputeHasLink() const {
    for (const TComLink* link : FLinks)
        if (link->OnRxBuf) return true;
    return false;
}

// Handlers may register or unregister links: walk a copy, and skip links
// that left the list meanwhile.
std::vector<TComLink*> TCustomComPort::LinkSnapshot() const {
    return {FLinks.begin(), FLinks.end()};
}

void TCustomComPort::SendSignalToLink(TComLinkEvent Signal, bool OnOff) {
    for (TComLink* link : LinkSnapshot()) {
        if (!IsLinked(link)) continue;
        TComSignalEvent* handler = nullptr;
        switch (Signal) {
        case leConn:
            handler = &link->OnConn;
            break;
        case leCTS:
            handler = &link->OnCTSChange;
            break;
        case leDSR:
            handler = &link->OnDSRChange;
            break;
        case leRLSD:
            handler = &link->OnRLSDChange;
            break;
        case leRx:
            handler = &link->OnRx;
            break;
        case leTx:
            handler = &link->OnTx;
            break;
        default:
            break;
        }
        if (handler && *handler) (*handler)(this, OnOff);
    }
}

void TCustomComPort::NotifyLink(TComLinkEvent FLinkEvent) {
    for (TComLink* link : LinkSnapshot()) {
        if (!IsLinked(link)) continue;
        TNotifyEvent* handler = nullptr;
        switch (FLinkEvent) {
        case leRing:
            handler = &link->OnRing;
            break;
        case leTxEmpty:
            handler = &link->OnTxEmpty;
            break;
        case leRxFlag:
            handler = &link->OnRxFlag;
            break;
        default:
            break;
        }
        if (handler && *handler) (*handler)(this);
    }
}

void TCustomComPort::TxNotifyLink(const AnsiChar* Buffer, Integer Count) {
    for (TComLink* link : LinkSnapshot())
        if (IsLinked(link) && link->OnTxBuf) link->OnTxBuf(this, Buffer, Count);
}
