#include "platform/win32/winevents.h"

#include "platform/core/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <string>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

TEST(WinEvents, ManualAndAutoResetSemantics) {
    HANDLE manual = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    HANDLE autoEv = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ASSERT_TRUE(manual && autoEv);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0); // stays signalled
    ASSERT_TRUE(ResetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 10), WAIT_TIMEOUT);

    const HANDLE both[] = {manual, autoEv};
    SetEvent(autoEv);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_TIMEOUT); // consumed
    SetEvent(autoEv);
    SetEvent(manual);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), WAIT_OBJECT_0); // lowest index wins
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), WAIT_FAILED);

    std::thread setter([&] { SetEvent(autoEv); });
    ResetEvent(manual);
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
    setter.join();

    CloseHandle(manual);
    CloseHandle(autoEv);
    EXPECT_FALSE(SetEvent(manual));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_FAILED);
}

TEST(WinEvents, LastErrorIsPerThread) {
    SetLastError(5);
    std::thread([] {
        EXPECT_EQ(GetLastError(), 0u);
        SetLastError(87);
    }).join();
    EXPECT_EQ(GetLastError(), 5u);
}

namespace {

// Times a thread went to sleep of its own accord (each one a wake-up later).
long VoluntarySwitches(pid_t tid) {
    std::ifstream status("/proc/self/task/" + std::to_string(tid) + "/status");
    std::string key;
    long value = -1;
    while (status >> key)
        if (key == "voluntary_ctxt_switches:") status >> value;
    return value;
}

} // namespace

TEST(WinEvents, SettingOneEventWakesOnlyItsOwnWaiters) {
    HANDLE mine = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE other = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::atomic<pid_t> waiterId{0};
    std::atomic<bool> waiting{false};
    std::thread waiter([&] {
        waiterId = static_cast<pid_t>(::syscall(SYS_gettid));
        waiting = true;
        EXPECT_EQ(WaitForSingleObject(mine, INFINITE), WAIT_OBJECT_0);
    });
    while (!waiting) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // asleep in its wait
    const long before = VoluntarySwitches(waiterId);
    for (int i = 0; i < 200; ++i) {
        SetEvent(other);
        ResetEvent(other);
        SetEvent(other);
        EXPECT_EQ(WaitForSingleObject(other, 0), WAIT_OBJECT_0);
    }
    EXPECT_EQ(VoluntarySwitches(waiterId), before); // never woken by the other event
    SetEvent(mine);
    waiter.join();
    CloseHandle(mine);
    CloseHandle(other);
}

TEST(WinEvents, ASourceIsReadByTheThreadThatWaits) {
    int pipeFds[2];
    ASSERT_EQ(::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC), 0);
    HANDLE ev = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread::id pumpedOn;
    std::string got;
    ASSERT_TRUE(win32::AttachEventSource(ev, pipeFds[0], [&] {
        char buf[16];
        const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
        if (n > 0) got.append(buf, static_cast<std::size_t>(n));
        pumpedOn = std::this_thread::get_id();
        if (got.size() >= 3) SetEvent(ev);
        return true;
    }));
    std::thread::id waiterId;
    std::thread waiter([&] {
        waiterId = std::this_thread::get_id();
        EXPECT_EQ(WaitForSingleObject(ev, 2000), WAIT_OBJECT_0);
    });
    ASSERT_EQ(::write(pipeFds[1], "ab", 2), 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(::write(pipeFds[1], "c", 1), 1);
    waiter.join();
    EXPECT_EQ(got, "abc");
    EXPECT_EQ(pumpedOn, waiterId);

    // Detached, the source is no longer read; a timed wait just times out.
    win32::DetachEventSource(ev);
    ResetEvent(ev);
    ASSERT_EQ(::write(pipeFds[1], "d", 1), 1);
    EXPECT_EQ(WaitForSingleObject(ev, 30), WAIT_TIMEOUT);
    EXPECT_EQ(got, "abc");
    CloseHandle(ev);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

namespace {

// Serves the main thread until Done holds (bounded).
bool ServeUntil(const std::function<bool()>& Done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        CheckSynchronize(10);
    }
    return true;
}

} // namespace

TEST(WinEvents, TheMainThreadWaitsWithoutBlockingAndReadsTheSourceItself) {
    int pipeFds[2];
    ASSERT_EQ(::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC), 0);
    HANDLE ev = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::string got;
    std::thread::id pumpedOn;
    int pumps = 0;
    ASSERT_TRUE(win32::AttachEventSource(ev, pipeFds[0], [&] {
        ++pumps;
        pumpedOn = std::this_thread::get_id();
        char buf[16];
        const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
        if (n > 0) got.append(buf, static_cast<std::size_t>(n));
        if (got.size() >= 3) SetEvent(ev);
        return true;
    }));
    int done = 0;
    std::thread::id doneOn;
    win32::MainThreadEventWait wait([&] {
        ++done;
        doneOn = std::this_thread::get_id();
    });
    ASSERT_TRUE(wait.Start(ev));
    std::thread device([&] {
        ASSERT_EQ(::write(pipeFds[1], "ab", 2), 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_EQ(::write(pipeFds[1], "c", 1), 1);
    });
    EXPECT_TRUE(ServeUntil([&] { return done == 1; }));
    device.join();
    EXPECT_EQ(got, "abc");
    EXPECT_EQ(pumpedOn, std::this_thread::get_id());
    EXPECT_EQ(doneOn, std::this_thread::get_id());
    EXPECT_FALSE(wait.Waiting());

    // Signalled already: Done still comes from the loop, not from Start.
    ASSERT_TRUE(wait.Start(ev));
    EXPECT_EQ(done, 1);
    EXPECT_TRUE(ServeUntil([&] { return done == 2; }));

    // Set by another thread, with nothing from the source.
    ResetEvent(ev);
    win32::DetachEventSource(ev);
    ASSERT_TRUE(wait.Start(ev));
    std::thread setter([&] { SetEvent(ev); });
    EXPECT_TRUE(ServeUntil([&] { return done == 3; }));
    setter.join();

    // Cancelled: the event's signal no longer reaches Done.
    ResetEvent(ev);
    ASSERT_TRUE(wait.Start(ev));
    wait.Cancel();
    SetEvent(ev);
    EXPECT_FALSE(CheckSynchronize(20));
    EXPECT_EQ(done, 3);

    // A source that cannot take what waits is left alone until the next wait,
    // rather than served again and again.
    ResetEvent(ev);
    ASSERT_TRUE(win32::AttachEventSource(ev, pipeFds[0], [&] {
        ++pumps;
        return false;
    }));
    ASSERT_TRUE(wait.Start(ev));
    ASSERT_EQ(::write(pipeFds[1], "d", 1), 1);
    pumps = 0;
    EXPECT_TRUE(CheckSynchronize(1000));
    for (int i = 0; i < 5; ++i) CheckSynchronize(5);
    EXPECT_EQ(pumps, 1);
    EXPECT_TRUE(wait.Waiting());
    SetEvent(ev);
    EXPECT_TRUE(ServeUntil([&] { return done == 4; }));

    EXPECT_FALSE(wait.Start(nullptr)); // no event: nothing waits
    EXPECT_FALSE(wait.Waiting());
    CloseHandle(ev);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}
