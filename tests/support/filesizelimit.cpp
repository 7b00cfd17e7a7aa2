#include "tests/support/filesizelimit.h"

#include <csignal>
#include <sys/resource.h>

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    // The write fails with an error instead of the signal ending the process.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previousCur_ = limit.rlim_cur;
    previousMax_ = limit.rlim_max;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    const rlimit previous{static_cast<rlim_t>(previousCur_), static_cast<rlim_t>(previousMax_)};
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler_);
}
