#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSLogCapture.h"
#include "Foundation/NSOperationQueue.h"
#include "Foundation/NSPathUtilities.h"
#include "Network/NSHTTPURLResponse.h"
#include "Network/NSMutableURLRequest.h"
#include "Network/NSURL.h"
#include "Network/NSURLError.h"
#include "Foundation/NSNotificationCenter.h"
#include "TesselSDK/remote/QZDownloadManager.h"
#include "TesselSDK/remote/QZDownloadOperation.h"
#include "testing/FaultInjection.h"
#include "testing/TesselFixtureServer.h"
#include "testing/TestSandbox.h"

namespace {

namespace fs = std::filesystem;
using Response = TesselFixtureServer::Response;

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> listing(const std::string& directory)
{
    return NSFileManager::defaultManager()->contentsOfDirectoryAtPath(directory);
}

// What the blocks saw, from whichever thread called them.
struct Outcome {
    mutable std::mutex mutex;
    int successes = 0;
    int failures = 0;
    bool finishedAtCall = false;
    std::shared_ptr<NSError> error;
    std::vector<float> progress;
    std::optional<std::string> validatedBytes;

    int calls() const
    {
        std::lock_guard lock(mutex);
        return successes + failures;
    }
};

// Bodies that arrive in several chunks, and that a second response must not follow.
Response binary(const std::string& body)
{
    Response response = Response::text(body, 200, "application/zip");
    response.substitutesBase = false;
    return response;
}

class QZDownloadOperationTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        QZDownloadOperation::setMaximumContentLength(QZDownloadOperation::kDefaultMaximumContentLength);
    }

    // validation: none, or the answer it gives (from a worker thread, after reading the file).
    std::shared_ptr<QZDownloadOperation> makeOperation(const std::string& url, Outcome& outcome,
                                                       std::optional<bool> validation = std::nullopt)
    {
        auto request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(url),
                                                           NSURLRequestReloadIgnoringLocalCacheData, 600);
        auto operation = QZDownloadOperation::make(request, destination);
        operation->setSuccessBlock([&outcome](QZDownloadOperation& op) {
            std::lock_guard lock(outcome.mutex);
            ++outcome.successes;
            outcome.finishedAtCall = op.isFinished() && !op.isExecuting();
        });
        operation->setFailureBlock([&outcome](QZDownloadOperation& op, const std::shared_ptr<NSError>& error) {
            std::lock_guard lock(outcome.mutex);
            ++outcome.failures;
            outcome.error = error;
            outcome.finishedAtCall = op.isFinished() && !op.isExecuting();
        });
        operation->setProgressBlock([&outcome](QZDownloadOperation&, float fraction) {
            std::lock_guard lock(outcome.mutex);
            outcome.progress.push_back(fraction);
        });
        if (validation)
            operation->setValidationBlock([&outcome, valid = *validation](
                                              const std::string& path, QZDownloadOperation::ValidationCompletion done) {
                {
                    std::lock_guard lock(outcome.mutex);
                    outcome.validatedBytes = readFile(path);
                }
                dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_HIGH, 0), [done, valid] {
                    done(valid, {});
                    done(!valid, {});  // a second answer is ignored
                });
            });
        return operation;
    }

    void run(const std::shared_ptr<QZDownloadOperation>& operation, const Outcome& outcome)
    {
        queue->addOperation(operation);
        EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return outcome.calls() > 0; }, 20));
        DispatchRunLoop::runUntil([] { return false; }, 0.2);  // a second call would come now
        queue->waitUntilAllOperationsAreFinished();
    }

    TestSandbox sandbox;
    TesselFixtureServer server;
    std::shared_ptr<NSOperationQueue> queue = NSOperationQueue::queue();
    std::string destination = sandbox.path("pack.zip");
};

TEST_F(QZDownloadOperationTest, OnlyAWholeValidatedBodyReplacesTheDestination)
{
    enum class Progress { RisingToOne, Unknown, None };
    struct Case {
        const char* name;
        std::function<std::string(TesselFixtureServer&)> prepare;  // answers the URL
        std::optional<bool> validation;
        std::string domain;  // empty: success
        NSInteger code = 0;
        Progress progress = Progress::None;
    };
    const std::string body(100000, 'z');
    const std::vector<Case> cases = {
        {"200 with a length",
         [&](auto& s) {
             s.setRoute("/a.zip", binary(body));
             return s.url("/a.zip");
         },
         true, "", 0, Progress::RisingToOne},
        {"no length",
         [&](auto& s) {
             Response r = binary(body);
             r.sendsContentLength = false;
             s.setRoute("/a.zip", r);
             return s.url("/a.zip");
         },
         true, "", 0, Progress::Unknown},
        {"no validation block",
         [&](auto& s) {
             s.setRoute("/a.zip", binary(body));
             return s.url("/a.zip");
         },
         std::nullopt, "", 0, Progress::RisingToOne},
        {"redirect, then 200: the final body only",
         [&](auto& s) {
             Response hop = Response::redirect("/final.zip");
             hop.body = "redirect body";
             s.setRoute("/a.zip", hop);
             s.setRoute("/final.zip", binary(body));
             return s.url("/a.zip");
         },
         true, "", 0, Progress::RisingToOne},
        {"404 with a body",
         [](auto& s) {
             s.setRoute("/a.zip", Response::text("<html>not here</html>", 404, "text/html"));
             return s.url("/a.zip");
         },
         true, kQZDownloadStatusErrorDomain, 404},
        {"500",
         [](auto& s) {
             s.setRoute("/a.zip", Response::text("<html>oops</html>", 500, "text/html"));
             return s.url("/a.zip");
         },
         true, kQZDownloadStatusErrorDomain, 500},
        {"closed halfway",
         [&](auto& s) {
             Response r = binary(body);
             r.dropAfterBytes = body.size() / 2;
             s.setRoute("/a.zip", r);
             return s.url("/a.zip");
         },
         true, NSURLErrorDomain, NSURLErrorNetworkConnectionLost},
        {"refused by the validation",
         [&](auto& s) {
             s.setRoute("/a.zip", binary(body));
             return s.url("/a.zip");
         },
         false, kQZDownloadValidationErrorDomain, 1, Progress::RisingToOne},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(destination, std::ios::binary | std::ios::trunc) << "installed";
        Outcome outcome;
        auto operation = makeOperation(c.prepare(server), outcome, c.validation);
        run(operation, outcome);

        const bool succeeds = c.domain.empty();
        EXPECT_EQ(outcome.successes, succeeds ? 1 : 0);
        EXPECT_EQ(outcome.failures, succeeds ? 0 : 1);
        EXPECT_TRUE(outcome.finishedAtCall);
        if (!succeeds) {
            ASSERT_TRUE(outcome.error);
            EXPECT_EQ(outcome.error->domain(), c.domain);
            EXPECT_EQ(outcome.error->code(), c.code);
        }
        EXPECT_EQ(readFile(destination), succeeds ? body : "installed") << "an installed file stays unless replaced";
        if (c.validation && c.code != 404 && c.code != 500 && c.domain != NSURLErrorDomain) {
            EXPECT_EQ(outcome.validatedBytes, body) << "validation reads the whole body";
        }
        EXPECT_TRUE(listing(NSTemporaryDirectory()).empty());
        EXPECT_TRUE(operation->connection() == nullptr);
        switch (c.progress) {
        case Progress::RisingToOne:
            ASSERT_GE(outcome.progress.size(), 2u) << "several chunks";
            EXPECT_TRUE(std::is_sorted(outcome.progress.begin(), outcome.progress.end()));
            EXPECT_GT(outcome.progress.front(), 0);
            EXPECT_EQ(outcome.progress.back(), 1.0f);
            break;
        case Progress::Unknown:
            ASSERT_FALSE(outcome.progress.empty());
            for (float fraction : outcome.progress) EXPECT_EQ(fraction, -1.0f);
            break;
        case Progress::None: break;
        }
    }
}

TEST_F(QZDownloadOperationTest, ABodyPastTheLimitFailsAndLeavesNothing)
{
    QZDownloadOperation::setMaximumContentLength(50000);
    for (bool sendsLength : {true, false}) {
        SCOPED_TRACE(sendsLength ? "announced" : "no length");
        std::ofstream(destination, std::ios::binary | std::ios::trunc) << "installed";
        Response r = binary(std::string(100000, 'z'));
        r.sendsContentLength = sendsLength;
        server.setRoute("/big.zip", r);
        Outcome outcome;
        auto operation = makeOperation(server.url("/big.zip"), outcome, true);
        run(operation, outcome);
        EXPECT_EQ(outcome.failures, 1);
        EXPECT_EQ(outcome.error ? outcome.error->code() : 0, NSURLErrorDataLengthExceedsMaximum);
        EXPECT_FALSE(outcome.validatedBytes);
        EXPECT_EQ(readFile(destination), "installed");
        EXPECT_TRUE(listing(NSTemporaryDirectory()).empty());
    }
}

TEST_F(QZDownloadOperationTest, CancelledBeforeItStartsItFinishesWithoutABlockOrARequest)
{
    server.setRoute("/a.zip", binary("bytes"));
    Outcome outcome;
    auto operation = makeOperation(server.url("/a.zip"), outcome, true);
    operation->cancel();
    queue->addOperation(operation);
    queue->waitUntilAllOperationsAreFinished();
    DispatchRunLoop::runUntil([] { return false; }, 0.2);
    EXPECT_TRUE(operation->isFinished());
    EXPECT_EQ(outcome.calls(), 0);
    EXPECT_EQ(server.requestCount("/a.zip"), 0);
}

TEST_F(QZDownloadOperationTest, ASecondResponseStartsTheFileAfresh)
{
    // The connection gives one response per load; a redirect handled by hand would give two.
    auto url = NSURL::URLWithString("http://127.0.0.1:9/a.zip");
    auto request = NSURLRequest::requestWithURL(url);
    auto operation = QZDownloadOperation::make(request, destination);
    Outcome outcome;
    operation->setSuccessBlock([&](QZDownloadOperation&) { ++outcome.successes; });
    auto connection = NSURLConnection::connectionWithRequest(request, nullptr, false);
    auto chunk = [](const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); };
    operation->connectionDidReceiveResponse(*connection, NSHTTPURLResponse::make(url, 200, {}, 14));
    operation->connectionDidReceiveData(*connection, chunk("earlier body, "));
    operation->connectionDidReceiveResponse(*connection, NSHTTPURLResponse::make(url, 200, {}, 5));
    EXPECT_EQ(operation->receivedDataLength(), 0u);
    operation->connectionDidReceiveData(*connection, chunk("final"));
    operation->connectionDidFinishLoading(*connection);
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(readFile(destination), "final");
    EXPECT_TRUE(listing(NSTemporaryDirectory()).empty());
}

TEST_F(QZDownloadOperationTest, AFullDiskFailsWithTheWriteErrorAndKeepsTheInstalledFile)
{
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "ThreadSanitizer does not support threads started in a child forked from threads";
#endif
    // The installed file comes from a download of its own, in the parent.
    server.setRoute("/installed.zip", binary("installed"));
    Outcome installing;
    run(makeOperation(server.url("/installed.zip"), installing, true), installing);
    ASSERT_EQ(readFile(destination), "installed");
    server.setRoute("/a.zip", binary(std::string(1 << 20, 'z')));
    // The child may write files of 256 KiB at most: the download's writes fail with EFBIG.
    int status = runInChildWithFileSizeLimit(256 << 10, [&] {
        Outcome outcome;
        auto operation = makeOperation(server.url("/a.zip"), outcome, true);
        queue->addOperation(operation);
        if (!DispatchRunLoop::runUntil([&] { return outcome.calls() > 0; }, 20)) return 10;
        std::lock_guard lock(outcome.mutex);
        if (outcome.failures != 1 || outcome.validatedBytes) return 11;
        if (!outcome.error || outcome.error->domain() != NSPOSIXErrorDomain) return 12;
        return outcome.error->code() == EFBIG ? 0 : 13;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFile(destination), "installed");
    EXPECT_TRUE(listing(NSTemporaryDirectory()).empty());
}

TEST_F(QZDownloadOperationTest, ATemporaryFileThatCannotBeMadeEndsThroughTheFailurePath)
{
    std::ofstream(destination, std::ios::binary) << "installed";
    server.setRoute("/a.zip", binary("bytes"));
    const fs::path temporary = fs::path(NSTemporaryDirectory()).parent_path();
    fs::remove_all(temporary);
    std::ofstream(temporary) << "a file where the directory belongs";
    NSLogCapture log;
    Outcome outcome;
    run(makeOperation(server.url("/a.zip"), outcome, true), outcome);
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_TRUE(log.contains("-[QZDownloadOperation connection:didReceiveResponse:] Error creating temporary file."));
    EXPECT_EQ(readFile(destination), "installed");
}

TEST_F(QZDownloadOperationTest, TheDownloadManagerAnnouncesEachEndAndForgetsTheDownload)
{
    Response held = binary("archive bytes");
    held.delaySeconds = 2;
    server.setRoute("/a.zip", held);
    server.setRoute("/missing.zip", Response::text("no", 404));
    std::vector<std::shared_ptr<NSNotification>> heard;
    auto center = NSNotificationCenter::defaultCenter();
    auto finished = center->addObserverForName(QZDownloadManagerDownloadFinishedNotification, nullptr,
                                               [&](const auto& note) { heard.push_back(note); });
    auto failed = center->addObserverForName(QZDownloadManagerDownloadFailedNotification, nullptr,
                                             [&](const auto& note) { heard.push_back(note); });
    auto manager = QZDownloadManager::sharedManager();
    auto download =
        QZDownload::make(NSURLRequest::requestWithURL(NSURL::URLWithString(server.url("/a.zip"))), destination);
    auto missing = QZDownload::make(NSURLRequest::requestWithURL(NSURL::URLWithString(server.url("/missing.zip"))),
                                    sandbox.path("missing.zip"));
    EXPECT_NE(download->uniqueIdentifier(), missing->uniqueIdentifier());
    manager->startDownload(download, Value::dictionary({{"pack", "a"}}));
    manager->startDownload(missing, Value::dictionary({{"pack", "missing"}}));

    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return heard.size() == 1; }, 20));
    EXPECT_EQ(heard[0]->name(), QZDownloadManagerDownloadFailedNotification);
    EXPECT_EQ(heard[0]->object(), missing);
    EXPECT_EQ(heard[0]->userInfo()["pack"].stringValue(), "missing");
    EXPECT_EQ(manager->activeDownloadWithIdentifier(missing->uniqueIdentifier()), nullptr);
    EXPECT_EQ(manager->activeDownloadWithIdentifier(download->uniqueIdentifier()), download) << "still held";

    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return heard.size() == 2; }, 20));
    EXPECT_EQ(heard[1]->name(), QZDownloadManagerDownloadFinishedNotification);
    EXPECT_EQ(heard[1]->object(), download);
    EXPECT_EQ(heard[1]->userInfo()["pack"].stringValue(), "a");
    EXPECT_EQ(manager->activeDownloadWithIdentifier(download->uniqueIdentifier()), nullptr);
    EXPECT_EQ(readFile(destination), "archive bytes");
    EXPECT_FALSE(fs::exists(sandbox.path("missing.zip")));

    QZDownloadManager::unload();
    EXPECT_NE(QZDownloadManager::sharedManager(), manager);
    center->removeObserver(finished);
    center->removeObserver(failed);
}

}  // namespace
