#include "RunProgram.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <sys/wait.h>
#include <unistd.h>

namespace example_test {

ProgramRun runProgram(const std::string& path, const std::vector<std::string>& args,
                      const std::vector<std::pair<std::string, std::string>>& environment,
                      const std::string& workingDirectory)
{
    ProgramRun run;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return run;
    std::fflush(nullptr);  // nothing buffered twice
    const pid_t pid = fork();
    if (pid < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return run;
    }
    if (pid == 0) {
        dup2(pipeEnds[1], 1);
        dup2(pipeEnds[1], 2);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(127);
        std::vector<char*> argv{const_cast<char*>(path.c_str())};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    char chunk[4096];
    for (;;) {
        const ssize_t got = read(pipeEnds[0], chunk, sizeof chunk);
        if (got > 0) {
            run.output.append(chunk, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace example_test
