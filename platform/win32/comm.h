#pragma once
// The Win32 communications API: structures, constants and functions with the
// Windows names and semantics, served by a replaceable backend. The default
// backend drives termios devices (one service thread per open device); tests
// install the recording fake (comm_fake.h).
//
// Port names given to CreateFileW: a leading "\\.\" is stripped; an absolute
// path is used as is; "COM<n>" stands for /dev/ttyS<n-1> unless /dev/COM<n>
// exists; any other name is /dev/<name>. Only character-device terminals are
// accepted; anything else fails with ERROR_FILE_NOT_FOUND.
//
// What Linux cannot do is stored and otherwise ignored: DTR/DSR hardware flow
// (fOutxDsrFlow, fDsrSensitivity, DTR_CONTROL_HANDSHAKE raise DTR only),
// XonLim/XoffLim, fTXContinueOnXoff. CTS output flow and RTS handshake are one
// switch (CRTSCTS) on Linux.

#include "platform/win32/winevents.h"

#include <memory>
#include <string>
#include <string_view>

struct OVERLAPPED {
    ULONG_PTR Internal; // completion status; STATUS_PENDING while running
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};
using LPOVERLAPPED = OVERLAPPED*;

struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};
static_assert(sizeof(DCB) == 28, "DCB must keep its Win32 size");
using LPDCB = DCB*;

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};
using LPCOMMTIMEOUTS = COMMTIMEOUTS*;

struct COMSTAT {
    DWORD fCtsHold : 1;
    DWORD fDsrHold : 1;
    DWORD fRlsdHold : 1;
    DWORD fXoffHold : 1;
    DWORD fXoffSent : 1;
    DWORD fEof : 1;
    DWORD fTxim : 1;
    DWORD fReserved : 25;
    DWORD cbInQue;
    DWORD cbOutQue;
};
static_assert(sizeof(COMSTAT) == 12, "COMSTAT must keep its Win32 size");
using LPCOMSTAT = COMSTAT*;

inline constexpr DWORD GENERIC_READ = 0x80000000u;
inline constexpr DWORD GENERIC_WRITE = 0x40000000u;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000u;
inline constexpr ULONG_PTR STATUS_PENDING = 0x103;

// Events (SetCommMask, WaitCommEvent).
inline constexpr DWORD EV_RXCHAR = 0x0001;
inline constexpr DWORD EV_RXFLAG = 0x0002;
inline constexpr DWORD EV_TXEMPTY = 0x0004;
inline constexpr DWORD EV_CTS = 0x0008;
inline constexpr DWORD EV_DSR = 0x0010;
inline constexpr DWORD EV_RLSD = 0x0020;
inline constexpr DWORD EV_BREAK = 0x0040;
inline constexpr DWORD EV_ERR = 0x0080;
inline constexpr DWORD EV_RING = 0x0100;
inline constexpr DWORD EV_PERR = 0x0200;
inline constexpr DWORD EV_RX80FULL = 0x0400;

// Line errors (ClearCommError).
inline constexpr DWORD CE_RXOVER = 0x0001;
inline constexpr DWORD CE_OVERRUN = 0x0002;
inline constexpr DWORD CE_RXPARITY = 0x0004;
inline constexpr DWORD CE_FRAME = 0x0008;
inline constexpr DWORD CE_BREAK = 0x0010;
inline constexpr DWORD CE_TXFULL = 0x0100;
inline constexpr DWORD CE_IOE = 0x0400;
inline constexpr DWORD CE_MODE = 0x8000;

// Modem lines (GetCommModemStatus).
inline constexpr DWORD MS_CTS_ON = 0x0010;
inline constexpr DWORD MS_DSR_ON = 0x0020;
inline constexpr DWORD MS_RING_ON = 0x0040;
inline constexpr DWORD MS_RLSD_ON = 0x0080;

inline constexpr DWORD PURGE_TXABORT = 0x0001;
inline constexpr DWORD PURGE_RXABORT = 0x0002;
inline constexpr DWORD PURGE_TXCLEAR = 0x0004;
inline constexpr DWORD PURGE_RXCLEAR = 0x0008;

// EscapeCommFunction.
inline constexpr DWORD SETXOFF = 1;
inline constexpr DWORD SETXON = 2;
inline constexpr DWORD SETRTS = 3;
inline constexpr DWORD CLRRTS = 4;
inline constexpr DWORD SETDTR = 5;
inline constexpr DWORD CLRDTR = 6;
inline constexpr DWORD RESETDEV = 7;
inline constexpr DWORD SETBREAK = 8;
inline constexpr DWORD CLRBREAK = 9;

inline constexpr DWORD DTR_CONTROL_DISABLE = 0;
inline constexpr DWORD DTR_CONTROL_ENABLE = 1;
inline constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
inline constexpr DWORD RTS_CONTROL_DISABLE = 0;
inline constexpr DWORD RTS_CONTROL_ENABLE = 1;
inline constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;
inline constexpr DWORD RTS_CONTROL_TOGGLE = 3;

inline constexpr BYTE NOPARITY = 0;
inline constexpr BYTE ODDPARITY = 1;
inline constexpr BYTE EVENPARITY = 2;
inline constexpr BYTE MARKPARITY = 3;
inline constexpr BYTE SPACEPARITY = 4;
inline constexpr BYTE ONESTOPBIT = 0;
inline constexpr BYTE ONE5STOPBITS = 1;
inline constexpr BYTE TWOSTOPBITS = 2;

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped);
BOOL GetOverlappedResult(HANDLE hFile, LPOVERLAPPED lpOverlapped, LPDWORD lpNumberOfBytesTransferred,
                         BOOL bWait);
BOOL SetupComm(HANDLE hFile, DWORD dwInQueue, DWORD dwOutQueue);
BOOL SetCommState(HANDLE hFile, LPDCB lpDCB);
BOOL GetCommState(HANDLE hFile, LPDCB lpDCB);
BOOL SetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts);
BOOL GetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts);
BOOL SetCommMask(HANDLE hFile, DWORD dwEvtMask);
BOOL GetCommMask(HANDLE hFile, LPDWORD lpEvtMask);
BOOL WaitCommEvent(HANDLE hFile, LPDWORD lpEvtMask, LPOVERLAPPED lpOverlapped);
BOOL PurgeComm(HANDLE hFile, DWORD dwFlags);
BOOL ClearCommError(HANDLE hFile, LPDWORD lpErrors, LPCOMSTAT lpStat);
BOOL EscapeCommFunction(HANDLE hFile, DWORD dwFunc);
BOOL GetCommModemStatus(HANDLE hFile, LPDWORD lpModemStat);
BOOL TransmitCommChar(HANDLE hFile, char cChar);

namespace win32 {

// One open comm device. Every operation returns ERROR_SUCCESS, a Win32 error,
// or ERROR_IO_PENDING for a started overlapped operation. The API layer has
// already reset the OVERLAPPED (event reset, Internal = STATUS_PENDING) before
// Read, Write and WaitEvent; a device completes it through CompleteOverlapped,
// at once or later from any thread, and keeps no reference to it afterwards.
// Close() (from CloseHandle) completes whatever is pending with
// ERROR_OPERATION_ABORTED.
class CommDevice : public KernelObject {
public:
    virtual bool Overlapped() const = 0;
    virtual DWORD Setup(DWORD inQueue, DWORD outQueue) = 0;
    virtual DWORD SetState(const DCB& dcb) = 0;
    virtual DWORD GetState(DCB& dcb) = 0;
    virtual DWORD SetTimeouts(const COMMTIMEOUTS& timeouts) = 0;
    virtual DWORD GetTimeouts(COMMTIMEOUTS& timeouts) = 0;
    virtual DWORD SetMask(DWORD mask) = 0;
    virtual DWORD GetMask(DWORD& mask) = 0;
    virtual DWORD WaitEvent(DWORD* mask, OVERLAPPED* ov) = 0;
    virtual DWORD Read(void* buffer, DWORD count, OVERLAPPED* ov) = 0;
    virtual DWORD Write(const void* buffer, DWORD count, OVERLAPPED* ov) = 0;
    virtual DWORD Purge(DWORD flags) = 0;
    virtual DWORD ClearError(DWORD& errors, COMSTAT& stat) = 0;
    virtual DWORD Escape(DWORD function) = 0;
    virtual DWORD ModemStatus(DWORD& status) = 0;
    virtual DWORD TransmitChar(char c) = 0;
    // Brings in what has arrived, for a caller that polls a pending operation
    // instead of waiting on its event.
    virtual void Service() {}
};

class CommBackend {
public:
    virtual ~CommBackend() = default;
    // Opens a device for CreateFileW; nullptr with `error` set on failure.
    virtual std::shared_ptr<CommDevice> Open(std::u16string_view name, DWORD access, DWORD share,
                                             DWORD disposition, DWORD flags, DWORD& error) = 0;
};

// The termios backend, in use unless a test installs another.
CommBackend& TermiosCommBackend();
// Installs a backend for the devices opened from now on; nullptr restores the
// termios backend. Returns the previous one.
CommBackend* SetCommBackend(CommBackend* backend);

// Completes an overlapped operation: result fields, then the event.
void CompleteOverlapped(OVERLAPPED* ov, DWORD error, DWORD bytes);
bool OverlappedPending(const OVERLAPPED* ov);

// The device path for a port name ("" when the name is empty).
std::string CommDevicePath(std::u16string_view name);

} // namespace win32
