#include "platform/core/classes.h"
#include "platform/core/sysutils.h"
#include "platform/core/units.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Serves the main-thread queue until Done holds or the bound runs out.
bool DrainUntil(const std::function<bool()>& Done, int BoundMs = 10000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(BoundMs);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        CheckSynchronize(10);
    }
    return true;
}

// A thread that runs a given body.
class TBodyThread : public TThread {
public:
    TBodyThread(bool CreateSuspended, std::function<void(TBodyThread&)> Body)
        : TThread(CreateSuspended), FBody(std::move(Body)) {}
    using TThread::Queue;
    using TThread::SetReturnValue;
    using TThread::Synchronize;

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TBodyThread&)> FBody;
};

Owned<TBodyThread> Spawn(std::function<void(TBodyThread&)> Body, bool Suspended = false) {
    return MakeOwned<TBodyThread>(Suspended, std::move(Body));
}

} // namespace

TEST(Threads, SynchronizeFromManyThreadsDeliversEachExceptionToItsOwnCaller) {
    constexpr int kThreads = 8;
    constexpr int kFailing = 3;
    std::mutex lock;
    std::vector<int> ranOnMain;
    std::vector<String> caught(kThreads);
    std::vector<Owned<TBodyThread>> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.push_back(Spawn([&, i](TBodyThread& self) {
            for (int round = 0; round < 20; ++round) {
                try {
                    self.Synchronize([&, i, round] {
                        if (IsMainThread()) {
                            std::lock_guard g(lock);
                            ranOnMain.push_back(i);
                        }
                        if (i == kFailing && round == 5) throw EConvertError(u"bad value");
                    });
                } catch (const Exception& e) {
                    caught[static_cast<std::size_t>(i)] += e.Message();
                }
            }
        }));
    ASSERT_TRUE(DrainUntil([&] {
        for (auto& t : threads)
            if (!t->GetFinished()) return false;
        return true;
    }));
    EXPECT_EQ(ranOnMain.size(), static_cast<std::size_t>(kThreads * 20));
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_EQ(caught[static_cast<std::size_t>(i)], i == kFailing ? u"bad value" : u"");
        EXPECT_EQ(threads[static_cast<std::size_t>(i)]->GetFatalException(), nullptr);
    }
}

TEST(Threads, AnExceptionEscapingExecuteIsKeptAsFatalException) {
    auto t = Spawn([](TBodyThread& self) {
        self.SetReturnValue(42);
        throw EInvalidOperation(u"device gone");
    });
    EXPECT_EQ(t->WaitFor(), 42u);
    ASSERT_NE(t->GetFatalException(), nullptr);
    try {
        std::rethrow_exception(t->GetFatalException());
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), u"device gone");
    }
    // Not even a foreign exception takes the process down.
    auto u = Spawn([](TBodyThread&) { throw 7; });
    u->WaitFor();
    EXPECT_NE(u->GetFatalException(), nullptr);
}

TEST(Threads, QueuedCallsRunInPostingOrderBeforeALaterSynchronize) {
    std::vector<int> log;
    auto t = Spawn([&](TBodyThread& self) {
        for (int i = 0; i < 50; ++i) self.Queue([&log, i] { log.push_back(i); });
        self.Synchronize([&log] { log.push_back(-1); });
    });
    t->WaitFor(); // the main thread serves the queue while it waits
    ASSERT_EQ(log.size(), 51u);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(log[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(log.back(), -1);
}

TEST(Threads, AFailingQueuedCallReachesTheDrainerAndLeavesTheRestQueued) {
    std::vector<int> log;
    auto t = Spawn([&](TBodyThread& self) {
        self.Queue([&log] { log.push_back(1); });
        self.Queue([] { throw EAbort(u"queued failure"); });
        self.Queue([&log] { log.push_back(3); });
    });
    // Wait for the thread without serving the queue, then drain by hand.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!t->GetFinished() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    ASSERT_TRUE(t->GetFinished());
    bool raised = false;
    ASSERT_TRUE(DrainUntil([&] {
        try {
            CheckSynchronize(10);
        } catch (const EAbort& e) {
            EXPECT_EQ(e.Message(), u"queued failure");
            raised = true;
        }
        return log.size() == 2;
    }));
    EXPECT_TRUE(raised);
    EXPECT_EQ(log, (std::vector<int>{1, 3}));
}

TEST(Threads, MainThreadCallsRunAtOnceAndOnlyTheMainThreadDrains) {
    EXPECT_EQ(MainThreadID(), GetCurrentThreadID());
    int n = 0;
    TThread::Synchronize(nullptr, [&n] { ++n; });
    TThread::Queue(nullptr, [&n] { ++n; });
    EXPECT_EQ(n, 2);
    EXPECT_FALSE(CheckSynchronize(0));
    bool refused = false;
    auto t = Spawn([&refused](TBodyThread&) {
        try {
            CheckSynchronize(0);
        } catch (const EThread&) {
            refused = true;
        }
    });
    t->WaitFor();
    EXPECT_TRUE(refused);
}

TEST(Threads, WakeHookHearsOfPostedWork) {
    std::atomic<int> wakes{0};
    SetWakeMainThreadHook([&wakes] { ++wakes; });
    auto t = Spawn([](TBodyThread& self) {
        self.Queue([] {});
        self.Synchronize([] {});
    });
    t->WaitFor();
    SetWakeMainThreadHook(nullptr);
    EXPECT_EQ(wakes.load(), 2);
}

TEST(Threads, SuspendedStartTerminateAndOnTerminateOnTheMainThread) {
    std::atomic<int> loops{0};
    auto t = Spawn(
        [&loops](TBodyThread& self) {
            while (!self.GetTerminated()) {
                ++loops;
                std::this_thread::yield();
            }
            self.SetReturnValue(5);
        },
        true);
    bool terminateOnMain = false;
    t->OnTerminate.Bind([&](TObject* sender) {
        EXPECT_EQ(sender, t.get());
        terminateOnMain = IsMainThread();
    });
    EXPECT_TRUE(t->GetSuspended());
    EXPECT_THROW(t->WaitFor(), EThread);
    t->Start();
    EXPECT_THROW(t->Start(), EThread);
    EXPECT_FALSE(t->GetSuspended());
    ASSERT_TRUE(DrainUntil([&] { return loops.load() > 0; }));
    t->Terminate();
    EXPECT_EQ(t->WaitFor(), 5u);
    EXPECT_TRUE(terminateOnMain);
    EXPECT_TRUE(t->GetFinished());

    // Freeing a running thread stops it first.
    std::atomic<bool> running{false}, sawTerminated{false};
    auto u = Spawn([&](TBodyThread& self) {
        running = true;
        while (!self.GetTerminated()) std::this_thread::yield();
        sawTerminated = true;
    });
    ASSERT_TRUE(DrainUntil([&] { return running.load(); }));
    u.reset();
    EXPECT_TRUE(sawTerminated);
    // A thread terminated before it got going skips Execute; one never started is dropped.
    bool executed = false;
    auto v = Spawn([&executed](TBodyThread&) { executed = true; }, true);
    v->Terminate();
    v->Start();
    v->WaitFor();
    EXPECT_FALSE(executed);
    bool ran = false;
    Spawn([&ran](TBodyThread&) { ran = true; }, true).reset();
    EXPECT_FALSE(ran);
}

// A port's event thread asked to run below the program must do so: lowering needs no privilege.
TEST(Threads, ALowerPriorityRunsTheThreadAtAHigherNiceValue) {
    const int own = ::getpriority(PRIO_PROCESS, 0);
    const struct {
        TThreadPriority priority;
        int nice;
    } rows[] = {{tpIdle, 19},
                {tpLowest, std::min(own + 10, 19)},
                {tpLower, std::min(own + 5, 19)},
                {tpNormal, own},
                {tpHighest, own}};
    for (const auto& row : rows) {
        std::atomic<int> seen{-100};
        auto t = Spawn([&seen](TBodyThread&) { seen = ::getpriority(PRIO_PROCESS, 0); }, true);
        t->SetPriority(row.priority);
        t->Start();
        t->WaitFor();
        EXPECT_EQ(seen.load(), row.nice) << "priority " << int(row.priority);
        EXPECT_EQ(::getpriority(PRIO_PROCESS, 0), own); // the caller keeps its own
    }
    // A running thread takes a new priority at once.
    std::atomic<bool> lowered{false}, done{false};
    std::atomic<int> seen{-100};
    auto t = Spawn([&](TBodyThread&) {
        while (!lowered) std::this_thread::yield();
        seen = ::getpriority(PRIO_PROCESS, 0);
        done = true;
    });
    t->SetPriority(tpIdle);
    lowered = true;
    t->WaitFor();
    EXPECT_EQ(seen.load(), 19);
}

namespace {
std::atomic<int> gSelfFreed{0};
class TSelfFreeing : public TThread {
public:
    TSelfFreeing() : TThread(true) { SetFreeOnTerminate(true); }
    ~TSelfFreeing() override { ++gSelfFreed; }

protected:
    void Execute() override {
        Synchronize([] {});
    }
};
} // namespace

TEST(Threads, FreeOnTerminateThreadFreesItself) {
    const int before = gSelfFreed.load();
    auto* t = Create<TSelfFreeing>();
    t->Start();
    EXPECT_THROW(t->WaitFor(), EThread); // it may be gone at any moment: no waiting on it
    ASSERT_TRUE(DrainUntil([before] { return gSelfFreed.load() == before + 1; }));
    // One still running when the program ends (its call to the main thread never served) is
    // refused that call and waited for: it is gone before the statics it uses are destroyed.
    Create<TSelfFreeing>()->Start();
    DoneUnits();
    EXPECT_EQ(gSelfFreed.load(), before + 2);
    InitUnits();
}

// A pipe whose read end the main thread watches.
struct WatchedPipe {
    int fds[2] = {-1, -1};
    int served = 0;
    std::unique_ptr<TMainThreadWatch> watch;
    WatchedPipe() {
        EXPECT_EQ(::pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0);
        watch = std::make_unique<TMainThreadWatch>(fds[0], [this] {
            ++served;
            char c;
            while (::read(fds[0], &c, 1) == 1) {
            }
        });
    }
    ~WatchedPipe() {
        watch.reset();
        ::close(fds[0]);
        ::close(fds[1]);
    }
    void Put() { EXPECT_EQ(::write(fds[1], "x", 1), 1); }
};

TEST(Threads, WatchesRunOnTheMainThreadOnlyWhileEnabledAndAlive) {
    WatchedPipe a, b;
    a.Put();
    EXPECT_FALSE(CheckSynchronize(10)); // not enabled yet
    EXPECT_EQ(a.served, 0);
    a.watch->SetEnabled(true);
    EXPECT_TRUE(CheckSynchronize(1000));
    EXPECT_EQ(a.served, 1);
    EXPECT_FALSE(CheckSynchronize(10)); // drained: nothing to serve
    EXPECT_EQ(a.served, 1);

    // A watch that an earlier one's OnReady frees is not called any more.
    a.watch->SetEnabled(false);
    a.Put(); // stays unread: freeB fires
    auto freeB = std::make_unique<TMainThreadWatch>(a.fds[0], [&] { b.watch.reset(); });
    b.watch = std::make_unique<TMainThreadWatch>(b.fds[0], [&] { ++b.served; }); // made after freeB
    freeB->SetEnabled(true);
    b.watch->SetEnabled(true);
    b.Put();
    EXPECT_TRUE(CheckSynchronize(1000));
    EXPECT_EQ(b.watch, nullptr);
    EXPECT_EQ(b.served, 0);
}

TEST(Threads, APostedCallWakesTheMainThreadSleepingOnItsWatches) {
    WatchedPipe idle;
    idle.watch->SetEnabled(true);
    std::atomic<bool> ran{false};
    auto t = Spawn([&](TBodyThread& self) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        self.Queue([&] { ran = true; });
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(CheckSynchronize(5000));
    EXPECT_TRUE(ran);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    t->WaitFor();
    EXPECT_EQ(idle.served, 0);
}
