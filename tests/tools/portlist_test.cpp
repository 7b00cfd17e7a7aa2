#include "tests/support/tempdir.h"
#include "tools/device-sim/portlist.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace devsim;
namespace fs = std::filesystem;

namespace {

// Points $XDG_CONFIG_HOME at a fresh directory for one test.
class ConfigHome {
public:
    ConfigHome() {
        char tmpl[] = "/tmp/moltren-portlist-XXXXXX";
        dir_ = mkdtemp(tmpl);
        const char* old = std::getenv("XDG_CONFIG_HOME");
        if (old != nullptr) old_ = old, hadOld_ = true;
        setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    }
    ~ConfigHome() {
        if (hadOld_)
            setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(dir_);
    }
    const fs::path& Dir() const { return dir_; }

private:
    fs::path dir_;
    std::string old_;
    bool hadOld_ = false;
};

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(SimPortList, RegistersAndUnregistersBesideOtherPorts) {
    ConfigHome home;
    EXPECT_EQ(RegisteredPortsFile(), home.Dir() / "moltren" / "serialcomm");
    EXPECT_TRUE(RegisteredPorts().empty());

    RegisterPort("/dev/pts/71");
    RegisterPort("/dev/pts/72");
    RegisterPort("/dev/pts/71"); // again: listed once
    EXPECT_EQ(RegisteredPorts(), (std::vector<std::string>{"/dev/pts/72", "/dev/pts/71"}));
    const auto pid = std::to_string(getpid());
    EXPECT_EQ(ReadAll(RegisteredPortsFile()), "/dev/pts/72\t" + pid + "\n/dev/pts/71\t" + pid + "\n");

    UnregisterPort("/dev/pts/71");
    UnregisterPort("/dev/pts/99"); // not listed: no error
    EXPECT_EQ(RegisteredPorts(), std::vector<std::string>{"/dev/pts/72"});
    UnregisterPort("/dev/pts/72");
    EXPECT_TRUE(RegisteredPorts().empty());
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(home.Dir() / "moltren")) ++files;
    EXPECT_EQ(files, 2); // the list and its lock
}

TEST(SimPortList, DropsEntriesOfSimulatorsThatDied) {
    ConfigHome home;
    // A process that has ended: its id is free (reaped) and not running.
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    fs::create_directories(RegisteredPortsFile().parent_path());
    std::ofstream(RegisteredPortsFile()) << "/dev/pts/81\t" << gone << "\n"
                                         << "/dev/null\n"
                                         << "/dev/does-not-exist\n"
                                         << "/dev/pts/82\t" << getppid() << "\n";
    RegisterPort("/dev/pts/83");
    EXPECT_EQ(RegisteredPorts(), (std::vector<std::string>{"/dev/null", "/dev/pts/82", "/dev/pts/83"}));
}

TEST(SimPortList, PortListedUnderANameOfItsOwn) {
    ConfigHome home;
    RegisterPort("COM1", "/dev/pts/73");
    EXPECT_EQ(RegisteredPorts(), std::vector<std::string>{"COM1"});
    EXPECT_EQ(ReadAll(RegisteredPortsFile()), "COM1\t" + std::to_string(getpid()) + "\t/dev/pts/73\n");
    UnregisterPort("COM1");
    EXPECT_TRUE(RegisteredPorts().empty());
}

// A second simulator that took the name over keeps it when the first one ends.
TEST(SimPortList, UnregisteringLeavesAnotherProcesssEntry) {
    ConfigHome home;
    fs::create_directories(RegisteredPortsFile().parent_path());
    const std::string other = "COM1\t" + std::to_string(getppid()) + "\t/dev/pts/75\n";
    std::ofstream(RegisteredPortsFile()) << other;
    UnregisterPort("COM1");
    EXPECT_EQ(ReadAll(RegisteredPortsFile()), other);
}

// Two demos under one account: the second is refused the name the first one holds,
// and the first one's entry stays as it was.
TEST(SimPortList, ANameHeldByARunningProcessIsNotTakenOver) {
    ConfigHome home;
    fs::create_directories(RegisteredPortsFile().parent_path());
    const std::string other = "COM1\t" + std::to_string(getppid()) + "\t/dev/pts/75\n";
    std::ofstream(RegisteredPortsFile()) << other;
    EXPECT_THROW(RegisterPort("COM1", "/dev/pts/76"), PortTaken);
    EXPECT_EQ(ReadAll(RegisteredPortsFile()), other);
}
