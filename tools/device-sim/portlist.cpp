#include "tools/device-sim/portlist.h"

#include "platform/win32/serialcomm.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace devsim {

namespace {

namespace fs = std::filesystem;

// The list's reader is the port list's own, so both sides read one format.
using Entry = win32::SerialCommListEntry;

// Held for the whole read-modify-write of the list.
class ListLock {
public:
    explicit ListLock(const fs::path& list) {
        fs::create_directories(list.parent_path());
        const auto lockPath = fs::path(list).replace_filename("serialcomm.lock");
        fd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) throw std::system_error(errno, std::generic_category(), lockPath.string());
        while (flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                const int err = errno;
                close(fd_);
                throw std::system_error(err, std::generic_category(), "flock " + lockPath.string());
            }
        }
    }
    ~ListLock() { close(fd_); }
    ListLock(const ListLock&) = delete;
    ListLock& operator=(const ListLock&) = delete;

private:
    int fd_ = -1;
};

std::vector<Entry> ReadEntries(const fs::path& list) {
    return win32::ReadSerialCommList(list);
}

bool Alive(const Entry& e) {
    if (e.pid > 0) return kill(static_cast<pid_t>(e.pid), 0) == 0 || errno != ESRCH;
    std::error_code ec;
    return fs::exists(e.device.empty() ? e.port : e.device, ec);
}

void WriteEntries(const fs::path& list, const std::vector<Entry>& entries) {
    const auto tmp = fs::path(list).concat(".tmp" + std::to_string(getpid()));
    {
        std::ofstream out(tmp, std::ios::trunc);
        for (const auto& e : entries) {
            out << e.port;
            if (e.pid > 0 || !e.device.empty()) out << '\t' << e.pid;
            if (!e.device.empty()) out << '\t' << e.device;
            out << '\n';
        }
        out.flush();
        if (!out) throw std::system_error(EIO, std::generic_category(), "write " + tmp.string());
    }
    fs::rename(tmp, list);
}

} // namespace

fs::path RegisteredPortsFile() {
    return win32::DefaultSerialCommListFile();
}

void RegisterPort(const std::string& port, const std::string& device) {
    const auto list = RegisteredPortsFile();
    ListLock lock(list);
    const long self = static_cast<long>(getpid());
    std::vector<Entry> kept;
    for (auto& e : ReadEntries(list)) {
        if (!Alive(e)) continue;
        if (e.port != port) {
            kept.push_back(std::move(e));
        } else if (e.pid > 0 && e.pid != self) {
            // Taking the name over would leave the other simulator's user reading from this one.
            throw PortTaken("the port " + port + " is already listed by another simulator (process " +
                            std::to_string(e.pid) + ")");
        }
    }
    kept.push_back({port, static_cast<long>(getpid()), device == port ? std::string() : device});
    WriteEntries(list, kept);
}

void UnregisterPort(const std::string& port) {
    const auto list = RegisteredPortsFile();
    ListLock lock(list);
    auto entries = ReadEntries(list);
    // Another running simulator may have taken the name over since: its entry stays.
    const long self = static_cast<long>(getpid());
    std::erase_if(entries, [&](const Entry& e) { return e.port == port && (e.pid == 0 || e.pid == self); });
    WriteEntries(list, entries);
}

std::vector<std::string> RegisteredPorts() {
    std::vector<std::string> ports;
    for (auto& e : ReadEntries(RegisteredPortsFile())) ports.push_back(std::move(e.port));
    return ports;
}

} // namespace devsim
