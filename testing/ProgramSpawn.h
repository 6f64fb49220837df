#pragma once
// Starts a program for a test with posix_spawn, so that no code of the test runs in the child.
// A fork()ed child of a test that has threads (a fixture server, a worker queue) must not
// allocate: AddressSanitizer's allocator is not held across fork, and a size class another thread
// held at that moment stays locked in the child, whose next allocation then waits forever.

#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace tessel_testing {

struct ProgramSpawn {
    ProgramSpawn(std::string path, std::vector<std::string> arguments = {},
                 std::vector<std::pair<std::string, std::string>> environment = {}, std::string workingDirectory = {})
        : path(std::move(path)), arguments(std::move(arguments)), environment(std::move(environment)),
          workingDirectory(std::move(workingDirectory))
    {
    }

    std::string path;
    std::vector<std::string> arguments;                            // after the program's own name
    std::vector<std::pair<std::string, std::string>> environment;  // set over this process's
    std::string workingDirectory;                                  // empty: this process's
    // Where stdout and stderr go: a file written afresh, else a descriptor of this process, else
    // where this process's own go.
    std::string stdoutFile, stderrFile;
    int stdoutDescriptor = -1, stderrDescriptor = -1;
    std::vector<int> descriptorsToClose;  // in the child, e.g. the other end of a pipe
};

// The child's id, or -1 when it could not be started (no such program, among others).
pid_t spawnProgram(const ProgramSpawn& spawn);

}  // namespace tessel_testing
