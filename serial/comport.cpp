// The port component: errors, settings objects, opening and closing, and the
// device control block. Port I/O is in comport_io.cpp, the event thread and
// links in comport_events.cpp, the setting texts in comport_texts.cpp.

#include "serial/comport.h"
#include "serial/comsetupdialogs.h"

#include <exception>

// ---------------------------------------------------------------------------
// Errors

String ComErrorMessage(Integer Code) {
    static const char16_t* const texts[] = {
        u"Unable to open com port",
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
        u"Registry error",
    };
    if (Code >= 1 && Code <= static_cast<Integer>(std::size(texts))) return texts[Code - 1];
    return u"Unknown Error #" + IntToStr(Code);
}

EComPort::EComPort(Integer ACode, Integer AWinCode, const String& Port)
    : Exception(u"COM Port Error: " + ComErrorMessage(ACode) + u" on " + Port), FWinCode(AWinCode),
      FCode(ACode) {}

EComPort::EComPort(Integer ACode)
    : Exception(u"COM Port Error: " + ComErrorMessage(ACode)), FWinCode(-1), FCode(ACode) {}

// ---------------------------------------------------------------------------
// Settings objects

const ClassInfo& TComBuffer::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TComBuffer::GetInputSize, &TComBuffer::SetInputSize>("InputSize").Default(1024),
        MakeProp<&TComBuffer::GetOutputSize, &TComBuffer::SetOutputSize>("OutputSize").Default(1024),
    };
    static const ClassInfo ci = MakeClassInfo<TComBuffer>("TComBuffer", &TPersistent::StaticClass(), props);
    return ci;
}

namespace {

// The driver takes even queue sizes.
Integer EvenSize(Integer Value) {
    return Value > 0 && Value % 2 == 1 ? Value - 1 : Value;
}

} // namespace

void TComBuffer::SetInputSize(Integer Value) {
    Value = EvenSize(Value);
    if (Value == FInputSize) return;
    FInputSize = Value;
    Changed();
}

void TComBuffer::SetOutputSize(Integer Value) {
    Value = EvenSize(Value);
    if (Value == FOutputSize) return;
    FOutputSize = Value;
    Changed();
}

void TComBuffer::Changed() {
    if (FComPort) FComPort->ApplyBuffer();
}

void TComBuffer::AssignTo(TPersistent* Dest) const {
    if (auto* d = dynamic_cast<TComBuffer*>(Dest)) {
        d->FInputSize = FInputSize;
        d->FOutputSize = FOutputSize;
    } else {
        TPersistent::AssignTo(Dest);
    }
}

const ClassInfo& TComParity::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TComParity::GetBits, &TComParity::SetBits>("Bits").NoDefault(),
        MakeProp<&TComParity::GetCheck, &TComParity::SetCheck>("Check").Default(false),
        MakeProp<&TComParity::GetReplace, &TComParity::SetReplace>("Replace").Default(false),
        MakeProp<&TComParity::GetReplaceChar, &TComParity::SetReplaceChar>("ReplaceChar").Default(0),
    };
    static const ClassInfo ci = MakeClassInfo<TComParity>("TComParity", &TPersistent::StaticClass(), props);
    return ci;
}


void TComParity::SetBits(TParityBits Value) {
    if (SetIfChanged(FBits, Value)) Changed();
}
void TComParity::SetCheck(bool Value) {
    if (SetIfChanged(FCheck, Value)) Changed();
}
void TComParity::SetReplace(bool Value) {
    if (SetIfChanged(FReplace, Value)) Changed();
}
void TComParity::SetReplaceChar(AnsiChar Value) {
    if (SetIfChanged(FReplaceChar, Value)) Changed();
}

void TComParity::Changed() {
    if (FComPort) FComPort->ApplyDCB();
}

void TComParity::AssignTo(TPersistent* Dest) const {
    if (auto* d = dynamic_cast<TComParity*>(Dest)) {
        d->FBits = FBits;
        d->FCheck = FCheck;
        d->FReplace = FReplace;
        d->FReplaceChar = FReplaceChar;
    } else {
        TPersistent::AssignTo(Dest);
    }
}

const ClassInfo& TComTimeouts::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TComTimeouts::GetReadInterval, &TComTimeouts::SetReadInterval>("ReadInterval").Default(-1),
        MakeProp<&TComTimeouts::GetReadTotalMultiplier, &TComTimeouts::SetReadTotalMultiplier>(
            "ReadTotalMultiplier")
            .Default(0),
        MakeProp<&TComTimeouts::GetReadTotalConstant, &TComTimeouts::SetReadTotalConstant>(
            "ReadTotalConstant")
            .Default(0),
        MakeProp<&TComTimeouts::GetWriteTotalMultiplier, &TComTimeouts::SetWriteTotalMultiplier>(
            "WriteTotalMultiplier")
            .Default(100),
        MakeProp<&TComTimeouts::GetWriteTotalConstant, &TComTimeouts::SetWriteTotalConstant>(
            "WriteTotalConstant")
            .Default(1000),
    };
    static const ClassInfo ci =
        MakeClassInfo<TComTimeouts>("TComTimeouts", &TPersistent::StaticClass(), props);
    return ci;
}

void TComTimeouts::Set(Integer& Field, Integer Value) {
    if (SetIfChanged(Field, Value) && FComPort) FComPort->ApplyTimeouts();
}
void TComTimeouts::SetReadInterval(Integer Value) {
    Set(FReadInterval, Value);
}
void TComTimeouts::SetReadTotalMultiplier(Integer Value) {
    Set(FReadTotalM, Value);
}
void TComTimeouts::SetReadTotalConstant(Integer Value) {
    Set(FReadTotalC, Value);
}
void TComTimeouts::SetWriteTotalMultiplier(Integer Value) {
    Set(FWriteTotalM, Value);
}
void TComTimeouts::SetWriteTotalConstant(Integer Value) {
    Set(FWriteTotalC, Value);
}

void TComTimeouts::AssignTo(TPersistent* Dest) const {
    if (auto* d = dynamic_cast<TComTimeouts*>(Dest)) {
        d->FReadInterval = FReadInterval;
        d->FReadTotalM = FReadTotalM;
        d->FReadTotalC = FReadTotalC;
        d->FWriteTotalM = FWriteTotalM;
        d->FWriteTotalC = FWriteTotalC;
    } else {
        TPersistent::AssignTo(Dest);
    }
}

const ClassInfo& TComFlowControl::StaticClass() {
    using F = TComFlowControl;
    static const PropInfo props[] = {
        MakeProp<&F::GetOutCTSFlow, &F::SetOutCTSFlow>("OutCTSFlow").NoDefault(),
        MakeProp<&F::GetOutDSRFlow, &F::SetOutDSRFlow>("OutDSRFlow").NoDefault(),
        MakeProp<&F::GetControlDTR, &F::SetControlDTR>("ControlDTR").NoDefault(),
        MakeProp<&F::GetControlRTS, &F::SetControlRTS>("ControlRTS").NoDefault(),
        MakeProp<&F::GetXonXoffOut, &F::SetXonXoffOut>("XonXoffOut").NoDefault(),
        MakeProp<&F::GetXonXoffIn, &F::SetXonXoffIn>("XonXoffIn").NoDefault(),
        MakeProp<&F::GetDSRSensitivity, &F::SetDSRSensitivity>("DSRSensitivity").Default(false),
        MakeProp<&F::GetTxContinueOnXoff, &F::SetTxContinueOnXoff>("TxContinueOnXoff").Default(false),
        MakeProp<&F::GetXonChar, &F::SetXonChar>("XonChar").Default(17),
        MakeProp<&F::GetXoffChar, &F::SetXoffChar>("XoffChar").Default(19),
        MakeProp<&F::GetFlowControl, &F::SetFlowControl>("FlowControl").Stored(false),
    };
    static const ClassInfo ci = MakeClassInfo<F>("TComFlowControl", &TPersistent::StaticClass(), props);
    return ci;
}

template <class T>
void TComFlowControl::Set(T& Field, T Value) {
    if (SetIfChanged(Field, Value) && FComPort) FComPort->ApplyDCB();
}
void TComFlowControl::SetOutCTSFlow(bool Value) {
    Set(FOutCTSFlow, Value);
}
void TComFlowControl::SetOutDSRFlow(bool Value) {
    Set(FOutDSRFlow, Value);
}
void TComFlowControl::SetControlDTR(TDTRFlowControl Value) {
    Set(FControlDTR, Value);
}
void TComFlowControl::SetControlRTS(TRTSFlowControl Value) {
    Set(FControlRTS, Value);
}
void TComFlowControl::SetXonXoffOut(bool Value) {
    Set(FXonXoffOut, Value);
}
void TComFlowControl::SetXonXoffIn(bool Value) {
    Set(FXonXoffIn, Value);
}
void TComFlowControl::SetDSRSensitivity(bool Value) {
    Set(FDSRSensitivity, Value);
}
void TComFlowControl::SetTxContinueOnXoff(bool Value) {
    Set(FTxContinueOnXoff, Value);
}
void TComFlowControl::SetXonChar(AnsiChar Value) {
    Set(FXonChar, Value);
}
void TComFlowControl::SetXoffChar(AnsiChar Value) {
    Set(FXoffChar, Value);
}

TFlowControl TComFlowControl::GetFlowControl() const {
    const bool xonXoff = FXonXoffIn || FXonXoffOut;
    if (FControlRTS == rtsHandshake && FOutCTSFlow && !xonXoff) return fcHardware;
    if (FControlRTS == rtsDisable && !FOutCTSFlow && FXonXoffIn && FXonXoffOut) return fcSoftware;
    if (FControlRTS == rtsDisable && !FOutCTSFlow && !xonXoff) return fcNone;
    return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl Value) {
    if (Value != fcCustom) {
        FControlRTS = rtsDisable;
        FOutCTSFlow = false;
        FXonXoffIn = false;
        FXonXoffOut = false;
        if (Value == fcHardware) {
            FControlRTS = rtsHandshake;
            FOutCTSFlow = true;
        } else if (Value == fcSoftware) {
            FXonXoffIn = true;
            FXonXoffOut = true;
        }
    }
    if (FComPort) FComPort->ApplyDCB();
}

void TComFlowControl::AssignTo(TPersistent* Dest) const {
    if (auto* d = dynamic_cast<TComFlowControl*>(Dest)) {
        d->FOutCTSFlow = FOutCTSFlow;
        d->FOutDSRFlow = FOutDSRFlow;
        d->FControlDTR = FControlDTR;
        d->FControlRTS = FControlRTS;
        d->FXonXoffOut = FXonXoffOut;
        d->FXonXoffIn = FXonXoffIn;
        d->FDSRSensitivity = FDSRSensitivity;
        d->FTxContinueOnXoff = FTxContinueOnXoff;
        d->FXonChar = FXonChar;
        d->FXoffChar = FXoffChar;
    } else {
        TPersistent::AssignTo(Dest);
    }
}

// ---------------------------------------------------------------------------
// The component

const ClassInfo& TCustomComPort::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCustomComPort>("TCustomComPort", &TComponent::StaticClass());
    return ci;
}

const ClassInfo& TComPort::StaticClass() {
    using P = TComPort;
    static const PropInfo props[] = {
        MakeProp<&P::GetConnected, &P::SetConnected>("Connected").Default(false),
        MakeProp<&P::GetBaudRate, &P::SetBaudRate>("BaudRate").NoDefault(),
        MakeProp<&P::GetPort, &P::SetPort>("Port"),
        MakeProp<&P::GetParity, &P::SetParity>("Parity"),
        MakeProp<&P::GetStopBits, &P::SetStopBits>("StopBits").NoDefault(),
        MakeProp<&P::GetDataBits, &P::SetDataBits>("DataBits").NoDefault(),
        MakeProp<&P::GetDiscardNull, &P::SetDiscardNull>("DiscardNull").Default(false),
        MakeProp<&P::GetEventChar, &P::SetEventChar>("EventChar").Default(0),
        MakeProp<&P::GetEvents, &P::SetEvents>("Events").NoDefault(),
        MakeProp<&P::GetBuffer, &P::SetBuffer>("Buffer"),
        MakeProp<&P::GetFlowControl, &P::SetFlowControl>("FlowControl"),
        MakeProp<&P::GetTimeouts, &P::SetTimeouts>("Timeouts"),
        MakeProp<&P::GetSyncMethod, &P::SetSyncMethod>("SyncMethod").Default(smThreadSync),
        MakeProp<&P::OnAfterOpen>("OnAfterOpen"),
        MakeProp<&P::OnAfterClose>("OnAfterClose"),
        MakeProp<&P::OnBeforeOpen>("OnBeforeOpen"),
        MakeProp<&P::OnBeforeClose>("OnBeforeClose"),
        MakeProp<&P::OnRxChar>("OnRxChar"),
        MakeProp<&P::OnRxBuf>("OnRxBuf"),
        MakeProp<&P::OnTxEmpty>("OnTxEmpty"),
        MakeProp<&P::OnBreak>("OnBreak"),
        MakeProp<&P::OnRing>("OnRing"),
        MakeProp<&P::OnCTSChange>("OnCTSChange"),
        MakeProp<&P::OnDSRChange>("OnDSRChange"),
        MakeProp<&P::OnRLSDChange>("OnRLSDChange"),
        MakeProp<&P::OnRxFlag>("OnRxFlag"),
        MakeProp<&P::OnError>("OnError"),
        MakeProp<&P::OnRx80Full>("OnRx80Full"),
    };
    static const ClassInfo ci = MakeClassInfo<TComPort>("TComPort", &TCustomComPort::StaticClass(), props);
    return ci;
}

TCustomComPort::TCustomComPort(TComponent* AOwner) : TComponent(AOwner) {
    FParity = MakeOwned<TComParity>();
    FParity->SetComPort(this);
    FFlowControl = MakeOwned<TComFlowControl>();
    FFlowControl->SetComPort(this);
    FTimeouts = MakeOwned<TComTimeouts>();
    FTimeouts->SetComPort(this);
    FBuffer = MakeOwned<TComBuffer>();
    FBuffer->SetComPort(this);
}

TCustomComPort::~TCustomComPort() {
    // Freed without Free(): close anyway, quietly.
    try {
        Close();
    } catch (...) {
    }
    ComCleanupAsync(FReadAsyncPtr);
    ComCleanupAsync(FWriteAsyncPtr);
}

void TCustomComPort::BeforeDestruction() {
    try {
        Close();
    } catch (...) {
        // Freeing a port never fails: a close that went wrong has still
        // released everything it holds.
    }
    TComponent::BeforeDestruction();
}

bool TCustomComPort::Idle() const {
    const TComponentState state = GetComponentState();
    return state.Contains(csDesigning) || state.Contains(csLoading);
}

void TCustomComPort::ShowSetupDialog() {
    EditComPort(this);
}

void TCustomComPort::Loaded() {
    TComponent::Loaded();
    if (FConnected && !GetComponentState().Contains(csDesigning)) {
        FConnected = false;
        try {
            Open();
        } catch (...) {
            ComPortHandleException(this); // the form still loads
        }
    }
}

namespace {

// Clears a flag when the scope ends, however it ends.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

void TCustomComPort::Open() {
    if (FConnected || FOpening || GetComponentState().Contains(csDesigning)) return;
    FlagScope opening(FOpening);
    CallBeforeOpen();
    CreateHandle();
    FConnected = true;
    try {
        SetupComPort();
    } catch (...) {
        DestroyHandle();
        FConnected = false;
        throw;
    }
    if (FEvents.Empty()) {
        FThreadCreated = false;
    } else {
        if (FSyncMethod == smWindowSync)
            FWindow = AllocateHWnd([this](TMessage& Message) { WindowMethod(Message); });
        if (FOverlapped) {
            FEventThread = Create<TComThread>(this);
            FThreadCreated = true;
        }
    }
    CallAfterOpen();
}

void TCustomComPort::Close() {
    if (!FConnected || FClosing || GetComponentState().Contains(csDesigning)) return;
    FlagScope closing(FClosing);
    // Every step runs even when an earlier one fails (a dead device refuses the
    // purge), so the port always ends closed; the first error is raised last.
    std::exception_ptr first;
    const auto step = [&first](auto&& action) {
        try {
            action();
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    };
    step([this] { CallBeforeClose(); });
    step([this] { AbortAllAsync(); });
    if (FThreadCreated) step([this] { DestroyEventThread(); });
    if (FWindow) { // whenever one was allocated, also without a thread
        DeallocateHWnd(FWindow);
        FWindow = nullptr;
    }
    step([this] { DestroyHandle(); });
    FConnected = false;
    step([this] { CallAfterClose(); });
    if (first) std::rethrow_exception(first);
}

void TCustomComPort::DestroyEventThread() {
    TComThread* thread = FEventThread;
    FEventThread = nullptr;
    FThreadCreated = false;
    if (!thread) return;
    if (thread->InDispatch())
        thread->Abandon(); // closing from one of our own handlers: it ends once they return
    else
        thread->Free();
}

void TCustomComPort::SetConnected(bool Value) {
    if (Idle())
        FConnected = Value;
    else if (Value)
        Open();
    else
        Close();
}

void TCustomComPort::BeginUpdate() {
    ++FUpdateCount;
}

void TCustomComPort::EndUpdate() {
    if (FUpdateCount > 0) {
        --FUpdateCount;
        if (FUpdateCount == 0) SetupComPort();
    }
}

void TCustomComPort::CreateHandle() {
    const String name = u"\\\\.\\" + FPort;
    FHandle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FOverlapped ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) RaiseWin32(CError_OpenFailed, GetLastError());
}

void TCustomComPort::DestroyHandle() {
    if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
    FHandle = INVALID_HANDLE_VALUE;
}

void TCustomComPort::RaiseWin32(Integer Code, DWORD WinError) const {
    throw EComPort(Code, static_cast<Integer>(WinError), FPort);
}

void TCustomComPort::SetupComPort() {
    ApplyBuffer();
    ApplyDCB();
    ApplyTimeouts();
}

void TCustomComPort::ApplyDCB() {
    if (!FConnected || FUpdateCount > 0 || Idle()) return;
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = static_cast<DWORD>(FBaudRate == brCustom ? FCustomBaudRate : BaudRateToInt(FBaudRate));
    dcb.ByteSize = static_cast<BYTE>(5 + FDataBits);
    dcb.Parity = static_cast<BYTE>(FParity->GetBits());
    dcb.StopBits = static_cast<BYTE>(FStopBits);
    dcb.XonLim = static_cast<WORD>(FBuffer->GetInputSize() / 4);
    dcb.XoffLim = dcb.XonLim;
    dcb.XonChar = FFlowControl->GetXonChar();
    dcb.XoffChar = FFlowControl->GetXoffChar();
    dcb.EvtChar = FEventChar;
    dcb.fBinary = 1;
    dcb.fNull = FDiscardNull ? 1 : 0;
    dcb.fOutxCtsFlow = FFlowControl->GetOutCTSFlow() ? 1 : 0;
    dcb.fOutxDsrFlow = FFlowControl->GetOutDSRFlow() ? 1 : 0;
    dcb.fDtrControl = FFlowControl->GetControlDTR();
    dcb.fRtsControl = FFlowControl->GetControlRTS();
    dcb.fOutX = FFlowControl->GetXonXoffOut() ? 1 : 0;
    dcb.fInX = FFlowControl->GetXonXoffIn() ? 1 : 0;
    dcb.fDsrSensitivity = FFlowControl->GetDSRSensitivity() ? 1 : 0;
    dcb.fTXContinueOnXoff = FFlowControl->GetTxContinueOnXoff() ? 1 : 0;
    if (FParity->GetCheck()) {
        dcb.fParity = 1;
        if (FParity->GetReplace()) {
            dcb.fErrorChar = 1;
            dcb.ErrorChar = FParity->GetReplaceChar();
        }
    }
    if (!SetCommState(FHandle, &dcb)) RaiseWin32(CError_SetStateFailed, GetLastError());
}

void TCustomComPort::ApplyTimeouts() {
    if (!FConnected || FUpdateCount > 0 || Idle()) return;
    const auto ms = [](Integer v) { return v == -1 ? MAXDWORD : static_cast<DWORD>(v); };
    COMMTIMEOUTS timeouts{ms(FTimeouts->GetReadInterval()), ms(FTimeouts->GetReadTotalMultiplier()),
                          ms(FTimeouts->GetReadTotalConstant()), ms(FTimeouts->GetWriteTotalMultiplier()),
                          ms(FTimeouts->GetWriteTotalConstant())};
    if (!SetCommTimeouts(FHandle, &timeouts)) RaiseWin32(CError_TimeoutsFailed, GetLastError());
}

void TCustomComPort::ApplyBuffer() {
    if (!FConnected || FUpdateCount > 0 || Idle()) return;
    if (!SetupComm(FHandle, static_cast<DWORD>(FBuffer->GetInputSize()),
                   static_cast<DWORD>(FBuffer->GetOutputSize())))
        RaiseWin32(CError_SetupComFailed, GetLastError());
}

void TCustomComPort::SetBaudRate(TBaudRate Value) {
    if (SetIfChanged(FBaudRate, Value)) ApplyDCB();
}
void TCustomComPort::SetCustomBaudRate(Integer Value) {
    if (SetIfChanged(FCustomBaudRate, Value)) ApplyDCB();
}
void TCustomComPort::SetStopBits(TStopBits Value) {
    if (SetIfChanged(FStopBits, Value)) ApplyDCB();
}
void TCustomComPort::SetDataBits(TDataBits Value) {
    if (SetIfChanged(FDataBits, Value)) ApplyDCB();
}
void TCustomComPort::SetDiscardNull(bool Value) {
    if (SetIfChanged(FDiscardNull, Value)) ApplyDCB();
}
void TCustomComPort::SetEventChar(AnsiChar Value) {
    if (SetIfChanged(FEventChar, Value)) ApplyDCB();
}

void TCustomComPort::SetPort(const String& Value) {
    if (!SetIfChanged(FPort, Value)) return;
    if (FConnected && !Idle()) { // the new name takes effect at once
        Close();
        Open();
    }
}

void TCustomComPort::SetParity(TComParity* Value) {
    FParity->Assign(Value);
    ApplyDCB();
}
void TCustomComPort::SetFlowControl(TComFlowControl* Value) {
    FFlowControl->Assign(Value);
    ApplyDCB();
}
void TCustomComPort::SetTimeouts(TComTimeouts* Value) {
    FTimeouts->Assign(Value);
    ApplyTimeouts();
}
void TCustomComPort::SetBuffer(TComBuffer* Value) {
    FBuffer->Assign(Value);
    ApplyBuffer();
}

void TCustomComPort::SetSyncMethod(TSyncMethod Value) {
    if (Value == FSyncMethod) return;
    if (FConnected && !Idle()) throw EComPort(CError_ConnChangeProp);
    FSyncMethod = Value;
}

void TCustomComPort::SetEventThreadPriority(TThreadPriority Value) {
    if (Value == FEventThreadPriority) return;
    if (FConnected && !Idle()) throw EComPort(CError_ConnChangeProp);
    FEventThreadPriority = Value;
}

void TCustomComPort::SetTriggersOnRxChar(bool Value) {
    if (FHasLink) throw EComPort(CError_HasLink);
    FTriggersOnRxChar = Value;
}

void TCustomComPort::SetOverlapped(bool Value) {
    if (!FConnected) FOverlapped = Value;
}
