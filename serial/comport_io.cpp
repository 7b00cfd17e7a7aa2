// Port I/O and line control: overlapped reads and writes with their records,
// queue counts, purging, modem lines, line errors and the one-off event wait.

#include "serial/comport.h"

#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------------------
// Asynchronous records

TComPortAsync::TComPortAsync() {
    Overlapped.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
}

TComPortAsync::~TComPortAsync() {
    if (Overlapped.hEvent) CloseHandle(Overlapped.hEvent);
}

void ComInitAsync(TComPortAsyncPtr& AsyncPtr) {
    if (!AsyncPtr) AsyncPtr = std::make_unique<TComPortAsync>();
}

void ComCleanupAsync(TComPortAsyncPtr& AsyncPtr) {
    AsyncPtr.reset();
}

void PrepareAsync(TOperationKind AKind, const void* Buffer, Integer Count, PAsync AsyncPtr) {
    if (!AsyncPtr) throw EComPort(CError_InvalidAsync);
    Count = std::max(Count, 0);
    AsyncPtr->Kind = AKind;
    AsyncPtr->Data.assign(static_cast<std::size_t>(Count), 0);
    if (Buffer && Count > 0) std::memcpy(AsyncPtr->Data.data(), Buffer, static_cast<std::size_t>(Count));
    AsyncPtr->Size = Count;
}

// ---------------------------------------------------------------------------
// Reads and writes

Integer TCustomComPort::WriteAsync(const void* Buffer, Integer Count, PAsync AsyncPtr) {
    if (!AsyncPtr) throw EComPort(CError_InvalidAsync);
    Count = std::max(Count, 0);
    PrepareAsync(okWrite, Buffer, Count, AsyncPtr);
    DWORD written = 0;
    if (!WriteFile(FHandle, Buffer, static_cast<DWORD>(Count), &written, &AsyncPtr->Overlapped)) {
        const DWORD error = GetLastError();
        if (error != ERROR_IO_PENDING) RaiseWin32(CError_WriteFailed, error);
    }
    SendSignalToLink(leTx, true);
    return static_cast<Integer>(written);
}

Integer TCustomComPort::WriteStrAsync(const AnsiString& Str, PAsync AsyncPtr) {
    if (Str.empty()) return 0;
    return WriteAsync(Str.data(), static_cast<Integer>(Str.size()), AsyncPtr);
}

// Starts a read; false with the Win32 error when the driver refuses it. Got
// is what a read that completed at once transferred.
bool TCustomComPort::StartRead(void* Buffer, Integer Count, PAsync AsyncPtr, DWORD& Error, DWORD& Got) {
    if (!AsyncPtr) throw EComPort(CError_InvalidAsync);
    AsyncPtr->Kind = okRead;
    Count = std::max(Count, 0);
    if (Count >= 1) static_cast<AnsiChar*>(Buffer)[0] = 0; // never past an empty buffer
    Got = 0;
    Error = ERROR_SUCCESS;
    if (!ReadFile(FHandle, Buffer, static_cast<DWORD>(Count), &Got, &AsyncPtr->Overlapped)) {
        Error = GetLastError();
        if (Error != ERROR_IO_PENDING) return false;
    }
    return true;
}

Integer TCustomComPort::ReadAsync(void* Buffer, Integer Count, PAsync AsyncPtr) {
    DWORD error = ERROR_SUCCESS, got = 0;
    if (!StartRead(Buffer, Count, AsyncPtr, error, got)) return 0;
    return static_cast<Integer>(got);
}

Integer TCustomComPort::ReadStrAsync(AnsiString& Str, Integer Count, PAsync AsyncPtr) {
    Str.assign(static_cast<std::size_t>(std::max(Count, 0)), '\0');
    if (Count < 1) return 0;
    return ReadAsync(Str.data(), Count, AsyncPtr);
}

Integer TCustomComPort::WaitForAsync(PAsync AsyncPtr) {
    if (!AsyncPtr) throw EComPort(CError_InvalidAsync);
    DWORD transferred = 0;
    const bool done = WaitForSingleObject(AsyncPtr->Overlapped.hEvent, INFINITE) == WAIT_OBJECT_0 &&
                      GetOverlappedResult(FHandle, &AsyncPtr->Overlapped, &transferred, FALSE);
    if (!done) RaiseWin32(AsyncPtr->Kind == okRead ? CError_ReadFailed : CError_WriteFailed, GetLastError());
    if (AsyncPtr->Kind == okRead) {
        if (InputCount() == 0) SendSignalToLink(leRx, false);
    } else if (!AsyncPtr->Data.empty() && transferred > 0) {
        // Only bytes that a completed write handed over are reported as sent.
        const DWORD sent = std::min<DWORD>(transferred, static_cast<DWORD>(AsyncPtr->Data.size()));
        TxNotifyLink(AsyncPtr->Data.data(), static_cast<Integer>(sent));
    }
    return static_cast<Integer>(transferred);
}

bool TCustomComPort::IsAsyncCompleted(PAsync AsyncPtr) {
    if (!AsyncPtr) throw EComPort(CError_InvalidAsync);
    DWORD transferred = 0;
    if (GetOverlappedResult(FHandle, &AsyncPtr->Overlapped, &transferred, FALSE)) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_IO_PENDING && error != ERROR_IO_INCOMPLETE) RaiseWin32(CError_AsyncCheck, error);
    return false;
}

Integer TCustomComPort::Write(const void* Buffer, Integer Count) {
    Count = std::max(Count, 0);
    if (FOverlapped) {
        ComInitAsync(FWriteAsyncPtr);
        WriteAsync(Buffer, Count, FWriteAsyncPtr.get());
        return WaitForAsync(FWriteAsyncPtr.get());
    }
    if (!FConnected) return 0;
    DWORD written = 0;
    return WriteFile(FHandle, Buffer, static_cast<DWORD>(Count), &written, nullptr) ? Count : 0;
}

Integer TCustomComPort::WriteStr(const AnsiString& Str) {
    // Nothing to write: waiting on the record would report its previous write.
    if (Str.empty()) return 0;
    return Write(Str.data(), static_cast<Integer>(Str.size()));
}

Integer TCustomComPort::Read(void* Buffer, Integer Count) {
    ComInitAsync(FReadAsyncPtr);
    DWORD error = ERROR_SUCCESS, got = 0;
    // A refused read never completes: report it rather than wait for it.
    if (!StartRead(Buffer, Count, FReadAsyncPtr.get(), error, got)) RaiseWin32(CError_ReadFailed, error);
    return WaitForAsync(FReadAsyncPtr.get());
}

Integer TCustomComPort::ReadStr(AnsiString& Str, Integer Count) {
    ComInitAsync(FReadAsyncPtr);
    PAsync async = FReadAsyncPtr.get();
    PrepareAsync(okRead, nullptr, Count, async);
    DWORD error = ERROR_SUCCESS, got = 0;
    if (!StartRead(async->Data.data(), async->Size, async, error, got)) RaiseWin32(CError_ReadFailed, error);
    const Integer n = WaitForAsync(async);
    if (n >= 1)
        Str.assign(async->Data.data(), static_cast<std::size_t>(std::min(n, async->Size)));
    else
        Str.clear();
    return n;
}

// ---------------------------------------------------------------------------
// Line state and control

namespace {

struct CommStatus {
    DWORD errors = 0;
    COMSTAT stat{};
};

} // namespace

Integer TCustomComPort::InputCount() {
    CommStatus s;
    if (!ClearCommError(FHandle, &s.errors, &s.stat)) RaiseWin32(CError_ClearComFailed, GetLastError());
    return static_cast<Integer>(s.stat.cbInQue);
}

Integer TCustomComPort::OutputCount() {
    CommStatus s;
    if (!ClearCommError(FHandle, &s.errors, &s.stat)) RaiseWin32(CError_ClearComFailed, GetLastError());
    return static_cast<Integer>(s.stat.cbOutQue);
}

TComStateFlags TCustomComPort::StateFlags() {
    CommStatus s;
    if (!ClearCommError(FHandle, &s.errors, &s.stat)) RaiseWin32(CError_ClearComFailed, GetLastError());
    const COMSTAT& st = s.stat;
    const unsigned bits[] = {st.fCtsHold,  st.fDsrHold, st.fRlsdHold, st.fXoffHold,
                             st.fXoffSent, st.fEof,     st.fTxim};
    TComStateFlags flags;
    for (int i = fsCTSHold; i <= fsTxim; ++i)
        if (bits[i]) flags.Include(static_cast<TComStateFlag>(i));
    return flags;
}

TComErrors TCustomComPort::LastErrors() {
    CommStatus s;
    if (!ClearCommError(FHandle, &s.errors, &s.stat)) RaiseWin32(CError_ClearComFailed, GetLastError());
    TComErrors errors;
    if (s.errors & CE_FRAME) errors.Include(ceFrame);
    if ((s.errors & CE_RXPARITY) && FParity->GetCheck()) errors.Include(ceRxParity);
    if (s.errors & CE_OVERRUN) errors.Include(ceOverrun);
    if (s.errors & CE_BREAK) errors.Include(ceBreak);
    if (s.errors & CE_IOE) errors.Include(ceIO);
    if (s.errors & CE_MODE) errors.Include(ceMode);
    if (s.errors & CE_RXOVER) errors.Include(ceRxOver);
    if (s.errors & CE_TXFULL) errors.Include(ceTxFull);
    return errors;
}

TComSignals TCustomComPort::Signals() {
    TComSignals signals;
    if (!FOverlapped) return signals; // no query without overlapped I/O; callers take single bits
    DWORD status = 0;
    if (!GetCommModemStatus(FHandle, &status)) RaiseWin32(CError_ModemStatFailed, GetLastError());
    if (status & MS_CTS_ON) signals.Include(csCTS);
    if (status & MS_DSR_ON) signals.Include(csDSR);
    if (status & MS_RING_ON) signals.Include(csRing);
    if (status & MS_RLSD_ON) signals.Include(csRLSD);
    return signals;
}

namespace {

bool Escape(HANDLE Handle, bool OnOff, DWORD On, DWORD Off) {
    return EscapeCommFunction(Handle, OnOff ? On : Off) != FALSE;
}

} // namespace

void TCustomComPort::SetBreak(bool OnOff) {
    if (!Escape(FHandle, OnOff, SETBREAK, CLRBREAK)) RaiseWin32(CError_EscapeComFailed, GetLastError());
}

void TCustomComPort::SetDTR(bool OnOff) {
    if (!Escape(FHandle, OnOff, SETDTR, CLRDTR)) RaiseWin32(CError_EscapeComFailed, GetLastError());
}

void TCustomComPort::SetRTS(bool OnOff) {
    if (!Escape(FHandle, OnOff, SETRTS, CLRRTS)) RaiseWin32(CError_EscapeComFailed, GetLastError());
}

void TCustomComPort::SetXonXoff(bool OnOff) {
    if (!Escape(FHandle, OnOff, SETXON, SETXOFF)) RaiseWin32(CError_EscapeComFailed, GetLastError());
}

void TCustomComPort::ClearBuffer(bool Input, bool Output) {
    if (!Input && !Output) return; // purging nothing is no request, not a failure
    const DWORD flags = (Input ? PURGE_RXCLEAR : 0) | (Output ? PURGE_TXCLEAR : 0);
    if (!PurgeComm(FHandle, flags)) RaiseWin32(CError_PurgeFailed, GetLastError());
}

void TCustomComPort::AbortAllAsync() {
    if (!FOverlapped) return;
    if (!PurgeComm(FHandle, PURGE_TXABORT | PURGE_RXABORT)) RaiseWin32(CError_PurgeFailed, GetLastError());
}

void TCustomComPort::TransmitChar(AnsiChar Ch) {
    if (!TransmitCommChar(FHandle, Ch)) RaiseWin32(CError_TransmitFailed, GetLastError());
}

void TCustomComPort::WaitForEvent(TComEvents& Events, HANDLE StopEvent, Integer Timeout) {
    if (FThreadCreated) throw EComPort(CError_ThreadCreated);
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct EventCloser {
        HANDLE h;
        ~EventCloser() { CloseHandle(h); }
    } closer{overlapped.hEvent};
    DWORD mask = 0;
    DWORD error = ERROR_SUCCESS;
    SetCommMask(FHandle, EventsToInt(Events));
    bool success = WaitCommEvent(FHandle, &mask, &overlapped) || (error = GetLastError()) == ERROR_IO_PENDING;
    DWORD signaled = WAIT_FAILED;
    if (success) {
        const HANDLE handles[2] = {overlapped.hEvent, StopEvent};
        signaled = WaitForMultipleObjects(StopEvent ? 2 : 1, handles, FALSE, static_cast<DWORD>(Timeout));
        success = signaled == WAIT_OBJECT_0 || signaled == WAIT_OBJECT_0 + 1 || signaled == WAIT_TIMEOUT;
        if (!success) error = GetLastError();
        SetCommMask(FHandle, 0);
        // The wait ends asynchronously; it must be over before its record goes.
        DWORD unused = 0;
        GetOverlappedResult(FHandle, &overlapped, &unused, TRUE);
    }
    if (!success) RaiseWin32(CError_WaitFailed, error);
    Events = signaled == WAIT_OBJECT_0 ? IntToEvents(mask) : TComEvents{};
}
