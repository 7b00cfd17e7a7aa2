#include "platform/win32/spawn.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

SpawnOutcome SpawnAndAwait(const std::string& Program, const std::vector<std::string>& Arguments,
                           int WaitMs) {
    std::vector<std::string> texts{Program};
    texts.insert(texts.end(), Arguments.begin(), Arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts) argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, Program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return {rc, false, 0};

    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        pollfd p{pidfd, POLLIN, 0};
        int ready = 0;
        do {
            ready = poll(&p, 1, WaitMs);
        } while (ready < 0 && errno == EINTR);
        close(pidfd);
        if (ready > 0) {
            int status = 0;
            if (waitpid(pid, &status, 0) == pid) return {0, true, status};
            return {};
        }
    }
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return {};
}
