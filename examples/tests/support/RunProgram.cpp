#include "RunProgram.h"

#include "testing/ProgramSpawn.h"

#include <cerrno>

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
    tessel_testing::ProgramSpawn spawn{path, args, environment, workingDirectory};
    spawn.stdoutDescriptor = spawn.stderrDescriptor = pipeEnds[1];
    spawn.descriptorsToClose = {pipeEnds[0], pipeEnds[1]};
    const pid_t pid = tessel_testing::spawnProgram(spawn);
    if (pid < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return run;
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
