#pragma once
// Kernel handles, the thread's last error, and event objects with the wait
// functions, with Windows semantics. Handles are ids from a counter that is
// never reused, so a stale handle fails with ERROR_INVALID_HANDLE instead of
// reaching a recycled object.

#include "platform/win32/wintypes.h"

#include <functional>
#include <memory>

inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_ABANDONED = 0x80;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

DWORD GetLastError();
void SetLastError(DWORD dwErrCode);

// Closes any kernel handle (events and comm devices).
BOOL CloseHandle(HANDLE hObject);

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                    LPCWSTR lpName);
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
// Waits for any of the events (bWaitAll = TRUE is not supported and fails with
// ERROR_INVALID_PARAMETER); the lowest signalled index wins, and an auto-reset
// event is consumed by the wait that reports it.
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);
// Sleep is SysUtils' (platform/core/sysutils.h).

namespace win32 {

// Anything a handle can stand for. Close() runs once, when the handle is closed.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    virtual void Close() {}
};

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> LookupHandle(HANDLE h);

template <class T>
std::shared_ptr<T> LookupHandleAs(HANDLE h) {
    return std::dynamic_pointer_cast<T>(LookupHandle(h));
}

// Number of open handles (tests check that nothing leaks).
std::size_t OpenHandleCount();

// A source of the event: while a thread waits on the event, it also watches
// fd and, when fd is readable, calls pump itself (which may set the event).
// So a device's data wakes the waiting thread directly, with no thread of the
// device between. pump returns false when the fd has nothing more to give for
// now (the waiter then stops watching it). One source per event; attaching
// replaces it. The pump must stay safe to call after it is detached.
bool AttachEventSource(HANDLE hEvent, int fd, std::function<bool()> pump);
void DetachEventSource(HANDLE hEvent);

// Waits for an event on the main thread without blocking it: Done runs on the
// main thread, from its event loop (or CheckSynchronize), once the event is
// signalled (an auto-reset event is taken). While it waits, the main thread
// reads the event's source itself, so a device's data reaches it with no other
// thread woken. Done runs from the event loop also when the event is signalled
// already at Start. One wait at a time; made, started, cancelled and freed on
// the main thread only. Done may start the next wait or free this object.
class MainThreadEventWait {
public:
    explicit MainThreadEventWait(std::function<void()> Done);
    ~MainThreadEventWait();
    MainThreadEventWait(const MainThreadEventWait&) = delete;
    MainThreadEventWait& operator=(const MainThreadEventWait&) = delete;

    // False when hEvent is no event (then nothing waits).
    bool Start(HANDLE hEvent);
    void Cancel();
    bool Waiting() const;

private:
    struct State;
    void EventReady();
    void SourceReady();
    void Finish();
    void Stop(); // no longer waits; the watches stay as they are

    std::function<void()> done_;
    std::unique_ptr<State> state_;
};

} // namespace win32
