#include "tools/device-sim/ptydevice.h"

#include <algorithm>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace devsim {

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void ThrowErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

struct Pending {
    Clock::time_point due; // when the byte has fully left the simulated line
    char byte;
};

} // namespace

PtyDevice::PtyDevice(Device device, LineOptions line) : device_(std::move(device)), line_(std::move(line)) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) ThrowErrno("posix_openpt");
    try {
        if (grantpt(master_) != 0) ThrowErrno("grantpt");
        if (unlockpt(master_) != 0) ThrowErrno("unlockpt");
        char name[256];
        if (ptsname_r(master_, name, sizeof name) != 0) ThrowErrno("ptsname_r");
        slavePath_ = name;
        slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave_ < 0) ThrowErrno("open pty slave");
        // Raw from the start: a cooked terminal would echo the replies back to
        // us as if they were commands before the client sets its own mode.
        termios tio{};
        if (tcgetattr(slave_, &tio) != 0) ThrowErrno("tcgetattr");
        cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD | CSTOPB;
        cfsetispeed(&tio, B9600);
        cfsetospeed(&tio, B9600);
        if (tcsetattr(slave_, TCSANOW, &tio) != 0) ThrowErrno("tcsetattr");
        wake_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (wake_ < 0) ThrowErrno("eventfd");
    } catch (...) {
        if (wake_ >= 0) close(wake_);
        if (slave_ >= 0) close(slave_);
        close(master_);
        throw;
    }
    thread_ = std::thread([this] { Run(); });
}

PtyDevice::~PtyDevice() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = write(wake_, &one, sizeof one);
    thread_.join();
    close(wake_);
    close(slave_);
    close(master_);
}

DeviceStatus PtyDevice::StatusLocked() const {
    return {device_.Frames().size(), device_.Commands(), bytesSent_, queued_ == 0};
}

DeviceStatus PtyDevice::Status() const {
    std::lock_guard lock(mutex_);
    return StatusLocked();
}

std::vector<Frame> PtyDevice::Frames() const {
    std::lock_guard lock(mutex_);
    return device_.Frames();
}

void PtyDevice::Change(const std::function<void(Device&, LineOptions&)>& change) {
    std::lock_guard lock(mutex_);
    change(device_, line_);
}

bool PtyDevice::WaitFor(const std::function<bool(const DeviceStatus&)>& condition,
                        std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return condition(StatusLocked()); });
}

void PtyDevice::Run() {
    std::deque<Pending> out;
    Clock::time_point lineFree = Clock::now();
    bool writeBlocked = false;
    char buf[4096];
    for (;;) {
        pollfd fds[2] = {{wake_, POLLIN, 0},
                         {master_, static_cast<short>(POLLIN | (writeBlocked ? POLLOUT : 0)), 0}};
        timespec wait{};
        timespec* waitPtr = nullptr;
        if (!out.empty() && !writeBlocked) {
            const auto left = std::max(out.front().due - Clock::now(), Clock::duration::zero());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            wait.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
            wait.tv_nsec = static_cast<long>(ns % 1'000'000'000);
            waitPtr = &wait;
        }
        if (ppoll(fds, 2, waitPtr, nullptr) < 0 && errno != EINTR) break;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto n = read(wake_, &count, sizeof count);
            std::lock_guard lock(mutex_);
            if (stop_) break;
        }
        if (fds[1].revents & POLLOUT) writeBlocked = false;
        if (fds[1].revents & POLLIN) {
            const ssize_t n = read(master_, buf, sizeof buf);
            if (n > 0) {
                std::lock_guard lock(mutex_);
                const auto replies = device_.Receive(std::string_view(buf, static_cast<std::size_t>(n)));
                const auto byteTime = ByteTime(line_.baud);
                for (const auto& reply : replies) {
                    auto t = std::max(lineFree, Clock::now());
                    for (const auto& burst : Shape(reply, line_)) {
                        t += burst.delay;
                        for (const char c : burst.bytes) {
                            t += byteTime;
                            out.push_back({t, c});
                        }
                    }
                    lineFree = t;
                }
                queued_ = out.size();
                changed_.notify_all();
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                // Not expected while we hold the slave open; never spin on it.
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        if (!writeBlocked && !out.empty()) {
            const auto now = Clock::now();
            std::string due;
            for (const auto& p : out) {
                if (p.due > now) break;
                due += p.byte;
            }
            if (!due.empty()) {
                const ssize_t n = write(master_, due.data(), due.size());
                if (n > 0) {
                    out.erase(out.begin(), out.begin() + n);
                    std::lock_guard lock(mutex_);
                    bytesSent_ += static_cast<std::uint64_t>(n);
                    queued_ = out.size();
                    changed_.notify_all();
                } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                    writeBlocked = true;
                }
            }
        }
    }
}

} // namespace devsim
