#include "platform/win32/comm.h"

#include "platform/core/sysutils.h"
#include "platform/win32/serialcomm.h"

#include <atomic>
#include <filesystem>

namespace win32 {
namespace {

// OVERLAPPED.Internal holds STATUS_PENDING, 0, or a Win32 error tagged so that
// no error code can be mistaken for STATUS_PENDING.
constexpr ULONG_PTR kErrorTag = 0xE0000000u;

std::atomic<CommBackend*> gBackend{nullptr};

CommBackend& Backend() {
    CommBackend* b = gBackend.load();
    return b ? *b : TermiosCommBackend();
}

std::atomic_ref<ULONG_PTR> Status(OVERLAPPED* ov) {
    return std::atomic_ref<ULONG_PTR>(ov->Internal);
}

DWORD ErrorOf(OVERLAPPED* ov) {
    const ULONG_PTR s = Status(ov).load(std::memory_order_acquire);
    return s == 0 ? ERROR_SUCCESS : static_cast<DWORD>(s & ~kErrorTag);
}

void BeginOverlapped(OVERLAPPED* ov) {
    if (ov->hEvent) ResetEvent(ov->hEvent);
    ov->InternalHigh = 0;
    Status(ov).store(STATUS_PENDING, std::memory_order_release);
}

void AwaitOverlapped(OVERLAPPED* ov) {
    while (OverlappedPending(ov)) {
        if (!ov->hEvent || WaitForSingleObject(ov->hEvent, INFINITE) != WAIT_OBJECT_0) Sleep(1);
    }
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

template <class Fn>
BOOL CallDevice(HANDLE h, Fn fn) {
    const auto dev = LookupHandleAs<CommDevice>(h);
    if (!dev) return Fail(ERROR_INVALID_HANDLE);
    const DWORD r = fn(*dev);
    return r == ERROR_SUCCESS ? TRUE : Fail(r);
}

// Runs a read, write or event wait. On an overlapped handle it starts the
// operation; on a synchronous one it returns when the operation is done (the
// caller's OVERLAPPED, when given, is filled as well).
template <class Start>
BOOL RunOperation(HANDLE h, OVERLAPPED* ov, DWORD* transferred, Start start) {
    const auto dev = LookupHandleAs<CommDevice>(h);
    if (!dev) return Fail(ERROR_INVALID_HANDLE);
    if (transferred) *transferred = 0;
    if (dev->Overlapped()) {
        if (!ov) return Fail(ERROR_INVALID_PARAMETER);
        BeginOverlapped(ov);
        const DWORD r = start(*dev, ov);
        if (r != ERROR_SUCCESS) return Fail(r);
        if (transferred) *transferred = static_cast<DWORD>(ov->InternalHigh);
        return TRUE;
    }
    OVERLAPPED local{};
    OVERLAPPED* use = ov ? ov : &local;
    HANDLE temp = nullptr;
    if (!use->hEvent) use->hEvent = temp = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    BeginOverlapped(use);
    DWORD r = start(*dev, use);
    if (r == ERROR_IO_PENDING) {
        AwaitOverlapped(use);
        r = ErrorOf(use);
    }
    if (transferred) *transferred = static_cast<DWORD>(use->InternalHigh);
    if (temp) {
        CloseHandle(temp);
        use->hEvent = nullptr;
    }
    return r == ERROR_SUCCESS ? TRUE : Fail(r);
}

} // namespace

CommBackend* SetCommBackend(CommBackend* backend) {
    return gBackend.exchange(backend);
}

void CompleteOverlapped(OVERLAPPED* ov, DWORD error, DWORD bytes) {
    ov->InternalHigh = bytes;
    Status(ov).store(error == ERROR_SUCCESS ? 0 : (kErrorTag | error), std::memory_order_release);
    if (ov->hEvent) SetEvent(ov->hEvent);
}

bool OverlappedPending(const OVERLAPPED* ov) {
    return Status(const_cast<OVERLAPPED*>(ov)).load(std::memory_order_acquire) == STATUS_PENDING;
}

std::string CommDevicePath(std::u16string_view name) {
    if (name.starts_with(u"\\\\.\\")) name.remove_prefix(4);
    if (name.empty()) return {};
    const std::string path = UTF8Encode(name);
    if (path.front() == '/') return path;
    if (std::string device = RegisteredPortDevice(path); !device.empty()) return device;
    std::error_code ec;
    if (path.size() > 3 && (path[0] == 'C' || path[0] == 'c') && (path[1] == 'O' || path[1] == 'o') &&
        (path[2] == 'M' || path[2] == 'm') && path.find_first_not_of("0123456789", 3) == std::string::npos &&
        path.size() < 8 && !std::filesystem::exists("/dev/" + path, ec)) {
        const long n = std::stol(path.substr(3));
        if (n >= 1) return "/dev/ttyS" + std::to_string(n - 1);
    }
    return "/dev/" + path;
}

} // namespace win32

using win32::CommDevice;

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                   DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    if (!lpFileName || hTemplateFile) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    DWORD error = ERROR_SUCCESS;
    auto dev = win32::Backend().Open(lpFileName, dwDesiredAccess, dwShareMode, dwCreationDisposition,
                                     dwFlagsAndAttributes, error);
    if (!dev) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    return win32::RegisterHandle(std::move(dev));
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped) {
    if (!lpBuffer && nNumberOfBytesToRead > 0) return win32::Fail(ERROR_INVALID_PARAMETER);
    return win32::RunOperation(hFile, lpOverlapped, lpNumberOfBytesRead, [&](CommDevice& d, OVERLAPPED* ov) {
        return d.Read(lpBuffer, nNumberOfBytesToRead, ov);
    });
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped) {
    if (!lpBuffer && nNumberOfBytesToWrite > 0) return win32::Fail(ERROR_INVALID_PARAMETER);
    return win32::RunOperation(
        hFile, lpOverlapped, lpNumberOfBytesWritten,
        [&](CommDevice& d, OVERLAPPED* ov) { return d.Write(lpBuffer, nNumberOfBytesToWrite, ov); });
}

BOOL WaitCommEvent(HANDLE hFile, LPDWORD lpEvtMask, LPOVERLAPPED lpOverlapped) {
    if (!lpEvtMask) return win32::Fail(ERROR_INVALID_PARAMETER);
    return win32::RunOperation(hFile, lpOverlapped, nullptr,
                               [&](CommDevice& d, OVERLAPPED* ov) { return d.WaitEvent(lpEvtMask, ov); });
}

BOOL GetOverlappedResult(HANDLE hFile, LPOVERLAPPED lpOverlapped, LPDWORD lpNumberOfBytesTransferred,
                         BOOL bWait) {
    if (!lpOverlapped) return win32::Fail(ERROR_INVALID_PARAMETER);
    if (win32::OverlappedPending(lpOverlapped) && !bWait) {
        if (const auto dev = win32::LookupHandleAs<CommDevice>(hFile)) dev->Service();
    }
    if (win32::OverlappedPending(lpOverlapped)) {
        if (!bWait) return win32::Fail(ERROR_IO_INCOMPLETE);
        win32::AwaitOverlapped(lpOverlapped);
    }
    if (lpNumberOfBytesTransferred)
        *lpNumberOfBytesTransferred = static_cast<DWORD>(lpOverlapped->InternalHigh);
    const DWORD error = win32::ErrorOf(lpOverlapped);
    return error == ERROR_SUCCESS ? TRUE : win32::Fail(error);
}

BOOL SetupComm(HANDLE hFile, DWORD dwInQueue, DWORD dwOutQueue) {
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.Setup(dwInQueue, dwOutQueue); });
}

BOOL SetCommState(HANDLE hFile, LPDCB lpDCB) {
    if (!lpDCB) return win32::Fail(ERROR_INVALID_PARAMETER);
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.SetState(*lpDCB); });
}

BOOL GetCommState(HANDLE hFile, LPDCB lpDCB) {
    if (!lpDCB) return win32::Fail(ERROR_INVALID_PARAMETER);
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.GetState(*lpDCB); });
}

BOOL SetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts) {
    if (!lpCommTimeouts) return win32::Fail(ERROR_INVALID_PARAMETER);
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.SetTimeouts(*lpCommTimeouts); });
}

BOOL GetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts) {
    if (!lpCommTimeouts) return win32::Fail(ERROR_INVALID_PARAMETER);
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.GetTimeouts(*lpCommTimeouts); });
}

BOOL SetCommMask(HANDLE hFile, DWORD dwEvtMask) {
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.SetMask(dwEvtMask); });
}

BOOL GetCommMask(HANDLE hFile, LPDWORD lpEvtMask) {
    if (!lpEvtMask) return win32::Fail(ERROR_INVALID_PARAMETER);
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.GetMask(*lpEvtMask); });
}

BOOL PurgeComm(HANDLE hFile, DWORD dwFlags) {
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.Purge(dwFlags); });
}

BOOL ClearCommError(HANDLE hFile, LPDWORD lpErrors, LPCOMSTAT lpStat) {
    return win32::CallDevice(hFile, [&](CommDevice& d) {
        DWORD errors = 0;
        COMSTAT stat{};
        const DWORD r = d.ClearError(errors, stat);
        if (r == ERROR_SUCCESS) {
            if (lpErrors) *lpErrors = errors;
            if (lpStat) *lpStat = stat;
        }
        return r;
    });
}

BOOL EscapeCommFunction(HANDLE hFile, DWORD dwFunc) {
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.Escape(dwFunc); });
}

BOOL GetCommModemStatus(HANDLE hFile, LPDWORD lpModemStat) {
    if (!lpModemStat) return win32::Fail(ERROR_INVALID_PARAMETER);
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.ModemStatus(*lpModemStat); });
}

BOOL TransmitCommChar(HANDLE hFile, char cChar) {
    return win32::CallDevice(hFile, [&](CommDevice& d) { return d.TransmitChar(cChar); });
}
