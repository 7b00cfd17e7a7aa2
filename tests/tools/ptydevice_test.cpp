#include "tools/device-sim/ptydevice.h"

#include "platform/win32/comm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace devsim;
using namespace std::chrono;

namespace {

using Clock = steady_clock;

// The program's side of the line: the slave of the simulator's terminal.
class Client {
public:
    explicit Client(const std::string& path) {
        fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        EXPECT_GE(fd_, 0) << path;
        termios tio{};
        tcgetattr(fd_, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd_, TCSANOW, &tio);
    }
    ~Client() { close(fd_); }

    void Send(const Bytes& bytes) {
        ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }

    // Reads until `count` bytes have arrived or the deadline passes; records
    // when each read returned and how many bytes had come by then.
    Bytes Receive(std::size_t count, milliseconds limit = milliseconds{3000}) {
        Bytes got;
        const auto deadline = Clock::now() + limit;
        while (got.size() < count) {
            const auto left = duration_cast<milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) break;
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
            char buf[4096];
            const ssize_t n = read(fd_, buf, sizeof buf);
            if (n > 0) {
                got.append(buf, static_cast<std::size_t>(n));
                lastByte = Clock::now();
                arrivals.push_back({lastByte, got.size()});
            }
        }
        return got;
    }

    // Bytes cannot come sooner than the line lets them: by each read's
    // return, at most `allowed(time since sent)` of them. A late reader only
    // sees fewer reads, never more bytes than that.
    void ExpectNoSoonerThan(Clock::time_point sent, const std::function<double(double)>& allowed) const {
        for (const auto& [at, total] : arrivals)
            EXPECT_LE(static_cast<double>(total), allowed(duration<double>(at - sent).count()))
                << total << " bytes after " << duration<double>(at - sent).count() << " s";
    }

    Clock::time_point lastByte;
    std::vector<std::pair<Clock::time_point, std::size_t>> arrivals;

private:
    int fd_ = -1;
};

Archive Example() {
    Archive a;
    a.Add({10, 5}, "05 10 12 30 1.5 0 9999 abc");
    a.Add({10, 5}, "05 10 13 00 2.25 0 10 7");
    return a;
}

LineOptions Unpaced() {
    LineOptions line;
    line.baud = 0;
    line.latency = milliseconds{0};
    return line;
}

} // namespace

TEST(SimPty, AnswersTheProtocolOverThePseudoTerminal) {
    DeviceOptions options;
    options.device = 7;
    PtyDevice sim(Device(Example(), options), Unpaced());
    ASSERT_EQ(sim.SlavePath().rfind("/dev/pts/", 0), 0u) << sim.SlavePath();
    Client app(sim.SlavePath());

    app.Send(ResetFrame(7));
    EXPECT_EQ(app.Receive(5), "\xF0\x01\x02\x03\xFF");
    // Command bytes that a cooked terminal would mangle (0x0A, 0x0D, XON/XOFF)
    // pass unchanged.
    app.Send(Bytes("\x0A\x01\x00\x00\x0A\x11\x13\x0D", 8));
    app.Send(ReadDayFrame(7, 10, 5));
    const Bytes reply = app.Receive(61);
    EXPECT_EQ(reply.size(), 61u);
    EXPECT_EQ(reply.substr(59), "?\xFF");
    ASSERT_TRUE(
        sim.WaitFor([](const DeviceStatus& s) { return s.idle && s.bytesSent == 66; }, milliseconds{2000}));
    const auto frames = sim.Frames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1].bytes, Bytes("\x0A\x01\x00\x00\x0A", 5));
    EXPECT_FALSE(frames[1].toMe);
    EXPECT_EQ(sim.Status().commands, 2);
}

TEST(SimPty, FallsSilentAndSpeaksAgainOnRequest) {
    PtyDevice sim(Device(Example(), DeviceOptions{}), Unpaced());
    Client app(sim.SlavePath());
    sim.Change([](Device& d, LineOptions&) { d.Options().silentFrom = 1; });
    app.Send(ResetFrame(1));
    ASSERT_TRUE(sim.WaitFor([](const DeviceStatus& s) { return s.commands == 1; }, milliseconds{2000}));
    EXPECT_TRUE(app.Receive(1, milliseconds{100}).empty());
    sim.Change([](Device& d, LineOptions&) { d.Options().silentFrom = 0; });
    app.Send(ResetFrame(1));
    EXPECT_EQ(app.Receive(5), "\xF0\x01\x02\x03\xFF");
}

TEST(SimPty, PacesRepliesAtTheBaudRate) {
    // The worked example's day reply: 61 bytes at 4800 baud take 61 x 11 / 4800 s.
    LineOptions line;
    line.baud = 4800;
    line.latency = milliseconds{0};
    PtyDevice sim(Device(Example(), DeviceOptions{}), line);
    Client app(sim.SlavePath());
    // Taken before the command goes out: the reply may start before Send returns.
    const auto sent = Clock::now();
    app.Send(ReadDayFrame(1, 10, 5));
    ASSERT_EQ(app.Receive(61).size(), 61u);
    const double took = duration<double>(app.lastByte - sent).count();
    const double floor = 61 * 11 / 4800.0; // 0.1398 s
    // Only the floor is a property of the simulator; how close it comes is
    // the benchmark's figure, since a loaded machine may delay the reader.
    EXPECT_GE(took, floor * 0.98);
    // It trickles in, as from a real line: byte k leaves k byte times after the command.
    app.ExpectNoSoonerThan(sent, [](double s) { return s * 4800 / 11 + 1; });
}

TEST(SimPty, SplitsRepliesIntoChunksWithGaps) {
    LineOptions line = Unpaced();
    line.chunk = 20;
    line.gap = milliseconds{40};
    PtyDevice sim(Device(Example(), DeviceOptions{}), line);
    Client app(sim.SlavePath());
    // Taken before the command goes out: the reply may start before Send returns.
    const auto sent = Clock::now();
    app.Send(ReadDayFrame(1, 10, 5));
    ASSERT_EQ(app.Receive(61).size(), 61u);
    // 20 + 20 + 20 + 1 bytes, 40 ms apart.
    app.ExpectNoSoonerThan(sent, [](double s) { return 20 * (std::floor(s / 0.040) + 1); });
    EXPECT_GE(duration<double>(app.lastByte - sent).count(), 0.115);
}

// The program's own serial layer reads the simulator: raw bytes both ways,
// including numbers a cooked terminal would take for line ends or XON/XOFF.
TEST(SimPty, ServesTheProgramsSerialLayer) {
    for (const int number : {1, 10, 13, 17, 19}) {
        DeviceOptions options;
        options.device = number;
        Archive archive = Example();
        PtyDevice sim(Device(std::move(archive), options), Unpaced());
        const std::u16string path(sim.SlavePath().begin(), sim.SlavePath().end());
        HANDLE port =
            CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(port, INVALID_HANDLE_VALUE) << sim.SlavePath();
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        dcb.BaudRate = 9600;
        dcb.fBinary = 1;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = TWOSTOPBITS;
        ASSERT_TRUE(SetCommState(port, &dcb));
        COMMTIMEOUTS timeouts{0, 0, 3000, 0, 1000}; // a read waits for all it asks, 3 s at most
        ASSERT_TRUE(SetCommTimeouts(port, &timeouts));

        const auto exchange = [&](const Bytes& frame, std::size_t expected) {
            DWORD n = 0;
            EXPECT_TRUE(WriteFile(port, frame.data(), static_cast<DWORD>(frame.size()), &n, nullptr));
            Bytes reply(expected, '\0');
            EXPECT_TRUE(ReadFile(port, reply.data(), static_cast<DWORD>(expected), &n, nullptr));
            reply.resize(n);
            return reply;
        };
        EXPECT_EQ(exchange(ResetFrame(number), 5), "\xF0\x01\x02\x03\xFF") << number;
        const Bytes day = exchange(ReadDayFrame(number, 10, 5), 61);
        EXPECT_EQ(day.size(), 61u) << number;
        EXPECT_EQ(day.substr(4, 26), "05 10 12 30 1.5 0 9999 abc") << number;
        CloseHandle(port);
    }
}
