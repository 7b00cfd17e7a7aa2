// The device-sim program: it lists its port while it runs and removes it
// however it is asked to end.
#include "tests/support/tempdir.h"
#include "tools/device-sim/portlist.h"
#include "tools/device-sim/simcore.h"

#include "platform/win32/serialcomm.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

class Program {
public:
    explicit Program(std::vector<std::string> args) {
        int out[2];
        EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        args.insert(args.begin(), DEVICE_SIM_PROGRAM);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&pid_, DEVICE_SIM_PROGRAM, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = out[0];
    }
    ~Program() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
    }

    // The first line of the program's output, within the limit.
    std::string Line(int limitMs = 5000) {
        std::string line;
        char c;
        pollfd p{out_, POLLIN, 0};
        while (poll(&p, 1, limitMs) > 0 && read(out_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    // Sends the signal and returns the exit status.
    int End(int signal) {
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

class SimProgram : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", home_.path.c_str(), 1); }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }
    TempDir home_{"moltren-devsim"};
};

} // namespace

TEST_F(SimProgram, ListsItsPortWhileItRunsAndNotAfterwards) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        Program sim({"--demo", "--baud", "0"});
        const std::string path = sim.Line();
        ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
        // The demo lists its terminal as COM1, the name the main window's port starts with.
        EXPECT_EQ(devsim::RegisteredPorts(), std::vector<std::string>{"COM1"});
        EXPECT_EQ(win32::RegisteredPortDevice("COM1"), path);

        // It answers as device 1 with today's records.
        const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios tio{};
        tcgetattr(fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
        const auto frame = devsim::ResetFrame(1);
        ASSERT_EQ(write(fd, frame.data(), frame.size()), 5);
        std::string reply;
        pollfd p{fd, POLLIN, 0};
        char buf[16];
        while (reply.size() < 5 && poll(&p, 1, 3000) > 0) {
            const auto n = read(fd, buf, sizeof buf);
            if (n <= 0) break;
            reply.append(buf, static_cast<std::size_t>(n));
        }
        close(fd);
        EXPECT_EQ(reply, "\xF0\x01\x02\x03\xFF");

        const int status = sim.End(signal);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "signal " << signal;
        EXPECT_TRUE(devsim::RegisteredPorts().empty()) << "signal " << signal;
    }
}

TEST_F(SimProgram, RejectsBadArgumentsAndUnreadableArchives) {
    EXPECT_EQ(WEXITSTATUS(Program({"--device", "0"}).End(0)), 2);
    Program missing({"--archive", (home_.path / "none.txt").string()});
    EXPECT_EQ(missing.Line(), "");
    EXPECT_EQ(WEXITSTATUS(missing.End(0)), 1);
    EXPECT_TRUE(devsim::RegisteredPorts().empty());
}
