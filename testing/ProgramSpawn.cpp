#include "testing/ProgramSpawn.h"

#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace tessel_testing {
namespace {

// This process's environment with the given variables set over it.
std::vector<std::string> mergedEnvironment(const std::vector<std::pair<std::string, std::string>>& overrides)
{
    std::vector<std::string> entries;
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        const std::string name(*entry, equals ? std::size_t(equals - *entry) : std::strlen(*entry));
        bool overridden = false;
        for (const auto& [overrideName, value] : overrides) overridden = overridden || overrideName == name;
        if (!overridden) entries.emplace_back(*entry);
    }
    for (const auto& [name, value] : overrides) entries.push_back(name + "=" + value);
    return entries;
}

std::vector<char*> pointersTo(std::vector<std::string>& words)
{
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

void redirect(posix_spawn_file_actions_t* actions, int target, const std::string& file, int descriptor)
{
    if (!file.empty())
        posix_spawn_file_actions_addopen(actions, target, file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    else if (descriptor >= 0)
        posix_spawn_file_actions_adddup2(actions, descriptor, target);
}

}  // namespace

pid_t spawnProgram(const ProgramSpawn& spawn)
{
    std::vector<std::string> words{spawn.path};
    words.insert(words.end(), spawn.arguments.begin(), spawn.arguments.end());
    std::vector<std::string> environment = mergedEnvironment(spawn.environment);
    std::vector<char*> argv = pointersTo(words);
    std::vector<char*> envp = pointersTo(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    redirect(&actions, STDOUT_FILENO, spawn.stdoutFile, spawn.stdoutDescriptor);
    redirect(&actions, STDERR_FILENO, spawn.stderrFile, spawn.stderrDescriptor);
    for (int descriptor : spawn.descriptorsToClose) posix_spawn_file_actions_addclose(&actions, descriptor);
    if (!spawn.workingDirectory.empty()) posix_spawn_file_actions_addchdir_np(&actions, spawn.workingDirectory.c_str());

    std::fflush(nullptr);  // nothing buffered here is written twice
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, spawn.path.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

}  // namespace tessel_testing
