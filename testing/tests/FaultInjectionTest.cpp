#include "testing/FaultInjection.h"

#include "Dispatch/Dispatch.h"
#include "Network/NSURLConnection.h"
#include "testing/TesselFixtureServer.h"
#include "testing/TestSandbox.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

namespace {

// Writes 1 MiB; answers 0 when every byte was written, else the errno of the failing write.
int writeOneMebibyte(const std::string& path)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return errno;
    std::vector<char> block(64 << 10, 'x');
    int result = 0;
    for (int i = 0; i < 16 && result == 0; ++i)
        if (write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) result = errno;
    close(fd);
    return result;
}

TEST(FaultInjectionTest, AChildWithAFileSizeLimitFailsWithEFBIGWhileTheParentWritesFreely)
{
    TestSandbox sandbox;
    int status = runInChildWithFileSizeLimit(64 << 10, [&] { return writeOneMebibyte(sandbox.path("child.bin")); });
    EXPECT_EQ(status, EFBIG);
    EXPECT_EQ(writeOneMebibyte(sandbox.path("parent.bin")), 0);
    EXPECT_EQ(runInChildWithFileSizeLimit(64 << 10, [] { return 7; }), 7);
}

TEST(FaultInjectionTest, TheChildHasWorkingDispatchPoolsAndNetworkThread)
{
    TesselFixtureServer server;
    server.setRoute("/ping", TesselFixtureServer::Response::text("pong"));
    auto get = [&] {
        auto body = NSURLConnection::sendSynchronousRequest(
            NSURLRequest::requestWithURL(NSURL::URLWithString(server.url("/ping"))), nullptr, nullptr);
        return body && std::string(body->begin(), body->end()) == "pong";
    };
    // The parent has started its pools and its network thread before the fork.
    auto group = dispatch_group_create();
    std::atomic<bool> parentGot{false};
    dispatch_group_async(group, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                         [&] { parentGot = get(); });
    dispatch_group_wait(group, DISPATCH_TIME_FOREVER);
    ASSERT_TRUE(parentGot);

    int status = runInChildWithFileSizeLimit(1 << 20, [&] {
        auto childGroup = dispatch_group_create();
        std::atomic<int> ran{0};
        std::atomic<bool> childGot{false};
        for (long priority :
             {DISPATCH_QUEUE_PRIORITY_HIGH, DISPATCH_QUEUE_PRIORITY_DEFAULT, DISPATCH_QUEUE_PRIORITY_BACKGROUND})
            dispatch_group_async(childGroup, dispatch_get_global_queue(priority, 0), [&] { ++ran; });
        dispatch_group_async(childGroup, dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0),
                             [&] { childGot = get(); });
        if (dispatch_group_wait(childGroup, dispatch_time(DISPATCH_TIME_NOW, 20 * NSEC_PER_SEC)) != 0) return 3;
        return ran == 3 && childGot ? 0 : 4;
    });
    EXPECT_EQ(status, 0);
}

}  // namespace
