// The termios comm backend against pseudo-terminal pairs: the test plays the
// device on the master side.

#include "platform/win32/comm.h"
#include "platform/win32/comm_tty.h"
#include "platform/win32/serialcomm.h"
#include "tests/support/pty.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/resource.h>
#include <thread>

using namespace std::chrono_literals;
using testsupport::WaitUntil;

namespace {

struct Op {
    OVERLAPPED ov{};
    Op() { ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~Op() { CloseHandle(ov.hEvent); }
    Op(const Op&) = delete;
    bool Done(DWORD ms = 2000) { return WaitForSingleObject(ov.hEvent, ms) == WAIT_OBJECT_0; }
};

DCB MakeDcb(DWORD rate, BYTE size, BYTE stop) {
    DCB d{};
    d.DCBlength = sizeof(DCB);
    d.BaudRate = rate;
    d.fBinary = 1;
    d.ByteSize = size;
    d.StopBits = stop;
    d.XonChar = 17;
    d.XoffChar = 19;
    return d;
}

HANDLE OpenPort(const std::u16string& name, DWORD flags = FILE_FLAG_OVERLAPPED) {
    return CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, flags, nullptr);
}

class TermiosComm : public ::testing::Test {
protected:
    void SetUp() override {
        h = OpenPort(pty.SlavePathW());
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
        DCB d = MakeDcb(9600, 8, TWOSTOPBITS);
        ASSERT_TRUE(SetCommState(h, &d));
        COMMTIMEOUTS t{MAXDWORD, 0, 0, 100, 1000};
        ASSERT_TRUE(SetCommTimeouts(h, &t));
    }
    void TearDown() override {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    DWORD InQueue() {
        DWORD errors = 0;
        COMSTAT st{};
        EXPECT_TRUE(ClearCommError(h, &errors, &st));
        return st.cbInQue;
    }
    std::string ReadNow(DWORD count) {
        std::string buf(count, '\0');
        Op op;
        DWORD n = 0;
        if (!ReadFile(h, buf.data(), count, &n, &op.ov)) {
            EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
            EXPECT_TRUE(op.Done());
            EXPECT_TRUE(GetOverlappedResult(h, &op.ov, &n, FALSE));
        }
        buf.resize(n);
        return buf;
    }
    void SetDcb(void (*change)(DCB&)) {
        DCB d = MakeDcb(9600, 8, TWOSTOPBITS);
        change(d);
        ASSERT_TRUE(SetCommState(h, &d));
    }

    testsupport::PtyPair pty;
    HANDLE h = INVALID_HANDLE_VALUE;
};

} // namespace

TEST(CommNames, MapToDevicePaths) {
    // A port list of this test's own: a name listed for a terminal leads there.
    const auto list =
        std::filesystem::temp_directory_path() / ("moltren-comm-names-" + std::to_string(getpid()));
    std::ofstream(list) << "COM3\t" << getpid() << "\t/dev/pts/77\n";
    win32::SetSerialCommSources(list.parent_path() / "no-tty-class", list);
    EXPECT_EQ(win32::CommDevicePath(u"COM3"), "/dev/pts/77");
    EXPECT_EQ(win32::CommDevicePath(u"\\\\.\\com3"), "/dev/pts/77");
    EXPECT_EQ(win32::CommDevicePath(u"COM4"), "/dev/ttyS3");
    EXPECT_EQ(win32::CommDevicePath(u"\\\\.\\/dev/pts/7"), "/dev/pts/7");
    EXPECT_EQ(win32::CommDevicePath(u"ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(win32::CommDevicePath(u"\\\\.\\COM1"), "/dev/ttyS0");
    EXPECT_EQ(win32::CommDevicePath(u"COM12"), "/dev/ttyS11");
    EXPECT_EQ(win32::CommDevicePath(u"COM0"), "/dev/COM0");
    EXPECT_EQ(win32::CommDevicePath(u"\\\\.\\"), "");
    EXPECT_EQ(win32::CommDevicePath(u""), "");
    win32::SetSerialCommSources({}, {});
    std::filesystem::remove(list);
}

TEST(CommOpen, OnlyExistingTerminalsOpen) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto file = dir / "moltren-comm-not-a-port";
    std::fclose(std::fopen(file.c_str(), "w"));
    const std::u16string dirName = dir.u16string(), fileName = file.u16string();
    for (const std::u16string& name :
         {std::u16string(u""), std::u16string(u"/dev/moltren-no-such-port"), std::u16string(u"../tmp"),
          dirName, fileName, std::u16string(u"/dev/null")}) {
        SetLastError(0);
        EXPECT_EQ(OpenPort(name), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    }
    std::filesystem::remove(file);
}

TEST(CommOpen, SecondOpenIsRefusedAndClosingReleases) {
    testsupport::PtyPair pty;
    const std::size_t handles = win32::OpenHandleCount();
    HANDLE a = OpenPort(pty.SlavePathW());
    ASSERT_NE(a, INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenPort(pty.SlavePathW()), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(CloseHandle(a));
    EXPECT_FALSE(CloseHandle(a));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HANDLE b = OpenPort(pty.SlavePathW());
    EXPECT_NE(b, a); // handles are never reused
    EXPECT_TRUE(CloseHandle(b));
    EXPECT_EQ(win32::OpenHandleCount(), handles);
}

TEST(CommOpen, StartsRawWithEmptyQueues) {
    testsupport::PtyPair pty;
    ASSERT_TRUE(pty.Write("stale\r\n"));
    HANDLE h = OpenPort(pty.SlavePathW());
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD errors = 0;
    COMSTAT st{};
    ASSERT_TRUE(ClearCommError(h, &errors, &st));
    EXPECT_EQ(st.cbInQue, 0u);
    pty.Read(64, 50ms); // the cooked terminal echoed the stale bytes before we opened it
    ASSERT_TRUE(pty.Write("a\r"));
    EXPECT_TRUE(WaitUntil([&] { return ClearCommError(h, &errors, &st) && st.cbInQue == 2; }));
    EXPECT_EQ(pty.Read(1, 50ms), ""); // no echo
    char buf[4] = {};
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD n = 0;
    ASSERT_TRUE(ReadFile(h, buf, 4, &n, &ov));
    EXPECT_EQ(std::string(buf, n), "a\r"); // no CR translation
    CloseHandle(ov.hEvent);
    CloseHandle(h);
}

TEST_F(TermiosComm, StateReachesTheTerminal) {
    win32::tty::Settings s;
    ASSERT_EQ(win32::tty::Get(pty.Master(), s), 0);
    EXPECT_EQ(s.ospeed, 9600u);
    DCB seen{};
    win32::tty::ToDcb(s, seen);
    EXPECT_EQ(seen.StopBits, TWOSTOPBITS);
    EXPECT_EQ(seen.fOutxCtsFlow, 0u);
    EXPECT_EQ(seen.fOutX, 0u);

    SetDcb([](DCB& d) {
        d.BaudRate = 31250;
        d.StopBits = ONESTOPBIT;
        d.fOutxCtsFlow = 1;
        d.fOutX = 1;
        d.XonChar = 0x11;
        d.XoffChar = 0x13;
    });
    ASSERT_EQ(win32::tty::Get(pty.Master(), s), 0);
    EXPECT_EQ(s.ospeed, 31250u);
    win32::tty::ToDcb(s, seen);
    EXPECT_EQ(seen.StopBits, ONESTOPBIT);
    EXPECT_EQ(seen.fOutxCtsFlow, 1u);
    EXPECT_EQ(seen.fOutX, 1u);
    EXPECT_EQ(seen.XoffChar, 0x13);
}

TEST_F(TermiosComm, InvalidStatesAreRefusedAndChangeNothing) {
    for (auto bad : {+[](DCB& d) { d.BaudRate = 0; }, +[](DCB& d) { d.StopBits = ONE5STOPBITS; },
                     +[](DCB& d) { d.ByteSize = 9; }, +[](DCB& d) { d.Parity = 5; },
                     +[](DCB& d) {
                         d.ByteSize = 5;
                         d.StopBits = TWOSTOPBITS;
                     }}) {
        DCB d = MakeDcb(9600, 8, TWOSTOPBITS);
        bad(d);
        EXPECT_FALSE(SetCommState(h, &d));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    win32::tty::Settings s;
    ASSERT_EQ(win32::tty::Get(pty.Master(), s), 0);
    EXPECT_EQ(s.ospeed, 9600u);
    COMMTIMEOUTS t{MAXDWORD, MAXDWORD, MAXDWORD, 0, 0};
    EXPECT_FALSE(SetCommTimeouts(h, &t));
}

TEST(CommDcbMapping, FormatParityAndFlowBecomeTerminalFlags) {
    // A pseudo-terminal forces 8 bits and no parity, so the mapping is checked as such.
    DCB d = MakeDcb(14400, 7, ONESTOPBIT);
    d.Parity = MARKPARITY;
    d.fParity = 1;
    d.fInX = 1;
    d.fRtsControl = RTS_CONTROL_HANDSHAKE;
    const win32::tty::Settings s = win32::tty::FromDcb(d, {});
    DCB back{};
    win32::tty::ToDcb(s, back);
    EXPECT_EQ(back.BaudRate, 14400u);
    EXPECT_EQ(back.ByteSize, 7);
    EXPECT_EQ(back.Parity, MARKPARITY);
    EXPECT_EQ(back.fInX, 1u);
    EXPECT_EQ(back.fOutxCtsFlow, 1u); // RTS handshake and CTS flow are one switch
    EXPECT_TRUE(win32::tty::ParityMarking(s));
    d.fParity = 0;
    d.ByteSize = 5;
    d.StopBits = ONE5STOPBITS;
    d.Parity = ODDPARITY;
    win32::tty::ToDcb(win32::tty::FromDcb(d, {}), back);
    EXPECT_EQ(back.StopBits, ONE5STOPBITS);
    EXPECT_EQ(back.Parity, ODDPARITY);
    EXPECT_FALSE(win32::tty::ParityMarking(win32::tty::FromDcb(d, {})));
}

TEST_F(TermiosComm, ImmediateReadsReturnWhatIsQueued) {
    EXPECT_EQ(ReadNow(1024), "");
    ASSERT_TRUE(pty.Write("12345"));
    ASSERT_TRUE(WaitUntil([&] { return InQueue() == 5; }));
    EXPECT_EQ(ReadNow(1024), "12345");
    EXPECT_EQ(InQueue(), 0u);
}

TEST_F(TermiosComm, TotalTimeoutReturnsThePartialRead) {
    COMMTIMEOUTS t{0, 0, 200, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
    ASSERT_TRUE(pty.Write("abc"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadNow(10), "abc");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms); // the total time-out was waited for
}

TEST_F(TermiosComm, FirstByteReadCompletesOnArrival) {
    COMMTIMEOUTS t{MAXDWORD, MAXDWORD, 5000, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
    char buf[16];
    Op op;
    ASSERT_FALSE(ReadFile(h, buf, sizeof buf, nullptr, &op.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    DWORD n = 0;
    EXPECT_FALSE(GetOverlappedResult(h, &op.ov, &n, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_IO_INCOMPLETE);
    ASSERT_TRUE(pty.Write("xy"));
    ASSERT_TRUE(op.Done());
    ASSERT_TRUE(GetOverlappedResult(h, &op.ov, &n, FALSE));
    EXPECT_GE(n, 1u);
}

TEST_F(TermiosComm, ReadsQueuedBehindAPendingReadEndInTurn) {
    COMMTIMEOUTS all{0, 0, 0, 0, 0}; // the first read waits for all its bytes
    ASSERT_TRUE(SetCommTimeouts(h, &all));
    char first[4], second[8];
    Op a, b;
    ASSERT_FALSE(ReadFile(h, first, sizeof first, nullptr, &a.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    COMMTIMEOUTS now{MAXDWORD, 0, 0, 0, 0}; // the second takes what is there
    ASSERT_TRUE(SetCommTimeouts(h, &now));
    ASSERT_FALSE(ReadFile(h, second, sizeof second, nullptr, &b.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    ASSERT_TRUE(pty.Write("123456"));
    DWORD n = 0;
    ASSERT_TRUE(a.Done());
    ASSERT_TRUE(GetOverlappedResult(h, &a.ov, &n, FALSE));
    EXPECT_EQ(std::string(first, n), "1234");
    ASSERT_TRUE(b.Done());
    ASSERT_TRUE(GetOverlappedResult(h, &b.ov, &n, FALSE));
    const std::string taken(second, n);
    EXPECT_TRUE(WaitUntil([&] { return taken.size() + InQueue() == 2; }));
    EXPECT_EQ(taken + ReadNow(8), "56");
}

TEST_F(TermiosComm, WritesReachTheFarEndAndReportTxEmpty) {
    ASSERT_TRUE(SetCommMask(h, EV_TXEMPTY));
    Op wait;
    DWORD events = 0;
    ASSERT_FALSE(WaitCommEvent(h, &events, &wait.ov));
    Op op;
    DWORD n = 0;
    if (!WriteFile(h, "\x07\x03\x10\x05\x07", 5, &n, &op.ov)) {
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        ASSERT_TRUE(GetOverlappedResult(h, &op.ov, &n, TRUE));
    }
    EXPECT_EQ(n, 5u);
    EXPECT_EQ(pty.Read(5), "\x07\x03\x10\x05\x07");
    ASSERT_TRUE(wait.Done());
    EXPECT_EQ(events, EV_TXEMPTY);
    ASSERT_TRUE(TransmitCommChar(h, 'Z'));
    EXPECT_EQ(pty.Read(1), "Z");
}

TEST_F(TermiosComm, ReceiveEventsAndTheirHistory) {
    DWORD events = 0;
    Op wait;
    EXPECT_FALSE(WaitCommEvent(h, &events, &wait.ov)); // mask 0
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR | EV_RXFLAG));
    SetDcb([](DCB& d) { d.EvtChar = '\n'; });
    ASSERT_FALSE(WaitCommEvent(h, &events, &wait.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    DWORD other = 0;
    Op second;
    EXPECT_FALSE(WaitCommEvent(h, &other, &second.ov)); // one wait at a time
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    ASSERT_TRUE(pty.Write("ok\n"));
    ASSERT_TRUE(wait.Done());
    EXPECT_EQ(events, EV_RXCHAR | EV_RXFLAG);

    // Arrivals between waits are kept for the next wait.
    ASSERT_TRUE(pty.Write("more"));
    ASSERT_TRUE(WaitUntil([&] { return InQueue() == 7; }));
    ASSERT_TRUE(WaitCommEvent(h, &events, &wait.ov));
    EXPECT_EQ(events, EV_RXCHAR);

    // Changing the mask ends a pending wait with no events.
    ASSERT_FALSE(WaitCommEvent(h, &events, &wait.ov));
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    ASSERT_TRUE(wait.Done(0));
    DWORD n = 0;
    EXPECT_TRUE(GetOverlappedResult(h, &wait.ov, &n, FALSE));
    EXPECT_EQ(events, 0u);
}

TEST_F(TermiosComm, NullsDiscardedAndParityMarksUndone) {
    SetDcb([](DCB& d) { d.fNull = 1; });
    ASSERT_TRUE(pty.Write(std::string("a\0b\0", 4)));
    ASSERT_TRUE(WaitUntil([&] { return InQueue() == 2; }));
    EXPECT_EQ(ReadNow(16), "ab");

    // With parity checking a data byte 0xFF arrives doubled from the terminal.
    SetDcb([](DCB& d) { d.fParity = 1; });
    ASSERT_TRUE(pty.Write("A\xFF"
                          "B"));
    ASSERT_TRUE(WaitUntil([&] { return InQueue() == 3; }));
    EXPECT_EQ(ReadNow(16), "A\xFF"
                           "B");
}

TEST_F(TermiosComm, BurstsBeyondTheQueueAreAllDelivered) {
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    std::string sent;
    for (int i = 0; i < 6000; ++i) sent.push_back(static_cast<char>('a' + i % 26));
    std::thread writer([&] { pty.Write(sent, 5s); });
    std::string got;
    Op wait;
    while (got.size() < sent.size()) {
        DWORD events = 0;
        if (!WaitCommEvent(h, &events, &wait.ov)) {
            ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
            ASSERT_TRUE(wait.Done()) << got.size();
        }
        got += ReadNow(1024); // as the application reads on each event
    }
    writer.join();
    EXPECT_EQ(got, sent);
}

TEST_F(TermiosComm, APendingWaitCompletesForACallerThatOnlyPolls) {
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    DWORD events = 0, n = 0;
    Op wait;
    ASSERT_FALSE(WaitCommEvent(h, &events, &wait.ov));
    ASSERT_TRUE(pty.Write("x"));
    // Nobody waits on the event: asking for the result brings the byte in.
    ASSERT_TRUE(WaitUntil([&] { return GetOverlappedResult(h, &wait.ov, &n, FALSE) != FALSE; }));
    EXPECT_EQ(events, EV_RXCHAR);
    EXPECT_EQ(ReadNow(4), "x");
}

TEST_F(TermiosComm, OutputHeldByXoffCanBeAborted) {
    SetDcb([](DCB& d) { d.fOutX = 1; });
    ASSERT_TRUE(pty.Write("\x13")); // the terminal itself stops its output
    // Write until the terminal takes no more; the write then stays pending.
    const std::string block(4096, 'x');
    Op op;
    DWORD n = 0;
    bool pending = false;
    for (int i = 0; i < 64 && !pending; ++i) {
        if (WriteFile(h, block.data(), static_cast<DWORD>(block.size()), &n, &op.ov)) continue;
        ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        pending = true;
    }
    ASSERT_TRUE(pending);
    EXPECT_FALSE(op.Done(30));
    ASSERT_TRUE(PurgeComm(h, PURGE_TXABORT));
    ASSERT_TRUE(op.Done(0));
    EXPECT_FALSE(GetOverlappedResult(h, &op.ov, &n, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_FALSE(PurgeComm(h, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(TermiosComm, IntervalAndWriteDeadlinesEndOperationsAsSuccess) {
    COMMTIMEOUTS t{100, 0, 0, 0, 100};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
    // An interval read waits for its first byte, then ends when the bytes pause.
    char buf[16];
    Op read;
    ASSERT_FALSE(ReadFile(h, buf, sizeof buf, nullptr, &read.ov));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    EXPECT_FALSE(read.Done(30));
    ASSERT_TRUE(pty.Write("abc"));
    ASSERT_TRUE(read.Done());
    DWORD n = 0;
    ASSERT_TRUE(GetOverlappedResult(h, &read.ov, &n, FALSE));
    ASSERT_GE(n, 1u);
    const std::string taken(buf, n);
    COMMTIMEOUTS now{MAXDWORD, 0, 0, 0, 100};
    ASSERT_TRUE(SetCommTimeouts(h, &now));
    EXPECT_TRUE(WaitUntil([&] { return taken.size() + InQueue() == 3; }));
    EXPECT_EQ(taken + ReadNow(16), "abc");

    // A write the far end does not take ends at its deadline with what went out.
    const std::string block(4096, 'x');
    Op op;
    bool shortWrite = false;
    for (int i = 0; i < 64 && !shortWrite; ++i) {
        if (!WriteFile(h, block.data(), static_cast<DWORD>(block.size()), &n, &op.ov)) {
            ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
            ASSERT_TRUE(op.Done());
            ASSERT_TRUE(GetOverlappedResult(h, &op.ov, &n, FALSE));
        }
        shortWrite = n < block.size();
    }
    EXPECT_TRUE(shortWrite);
}

TEST_F(TermiosComm, XoffHoldsOutputAsIfTheDeviceSentIt) {
    ASSERT_TRUE(EscapeCommFunction(h, SETXOFF));
    ASSERT_TRUE(TransmitCommChar(h, 'A'));
    EXPECT_FALSE(TransmitCommChar(h, 'B')); // one waits already
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DWORD errors = 0;
    COMSTAT st{};
    ASSERT_TRUE(ClearCommError(h, &errors, &st));
    EXPECT_EQ(st.fXoffHold, 1u);
    EXPECT_EQ(st.fTxim, 1u);
    EXPECT_EQ(st.cbOutQue, 1u);
    EXPECT_EQ(pty.Read(1, 50ms), "");
    ASSERT_TRUE(EscapeCommFunction(h, SETXON));
    EXPECT_EQ(pty.Read(1), "A");
    ASSERT_TRUE(ClearCommError(h, &errors, &st));
    EXPECT_EQ(st.fXoffHold, 0u);
    EXPECT_EQ(st.fTxim, 0u);
    // Lines a pseudo-terminal does not have are accepted and read as off.
    EXPECT_TRUE(EscapeCommFunction(h, SETDTR));
    EXPECT_TRUE(EscapeCommFunction(h, CLRRTS));
    DWORD lines = 0xFF;
    ASSERT_TRUE(GetCommModemStatus(h, &lines));
    EXPECT_EQ(lines, 0u);
    EXPECT_FALSE(EscapeCommFunction(h, 42));
    SetDcb([](DCB& d) { d.fRtsControl = RTS_CONTROL_HANDSHAKE; });
    EXPECT_FALSE(EscapeCommFunction(h, SETRTS)); // the handshake owns the line
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(TermiosComm, AnAlmostFullQueueIsAnnounced) {
    ASSERT_TRUE(SetupComm(h, 1024, 1024));
    ASSERT_TRUE(SetCommMask(h, EV_RX80FULL));
    DWORD events = 0;
    Op wait;
    ASSERT_FALSE(WaitCommEvent(h, &events, &wait.ov));
    ASSERT_TRUE(pty.Write(std::string(700, 'a')));
    ASSERT_TRUE(WaitUntil([&] { return InQueue() == 700; }));
    EXPECT_FALSE(wait.Done(0));
    ASSERT_TRUE(pty.Write(std::string(200, 'b')));
    ASSERT_TRUE(wait.Done());
    EXPECT_EQ(events, EV_RX80FULL);
}

TEST_F(TermiosComm, PurgeClearsReceivedBytesButNoCompletedWrite) {
    ASSERT_TRUE(pty.Write("junk"));
    ASSERT_TRUE(WaitUntil([&] { return InQueue() == 4; }));
    Op op;
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "last", 4, &n, &op.ov)); // the far end has not read it yet
    ASSERT_TRUE(PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR));
    EXPECT_EQ(InQueue(), 0u);
    EXPECT_EQ(pty.Read(4), "last");
}

TEST_F(TermiosComm, HangUpFailsWhatIsPendingAndTheLineStillCloses) {
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR | EV_CTS | EV_DSR | EV_RLSD | EV_RING | EV_ERR));
    DWORD events = 0;
    Op wait;
    ASSERT_FALSE(WaitCommEvent(h, &events, &wait.ov));
    pty.CloseMaster();
    ASSERT_TRUE(wait.Done());
    DWORD n = 0;
    EXPECT_FALSE(GetOverlappedResult(h, &wait.ov, &n, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_BAD_COMMAND);
    EXPECT_FALSE(WaitCommEvent(h, &events, &wait.ov));
    EXPECT_EQ(GetLastError(), ERROR_BAD_COMMAND);
    Op op;
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, &op.ov));
    EXPECT_EQ(GetLastError(), ERROR_BAD_COMMAND);
    // Closing still works after a hang-up. That the service thread then idles
    // is bench/comm_idle_bench.cpp's figure.
    EXPECT_TRUE(PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT));
    EXPECT_TRUE(SetCommMask(h, 0));
}

namespace {

// Context switches of each of the process's threads, by id; -1 for a thread
// that is not asleep.
std::map<long, long> ThreadSwitches() {
    std::map<long, long> result;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream status(task.path() / "status");
        std::string key, state;
        long value = 0, total = 0;
        while (status >> key) {
            if (key == "State:") status >> state;
            if (key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:") {
                status >> value;
                total += value;
            }
        }
        result[std::stol(task.path().filename().string())] = state == "S" ? total : -1;
    }
    return result;
}

} // namespace

TEST(CommIdle, AnOpenPortWaitingForEverythingSleeps) {
    const auto before = ThreadSwitches(); // the threads of earlier tests
    testsupport::PtyPair pty;
    HANDLE h = OpenPort(pty.SlavePathW());
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR | EV_RXFLAG | EV_TXEMPTY | EV_CTS | EV_DSR | EV_RLSD | EV_BREAK |
                                   EV_ERR | EV_RING | EV_RX80FULL));
    DWORD events = 0;
    Op wait;
    ASSERT_FALSE(WaitCommEvent(h, &events, &wait.ov));
    std::thread waiter([&] { EXPECT_EQ(WaitForSingleObject(wait.ov.hEvent, 5000), WAIT_OBJECT_0); });
    // The threads this test started (the device's and the waiter).
    const auto mine = [&] {
        std::map<long, long> result;
        for (const auto& [tid, n] : ThreadSwitches())
            if (!before.count(tid)) result[tid] = n;
        return result;
    };
    // Until every one has gone to sleep (slow to start on a loaded machine).
    const auto asleep = [](const std::map<long, long>& threads) {
        for (const auto& [tid, n] : threads)
            if (n < 0) return false;
        return true;
    };
    auto start = mine();
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(20ms);
        const auto now = mine();
        if (now == start && asleep(now)) break;
        start = now;
    }
    std::this_thread::sleep_for(150ms);
    const auto end = mine();
    // Neither the device's thread nor the waiting one woke up for nothing.
    for (const auto& [tid, n] : end) {
        if (start.count(tid)) {
            EXPECT_EQ(n, start.at(tid)) << "thread " << tid;
        }
    }
    ASSERT_TRUE(pty.Write("x"));
    waiter.join();
    EXPECT_EQ(events, EV_RXCHAR);
    CloseHandle(h);
}

TEST_F(TermiosComm, ClosingCompletesPendingOperations) {
    COMMTIMEOUTS t{0, 0, 0, 0, 0}; // reads wait for all bytes
    ASSERT_TRUE(SetCommTimeouts(h, &t));
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    char buf[8];
    Op read, wait;
    DWORD events = 0;
    ASSERT_FALSE(ReadFile(h, buf, sizeof buf, nullptr, &read.ov));
    ASSERT_FALSE(WaitCommEvent(h, &events, &wait.ov));
    ASSERT_TRUE(CloseHandle(h));
    h = INVALID_HANDLE_VALUE;
    for (Op* op : {&read, &wait}) {
        ASSERT_TRUE(op->Done(0));
        DWORD n = 0;
        EXPECT_FALSE(GetOverlappedResult(h, &op->ov, &n, FALSE));
        EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    }
}

// The port closed from one thread while another waits for it and reads, and
// the far end keeps sending: the waiter wakes with its wait ended, and what it
// read before is what was sent, in order, with no gap.
TEST_F(TermiosComm, ClosingUnderAStreamEndsTheWaiterAfterAnUnbrokenPrefix) {
    ASSERT_TRUE(SetCommMask(h, EV_RXCHAR));
    std::string sent(1 << 20, '\0');
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i % 251);
    std::atomic<bool> stop{false};
    // A slow reader on a loaded machine fills the terminal: the writer keeps trying
    // until the port is closed rather than giving up and starving the reader.
    std::thread writer([&] {
        for (std::size_t at = 0; at < sent.size() && !stop;)
            at += pty.WriteSome(std::string_view(sent).substr(at, 4096), 50ms);
    });
    std::string got;
    std::atomic<std::size_t> progress{0};
    std::atomic<bool> hung{false};
    const HANDLE port = h;
    std::thread reader([&] {
        Op wait;
        char buf[4096];
        for (;;) {
            DWORD events = 0, n = 0;
            if (!WaitCommEvent(port, &events, &wait.ov)) {
                if (GetLastError() != ERROR_IO_PENDING) return;
                if (!wait.Done(5000)) {
                    hung = true;
                    return;
                }
                if (!GetOverlappedResult(port, &wait.ov, &n, FALSE)) return;
            }
            Op read;
            if (!ReadFile(port, buf, sizeof buf, &n, &read.ov)) return;
            got.append(buf, n);
            progress = got.size();
        }
    });
    EXPECT_TRUE(WaitUntil([&] { return progress >= 65536; }, [] {}, 20s));
    EXPECT_TRUE(CloseHandle(h));
    h = INVALID_HANDLE_VALUE;
    stop = true;
    reader.join();
    writer.join();
    EXPECT_FALSE(hung);
    ASSERT_LE(got.size(), sent.size());
    EXPECT_TRUE(got == sent.substr(0, got.size()))
        << "bytes lost or out of order within the first " << got.size();
}

TEST(CommSynchronous, CallsBlockUntilDone) {
    testsupport::PtyPair pty;
    HANDLE h = OpenPort(pty.SlavePathW(), 0);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    COMMTIMEOUTS t{0, 0, 0, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(h, &t));
    std::thread far([&] { pty.Write("12345678"); });
    char buf[8];
    DWORD n = 0;
    ASSERT_TRUE(ReadFile(h, buf, 8, &n, nullptr));
    far.join();
    EXPECT_EQ(std::string(buf, n), "12345678");
    ASSERT_TRUE(WriteFile(h, "ok", 2, &n, nullptr));
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(pty.Read(2), "ok");
    CloseHandle(h);
}
