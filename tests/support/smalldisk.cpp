#include "tests/support/smalldisk.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

SmallDisk::SmallDisk(std::uint64_t bytes) : options_("size=" + std::to_string(bytes)) {
    std::string tmpl = "/tmp/moltren-disk-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) {
        why_ = std::strerror(errno);
        return;
    }
    path = tmpl;
    if (::mount("tmpfs", tmpl.c_str(), "tmpfs", 0, options_.c_str()) != 0) {
        why_ =
            std::string("a small disk cannot be mounted here (") + std::strerror(errno) + "); it takes root";
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(path.c_str(), MNT_DETACH);
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
}

void SmallDisk::Fill(std::uint64_t left) {
    struct statvfs vfs {};
    if (::statvfs(path.c_str(), &vfs) != 0) return;
    const std::uint64_t free = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    if (free <= left) return;
    const int fd = ::open((path / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const std::vector<char> block(free - left, 'f');
    [[maybe_unused]] const ssize_t n = ::write(fd, block.data(), block.size());
    ::close(fd);
}

void SmallDisk::MakeReadOnly() {
    if (mounted_) ::mount("tmpfs", path.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, options_.c_str());
}
