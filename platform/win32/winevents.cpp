#include "platform/win32/winevents.h"

#include "platform/core/threads.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
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

// An event is a flag with an eventfd that waiters sleep on in poll(), so
// setting one event wakes its own waiters and no one else. The eventfd is only
// made readable while someone waits: setting and resetting an event that no
// one waits for (an I/O record that completes at once) costs no system call.
class EventObject final : public KernelObject {
public:
    EventObject(bool manualReset, bool signalled)
        : manualReset_(manualReset), fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), signalled_(signalled) {}
    ~EventObject() override {
        if (fd_ >= 0) ::close(fd_);
    }
    bool Valid() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    void Set() {
        std::lock_guard guard(lock_);
        if (signalled_) return;
        signalled_ = true;
        if (waiters_ > 0) Arm();
    }
    void Reset() {
        std::lock_guard guard(lock_);
        signalled_ = false;
        Disarm();
    }
    // Signalled: true, and an auto-reset event is taken by the one who sees
    // it. Otherwise, when Register, the caller counts as a waiter from now on
    // (so a Set after this call makes the eventfd readable).
    bool TryConsume(bool Register) {
        std::lock_guard guard(lock_);
        if (signalled_) {
            if (!manualReset_) {
                signalled_ = false;
                Disarm();
            }
            return true;
        }
        if (Register) ++waiters_;
        return false;
    }
    void Unregister() {
        std::lock_guard guard(lock_);
        --waiters_;
    }
    // A waiter that watches the eventfd from an event loop: the eventfd is
    // readable from now on while the event is signalled, also when it already is.
    void Watch() {
        std::lock_guard guard(lock_);
        ++waiters_;
        if (signalled_) Arm();
    }
    void Attach(int fd, std::function<bool()> pump) {
        std::lock_guard guard(lock_);
        sourceFd_ = fd;
        source_ = std::move(pump);
    }
    void Detach() {
        std::lock_guard guard(lock_);
        sourceFd_ = -1;
        source_ = nullptr;
    }
    // The source a waiter polls besides the event itself (-1 when none).
    int Source(std::function<bool()>& pump) {
        std::lock_guard guard(lock_);
        pump = source_;
        return sourceFd_;
    }

private:
    void Arm() {
        if (armed_) return;
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(fd_, &one, sizeof one);
        armed_ = true;
    }
    void Disarm() {
        if (!armed_) return;
        std::uint64_t v;
        [[maybe_unused]] const auto n = ::read(fd_, &v, sizeof v);
        armed_ = false;
    }

    std::mutex lock_;
    const bool manualReset_;
    const int fd_;
    bool signalled_;
    bool armed_ = false; // the eventfd is readable
    int waiters_ = 0;
    int sourceFd_ = -1;
    std::function<bool()> source_;
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
    auto ev = std::make_shared<EventObject>(bManualReset != FALSE, bInitialState != FALSE);
    if (!ev->Valid()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return win32::RegisterHandle(std::move(ev));
}

namespace {

template <class Fn>
BOOL WithEvent(HANDLE h, Fn fn) {
    const auto ev = win32::LookupHandleAs<EventObject>(h);
    if (!ev) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    fn(*ev);
    return TRUE;
}

} // namespace

BOOL SetEvent(HANDLE hEvent) {
    return WithEvent(hEvent, [](EventObject& e) { e.Set(); });
}

BOOL ResetEvent(HANDLE hEvent) {
    return WithEvent(hEvent, [](EventObject& e) { e.Reset(); });
}

namespace win32 {

bool AttachEventSource(HANDLE hEvent, int fd, std::function<bool()> pump) {
    return WithEvent(hEvent, [&](EventObject& e) { e.Attach(fd, std::move(pump)); }) != FALSE;
}

void DetachEventSource(HANDLE hEvent) {
    WithEvent(hEvent, [](EventObject& e) { e.Detach(); });
}

// ---------------------------------------------------------------------------
// Waiting on the main thread

struct MainThreadEventWait::State {
    std::shared_ptr<EventObject> event;
    std::unique_ptr<TMainThreadWatch> eventWatch;  // the event's eventfd
    std::unique_ptr<TMainThreadWatch> sourceWatch; // the source attached to it
    std::function<bool()> pump;
    bool waiting = false;
    bool registered = false; // counted as a waiter of the event
};

MainThreadEventWait::MainThreadEventWait(std::function<void()> Done)
    : done_(std::move(Done)), state_(std::make_unique<State>()) {}

MainThreadEventWait::~MainThreadEventWait() {
    Cancel();
}

bool MainThreadEventWait::Start(HANDLE hEvent) {
    Stop();
    auto ev = LookupHandleAs<EventObject>(hEvent);
    if (!ev) {
        Cancel();
        return false;
    }
    State& st = *state_;
    if (ev != st.event) {
        st.eventWatch.reset();
        st.sourceWatch.reset();
        st.event = std::move(ev);
        st.eventWatch = std::make_unique<TMainThreadWatch>(st.event->Fd(), [this] { EventReady(); });
    }
    std::function<bool()> pump;
    const int source = st.event->Source(pump);
    if (source < 0) {
        if (st.sourceWatch) st.sourceWatch->SetEnabled(false);
    } else if (!st.sourceWatch || st.sourceWatch->GetFd() != source) {
        st.sourceWatch = std::make_unique<TMainThreadWatch>(source, [this] { SourceReady(); });
    }
    st.pump = std::move(pump);
    // Already signalled: the eventfd is readable at once, and the event loop
    // runs before Done (so a stream of batches never starves it).
    st.event->Watch();
    st.registered = st.waiting = true;
    st.eventWatch->SetEnabled(true);
    if (st.sourceWatch && source >= 0) st.sourceWatch->SetEnabled(true);
    return true;
}

void MainThreadEventWait::Cancel() {
    Stop();
    State& st = *state_;
    if (st.eventWatch) st.eventWatch->SetEnabled(false);
    if (st.sourceWatch) st.sourceWatch->SetEnabled(false);
}

void MainThreadEventWait::Stop() {
    State& st = *state_;
    if (!st.waiting) return;
    st.waiting = false;
    if (st.registered) st.event->Unregister();
    st.registered = false;
    st.pump = nullptr;
}

bool MainThreadEventWait::Waiting() const {
    return state_->waiting;
}

// The watches stay enabled from one wait to the next (Done usually starts
// the next one at once): one that fires between waits (in an event loop that
// a handler runs) is switched off then.
void MainThreadEventWait::EventReady() {
    State& st = *state_;
    if (!st.waiting)
        st.eventWatch->SetEnabled(false);
    else if (st.event->TryConsume(false))
        Finish();
}

void MainThreadEventWait::SourceReady() {
    State& st = *state_;
    if (!st.waiting) return st.sourceWatch->SetEnabled(false);
    // Not a waiter while reading the source: a signal it brings is taken here
    // without touching the eventfd.
    st.event->Unregister();
    st.registered = false;
    const std::function<bool()> pump = st.pump;
    const bool more = pump();
    if (st.event->TryConsume(true)) {
        Finish();
        return;
    }
    st.registered = true;
    // Nothing more to take now (the queue is full): the event says when.
    if (!more) st.sourceWatch->SetEnabled(false);
}

void MainThreadEventWait::Finish() {
    Stop();
    // A copy: Done may free this object.
    const std::function<void()> done = done_;
    done();
}

} // namespace win32

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
    // One pass over the events in order: the lowest signalled one wins. With
    // Register, the events passed become waited for (and are released again
    // when one turns out signalled).
    const auto scan = [&](bool Register) -> DWORD {
        for (DWORD i = 0; i < nCount; ++i) {
            if (events[i]->TryConsume(Register)) {
                if (Register)
                    for (DWORD k = 0; k < i; ++k) events[k]->Unregister();
                return WAIT_OBJECT_0 + i;
            }
        }
        return WAIT_TIMEOUT;
    };
    std::vector<pollfd> fds;
    std::vector<std::function<bool()>> pumps;
    std::vector<DWORD> owner;
    std::vector<bool> dropped(nCount, false); // sources that had nothing more to give
    for (;;) {
        if (const DWORD r = scan(true); r != WAIT_TIMEOUT) return r;
        fds.clear();
        pumps.clear();
        owner.clear();
        for (DWORD i = 0; i < nCount; ++i) fds.push_back({events[i]->Fd(), POLLIN, 0});
        // Sources attached to the events: the waiter reads them itself, so what
        // they bring wakes this thread and no other on the way.
        for (DWORD i = 0; i < nCount; ++i) {
            std::function<bool()> pump;
            const int fd = events[i]->Source(pump);
            if (fd < 0 || dropped[i]) continue;
            fds.push_back({fd, POLLIN, 0});
            pumps.push_back(std::move(pump));
            owner.push_back(i);
        }
        int timeout = -1;
        if (dwMilliseconds != INFINITE) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            timeout = static_cast<int>(std::clamp<long long>(left.count(), 0, 0x7FFFFFFF));
        }
        const int n = ::poll(fds.data(), fds.size(), timeout);
        const int error = errno;
        for (DWORD i = 0; i < nCount; ++i) events[i]->Unregister();
        if (n < 0 && error != EINTR) {
            SetLastError(ERROR_GEN_FAILURE);
            return WAIT_FAILED;
        }
        for (std::size_t k = 0; n > 0 && k < pumps.size(); ++k)
            if (fds[nCount + k].revents && !pumps[k]()) dropped[owner[k]] = true;
        if (n == 0) return scan(false);
    }
}
