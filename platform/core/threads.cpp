#include "platform/core/threads.h"

#include "platform/core/sysutils.h"
#include "platform/core/typinfo.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <poll.h>
#include <sstream>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct SyncRequest {
    TThreadProcedure method;
    bool waited = false; // Synchronize: the poster waits for done
    bool done = false;
    std::exception_ptr error;
};

// One lock and one condition for the queue, the finishing of threads and the
// completion of synchronised calls: every waiter re-checks its own condition.
struct SyncState {
    std::mutex lock;
    std::condition_variable signal;
    std::deque<std::shared_ptr<SyncRequest>> queue;
    bool mainKnown = false;
    TThreadID mainThread;
    std::mutex hookLock;
    std::function<void()> wakeHook;
    std::shared_ptr<const TMainThreadWatchHooks> watchHooks;
    // While the main thread sleeps in poll() for its watches, a posted call
    // wakes it through this eventfd (made on first use).
    int queueFd = -1;
    bool pollWaiting = false, queueFdSet = false;
    // The main thread's watches (touched on the main thread only), by id:
    // a watch freed by another's OnReady is then never called.
    std::vector<std::pair<std::uint64_t, TMainThreadWatch*>> watches;
    std::uint64_t nextWatch = 0;
    // The started threads until they are done with this state and the other
    // statics: an owned one until it has finished (its owner may free it from
    // then on), one that frees itself until it is freed (thread then null).
    std::vector<std::pair<std::uint64_t, const TThread*>> running;
    std::uint64_t nextRunning = 0;
    bool shutDown = false; // DoneClassesUnit has run: no call posted from now on runs
};

SyncState& Sync() {
    static SyncState s;
    return s;
}

void WakeMainThread() {
    SyncState& s = Sync();
    std::function<void()> hook;
    {
        std::lock_guard g(s.hookLock);
        hook = s.wakeHook;
    }
    if (hook) hook();
}

void Post(const std::shared_ptr<SyncRequest>& request) {
    SyncState& s = Sync();
    {
        std::lock_guard g(s.lock);
        if (s.shutDown) {
            request->error = std::make_exception_ptr(EThread(u"The main thread has shut down"));
            request->done = true;
            return;
        }
        s.queue.push_back(request);
        if (s.pollWaiting && !s.queueFdSet) {
            const std::uint64_t one = 1;
            s.queueFdSet = ::write(s.queueFd, &one, sizeof one) == sizeof one;
        }
    }
    s.signal.notify_all();
    WakeMainThread();
}

String ThreadIdText(TThreadID id) {
    std::ostringstream out;
    out << id;
    return UTF8ToString(out.str());
}

} // namespace

TThreadID GetCurrentThreadID() {
    return std::this_thread::get_id();
}

TThreadID MainThreadID() {
    SyncState& s = Sync();
    std::lock_guard g(s.lock);
    if (!s.mainKnown) {
        s.mainThread = GetCurrentThreadID();
        s.mainKnown = true;
    }
    return s.mainThread;
}

void SetMainThread() {
    SyncState& s = Sync();
    std::lock_guard g(s.lock);
    s.mainThread = GetCurrentThreadID();
    s.mainKnown = true;
}

bool IsMainThread() {
    return GetCurrentThreadID() == MainThreadID();
}

void SetWakeMainThreadHook(std::function<void()> Hook) {
    SyncState& s = Sync();
    std::lock_guard g(s.hookLock);
    s.wakeHook = std::move(Hook);
}

namespace {

// Runs the calls waiting for the main thread (see CheckSynchronize), without
// serving the watches.
bool RunPostedCalls(int Timeout) {
    SyncState& s = Sync();
    std::unique_lock lk(s.lock);
    if (s.queue.empty() && Timeout > 0)
        s.signal.wait_for(lk, std::chrono::milliseconds(Timeout), [&s] { return !s.queue.empty(); });
    // Only the calls present now: a call that posts another does not keep us here.
    std::size_t pending = s.queue.size();
    const bool ran = pending > 0;
    while (pending-- > 0 && !s.queue.empty()) {
        std::shared_ptr<SyncRequest> request = std::move(s.queue.front());
        s.queue.pop_front();
        lk.unlock();
        std::exception_ptr error;
        try {
            request->method();
        } catch (...) {
            error = std::current_exception();
        }
        lk.lock();
        if (request->waited) {
            request->error = error;
            request->done = true;
            // Woken after the lock is free, the caller need not sleep again on it.
            lk.unlock();
            s.signal.notify_all();
            lk.lock();
        } else if (error) {
            std::rethrow_exception(error);
        }
    }
    return ran;
}

// Polls the enabled watches (and Extra, when not -1) for up to Timeout
// milliseconds and runs the ready ones; true when one ran.
bool ServeWatches(int Timeout, int Extra) {
    SyncState& s = Sync();
    std::vector<pollfd> fds;
    std::vector<std::uint64_t> ids;
    for (const auto& [id, watch] : s.watches) {
        if (!watch->GetEnabled()) continue;
        fds.push_back({watch->GetFd(), POLLIN, 0});
        ids.push_back(id);
    }
    if (Extra >= 0) fds.push_back({Extra, POLLIN, 0});
    if (fds.empty()) return false;
    if (::poll(fds.data(), fds.size(), Timeout) <= 0) return false;
    bool ran = false;
    for (std::size_t k = 0; k < ids.size(); ++k) {
        if (!fds[k].revents) continue;
        // An earlier OnReady may have freed this watch.
        const auto it = std::find_if(s.watches.begin(), s.watches.end(),
                                     [id = ids[k]](const auto& entry) { return entry.first == id; });
        if (it == s.watches.end() || !it->second->GetEnabled()) continue;
        it->second->Ready();
        ran = true;
    }
    return ran;
}

bool AnyWatchEnabled() {
    for (const auto& entry : Sync().watches)
        if (entry.second->GetEnabled()) return true;
    return false;
}

} // namespace

bool CheckSynchronize(int Timeout) {
    if (!IsMainThread())
        throw EThread(u"CheckSynchronize called from thread %s, which is NOT the main thread",
                      {ThreadIdText(GetCurrentThreadID())});
    if (!AnyWatchEnabled()) return RunPostedCalls(Timeout);
    SyncState& s = Sync();
    bool sleep = false;
    {
        std::lock_guard g(s.lock);
        if (s.queue.empty() && Timeout > 0) {
            if (s.queueFd < 0) s.queueFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
            sleep = s.pollWaiting = s.queueFd >= 0;
        }
    }
    const bool served = ServeWatches(sleep ? Timeout : 0, sleep ? s.queueFd : -1);
    if (sleep) {
        std::lock_guard g(s.lock);
        s.pollWaiting = false;
        if (s.queueFdSet) {
            std::uint64_t drained;
            [[maybe_unused]] const auto n = ::read(s.queueFd, &drained, sizeof drained);
            s.queueFdSet = false;
        }
    }
    // The wait, when there was one, is over: calls that came meanwhile run now.
    const bool ran = RunPostedCalls(sleep || served ? 0 : Timeout);
    return served || ran;
}

// ---------------------------------------------------------------------------
// Main-thread watches

TMainThreadWatch::TMainThreadWatch(int Fd, std::function<void()> OnReady)
    : FFd(Fd), FOnReady(std::move(OnReady)) {
    SyncState& s = Sync();
    {
        std::lock_guard g(s.hookLock);
        FHooks = s.watchHooks;
    }
    s.watches.emplace_back(++s.nextWatch, this);
    if (FHooks && FHooks->Added) FLoopData = FHooks->Added(this);
}

TMainThreadWatch::~TMainThreadWatch() {
    if (FLoopData && FHooks->Removed) FHooks->Removed(FLoopData);
    auto& watches = Sync().watches;
    std::erase_if(watches, [this](const auto& entry) { return entry.second == this; });
}

void TMainThreadWatch::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    if (FLoopData && FHooks->Enabled) FHooks->Enabled(FLoopData, Value);
}

void TMainThreadWatch::Ready() {
    if (!FEnabled) return;
    // A copy: OnReady may free this watch.
    const std::function<void()> onReady = FOnReady;
    onReady();
}

void SetMainThreadWatchHooks(TMainThreadWatchHooks Hooks) {
    SyncState& s = Sync();
    std::lock_guard g(s.hookLock);
    s.watchHooks = std::make_shared<const TMainThreadWatchHooks>(std::move(Hooks));
}

void ClearMainThreadWatchHooks() {
    SyncState& s = Sync();
    std::lock_guard g(s.hookLock);
    s.watchHooks.reset();
}

// ---------------------------------------------------------------------------
// TThread

const ClassInfo& TThread::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TThread>("TThread", &TObject::StaticClass());
    return ci;
}

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {
    MainThreadID(); // a thread made before the units started still knows the main thread
}

TThread::~TThread() = default;

void TThread::AfterConstruction() {
    TObject::AfterConstruction();
    if (!FCreateSuspended) Start();
}

void TThread::BeforeDestruction() {
    if (FStarted && !FFinished && GetCurrentThreadID() != FThreadID) {
        Terminate();
        WaitFor();
    }
    TObject::BeforeDestruction();
}

void TThread::Start() {
    if (FStarted.exchange(true)) throw EThread(u"Cannot call Start on a running or suspended thread");
    SyncState& s = Sync();
    // The new thread takes the same lock before it runs, so it sees FThreadID.
    std::lock_guard g(s.lock);
    const std::uint64_t entry = ++s.nextRunning;
    try {
        std::thread t([this, entry] {
            Run();
            // Only one that frees itself is still listed: it is gone now.
            SyncState& state = Sync();
            std::lock_guard done(state.lock);
            std::erase_if(state.running, [entry](const auto& e) { return e.first == entry; });
            state.signal.notify_all();
        });
        FThreadID = t.get_id();
        t.detach();
    } catch (const std::system_error& e) {
        // No thread runs: nothing may wait for one.
        FStarted = false;
        throw EThread(u"Thread creation error: %s", {AnsiString(e.what())});
    }
    s.running.emplace_back(entry, this);
}

void TThread::SetPriority(TThreadPriority Value) {
    FPriority = Value;
    if (FNativeID.load()) ApplyPriority();
}

// The program's own nice value is the normal priority; the lower ones add to it. The kernel
// keeps the value per thread, so the change reaches this thread alone.
void TThread::ApplyPriority() const {
    const int tid = FNativeID.load();
    if (!tid) return;
    errno = 0;
    const int base = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
    const int own = errno ? 0 : base;
    int nice = own;
    switch (FPriority.load()) {
    case tpIdle:
        nice = 19;
        break;
    case tpLowest:
        nice = own + 10;
        break;
    case tpLower:
        nice = own + 5;
        break;
    default:
        break;
    }
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), std::min(nice, 19));
}

void TThread::SetSuspended(bool Value) {
    if (!Value) {
        if (!FStarted) Start();
    } else if (FStarted) {
        throw EThread(u"Cannot suspend a running thread");
    }
}

void TThread::Terminate() {
    FTerminated = true;
    TerminatedSet();
}

LongWord TThread::WaitFor() {
    if (!FStarted) throw EThread(u"Cannot wait for a thread that has not been started");
    if (FFreeOnTerminate) throw EThread(u"Cannot call WaitFor on a thread that frees itself on termination");
    if (GetCurrentThreadID() == FThreadID) throw EThread(u"A thread cannot wait for itself");
    SyncState& s = Sync();
    const bool onMain = IsMainThread();
    std::unique_lock lk(s.lock);
    while (!FFinished) {
        if (onMain && !s.queue.empty()) {
            // The thread may be waiting in Synchronize (OnTerminate does): serve it.
            lk.unlock();
            RunPostedCalls(0);
            lk.lock();
            continue;
        }
        s.signal.wait(lk);
    }
    return static_cast<LongWord>(FReturnValue);
}

void TThread::Run() {
    {
        std::lock_guard g(Sync().lock); // Start has finished publishing FThreadID
    }
    FNativeID = static_cast<int>(::gettid());
    ApplyPriority();
    if (!FTerminated) {
        try {
            Execute();
        } catch (...) {
            FFatalException = std::current_exception();
        }
    }
    FNativeID = 0; // the kernel may give the id to another thread from now on
    const bool freeThread = FFreeOnTerminate;
    try {
        DoTerminate();
    } catch (...) {
        if (!FFatalException) FFatalException = std::current_exception();
    }
    SyncState& s = Sync();
    {
        std::lock_guard g(s.lock);
        FFinished = true;
        // From here on an owner may free this object: it is no longer looked at.
        const auto it = std::find_if(s.running.begin(), s.running.end(),
                                     [this](const auto& e) { return e.second == this; });
        if (it != s.running.end() && freeThread)
            it->second = nullptr;
        else if (it != s.running.end())
            s.running.erase(it);
        s.signal.notify_all();
    }
    // From here on the object belongs to whoever waited for it.
    if (freeThread) Free();
}

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::Synchronize(TThread* AThread, TThreadProcedure Method) {
    if (IsMainThread()) {
        Method();
        return;
    }
    auto request = std::make_shared<SyncRequest>();
    request->method = std::move(Method);
    request->waited = true;
    Post(request);
    SyncState& s = Sync();
    std::unique_lock lk(s.lock);
    s.signal.wait(lk, [&request] { return request->done; });
    if (request->error) std::rethrow_exception(request->error);
}

void TThread::Queue(TThread* AThread, TThreadProcedure Method) {
    if (IsMainThread()) {
        Method();
        return;
    }
    auto request = std::make_shared<SyncRequest>();
    request->method = std::move(Method);
    Post(request);
}

// ---------------------------------------------------------------------------
// Unit start-up

void InitClassesUnit() {
    SetMainThread();
    SyncState& s = Sync();
    std::lock_guard g(s.lock);
    s.shutDown = false;
}

void DoneClassesUnit() {
    // Calls still waiting can no longer run: queued ones are dropped, and a
    // thread blocked in Synchronize gets an error instead of waiting forever.
    SyncState& s = Sync();
    std::unique_lock lk(s.lock);
    s.shutDown = true;
    for (const auto& request : s.queue)
        if (request->waited) {
            request->error = std::make_exception_ptr(EThread(u"The main thread has shut down"));
            request->done = true;
        }
    s.queue.clear();
    s.signal.notify_all();
    // No one waits for a thread that frees itself (a port's event thread closed from its own
    // handler): it ends now, before the program's statics it still uses are destroyed.
    s.signal.wait(lk, [&s] {
        return std::none_of(s.running.begin(), s.running.end(),
                            [](const auto& e) { return !e.second || e.second->GetFreeOnTerminate(); });
    });
}
