// The port over a real terminal: a pseudo-terminal pair whose master plays
// the device, set up as the application sets up its port.

#include "platform/core/threads.h"
#include "platform/gui/forms.h"
#include "serial/comport.h"
#include "tests/support/guiprobe.h"
#include "tests/support/pty.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

namespace {

class ComPortOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        port->SetPort(UTF8ToString(pty.SlavePath()));
        port->SetStopBits(sbTwoStopBits);
        port->SetDiscardNull(true);
        port->OnRxChar.Bind([this](TObject*, Integer count) {
            EXPECT_EQ(std::this_thread::get_id(), mainThread);
            EXPECT_GT(count, 0);
            AnsiString chunk;
            port->ReadStr(chunk, 1024); // as the application reads
            received += chunk;
            ++events;
        });
    }
    void TearDown() override { port.reset(); }
    template <class Done>
    static bool Pump(Done done, std::chrono::milliseconds bound = 3s) {
        return testsupport::WaitUntil(
            done, [] { CheckSynchronize(1); }, bound);
    }

    // One exchange makes what lives as long as the program (the main
    // thread's wake-up descriptor, the reading thread's own event).
    void WarmUp() {
        port->Open();
        ASSERT_TRUE(pty.Write("w"));
        ASSERT_TRUE(Pump([&] { return received == "w"; }));
        port->Close();
        received.clear();
    }

    testsupport::PtyPair pty;
    Owned<TComPort> port{Create<TComPort>(nullptr)};
    const std::thread::id mainThread = std::this_thread::get_id();
    std::string received;
    int events = 0;
};

} // namespace

TEST_F(ComPortOnPty, CommandsGoOutAndRepliesComeInOnTheMainThread) {
    port->Open();
    ASSERT_TRUE(port->GetThreadCreated());
    EXPECT_EQ(port->Write("\x07\x01\x00\x00\x07", 5), 5);
    EXPECT_EQ(pty.Read(5), std::string("\x07\x01\x00\x00\x07", 5));
    ASSERT_TRUE(pty.Write(std::string("\xF0\x01\x02\x03"
                                      "a\0b\xFF",
                                      8)));
    ASSERT_TRUE(Pump([&] { return received.size() == 7; }));
    EXPECT_EQ(received, "\xF0\x01\x02\x03"
                        "ab\xFF"); // the NUL is discarded
    EXPECT_GE(events, 1);
}

TEST_F(ComPortOnPty, AQuarterMegabyteInBurstsArrivesWholeAndInOrder) {
    port->GetBuffer()->SetInputSize(4096);
    port->Open();
    std::string burst(1 << 18, '\0');
    // No NULs: the port discards them.
    for (std::size_t i = 0; i < burst.size(); ++i) burst[i] = static_cast<char>(1 + (i * 7 + i / 251) % 255);
    // The device sends in pieces of every size, with pauses between some.
    std::thread device([&] {
        std::size_t at = 0, piece = 1;
        while (at < burst.size()) {
            const std::size_t n = std::min(piece, burst.size() - at);
            pty.Write(std::string_view(burst).substr(at, n), 5s);
            at += n;
            piece = piece * 3 % 7919 + 1;
            if (piece % 5 == 0) std::this_thread::sleep_for(100us);
        }
    });
    const bool all = Pump([&] { return received.size() >= burst.size(); }, 20s);
    device.join();
    ASSERT_TRUE(all) << received.size();
    EXPECT_TRUE(received == burst); // not printed: too long
}

TEST_F(ComPortOnPty, TheEventLoopAloneDeliversTheBytesInOrderAndNeverNestsAHandler) {
    // The main thread's event loop takes the bytes from the terminal itself.
    // A handler that runs a nested loop (as a message box does) while more
    // bytes arrive gets them only after it has returned.
    InitFormsUnit(); // the event loop as the program runs it
    int depth = 0, deepest = 0, nestedLoops = 0;
    port->OnRxChar.Bind([&](TObject*, Integer) {
        deepest = std::max(deepest, ++depth);
        EXPECT_EQ(std::this_thread::get_id(), mainThread);
        AnsiString chunk;
        port->ReadStr(chunk, 1024);
        received += chunk;
        if (received == "abc") {
            ++nestedLoops;
            EXPECT_TRUE(pty.Write("def"));
            probe::NestedLoopUntil([] { return false; }, 50);
        }
        --depth;
    });
    port->Open();
    ASSERT_TRUE(pty.Write("abc"));
    ASSERT_TRUE(probe::WaitFor([&] { return received.size() >= 6; }, 3000)) << received;
    EXPECT_EQ(received, "abcdef");
    EXPECT_EQ(nestedLoops, 1);
    EXPECT_EQ(deepest, 1);
    // And again after the nested loop: the loop still waits on the port.
    ASSERT_TRUE(pty.Write("ghi"));
    ASSERT_TRUE(probe::WaitFor([&] { return received.size() >= 9; }, 3000));
    EXPECT_EQ(received, "abcdefghi");
}

TEST_F(ComPortOnPty, TheFarEndClosingMidReadIsReported) {
    port->GetTimeouts()->SetReadInterval(0);
    port->GetTimeouts()->SetReadTotalConstant(10000); // a read that waits for its bytes
    port->Open();
    std::thread device([&] {
        pty.Read(1, 2s); // the read has started once the port asks for something
        pty.CloseMaster();
    });
    port->Write("?", 1);
    AnsiString s;
    const auto start = std::chrono::steady_clock::now();
    try {
        port->ReadStr(s, 16);
        ADD_FAILURE() << "no error";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.GetCode(), CError_ReadFailed);
        EXPECT_EQ(e.GetWinCode(), static_cast<Integer>(ERROR_BAD_COMMAND));
    }
    device.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    // The event thread has left its loop; closing works and finds nothing to fail on.
    EXPECT_NO_THROW(port->Close());
    EXPECT_FALSE(port->GetConnected());
}

TEST_F(ComPortOnPty, LosingTheDeviceWhileIdleEndsTheEventThread) {
    port->Open();
    pty.CloseMaster();
    // The thread's wait fails; it leaves its loop, clearing the event mask.
    ASSERT_TRUE(Pump([&] {
        DWORD mask = 1;
        return GetCommMask(port->GetHandle(), &mask) && mask == 0;
    }));
    EXPECT_NO_THROW(port->Close());
}

TEST(ComPortSyncMethods, EveryDispatchDeliversTheBytesOverARealTerminal) {
    for (const TSyncMethod sync : {smThreadSync, smWindowSync, smNone}) {
        testsupport::PtyPair pty;
        Owned<TComPort> port{Create<TComPort>(nullptr)};
        port->SetPort(UTF8ToString(pty.SlavePath()));
        port->SetSyncMethod(sync);
        std::mutex m;
        std::string received;
        std::thread::id on;
        port->OnRxChar.Bind([&](TObject*, Integer) {
            AnsiString chunk;
            port->ReadStr(chunk, 1024);
            std::lock_guard lock(m);
            received += chunk;
            on = std::this_thread::get_id();
        });
        port->Open();
        ASSERT_TRUE(pty.Write("reply"));
        const auto got = [&] {
            std::lock_guard lock(m);
            return received == "reply";
        };
        ASSERT_TRUE(testsupport::WaitUntil(got, [] { CheckSynchronize(1); })) << sync;
        {
            std::lock_guard lock(m);
            EXPECT_EQ(on == std::this_thread::get_id(), sync != smNone) << sync;
        }
        port->Close();
        EXPECT_FALSE(port->GetConnected());
    }
}

TEST(ComPortOpen, AMissingPortRaisesCodeOneAndLeavesNoThread) {
    const std::size_t handles = win32::OpenHandleCount();
    Owned<TComPort> port{Create<TComPort>(nullptr)};
    port->SetPort(u"/dev/moltren-no-such-port");
    try {
        port->Open();
        FAIL() << "opened";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.GetCode(), CError_OpenFailed);
        EXPECT_EQ(e.GetWinCode(), static_cast<Integer>(ERROR_FILE_NOT_FOUND));
        EXPECT_EQ(e.Message(), u"COM Port Error: Unable to open com port on /dev/moltren-no-such-port");
    }
    EXPECT_FALSE(port->GetConnected());
    EXPECT_FALSE(port->GetThreadCreated());
    EXPECT_EQ(port->GetEventThread(), nullptr);
    EXPECT_EQ(win32::OpenHandleCount(), handles);
    port->SetPort(u"");
    EXPECT_THROW(port->Open(), EComPort);
}

// ---------------------------------------------------------------------------
// The main thread waiting for the port itself: no byte is stranded, nothing is
// left behind when the port closes, and an idle port costs no wake-ups.

namespace {

int OpenDescriptors() {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++n;
    }
    return n;
}

} // namespace

TEST_F(ComPortOnPty, AByteArrivingJustAfterTheTerminalWasEmptiedIsStillDelivered) {
    // The handler reads exactly what it was told, and the device's last byte
    // lands while it does: the line then stays idle, so only the next wait can
    // bring that byte, on the main thread's loop and on a thread of its own.
    for (const TSyncMethod sync : {smThreadSync, smNone}) {
        SCOPED_TRACE(sync);
        testsupport::PtyPair line;
        Owned<TComPort> p{Create<TComPort>(nullptr)};
        p->SetPort(UTF8ToString(line.SlavePath()));
        p->SetSyncMethod(sync);
        std::mutex m;
        std::string got;
        p->OnRxChar.Bind([&](TObject*, Integer count) {
            std::string block(static_cast<std::size_t>(count), '\0');
            const Integer n = p->Read(block.data(), count);
            block.resize(static_cast<std::size_t>(std::max(n, 0)));
            std::lock_guard lock(m);
            const bool first = got.empty();
            got += block;
            if (first) {
                EXPECT_TRUE(line.Write("b"));
                std::this_thread::sleep_for(50us);
                p->InputCount();
            }
        });
        p->Open();
        ASSERT_TRUE(line.Write("a"));
        const auto both = [&] {
            std::lock_guard lock(m);
            return got == "ab";
        };
        EXPECT_TRUE(testsupport::WaitUntil(
            both, [] { CheckSynchronize(1); }, 3s))
            << got;
        p->Close();
    }
}

TEST_F(ComPortOnPty, AnIdleOpenPortWakesTheMainThreadForNothing) {
    port->Open();
    ASSERT_TRUE(pty.Write("x"));
    ASSERT_TRUE(Pump([&] { return received == "x"; }));
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(CheckSynchronize(10)) << i;
    ASSERT_TRUE(pty.Write("y"));
    ASSERT_TRUE(Pump([&] { return received == "xy"; }));
}

TEST_F(ComPortOnPty, ClosingOnTheMainThreadReleasesEveryHandleAndDescriptor) {
    // The first round makes what lives as long as the program (the main
    // thread's wake-up descriptor); the rounds after it leave nothing behind.
    std::size_t handles = 0;
    int fds = 0;
    for (int round = 0; round < 4; ++round) {
        port->Open();
        ASSERT_TRUE(pty.Write("z"));
        ASSERT_TRUE(Pump([&] { return received.size() == static_cast<std::size_t>(round + 1); }));
        port->Close();
        if (round == 0) {
            handles = win32::OpenHandleCount();
            fds = OpenDescriptors();
        }
        EXPECT_EQ(win32::OpenHandleCount(), handles) << round;
        EXPECT_EQ(OpenDescriptors(), fds) << round;
        // Nothing watches the closed port: the main thread sleeps its time out.
        ASSERT_TRUE(pty.Write("!"));
        EXPECT_FALSE(CheckSynchronize(10)) << round;
    }
    EXPECT_EQ(received, "zzzz");
}

TEST_F(ComPortOnPty, AHandlerMayCloseAndReopenThePortOnTheMainThreadsLoop) {
    for (const bool eventLoop : {false, true}) {
        SCOPED_TRACE(eventLoop);
        if (eventLoop) InitFormsUnit();
        received.clear();
        WarmUp();
        const std::size_t handles = win32::OpenHandleCount();
        int reopened = 0;
        port->OnRxChar.Bind([&](TObject*, Integer) {
            AnsiString chunk;
            port->ReadStr(chunk, 1024);
            received += chunk;
            if (received.back() == '.') {
                port->Close();
                if (reopened++ == 0) port->Open();
            }
        });
        const auto pump = [&](auto done) { return eventLoop ? probe::WaitFor(done, 3000) : Pump(done); };
        port->Open();
        ASSERT_TRUE(pty.Write("one."));
        ASSERT_TRUE(pump([&] { return received == "one."; })) << received;
        ASSERT_TRUE(port->GetConnected());
        ASSERT_TRUE(pty.Write("two."));
        ASSERT_TRUE(pump([&] { return received == "one.two."; })) << received;
        EXPECT_FALSE(port->GetConnected());
        // The abandoned loops are gone with their handles once their threads end.
        EXPECT_TRUE(pump([&] { return win32::OpenHandleCount() == handles; })) << win32::OpenHandleCount();
        if (eventLoop) DoneFormsUnit();
    }
}

TEST_F(ComPortOnPty, ClosingFromAnotherThreadEndsTheMainThreadsWait) {
    WarmUp();
    const std::size_t handles = win32::OpenHandleCount();
    port->Open();
    ASSERT_TRUE(pty.Write("a"));
    ASSERT_TRUE(Pump([&] { return received == "a"; }));
    std::atomic<bool> closed{false};
    std::thread closer([&] {
        port->Close();
        closed = true;
    });
    // The main thread goes on serving its loop while the other thread closes.
    EXPECT_TRUE(Pump([&] { return closed.load(); }));
    closer.join();
    EXPECT_FALSE(port->GetConnected());
    EXPECT_EQ(win32::OpenHandleCount(), handles);
    ASSERT_TRUE(pty.Write("!"));
    EXPECT_FALSE(CheckSynchronize(10));
}
