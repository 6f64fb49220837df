#include "Export/QZPNGCompressor.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "Model/QZFileOperations.h"
#include "Render/CGImage.h"

extern char** environ;

namespace customizer {
namespace {

using Clock = std::chrono::steady_clock;

std::optional<std::string> readBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string describeStatus(int status)
{
    if (WIFEXITED(status)) return "it exited with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return std::string("it was ended by signal ") + strsignal(WTERMSIG(status));
    return "it ended abnormally";
}

// Drains the program's output until it exits, or stops its process group at the deadline. The
// group is stopped before the program is reaped (its id cannot be reused meanwhile), so nothing
// it started outlives it.
std::optional<std::string> waitFor(pid_t child, int output, Clock::time_point deadline, std::chrono::milliseconds limit)
{
    char buffer[4096];
    for (;;) {
        siginfo_t info{};
        bool exited = ::waitid(P_PID, id_t(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == child;
        if (exited) break;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            ::kill(-child, SIGKILL);
            int ignored;
            ::waitpid(child, &ignored, 0);
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%g", limit.count() / 1000.0);
            return std::string("it ran longer than ") + seconds + " s and was stopped";
        }
        int wait = int(std::min<long>(left.count(), 20));
        pollfd p{output, POLLIN, 0};
        if (output >= 0 && ::poll(&p, 1, wait) > 0) {
            ssize_t got = ::read(output, buffer, sizeof buffer);
            if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) output = -1;
        } else if (output < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        }
    }
    ::kill(-child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return std::nullopt;
    return describeStatus(status);
}

}  // namespace

QZPNGCompressor QZPNGCompressor::fromEnvironment()
{
    const char* program = std::getenv(kQZCompressorVariable);
    return QZPNGCompressor(program && *program ? program : kQZDefaultCompressor);
}

std::optional<std::string> QZPNGCompressor::run(const std::string& path) const
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return std::string("no pipe for its output: ") + std::strerror(errno);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    // Its own process group, so that a stop at the time limit reaches whatever it started.
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::string program = program_;
    std::string argument = path;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    int spawnError = ::posix_spawnp(&child, program.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipeEnds[1]);
    if (spawnError != 0) {
        ::close(pipeEnds[0]);
        return std::string("it cannot be started: ") + std::strerror(spawnError);
    }
    std::optional<std::string> failure = waitFor(child, pipeEnds[0], Clock::now() + timeLimit_, timeLimit_);
    ::close(pipeEnds[0]);
    return failure;
}

std::optional<std::string> QZPNGCompressor::compress(const std::string& path) const
{
    std::optional<std::string> original = readBytes(path);
    CGImageRef before = CGImage::imageWithContentsOfPNGFile(path);
    if (!original || !before) return path + " is no readable PNG";
    std::optional<std::string> failure = run(path);
    if (!failure) {
        CGImageRef after = CGImage::imageWithContentsOfPNGFile(path);
        if (after && after->width() == before->width() && after->height() == before->height()) return std::nullopt;
        failure = "it left " + path + " no PNG of the same size";
    }
    std::string restoreError;
    if (!QZWriteFileAtomically(path, *original, &restoreError))
        *failure += "; the original could not be put back: " + restoreError;
    return failure;
}

}  // namespace customizer
