#pragma once
// Runs a built example program as a person runs it, for the examples' tests.

#include <string>
#include <utility>
#include <vector>

namespace example_test {

struct ProgramRun {
    int status = -1;     // the exit status; -1 when a signal ended it or it could not be run
    std::string output;  // stdout and stderr together, as they came
};

// Runs `path` with `args` (and the environment variables given, on top of this process's) and
// waits for it; in `workingDirectory` when one is given, else in this process's.
ProgramRun runProgram(const std::string& path, const std::vector<std::string>& args,
                      const std::vector<std::pair<std::string, std::string>>& environment = {},
                      const std::string& workingDirectory = "");

}  // namespace example_test
