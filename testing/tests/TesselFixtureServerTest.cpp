#include "testing/TesselFixtureServer.h"

#include "Network/NSHTTPURLResponse.h"
#include "Network/NSURLConnection.h"
#include "testing/TestSandbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using Response = TesselFixtureServer::Response;

struct Answer {
    int status = 0;
    std::string body;
    std::string contentType;
    std::int64_t length = -1;
};

Answer get(const std::string& url)
{
    Answer answer;
    std::thread([&] {
        std::shared_ptr<NSURLResponse> response;
        auto body = NSURLConnection::sendSynchronousRequest(NSURLRequest::requestWithURL(NSURL::URLWithString(url)),
                                                            &response, nullptr);
        if (auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response)) {
            answer.status = http->statusCode();
            answer.contentType = http->valueForHTTPHeaderField("Content-Type");
            answer.length = http->expectedContentLength();
        }
        if (body) answer.body.assign(body->begin(), body->end());
    }).join();
    return answer;
}

void write(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(TesselFixtureServerTest, ServesADirectoryAsTheContentServiceWould)
{
    TestSandbox sandbox;
    auto root = std::filesystem::path(sandbox.path("content"));
    write(root / "a/b.json", "{\"manifestURL\": \"@BASE@/a/m.json\"}");
    write(root / "pack.zip", "PK-bytes @BASE@");
    write(root / "t.jpg", "j");
    write(root / "t.png", "p");
    write(root / "other.bin", "o");
    write(sandbox.path("outside.json"), "secret");
    std::filesystem::create_symlink(sandbox.path("outside.json"), root / "link.json");

    TesselFixtureServer server;
    server.serveDirectory(root.string());
    EXPECT_EQ(server.baseURL(), "http://127.0.0.1:" + std::to_string(server.port()));

    auto json = get(server.url("/a/b.json"));
    EXPECT_EQ(json.status, 200);
    EXPECT_EQ(json.body, "{\"manifestURL\": \"" + server.baseURL() + "/a/m.json\"}");
    EXPECT_EQ(json.length, static_cast<std::int64_t>(json.body.size()));
    EXPECT_EQ(json.contentType, "application/json");
    auto zip = get(server.url("/pack.zip"));
    EXPECT_EQ(zip.body, "PK-bytes @BASE@");  // only .json files are rewritten
    EXPECT_EQ(zip.contentType, "application/zip");
    EXPECT_EQ(get(server.url("/t.jpg")).contentType, "image/jpeg");
    EXPECT_EQ(get(server.url("/t.png")).contentType, "image/png");
    EXPECT_EQ(get(server.url("/other.bin")).contentType, "application/octet-stream");

    for (const char* path : {"/missing.json", "/a", "/a/", "/../outside.json", "/a/../../outside.json",
                             "/%2e%2e/outside.json", "/link.json"})
        EXPECT_EQ(get(server.url(path)).status, 404) << path;
    EXPECT_THROW(server.serveDirectory(sandbox.path("content/a/b.json")), std::runtime_error);
}

TEST(TesselFixtureServerTest, ScriptedRoutesAnswerInTurnAndAreLogged)
{
    TesselFixtureServer server;
    server.setRoutes("/v.json", {Response::text("first"), Response::text("second", 503)});
    EXPECT_EQ(get(server.url("/v.json")).body, "first");
    auto second = get(server.url("/v.json"));
    EXPECT_EQ(second.status, 503);
    EXPECT_EQ(get(server.url("/v.json?again=1")).body, "second");  // the last answer stays
    server.setRoute("/v.json", Response::text("replaced @BASE@"));
    EXPECT_EQ(get(server.url("/v.json")).body, "replaced " + server.baseURL());
    EXPECT_EQ(server.requestCount("/v.json"), 4);
    EXPECT_EQ(server.requests().at(2).query, "again=1");
    EXPECT_EQ(get(server.url("/unrouted")).status, 404);
}

TEST(TesselFixtureServerTest, StalledRequestsWaitForReleaseWithoutStarvingOthers)
{
    TesselFixtureServer server;
    Response stalled = Response::text("released");
    stalled.stalls = true;
    server.setRoute("/stall", stalled);
    server.setRoute("/quick", Response::text("quick"));
    std::vector<std::thread> waiting;
    std::vector<std::string> bodies(20);
    for (int i = 0; i < 20; ++i) waiting.emplace_back([&, i] { bodies[i] = get(server.url("/stall")).body; });
    while (server.requestCount("/stall") < 20) std::this_thread::yield();
    EXPECT_EQ(get(server.url("/quick")).body, "quick");
    EXPECT_EQ(server.maxRequestsInProgress(), 21);
    server.releaseStalls();
    for (auto& t : waiting) t.join();
    EXPECT_EQ(bodies, std::vector<std::string>(20, "released"));
}

TEST(TesselFixtureServerTest, DestructorReleasesStalls)
{
    std::string status;
    auto server = std::make_unique<TesselFixtureServer>();
    Response stalled = Response::text("never");
    stalled.stalls = true;
    server->setRoute("/stall", stalled);
    std::thread client([url = server->url("/stall")] { get(url); });
    while (server->requestCount("/stall") < 1) std::this_thread::yield();
    server.reset();  // returns although a request is stalled
    client.join();
}

TEST(TesselFixtureServerTest, TrickledBodiesComeAByteAtATimeAndStopWithTheServer)
{
    auto server = std::make_unique<TesselFixtureServer>();
    Response slow = Response::text("abc");
    slow.trickleSeconds = 0.1;
    server->setRoute("/slow", slow);
    const auto start = std::chrono::steady_clock::now();
    Answer answer = get(server->url("/slow"));
    EXPECT_EQ(answer.body, "abc");
    EXPECT_EQ(answer.length, 3);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));

    // A body that would take an hour: the destructor ends it at once.
    Response endless = Response::text(std::string(3600, 'x'));
    endless.trickleSeconds = 1;
    server->setRoute("/endless", endless);
    std::thread client([url = server->url("/endless")] { EXPECT_EQ(get(url).body, ""); });
    while (server->requestCount("/endless") < 1) std::this_thread::yield();
    const auto stopping = std::chrono::steady_clock::now();
    server.reset();
    client.join();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(10));
}

TEST(TesselFixtureServerTest, APortInUseIsRefused)
{
    TesselFixtureServer first;
    EXPECT_THROW(TesselFixtureServer second(first.port()), std::runtime_error);
}

}  // namespace
