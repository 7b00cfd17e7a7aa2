#include "platform/win32/winevents.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace win32 {
namespace {

thread_local DWORD tLastError = ERROR_SUCCESS;

struct HandleTable {
    std::mutex lock;
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
    std::uintptr_t next = 0x100; // ids step by 4 like Windows handles; 0 and -1 never occur
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

// One lock and one condition for every event: waits are rare and short-lived,
// and a single condition makes waiting on several events at once trivial.
std::mutex& EventLock() {
    static std::mutex lock;
    return lock;
}
std::condition_variable& EventSignal() {
    static std::condition_variable signal;
    return signal;
}

class EventObject final : public KernelObject {
public:
    EventObject(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}
    // The caller holds EventLock().
    bool Signalled() const { return signalled_; }
    void Set() { signalled_ = true; }
    void Reset() { signalled_ = false; }
    void Consume() {
        if (!manualReset_) signalled_ = false;
    }

private:
    const bool manualReset_;
    bool signalled_;
};

} // namespace

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object) {
    HandleTable& t = Table();
    std::lock_guard guard(t.lock);
    const std::uintptr_t id = t.next;
    t.next += 4;
    t.objects.emplace(id, std::move(object));
    return reinterpret_cast<HANDLE>(id);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE h) {
    HandleTable& t = Table();
    std::lock_guard guard(t.lock);
    const auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(h));
    return it == t.objects.end() ? nullptr : it->second;
}

std::size_t OpenHandleCount() {
    HandleTable& t = Table();
    std::lock_guard guard(t.lock);
    return t.objects.size();
}

} // namespace win32

using win32::EventObject;

DWORD GetLastError() {
    return win32::tLastError;
}
void SetLastError(DWORD dwErrCode) {
    win32::tLastError = dwErrCode;
}

BOOL CloseHandle(HANDLE hObject) {
    std::shared_ptr<win32::KernelObject> object;
    {
        win32::HandleTable& t = win32::Table();
        std::lock_guard guard(t.lock);
        const auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(hObject));
        if (it != t.objects.end()) {
            object = std::move(it->second);
            t.objects.erase(it);
        }
    }
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    object->Close(); // outside the table lock: closing a device joins its thread
    return TRUE;
}

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName) {
    if (lpName) { // named events would be shared between processes; nothing here needs them
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return win32::RegisterHandle(
        std::make_shared<EventObject>(bManualReset != FALSE, bInitialState != FALSE));
}

namespace {

template <class Fn>
BOOL WithEvent(HANDLE h, Fn fn) {
    const auto ev = win32::LookupHandleAs<EventObject>(h);
    if (!ev) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    {
        std::lock_guard guard(win32::EventLock());
        fn(*ev);
    }
    win32::EventSignal().notify_all();
    return TRUE;
}

} // namespace

BOOL SetEvent(HANDLE hEvent) {
    return WithEvent(hEvent, [](EventObject& e) { e.Set(); });
}

BOOL ResetEvent(HANDLE hEvent) {
    return WithEvent(hEvent, [](EventObject& e) { e.Reset(); });
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds) {
    if (nCount == 0 || nCount > 64 || !lpHandles || bWaitAll) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<EventObject>> events;
    events.reserve(nCount);
    for (DWORD i = 0; i < nCount; ++i) {
        auto ev = win32::LookupHandleAs<EventObject>(lpHandles[i]);
        if (!ev) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        events.push_back(std::move(ev));
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMilliseconds);
    std::unique_lock lock(win32::EventLock());
    const auto scan = [&]() -> DWORD {
        for (DWORD i = 0; i < nCount; ++i) {
            if (events[i]->Signalled()) {
                events[i]->Consume();
                return WAIT_OBJECT_0 + i;
            }
        }
        return WAIT_TIMEOUT;
    };
    for (;;) {
        if (const DWORD r = scan(); r != WAIT_TIMEOUT) return r;
        if (dwMilliseconds == INFINITE)
            win32::EventSignal().wait(lock);
        else if (win32::EventSignal().wait_until(lock, deadline) == std::cv_status::timeout)
            return scan();
    }
}
