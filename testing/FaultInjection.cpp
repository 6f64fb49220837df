#include "testing/FaultInjection.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

int runInChildWithFileSizeLimit(std::uint64_t bytes, const std::function<int()>& body)
{
    std::fflush(nullptr);  // nothing buffered twice
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer's allocator is not held across fork(): a parent thread still freeing what
    // its last block used (a worker just past a group's wait, the network thread after a transfer)
    // can leave a size class locked in the child, whose next allocation then waits forever. The
    // threads settle in far less than this; glibc's allocator, in the other builds, needs no pause.
    usleep(100000);
#endif
    pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
        int status = body();
        std::fflush(nullptr);
        _exit(status);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}
