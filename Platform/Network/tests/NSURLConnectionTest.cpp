#include "Network/NSURLConnection.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "Network/NSHTTPURLResponse.h"
#include "Network/NSMutableURLRequest.h"
#include "Network/NSURLError.h"
#include "testing/TesselFixtureServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Response = TesselFixtureServer::Response;

// Records every delegate step as text, checking each arrives on the main thread.
class RecordingDelegate : public NSURLConnectionDataDelegate {
public:
    std::vector<std::string> steps;
    std::string body;
    std::shared_ptr<NSHTTPURLResponse> response;
    std::shared_ptr<NSError> error;
    bool offMainThread = false;
    bool ended = false;
    std::function<void(NSURLConnection&)> onData;

    void connectionDidReceiveResponse(NSURLConnection&, const std::shared_ptr<NSURLResponse>& r) override
    {
        note("response");
        response = std::dynamic_pointer_cast<NSHTTPURLResponse>(r);
    }
    void connectionDidReceiveData(NSURLConnection& connection, const std::vector<std::uint8_t>& data) override
    {
        if (steps.empty() || steps.back() != "data") note("data");
        body.append(data.begin(), data.end());
        if (onData) onData(connection);
    }
    void connectionDidFinishLoading(NSURLConnection&) override
    {
        note("finished");
        ended = true;
    }
    void connectionDidFailWithError(NSURLConnection&, const std::shared_ptr<NSError>& e) override
    {
        note("failed");
        error = e;
        ended = true;
    }

private:
    void note(const char* step)
    {
        if (!DispatchMainQueue::isMainThread()) offMainThread = true;
        steps.push_back(step);
    }
};

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

// Ordinary loads get a long timeout: sanitizer builds are slow, and the idle limit is tested apart.
constexpr double kPatient = 600;

std::shared_ptr<RecordingDelegate> load(const std::string& url, double timeout = kPatient, double total = kPatient)
{
    auto delegate = std::make_shared<RecordingDelegate>();
    auto request =
        NSMutableURLRequest::requestWithURL(NSURL::URLWithString(url), NSURLRequestUseProtocolCachePolicy, timeout);
    request->setTotalTimeoutInterval(total);
    auto connection = NSURLConnection::connectionWithRequest(request, delegate, false);
    std::thread([connection] { connection->start(); }).join();  // started from any thread
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return delegate->ended; }, 10));
    return delegate;
}

struct LoadCase {
    const char* name;
    std::function<std::string(TesselFixtureServer&)> prepare;  // answers the URL to load
    std::vector<std::string> steps;
    std::optional<NSInteger> errorCode;
    int status = 0;
    std::string body;
    std::int64_t expectedLength = -2;  // -2: not checked
    double timeout = kPatient;
    double total = kPatient;
};

// One byte a second for 100 seconds: never idle, so only the whole load's limit ends it.
Response trickle()
{
    Response r = Response::text(std::string(100, 't'));
    r.trickleSeconds = 1;
    return r;
}

class NSURLConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { PlatformSettings::setNetworkTimeoutScale(0.02); }  // 15 s reads as 0.3 s
    void TearDown() override { PlatformSettings::reset(); }
    TesselFixtureServer server;
};

TEST_F(NSURLConnectionTest, LoadsReportStepsInOrderOnTheMainThread)
{
    const std::vector<std::string> ok{"response", "data", "finished"};
    const std::vector<LoadCase> cases = {
        {"server error with a body is no error",
         [](auto& s) {
             s.setRoute("/boom", Response::text("<html>oops</html>", 500, "text/html"));
             return s.url("/boom");
         },
         ok, std::nullopt, 500, "<html>oops</html>", 17},
        {"empty body",
         [](auto& s) {
             s.setRoute("/empty", Response::text("", 200));
             return s.url("/empty");
         },
         {"response", "finished"},
         std::nullopt,
         200,
         "",
         0},
        {"redirect delivers the final body only",
         [](auto& s) {
             auto hop = Response::redirect("/final");
             hop.body = "redirect body";
             s.setRoute("/start", hop);
             s.setRoute("/final", Response::text("{\"at\": \"@BASE@/final\"}"));
             return s.url("/start");
         },
         ok, std::nullopt, 200, "", -2},
        {"redirect loop",
         [](auto& s) {
             s.setRoute("/loop", Response::redirect("/loop"));
             return s.url("/loop");
         },
         {"failed"},
         NSURLErrorHTTPTooManyRedirects,
         0,
         "",
         -2},
        {"file URL",
         [](auto&) { return std::string("file:///etc/hostname"); },
         {"failed"},
         NSURLErrorUnsupportedURL,
         0,
         "",
         -2},
        {"redirect to a file URL",
         [](auto& s) {
             s.setRoute("/to-file", Response::redirect("file:///etc/hostname"));
             return s.url("/to-file");
         },
         {"failed"},
         NSURLErrorUnsupportedURL,
         0,
         "",
         -2},
        {"closed loopback port",
         [](auto&) { return "http://127.0.0.1:" + std::to_string(closedLoopbackPort()) + "/x"; },
         {"failed"},
         NSURLErrorCannotConnectToHost,
         0,
         "",
         -2},
        {"connection dropped mid-body",
         [](auto& s) {
             Response r = Response::text(std::string(100000, 'x'));
             r.dropAfterBytes = 1000;
             s.setRoute("/drop", r);
             return s.url("/drop");
         },
         {"response", "data", "failed"},
         NSURLErrorNetworkConnectionLost,
         0,
         "",
         -2},
        {"stall past the idle limit",
         [](auto& s) {
             Response r = Response::text("late");
             r.stalls = true;
             s.setRoute("/stall", r);
             return s.url("/stall");
         },
         {"failed"},
         NSURLErrorTimedOut,
         0,
         "",
         -2,
         15},
        {"one byte a second past the total limit",
         [](auto& s) {
             s.setRoute("/trickle", trickle());
             return s.url("/trickle");
         },
         {"response", "data", "failed"},
         NSURLErrorTimedOut,
         0,
         "",
         -2,
         kPatient,
         150},
        {"no content length",
         [](auto& s) {
             Response r = Response::text("streamed body");
             r.sendsContentLength = false;
             s.setRoute("/stream", r);
             return s.url("/stream");
         },
         ok, std::nullopt, 200, "streamed body", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto delegate = load(c.prepare(server), c.timeout, c.total);
        EXPECT_EQ(delegate->steps, c.steps) << (delegate->error ? delegate->error->localizedDescription() : "");
        EXPECT_FALSE(delegate->offMainThread);
        if (c.errorCode) {
            ASSERT_TRUE(delegate->error);
            EXPECT_EQ(delegate->error->domain(), NSURLErrorDomain);
            EXPECT_EQ(delegate->error->code(), *c.errorCode) << delegate->error->localizedDescription();
        } else {
            EXPECT_FALSE(delegate->error);
            ASSERT_TRUE(delegate->response);
            EXPECT_EQ(delegate->response->statusCode(), c.status);
            if (!c.body.empty()) {
                EXPECT_EQ(delegate->body, c.body);
            }
            if (c.expectedLength != -2) {
                EXPECT_EQ(delegate->response->expectedContentLength(), c.expectedLength);
            }
        }
    }
    // The redirect's own body never reached the delegate, and its response named the final URL.
    auto redirected = load(server.url("/start"));
    EXPECT_EQ(redirected->body, "{\"at\": \"" + server.baseURL() + "/final\"}");
    EXPECT_EQ(redirected->response->URL()->absoluteString(), server.url("/final"));
    EXPECT_EQ(server.requestCount("/to-file"), 1);
}

TEST_F(NSURLConnectionTest, EveryLoadHasATotalLimitSynchronousOnesToo)
{
    EXPECT_EQ(NSURLRequest::requestWithURL(NSURL::URLWithString(server.url("/x")))->totalTimeoutInterval(),
              NSURLRequestDefaultTotalTimeoutInterval);
    server.setRoute("/trickle", trickle());
    // The default limit, scaled: 300 s reads as 6 s, while the 100-byte body would take 100 s.
    std::shared_ptr<NSError> error;
    std::optional<Value::Data> body;
    const auto start = std::chrono::steady_clock::now();
    std::thread([&] {
        body = NSURLConnection::sendSynchronousRequest(
            NSURLRequest::requestWithURL(NSURL::URLWithString(server.url("/trickle")),
                                         NSURLRequestUseProtocolCachePolicy, kPatient),
            nullptr, &error);
    }).join();
    EXPECT_FALSE(body);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), NSURLErrorTimedOut);
    EXPECT_NE(error->localizedDescription().find("6 seconds"), std::string::npos) << error->localizedDescription();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST_F(NSURLConnectionTest, CancelFromTheDataStepEndsTheLoadWithNoFurtherCall)
{
    Response big = Response::text(std::string(4 << 20, 'z'));
    server.setRoute("/big", big);
    auto delegate = std::make_shared<RecordingDelegate>();
    delegate->onData = [](NSURLConnection& connection) { connection.cancel(); };
    auto connection = NSURLConnection::connectionWithRequest(
        NSURLRequest::requestWithURL(NSURL::URLWithString(server.url("/big")), NSURLRequestUseProtocolCachePolicy,
                                     kPatient),
        delegate, true);
    connection.reset();  // the running load holds itself
    DispatchRunLoop::runUntil([&] { return !delegate->steps.empty() && delegate->steps.back() == "data"; }, 10);
    DispatchRunLoop::runUntil([] { return false; }, 0.3);  // anything still queued runs now
    EXPECT_EQ(delegate->steps, (std::vector<std::string>{"response", "data"}));
    EXPECT_LT(delegate->body.size(), big.body.size());
}

TEST_F(NSURLConnectionTest, SendsMethodHeadersAndBodyAndIgnoresProxyVariables)
{
    // A proxy named by the environment would capture loopback traffic; it must not be used.
    setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(closedLoopbackPort())).c_str(), 1);
    setenv("no_proxy", "", 1);
    server.setRoute("/upload", Response::text("taken", 201));
    auto request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(server.url("/upload")),
                                                       NSURLRequestUseProtocolCachePolicy, kPatient);
    request->setTotalTimeoutInterval(kPatient);
    request->setHTTPMethod("POST");
    request->setValueForHTTPHeaderField("1700000000", "x-upload-time");
    request->setValueForHTTPHeaderField("application/x-gzip", "Content-Type");
    std::string bytes("\x1f\x8b\0\x01zz", 6);
    request->setHTTPBody(Value::Data(bytes.begin(), bytes.end()));

    std::shared_ptr<NSURLResponse> response;
    std::shared_ptr<NSError> error;
    std::optional<Value::Data> body;
    std::thread([&] { body = NSURLConnection::sendSynchronousRequest(request, &response, &error); }).join();
    unsetenv("http_proxy");
    ASSERT_TRUE(body) << (error ? error->localizedDescription() : "");
    EXPECT_EQ(std::string(body->begin(), body->end()), "taken");
    EXPECT_EQ(std::dynamic_pointer_cast<NSHTTPURLResponse>(response)->statusCode(), 201);
    auto logged = server.requests().at(0);
    EXPECT_EQ(logged.method, "POST");
    EXPECT_EQ(logged.header("X-Upload-Time"), "1700000000");
    EXPECT_EQ(logged.header("content-type"), "application/x-gzip");
    EXPECT_EQ(logged.body, bytes);
}

TEST_F(NSURLConnectionTest, SynchronousSendCapsTheBody)
{
    Response known = Response::text(std::string(NSURLConnection::kSynchronousBodyLimit + 1, 'k'));
    Response unknown = known;
    unknown.sendsContentLength = false;
    server.setRoute("/known", known);
    server.setRoute("/unknown", unknown);
    server.setRoute("/fits", Response::text(std::string(NSURLConnection::kSynchronousBodyLimit, 'f')));
    for (const char* path : {"/known", "/unknown", "/fits"}) {
        SCOPED_TRACE(path);
        std::shared_ptr<NSError> error;
        std::optional<Value::Data> body;
        std::thread([&] {
            // 16 MiB take a while under a sanitizer: the scaled default total (6 s) is not enough.
            auto request = NSMutableURLRequest::requestWithURL(NSURL::URLWithString(server.url(path)),
                                                               NSURLRequestUseProtocolCachePolicy, kPatient);
            request->setTotalTimeoutInterval(kPatient);
            body = NSURLConnection::sendSynchronousRequest(request, nullptr, &error);
        }).join();
        if (std::string(path) == "/fits") {
            ASSERT_TRUE(body);
            EXPECT_EQ(body->size(), NSURLConnection::kSynchronousBodyLimit);
        } else {
            EXPECT_FALSE(body);
            ASSERT_TRUE(error);
            EXPECT_EQ(error->code(), NSURLErrorDataLengthExceedsMaximum);
        }
    }
}

}  // namespace
