#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSOperationQueue.h"
#include "Network/NSMutableURLRequest.h"
#include "Network/NSURL.h"
#include "Network/NSURLError.h"
#include "TesselSDK/remote/QZURLRequestOperation.h"
#include "testing/TesselFixtureServer.h"

namespace {

using Response = TesselFixtureServer::Response;

// What the blocks saw: every call, with the operation's state at that moment.
struct Outcome {
    int calls = 0;
    bool offMainThread = false;
    bool finishedAtCall = false;
    bool executingAtCall = true;
    std::optional<std::string> body;
    std::shared_ptr<NSError> error;
};

std::shared_ptr<QZURLRequestOperation> makeOperation(const std::string& url, Outcome& outcome, double timeout = 600)
{
    auto request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(url),
                                                       NSURLRequestReloadIgnoringLocalCacheData, timeout);
    auto operation = QZURLRequestOperation::operationWithRequest(request);
    auto note = [&outcome](QZURLRequestOperation& op) {
        ++outcome.calls;
        outcome.offMainThread |= !DispatchMainQueue::isMainThread();
        outcome.finishedAtCall = op.isFinished();
        outcome.executingAtCall = op.isExecuting();
    };
    operation->setSuccessBlock([&outcome, note](QZURLRequestOperation& op, const Value::Data& data) {
        note(op);
        outcome.body = std::string(data.begin(), data.end());
    });
    operation->setFailureBlock([&outcome, note](QZURLRequestOperation& op, const std::shared_ptr<NSError>& error) {
        note(op);
        outcome.error = error;
    });
    return operation;
}

// Runs the main run loop until a block was called, then a little longer to catch a second call.
void settle(const Outcome& outcome)
{
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return outcome.calls > 0; }, 20));
    DispatchRunLoop::runUntil([] { return false; }, 0.2);
}

int closedLoopbackPort()
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

class QZURLRequestOperationTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        QZURLRequestOperation::setMaximumBodyLength(QZURLRequestOperation::kDefaultMaximumBodyLength);
    }
    TesselFixtureServer server;
};

TEST_F(QZURLRequestOperationTest, EachExchangeEndsInExactlyOneBlockOnTheMainThreadAfterFinishing)
{
    struct Case {
        const char* name;
        std::function<std::string(TesselFixtureServer&)> prepare;  // answers the URL
        std::optional<std::string> body;                           // success with this body
        std::optional<NSInteger> errorCode;                        // else failure (any code when nullopt)
        double timeout = 600;
    };
    const std::string big(2048, 'x');
    const std::vector<Case> cases = {
        {"500 with HTML",
         [](auto& s) {
             s.setRoute("/boom", Response::text("<html>oops</html>", 500, "text/html"));
             return s.url("/boom");
         },
         std::string("<html>oops</html>"), std::nullopt},
        {"empty 200",
         [](auto& s) {
             s.setRoute("/empty", Response::text(""));
             return s.url("/empty");
         },
         std::string(), std::nullopt},
        {"302: the final body only",
         [](auto& s) {
             auto hop = Response::redirect("/final");
             hop.body = "redirect body";
             s.setRoute("/start", hop);
             s.setRoute("/final", Response::text("final"));
             return s.url("/start");
         },
         std::string("final"), std::nullopt},
        {"closed loopback port",
         [](auto&) { return "http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + "/x"; }, std::nullopt,
         NSURLErrorCannotConnectToHost},
        {"body dropped midway",
         [big](auto& s) {
             auto dropped = Response::text(big);
             dropped.dropAfterBytes = 100;
             s.setRoute("/dropped", dropped);
             return s.url("/dropped");
         },
         std::nullopt, std::nullopt},
        {"stalled past the timeout",
         [](auto& s) {
             auto stalled = Response::text("late");
             stalled.stalls = true;
             s.setRoute("/stalled", stalled);
             return s.url("/stalled");
         },
         std::nullopt, NSURLErrorTimedOut, 0.5},
        {"file URL", [](auto&) { return std::string("file:///etc/hostname"); }, std::nullopt, NSURLErrorUnsupportedURL},
        {"redirect to a file URL",
         [](auto& s) {
             s.setRoute("/to-file", Response::redirect("file:///etc/hostname"));
             return s.url("/to-file");
         },
         std::nullopt, std::nullopt},
        {"body past the cap without a length",
         [big](auto& s) {
             auto unannounced = Response::text(big);
             unannounced.sendsContentLength = false;
             s.setRoute("/unannounced", unannounced);
             return s.url("/unannounced");
         },
         std::nullopt, NSURLErrorDataLengthExceedsMaximum},
        {"Content-Length past the cap",
         [big](auto& s) {
             s.setRoute("/announced", Response::text(big));
             return s.url("/announced");
         },
         std::nullopt, NSURLErrorDataLengthExceedsMaximum},
    };
    QZURLRequestOperation::setMaximumBodyLength(1024);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome outcome;
        auto operation = makeOperation(c.prepare(server), outcome, c.timeout);
        std::thread([operation] { operation->start(); }).join();  // started from any thread
        settle(outcome);
        EXPECT_EQ(outcome.calls, 1);
        EXPECT_FALSE(outcome.offMainThread);
        EXPECT_TRUE(outcome.finishedAtCall);
        EXPECT_FALSE(outcome.executingAtCall);
        EXPECT_EQ(operation->connection(), nullptr);
        if (c.body) {
            EXPECT_EQ(outcome.body, c.body);
            EXPECT_EQ(outcome.error, nullptr);
        } else {
            EXPECT_FALSE(outcome.body.has_value());
            ASSERT_TRUE(outcome.error);
            EXPECT_EQ(outcome.error->domain(), NSURLErrorDomain);
            if (c.errorCode) {
                EXPECT_EQ(outcome.error->code(), *c.errorCode);
            }
        }
    }
    server.releaseStalls();
}

TEST_F(QZURLRequestOperationTest, ACancelledOperationFinishesWithoutABlockOrARequest)
{
    server.setRoute("/doc", Response::text("{}"));
    Outcome outcome;
    auto operation = makeOperation(server.url("/doc"), outcome);
    operation->cancel();
    auto queue = NSOperationQueue::queue();
    queue->addOperation(operation);
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return operation->isFinished(); }, 10));
    DispatchRunLoop::runUntil([] { return false; }, 0.2);
    EXPECT_EQ(outcome.calls, 0);
    EXPECT_EQ(server.requestCount("/doc"), 0);
}

TEST_F(QZURLRequestOperationTest, StartingTwiceBeforeOrAfterTheEndSendsOneRequest)
{
    server.setRoute("/doc", Response::text("{}"));
    Outcome outcome;
    auto operation = makeOperation(server.url("/doc"), outcome);
    operation->start();
    operation->start();
    EXPECT_TRUE(operation->isExecuting());
    settle(outcome);
    operation->start();
    DispatchRunLoop::runUntil([] { return false; }, 0.3);
    EXPECT_EQ(outcome.calls, 1);
    EXPECT_EQ(server.requestCount("/doc"), 1);
    EXPECT_TRUE(operation->isFinished());
}

TEST_F(QZURLRequestOperationTest, AQueueOfWidthOneStartsTheNextRequestWhileTheFirstBlockRuns)
{
    server.setRoute("/first", Response::text("1"));
    server.setRoute("/second", Response::text("2"));
    auto queue = NSOperationQueue::queue();
    queue->setMaxConcurrentOperationCount(1);
    Outcome first;
    Outcome second;
    bool secondRequestSeenInsideFirstBlock = false;
    auto firstOperation = makeOperation(server.url("/first"), first);
    firstOperation->setSuccessBlock([&](QZURLRequestOperation&, const Value::Data&) {
        ++first.calls;
        // The main thread is held here: only a freed slot lets the second request out.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (server.requestCount("/second") == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        secondRequestSeenInsideFirstBlock = server.requestCount("/second") == 1;
    });
    queue->addOperation(firstOperation);
    queue->addOperation(makeOperation(server.url("/second"), second));
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return first.calls == 1 && second.calls == 1; }, 20));
    EXPECT_TRUE(secondRequestSeenInsideFirstBlock);
    EXPECT_EQ(second.body, std::string("2"));
}

}  // namespace
