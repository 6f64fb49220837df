// tessel_content's events and upload commands run as a person runs them, against the fixture
// server: three events stored in the sandbox's analytics store go out only when the service
// takes them.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "TesselSDKFoundation/QZAnalytics.h"
#include "support/RunProgram.h"
#include "testing/TesselFixtureServer.h"
#include "testing/TestSandbox.h"

namespace {

using example_test::ProgramRun;
using example_test::runProgram;

const std::string kUploadPath = std::string("/api/v2/applications/") + kQZAnalyticsApplicationKey + "/uploads";

class TesselContentAnalyticsTest : public ::testing::Test {
protected:
    ProgramRun run(const std::string& command, const std::optional<std::string>& analytics)
    {
        std::vector<std::string> args = {"--root", root, "--now", "1700000000"};
        if (analytics) args.insert(args.end(), {"--analytics", *analytics});
        args.push_back(command);
        return runProgram(TESSEL_CONTENT_PATH, args);
    }

    // Adds events to the store the program made, as a host's earlier run would have.
    void storeEvents(const std::vector<std::string>& names)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((root + "/Library/Caches/.qz-metrics/qz-metrics.sqlite").c_str(), &db), SQLITE_OK);
        for (const std::string& name : names) {
            const std::string sql =
                "INSERT INTO events (blob_string) VALUES ('{\"type\":\"event\",\"name\":\"" + name + "\"}\n')";
            EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        }
        sqlite3_close(db);
    }

    TestSandbox sandbox;
    std::string root = sandbox.path("content");
    TesselFixtureServer server;
};

TEST_F(TesselContentAnalyticsTest, EventsStayStoredUntilAnUploadIsAccepted)
{
    ProgramRun fresh = run("events", std::nullopt);
    ASSERT_EQ(fresh.status, 0) << fresh.output;
    EXPECT_EQ(fresh.output, "events: 0\nlast upload: none\n");
    storeEvents({"one", "two", "three"});

    server.setRoute(kUploadPath, TesselFixtureServer::Response::text("", 503));
    ProgramRun refused = run("upload", server.baseURL());
    EXPECT_EQ(refused.status, 1) << refused.output;
    EXPECT_EQ(refused.output, "upload: kept (HTTP 503)\n");
    EXPECT_EQ(run("events", std::nullopt).output, "events: 3\nlast upload: kept (HTTP 503)\n");

    server.setRoute(kUploadPath, TesselFixtureServer::Response::text("", 200));
    ProgramRun accepted = run("upload", server.baseURL());
    EXPECT_EQ(accepted.status, 0) << accepted.output;
    EXPECT_EQ(accepted.output, "upload: accepted (HTTP 200)\n");
    EXPECT_EQ(run("events", std::nullopt).output, "events: 0\nlast upload: accepted (HTTP 200)\n");
    const std::string body = server.requests().back().body;  // decoded by the server
    for (const char* name : {"one", "two", "three"})
        EXPECT_NE(body.find("{\"type\":\"event\",\"name\":\"" + std::string(name) + "\"}\n"), std::string::npos)
            << name;

    ProgramRun again = run("upload", server.baseURL());
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.output, "upload: nothing to send\n");

    storeEvents({"four", "five"});
    std::string closedURL;
    {
        TesselFixtureServer closed;
        closedURL = closed.baseURL();
    }
    ProgramRun unreachable = run("upload", closedURL);
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_EQ(unreachable.output.rfind("upload: kept (transport error: ", 0), 0u) << unreachable.output;
    ProgramRun nowhere = run("upload", std::nullopt);
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.output, "upload: kept (no service address)\n");
    EXPECT_EQ(run("events", std::nullopt).output, "events: 2\nlast upload: kept (no service address)\n");
}

}  // namespace
