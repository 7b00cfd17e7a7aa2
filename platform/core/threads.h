#pragma once
// Classes: threads and the main-thread call queue (Synchronize, Queue,
// CheckSynchronize).
//
// Work posted for the main thread waits in one first-in first-out queue until
// the main thread drains it with CheckSynchronize. The GUI layer connects its
// event loop with SetWakeMainThreadHook so that a drain is scheduled whenever
// work arrives; tests drain with CheckSynchronize and a bounded timeout.

#include "platform/core/system.h"

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

using TThreadID = std::thread::id;

// Scheduling priorities of the class library's threads. A lower priority is
// applied (as a higher nice value of the thread: lowering needs no privilege);
// raising one needs privileges a desktop program does not have, so a higher
// priority runs the thread at the program's own.
enum TThreadPriority : std::uint8_t {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};
using TThreadProcedure = std::function<void()>;

// The thread that runs the program's units and its message loop: captured at
// unit start-up, or by the first call that needs it when the units did not run.
TThreadID MainThreadID();
// Makes the calling thread the main thread (unit start-up calls this).
void SetMainThread();
bool IsMainThread();
TThreadID GetCurrentThreadID();

// Runs the calls waiting for the main thread, and the enabled watches whose
// descriptors are readable; waits up to Timeout milliseconds for either when
// none is waiting. True when at least one call or watch ran. Only the main
// thread may drain (EThread otherwise). A queued call (Queue) that raises
// passes its exception to the caller of CheckSynchronize; the calls behind it
// stay queued.
bool CheckSynchronize(int Timeout = 0);
// Called (from the posting thread) whenever a call is posted for the main
// thread. An empty function removes the hook.
void SetWakeMainThreadHook(std::function<void()> Hook);

struct TMainThreadWatchHooks;

// A descriptor the main thread watches besides its call queue: while the
// watch is enabled and the descriptor readable, OnReady runs on the main
// thread, from the event loop (the GUI layer serves watches through
// SetMainThreadWatchHooks) or from CheckSynchronize. So work that arrives on a
// descriptor reaches the main thread with no other thread woken on the way.
// Made, switched and freed on the main thread only; OnReady may switch or free
// any watch, itself included. A readable descriptor whose OnReady leaves it
// readable is served again at once: disable the watch instead.
class TMainThreadWatch {
public:
    TMainThreadWatch(int Fd, std::function<void()> OnReady);
    ~TMainThreadWatch();
    TMainThreadWatch(const TMainThreadWatch&) = delete;
    TMainThreadWatch& operator=(const TMainThreadWatch&) = delete;

    int GetFd() const { return FFd; }
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // Runs OnReady when enabled (the event loop calls this when the descriptor is readable).
    void Ready();

private:
    const int FFd;
    std::function<void()> FOnReady;
    bool FEnabled = false;
    void* FLoopData = nullptr; // the event loop's own record of the watch
    std::shared_ptr<const TMainThreadWatchHooks> FHooks;
};

// How the event loop learns of the watches: Added gets each new watch and
// returns the loop's record of it (or null), Enabled switches that record and
// Removed drops it. Watches made before the hooks are set are served by
// CheckSynchronize only.
struct TMainThreadWatchHooks {
    std::function<void*(TMainThreadWatch*)> Added;
    std::function<void(void*, bool)> Enabled;
    std::function<void(void*)> Removed;
};
void SetMainThreadWatchHooks(TMainThreadWatchHooks Hooks);
void ClearMainThreadWatchHooks();

// A thread of execution. Execute runs on the new thread; the object lives on
// after Execute returns until it is freed (or frees itself: FreeOnTerminate).
//
// Lifetime: Free() reaches TThread::BeforeDestruction, which terminates a
// running thread and waits for it, so a thread has always stopped before any
// destructor runs (a thread that never started is simply dropped). A thread
// whose Execute blocks on something other than Terminated wakes it in its own
// BeforeDestruction (or TerminatedSet) before calling this one. The TThread
// destructor itself never joins: by then the derived parts that Execute uses
// are gone, so a thread still running there is a fault of its owner; it is
// left detached rather than taking the process down. A thread that frees
// itself is waited for when the Classes unit shuts down (DoneClassesUnit):
// it must end with the program, before the statics it uses are gone.
class TThread : public TObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TThread(bool CreateSuspended = false);
    ~TThread() override;
    // Starts the thread unless it was created suspended.
    void AfterConstruction() override;
    void BeforeDestruction() override;

    // Starts a thread created suspended (EThread when it has already started).
    void Start();
    // Asks Execute to stop: sets Terminated, then calls TerminatedSet.
    void Terminate();
    // Waits until Execute has returned and OnTerminate has run; the thread's
    // ReturnValue. From the main thread, calls posted for it run meanwhile.
    // EThread for a thread never started, for the thread itself and for a
    // thread that frees itself on termination (it may already be gone).
    LongWord WaitFor();

    bool GetTerminated() const { return FTerminated.load(); }
    // True until the thread is started.
    bool GetSuspended() const { return !FStarted.load(); }
    // False starts a suspended thread; a running thread cannot be suspended (EThread).
    void SetSuspended(bool Value);
    bool GetFinished() const { return FFinished.load(); }
    bool GetFreeOnTerminate() const { return FFreeOnTerminate.load(); }
    void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }
    LongInt GetReturnValue() const { return FReturnValue; }
    TThreadPriority GetPriority() const { return FPriority.load(); }
    // Taken by a running thread at once, by one not yet started when it starts.
    void SetPriority(TThreadPriority Value);
    TThreadID GetThreadID() const { return FThreadID; }
    // The exception that escaped Execute, kept rather than ending the process.
    std::exception_ptr GetFatalException() const { return FFatalException; }

    // Runs on the main thread after Execute returns (through Synchronize).
    TNotifyEvent OnTerminate;

    // Runs Method on the main thread and waits for it; at once when called on
    // the main thread. An exception in Method is raised again in the caller.
    static void Synchronize(TThread* AThread, TThreadProcedure Method);
    // Posts Method for the main thread without waiting; at once on the main thread.
    static void Queue(TThread* AThread, TThreadProcedure Method);

protected:
    virtual void Execute() = 0;
    // Calls OnTerminate on the main thread; runs on this thread after Execute.
    virtual void DoTerminate();
    // Called on the terminating thread after Terminated is set: a thread that
    // sleeps on an event wakes itself here.
    virtual void TerminatedSet() {}
    void Synchronize(TThreadProcedure Method) { Synchronize(this, std::move(Method)); }
    void Queue(TThreadProcedure Method) { Queue(this, std::move(Method)); }
    void SetReturnValue(LongInt Value) { FReturnValue = Value; }

private:
    void Run();
    void ApplyPriority() const;

    std::atomic<bool> FTerminated{false};
    std::atomic<TThreadPriority> FPriority{tpNormal};
    std::atomic<int> FNativeID{0}; // the kernel's id of the running thread, 0 before it runs
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FFinished{false};
    bool FCreateSuspended = false;
    std::atomic<bool> FFreeOnTerminate{false};
    LongInt FReturnValue = 0;
    TThreadID FThreadID;
    std::exception_ptr FFatalException;
};

// The start-up and shut-down of the Classes unit (see units.h).
void InitClassesUnit();
void DoneClassesUnit();
