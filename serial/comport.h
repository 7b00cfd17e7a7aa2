#pragma once
// The serial port component: its errors, settings objects, asynchronous I/O
// records, event thread and observer links, the setting texts and the list of
// installed ports.

#include "platform/core/classes.h"
#include "platform/core/sysutils.h"
#include "platform/win32/comm.h"
#include "platform/win32/msgwindow.h"
#include "serial/comporttypes.h"

#include <atomic>
#include <memory>
#include <vector>

class TCustomComPort;
class TIniFile;
class TRegistry;

// ---------------------------------------------------------------------------
// Errors

// Library error codes.
enum TComErrorCode : Integer {
    CError_OpenFailed = 1,
    CError_WriteFailed,
    CError_ReadFailed,
    CError_InvalidAsync,
    CError_PurgeFailed,
    CError_AsyncCheck,
    CError_SetStateFailed,
    CError_TimeoutsFailed,
    CError_SetupComFailed,
    CError_ClearComFailed,
    CError_ModemStatFailed,
    CError_EscapeComFailed,
    CError_TransmitFailed,
    CError_ConnChangeProp,
    CError_EnumPortsFailed,
    CError_StoreFailed,
    CError_LoadFailed,
    CError_RegFailed,
    CError_LedStateFailed,
    CError_ThreadCreated,
    CError_WaitFailed,
    CError_HasLink,
    CError_RegError
};

String ComErrorMessage(Integer Code);

class EComPort : public Exception {
public:
    // "COM Port Error: <text> on <Port>", with the Win32 error.
    EComPort(Integer ACode, Integer AWinCode, const String& Port);
    // "COM Port Error: <text>"; WinCode is -1.
    explicit EComPort(Integer ACode);
    Integer GetWinCode() const { return FWinCode; }
    Integer GetCode() const { return FCode; }

private:
    Integer FWinCode;
    Integer FCode;
};

// ---------------------------------------------------------------------------
// Settings objects: each re-applies its group to the owning port when changed.

class TComBuffer : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TCustomComPort* GetComPort() const { return FComPort; }
    void SetComPort(TCustomComPort* AComPort) { FComPort = AComPort; }
    Integer GetInputSize() const { return FInputSize; }
    void SetInputSize(Integer Value);
    Integer GetOutputSize() const { return FOutputSize; }
    void SetOutputSize(Integer Value);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    void Changed();
    TCustomComPort* FComPort = nullptr;
    Integer FInputSize = 1024;
    Integer FOutputSize = 1024;
};

class TComParity : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TCustomComPort* GetComPort() const { return FComPort; }
    void SetComPort(TCustomComPort* AComPort) { FComPort = AComPort; }
    TParityBits GetBits() const { return FBits; }
    void SetBits(TParityBits Value);
    bool GetCheck() const { return FCheck; }
    void SetCheck(bool Value);
    bool GetReplace() const { return FReplace; }
    void SetReplace(bool Value);
    AnsiChar GetReplaceChar() const { return FReplaceChar; }
    void SetReplaceChar(AnsiChar Value);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    void Changed();
    TCustomComPort* FComPort = nullptr;
    TParityBits FBits = prNone;
    bool FCheck = false;
    bool FReplace = false;
    AnsiChar FReplaceChar = 0;
};

class TComTimeouts : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TCustomComPort* GetComPort() const { return FComPort; }
    void SetComPort(TCustomComPort* AComPort) { FComPort = AComPort; }
    Integer GetReadInterval() const { return FReadInterval; }
    void SetReadInterval(Integer Value);
    Integer GetReadTotalMultiplier() const { return FReadTotalM; }
    void SetReadTotalMultiplier(Integer Value);
    Integer GetReadTotalConstant() const { return FReadTotalC; }
    void SetReadTotalConstant(Integer Value);
    Integer GetWriteTotalMultiplier() const { return FWriteTotalM; }
    void SetWriteTotalMultiplier(Integer Value);
    Integer GetWriteTotalConstant() const { return FWriteTotalC; }
    void SetWriteTotalConstant(Integer Value);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    void Set(Integer& Field, Integer Value);
    TCustomComPort* FComPort = nullptr;
    Integer FReadInterval = -1;
    Integer FReadTotalM = 0;
    Integer FReadTotalC = 0;
    Integer FWriteTotalM = 100;
    Integer FWriteTotalC = 1000;
};

class TComFlowControl : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TCustomComPort* GetComPort() const { return FComPort; }
    void SetComPort(TCustomComPort* AComPort) { FComPort = AComPort; }
    bool GetOutCTSFlow() const { return FOutCTSFlow; }
    void SetOutCTSFlow(bool Value);
    bool GetOutDSRFlow() const { return FOutDSRFlow; }
    void SetOutDSRFlow(bool Value);
    TDTRFlowControl GetControlDTR() const { return FControlDTR; }
    void SetControlDTR(TDTRFlowControl Value);
    TRTSFlowControl GetControlRTS() const { return FControlRTS; }
    void SetControlRTS(TRTSFlowControl Value);
    bool GetXonXoffOut() const { return FXonXoffOut; }
    void SetXonXoffOut(bool Value);
    bool GetXonXoffIn() const { return FXonXoffIn; }
    void SetXonXoffIn(bool Value);
    bool GetDSRSensitivity() const { return FDSRSensitivity; }
    void SetDSRSensitivity(bool Value);
    bool GetTxContinueOnXoff() const { return FTxContinueOnXoff; }
    void SetTxContinueOnXoff(bool Value);
    AnsiChar GetXonChar() const { return FXonChar; }
    void SetXonChar(AnsiChar Value);
    AnsiChar GetXoffChar() const { return FXoffChar; }
    void SetXoffChar(AnsiChar Value);
    // The summary of the CTS/RTS and Xon/Xoff switches.
    TFlowControl GetFlowControl() const;
    void SetFlowControl(TFlowControl Value);

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    template <class T>
    void Set(T& Field, T Value);
    TCustomComPort* FComPort = nullptr;
    bool FOutCTSFlow = false;
    bool FOutDSRFlow = false;
    TDTRFlowControl FControlDTR = dtrDisable;
    TRTSFlowControl FControlRTS = rtsDisable;
    bool FXonXoffOut = false;
    bool FXonXoffIn = false;
    bool FDSRSensitivity = false;
    bool FTxContinueOnXoff = false;
    AnsiChar FXonChar = 17;
    AnsiChar FXoffChar = 19;
};

// ---------------------------------------------------------------------------
// Asynchronous operation records

enum TOperationKind : std::uint8_t { okWrite, okRead };

struct TComPortAsync {
    TComPortAsync();
    ~TComPortAsync();
    TComPortAsync(const TComPortAsync&) = delete;
    TComPortAsync& operator=(const TComPortAsync&) = delete;

    OVERLAPPED Overlapped{}; // its event: manual reset, created signalled
    TOperationKind Kind = okWrite;
    std::vector<AnsiChar> Data; // a copy of written bytes, or where a string read lands
    Integer Size = 0;
};
using PAsync = TComPortAsync*;
using TComPortAsyncPtr = std::unique_ptr<TComPortAsync>;

// Creates the record when there is none; an existing one is kept.
void ComInitAsync(TComPortAsyncPtr& AsyncPtr);
// Frees the record (its event and data) and empties the reference.
void ComCleanupAsync(TComPortAsyncPtr& AsyncPtr);
// Sets the kind and a fresh block of Count bytes (copied from Buffer when
// given); a negative Count counts as 0.
void PrepareAsync(TOperationKind AKind, const void* Buffer, Integer Count, PAsync AsyncPtr);

// ---------------------------------------------------------------------------
// Links: observers of a port that do not take its event handlers.

enum TComLinkEvent : std::uint8_t { leConn, leCTS, leDSR, leRLSD, leRing, leRx, leTx, leTxEmpty, leRxFlag };

class TComLink : public TObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TComSignalEvent OnConn;
    TRxBufEvent OnRxBuf;
    TRxBufEvent OnTxBuf;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnRxFlag;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TNotifyEvent OnRing;
    TComSignalEvent OnTx;
    TComSignalEvent OnRx;
};

// Moves an observer's link from the port it watches (Port) to Value: out of
// the old port's list and into the new one's, with the free notification that
// lets the observer clear Port when that port goes. False when Value is Port.
bool ChangeLinkedPort(TComponent* Observer, TComLink* Link, TCustomComPort*& Port, TCustomComPort* Value);

// ---------------------------------------------------------------------------
// The event thread of an open port

class TComThread : public TThread {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // Sets the port's event mask; the thread starts at AfterConstruction.
    explicit TComThread(TCustomComPort* AComPort);
    ~TComThread() override;
    void AfterConstruction() override;
    // Stops the thread and waits for it (running calls queued for the main
    // thread meanwhile).
    void BeforeDestruction() override;
    void Stop();

protected:
    void Execute() override;
    void DispatchComMsg();
    void DoEvents();
    void SendEvents();

private:
    friend class TCustomComPort;
    // Runs DoEvents where the sync method says, never letting an exception
    // out: it goes to the application's exception handler.
    void RunEvents();
    bool InDispatch() const;
    // Leaves the thread to end and free itself (closing from inside its own
    // dispatch, where waiting for it would wait for ourselves).
    void Abandon();
    // With smThreadSync the main thread itself waits for the port's events,
    // from its event loop, and runs the handlers as each wait completes; the
    // thread only waits to be stopped. A received byte so wakes the main
    // thread alone.
    void WaitOnMainThread();
    void MainWaitDone();
    // The main thread's loop is over (stopped, or the device failed): it
    // cleans up as the thread's loop does, and the thread ends.
    void EndMainLoop();
    // After the loop: no more events, nothing left queued, the wait's event closed.
    void CleanUp(OVERLAPPED& Overlapped, bool Pending);

    TCustomComPort* FComPort;
    HANDLE FStopEvent;
    TComEvents FEvents;
    // What the thread uses of its port, taken at creation: the thread may
    // outlive an abandoned port.
    HANDLE FHandle;
    TSyncMethod FSyncMethod;
    HWND FWindow;
    std::atomic<bool> FStopped{false};
    // The main thread's wait (smThreadSync on a port opened on the main thread).
    bool FOnMain = false;
    std::unique_ptr<win32::MainThreadEventWait> FMainWait;
    OVERLAPPED FMainOverlapped{};
    DWORD FMainMask = 0; // outlives a wait: one still pending at the end writes it
    bool FMainPending = false;
    bool FMainLoop = false;                   // the main thread's loop runs (its clean-up is owed)
    std::atomic<TThreadID> FDispatchThread{}; // the thread running this thread's events
};

// ---------------------------------------------------------------------------
// The port component

class TCustomComPort : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomComPort(TComponent* AOwner);
    ~TCustomComPort() override;
    void BeforeDestruction() override;
    void Loaded() override;
    // The setup dialog on this port.
    void ShowSetupDialog();

    // Opening and closing.
    void Open();
    // Finishes every step even when one fails, then raises the first error.
    void Close();
    bool GetConnected() const { return FConnected; }
    void SetConnected(bool Value);
    void BeginUpdate();
    void EndUpdate();
    virtual void ApplyDCB();
    virtual void ApplyTimeouts();
    virtual void ApplyBuffer();
    virtual void SetupComPort();
    virtual void CreateHandle();
    virtual void DestroyHandle();

    // Port I/O and line control.
    Integer WriteAsync(const void* Buffer, Integer Count, PAsync AsyncPtr);
    Integer WriteStrAsync(const AnsiString& Str, PAsync AsyncPtr);
    Integer ReadAsync(void* Buffer, Integer Count, PAsync AsyncPtr);
    // Str must stay in place until the read completes.
    Integer ReadStrAsync(AnsiString& Str, Integer Count, PAsync AsyncPtr);
    Integer WaitForAsync(PAsync AsyncPtr);
    bool IsAsyncCompleted(PAsync AsyncPtr);
    Integer Write(const void* Buffer, Integer Count);
    Integer WriteStr(const AnsiString& Str);
    Integer Read(void* Buffer, Integer Count);
    Integer ReadStr(AnsiString& Str, Integer Count);
    Integer InputCount();
    Integer OutputCount();
    TComStateFlags StateFlags();
    TComErrors LastErrors();
    TComSignals Signals();
    void SetBreak(bool OnOff);
    void SetDTR(bool OnOff);
    void SetRTS(bool OnOff);
    void SetXonXoff(bool OnOff);
    void ClearBuffer(bool Input, bool Output);
    void AbortAllAsync();
    void TransmitChar(AnsiChar Ch);
    // Waits for one of Events (or StopEvent, or Timeout milliseconds) on a
    // port without an event thread; Events becomes what occurred.
    void WaitForEvent(TComEvents& Events, HANDLE StopEvent, Integer Timeout);

    // Settings storage: the groups of StoredProps, in the registry (StoreTo
    // is "HKEY_...\path" and the key is path\<Name>) or in an ini file (StoreTo is
    // the file name, the section <Name>). Failures raise codes 16 and 17.
    void StoreSettings(TStoreType StoreType, const String& StoreTo);
    // Inside one update bracket: an open port applies the settings once.
    void LoadSettings(TStoreType StoreType, const String& LoadFrom);
    virtual void StoreRegistry(TRegistry& Reg);
    virtual void StoreIniFile(TIniFile& IniFile);
    virtual void LoadRegistry(TRegistry& Reg);
    virtual void LoadIniFile(TIniFile& IniFile);

    // Links.
    void RegisterLink(TComLink* Link);
    void UnRegisterLink(TComLink* Link);
    bool GetHasLink() const { return FHasLink; }

    // Properties.
    HANDLE GetHandle() const { return FHandle; }
    TBaudRate GetBaudRate() const { return FBaudRate; }
    void SetBaudRate(TBaudRate Value);
    Integer GetCustomBaudRate() const { return FCustomBaudRate; }
    void SetCustomBaudRate(Integer Value);
    const String& GetPort() const { return FPort; }
    void SetPort(const String& Value);
    TStopBits GetStopBits() const { return FStopBits; }
    void SetStopBits(TStopBits Value);
    TDataBits GetDataBits() const { return FDataBits; }
    void SetDataBits(TDataBits Value);
    bool GetDiscardNull() const { return FDiscardNull; }
    void SetDiscardNull(bool Value);
    AnsiChar GetEventChar() const { return FEventChar; }
    void SetEventChar(AnsiChar Value);
    TComEvents GetEvents() const { return FEvents; }
    void SetEvents(TComEvents Value) { FEvents = Value; }
    TComBuffer* GetBuffer() const { return FBuffer.get(); }
    void SetBuffer(TComBuffer* Value);
    TComParity* GetParity() const { return FParity.get(); }
    void SetParity(TComParity* Value);
    TComTimeouts* GetTimeouts() const { return FTimeouts.get(); }
    void SetTimeouts(TComTimeouts* Value);
    TComFlowControl* GetFlowControl() const { return FFlowControl.get(); }
    void SetFlowControl(TComFlowControl* Value);
    TSyncMethod GetSyncMethod() const { return FSyncMethod; }
    void SetSyncMethod(TSyncMethod Value);
    TThreadPriority GetEventThreadPriority() const { return FEventThreadPriority; }
    void SetEventThreadPriority(TThreadPriority Value);
    bool GetTriggersOnRxChar() const { return FTriggersOnRxChar && !FHasLink; }
    void SetTriggersOnRxChar(bool Value);
    bool GetOverlapped() const { return FOverlapped; }
    void SetOverlapped(bool Value);
    TStoredProps GetStoredProps() const { return FStoredProps; }
    void SetStoredProps(TStoredProps Value) { FStoredProps = Value; }
    TComThread* GetEventThread() const { return FEventThread; }
    bool GetThreadCreated() const { return FThreadCreated; }
    HWND GetWindow() const { return FWindow; }

    TNotifyEvent OnAfterOpen;
    TNotifyEvent OnAfterClose;
    TNotifyEvent OnBeforeOpen;
    TNotifyEvent OnBeforeClose;
    TRxCharEvent OnRxChar;
    TRxBufEvent OnRxBuf;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnBreak;
    TNotifyEvent OnRing;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TComErrorEvent OnError;
    TNotifyEvent OnRxFlag;
    TNotifyEvent OnRx80Full;

protected:
    virtual void DoAfterClose();
    virtual void DoAfterOpen();
    virtual void DoBeforeClose();
    virtual void DoBeforeOpen();
    virtual void DoRxChar(Integer Count);
    virtual void DoRxBuf(const AnsiChar* Buffer, Integer Count);
    virtual void DoTxEmpty();
    virtual void DoBreak();
    virtual void DoRing();
    virtual void DoRxFlag();
    virtual void DoCTSChange(bool OnOff);
    virtual void DoDSRChange(bool OnOff);
    virtual void DoError(TComErrors Errors);
    virtual void DoRLSDChange(bool OnOff);
    virtual void DoRx80Full();

    void CallAfterOpen();
    void CallAfterClose();
    void CallBeforeOpen();
    void CallBeforeClose();
    void CallRxChar();
    void CallTxEmpty();
    void CallBreak();
    void CallRing();
    void CallRxFlag();
    void CallCTSChange();
    void CallDSRChange();
    void CallError();
    void CallRLSDChange();
    void CallRx80Full();
    void SendSignalToLink(TComLinkEvent Signal, bool OnOff);
    void NotifyLink(TComLinkEvent FLinkEvent);
    void TxNotifyLink(const AnsiChar* Buffer, Integer Count);
    void CheckSignals(bool Open);
    void WindowMethod(TMessage& Message);

private:
    friend class TComThread;
    bool Idle() const; // designing or loading: settings are only stored
    void DispatchEvent(TComEvent Event);
    [[noreturn]] void RaiseWin32(Integer Code, DWORD WinError) const;
    bool StartRead(void* Buffer, Integer Count, PAsync AsyncPtr, DWORD& Error, DWORD& Got);
    void DestroyEventThread();
    std::vector<TComLink*> LinkSnapshot() const;
    bool IsLinked(TComLink* Link) const { return FLinks.IndexOf(Link) >= 0; }
    bool ComputeHasLink() const;

    TComThread* FEventThread = nullptr;
    bool FThreadCreated = false;
    HANDLE FHandle = INVALID_HANDLE_VALUE;
    HWND FWindow = nullptr;
    Integer FUpdateCount = 0;
    TListOf<TComLink*> FLinks;
    bool FTriggersOnRxChar = true;
    TThreadPriority FEventThreadPriority = tpNormal;
    bool FHasLink = false;
    bool FConnected = false;
    TBaudRate FBaudRate = br9600;
    Integer FCustomBaudRate = 9600;
    String FPort = u"COM1";
    TStopBits FStopBits = sbOneStopBit;
    TDataBits FDataBits = dbEight;
    bool FDiscardNull = false;
    AnsiChar FEventChar = 0;
    TComEvents FEvents = AllComEvents;
    Owned<TComBuffer> FBuffer;
    Owned<TComParity> FParity;
    Owned<TComTimeouts> FTimeouts;
    Owned<TComFlowControl> FFlowControl;
    TSyncMethod FSyncMethod = smThreadSync;
    TStoredProps FStoredProps{spBasic};
    bool FOverlapped = true;
    TComPortAsyncPtr FReadAsyncPtr;
    TComPortAsyncPtr FWriteAsyncPtr;
    bool FOpening = false; // guards against re-entry from the open and close handlers
    bool FClosing = false;
};

// The port with its settings published, so that a form resource carries it.
class TComPort : public TCustomComPort {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomComPort::TCustomComPort;
};

// ---------------------------------------------------------------------------
// Setting texts and the port list

String BaudRateToStr(TBaudRate BaudRate);
String StopBitsToStr(TStopBits StopBits);
String DataBitsToStr(TDataBits DataBits);
String ParityToStr(TParityBits Parity);
String FlowControlToStr(TFlowControl FlowControl);
String DTRToStr(TDTRFlowControl DTRFlowControl);
String RTSToStr(TRTSFlowControl RTSFlowControl);
// Exact match after ASCII upper-casing; the table's no-match value otherwise.
TBaudRate StrToBaudRate(const String& Str);
TStopBits StrToStopBits(const String& Str);
TDataBits StrToDataBits(const String& Str);
TParityBits StrToParity(const String& Str);
TFlowControl StrToFlowControl(const String& Str);
TDTRFlowControl StrToDTR(const String& Str);
TRTSFlowControl StrToRTS(const String& Str);
Integer BaudRateToInt(TBaudRate BaudRate);
// Fills Ports with the installed serial ports, sorted (code 23 when the
// port list cannot be read; Ports is then unchanged).
void EnumComPorts(TStrings* Ports);

// Hands the exception being handled to the application's exception handler
// (call inside a catch block).
void ComPortHandleException(TObject* Sender);
