// Runs examples/tessel_fixture_server as people do: on port 0 with a temporary directory.

#include "Network/NSHTTPURLResponse.h"
#include "Network/NSURLConnection.h"
#include "testing/ProgramSpawn.h"
#include "testing/TesselFixtureServer.h"
#include "testing/TestSandbox.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Running {
    pid_t pid = -1;
    FILE* out = nullptr;  // the program's stdout
};

Running launch(const std::vector<std::string>& arguments)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    tessel_testing::ProgramSpawn spawn{TESSEL_FIXTURE_SERVER_PATH, arguments};
    spawn.stdoutDescriptor = pipeEnds[1];
    spawn.descriptorsToClose = {pipeEnds[0], pipeEnds[1]};
    const pid_t pid = tessel_testing::spawnProgram(spawn);
    close(pipeEnds[1]);
    return {pid, fdopen(pipeEnds[0], "r")};
}

std::string firstLine(const Running& running)
{
    char line[256] = {};
    if (!std::fgets(line, sizeof line, running.out)) return {};
    std::string text = line;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

int exitStatus(Running& running)
{
    int status = 0;
    waitpid(running.pid, &status, 0);
    if (running.out) std::fclose(running.out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::pair<int, std::string> get(const std::string& url)
{
    std::pair<int, std::string> answer{0, ""};
    std::thread([&] {
        std::shared_ptr<NSURLResponse> response;
        auto body = NSURLConnection::sendSynchronousRequest(NSURLRequest::requestWithURL(NSURL::URLWithString(url)),
                                                            &response, nullptr);
        if (auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response)) answer.first = http->statusCode();
        if (body) answer.second.assign(body->begin(), body->end());
    }).join();
    return answer;
}

TEST(TesselFixtureServerExampleTest, ServesTheDirectoryAndLogsEachRequestUntilASignalEndsIt)
{
    TestSandbox sandbox;
    std::filesystem::create_directories(sandbox.path("content/a"));
    std::ofstream(sandbox.path("content/a/b.json")) << "{\"url\": \"@BASE@/a/b.json\"}";
    for (int stopSignal : {SIGTERM, SIGINT}) {
        Running running = launch({"--port", "0", sandbox.path("content")});
        std::string base = firstLine(running);
        ASSERT_TRUE(base.starts_with("http://127.0.0.1:")) << base;
        EXPECT_EQ(get(base + "/a/b.json"), std::make_pair(200, "{\"url\": \"" + base + "/a/b.json\"}"));
        EXPECT_EQ(get(base + "/a").first, 404);
        EXPECT_EQ(get(base + "/../content/a/b.json").first, 404);
        // One line per request, in order.
        EXPECT_EQ(firstLine(running), "GET /a/b.json");
        EXPECT_EQ(firstLine(running), "GET /a");
        EXPECT_TRUE(firstLine(running).starts_with("GET /"));
        kill(running.pid, stopSignal);
        EXPECT_EQ(exitStatus(running), 0);
    }
}

TEST(TesselFixtureServerExampleTest, BadArgumentsAndUnusableDirectoriesOrPorts)
{
    TestSandbox sandbox;
    std::ofstream(sandbox.path("file.txt")) << "x";
    TesselFixtureServer occupying;
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{}, 2},
        {{sandbox.root()}, 2},
        {{"--port", "x", sandbox.root()}, 2},
        {{"--port", "70000", sandbox.root()}, 2},
        {{"--port", "0", sandbox.root(), "extra"}, 2},
        {{"--port", "0", sandbox.path("file.txt")}, 1},
        {{"--port", "0", sandbox.path("missing")}, 1},
        {{"--port", std::to_string(occupying.port()), sandbox.root()}, 1},
    };
    for (const auto& [arguments, expected] : cases) {
        Running running = launch(arguments);
        EXPECT_EQ(firstLine(running), "");
        EXPECT_EQ(exitStatus(running), expected) << ::testing::PrintToString(arguments);
    }
}

}  // namespace
