#include "tests/support/pty.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace testsupport {

PtyPair::PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128] = {};
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0)
        throw std::runtime_error("no pseudo-terminal");
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    slave_ = name;
}

bool PtyPair::Write(std::string_view bytes, std::chrono::milliseconds bound) {
    return WriteSome(bytes, bound) == bytes.size();
}

std::size_t PtyPair::WriteSome(std::string_view bytes, std::chrono::milliseconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) break;
        if (std::chrono::steady_clock::now() >= end) break;
        pollfd p{master_, POLLOUT, 0};
        ::poll(&p, 1, 10);
    }
    return written;
}

std::string PtyPair::Read(std::size_t count, std::chrono::milliseconds bound) {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + bound;
    while (got.size() < count) {
        char buf[4096];
        const ssize_t n = ::read(master_, buf, std::min(sizeof buf, count - got.size()));
        if (n > 0) {
            got.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left.count()));
    }
    return got;
}

void PtyPair::CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

} // namespace testsupport
