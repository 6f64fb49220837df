#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSLogCapture.h"
#include "Foundation/NSUserDefaults.h"
#include "TesselSDK/remote/QZABTestManager.h"
#include "testing/TesselFixtureServer.h"
#include "testing/TestSandbox.h"

namespace {

using Response = TesselFixtureServer::Response;

constexpr const char* kVersionPath = "/ios/cds/api/key123/abtest/version.json";

Value choice(const Value& value, bool permanent)
{
    return Value::dictionary({{kQZABTestValue, value}, {kQZABTestPermanance, permanent}});
}

class QZABTestManagerRemoteTest : public ::testing::Test {
protected:
    void SetUp() override { configure(server.baseURL()); }
    // The main bundle's Info.plist is read once per bundle path: configure before the first check.
    void configure(const std::string& root)
    {
        Value info = Value::dictionary({{"CFBundleIdentifier", "com.tessel.host"}, {"TesselAPIKey", "key123"}});
        if (!root.empty()) info.setObject(root, "TesselContentServiceURL");
        sandbox.writeInfoPlist(info);
    }
    static std::shared_ptr<NSUserDefaults> defaults() { return NSUserDefaults::standardUserDefaults(); }
    // Runs a check to its end (the blocks arrive on the main run loop).
    void check()
    {
        manager->checkForTestUpdates();
        EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return !manager->isUpdating(); }, 20));
    }
    std::vector<std::string> requestedPaths() const
    {
        std::vector<std::string> paths;
        for (const auto& request : server.requests()) paths.push_back(request.path);
        return paths;
    }

    TestSandbox sandbox;
    TesselFixtureServer server;
    std::shared_ptr<QZABTestManager> manager = QZABTestManager::make();
};

TEST_F(QZABTestManagerRemoteTest, AnEqualVersionFetchesNothingMore)
{
    server.setRoute(kVersionPath, Response::text(R"({"version": 2, "testURL": "@BASE@/tests.json"})"));
    defaults()->setObject(2, kQZABTestVersion);
    check();
    EXPECT_EQ(requestedPaths(), std::vector<std::string>{kVersionPath});
    EXPECT_EQ(defaults()->objectForKey(kQZABTestVersion), Value(2));
}

TEST_F(QZABTestManagerRemoteTest, ANewerTestFileStoresWinnersAndWithdrawsOnlyServerWinners)
{
    server.setRoute(kVersionPath, Response::text(R"({"version": 3, "testURL": "@BASE@/tests.json"})"));
    server.setRoute("/tests.json", Response::text(R"([
        {"testName": "kQZPushNotificationStatus", "winner": -1},
        {"testName": "deviceChoice", "winner": -1},
        {"testName": "newTest", "winner": 1},
        {"testName": "kQZCDSLastUpdate", "winner": 5},
        {"testName": "kQZABTestVersion", "winner": 9},
        {"testName": "stringWinner", "winner": "2"},
        {"testName": "boolWinner", "winner": true},
        {"testName": "nullWinner", "winner": null},
        {"testName": "", "winner": 1},
        {"testName": "notAChoice", "winner": 1},
        7
    ])"));
    defaults()->setObject(1, kQZABTestVersion);
    defaults()->setObject(choice(1, true), kQZPushNotificationStatus);
    defaults()->setObject(choice(0, false), "deviceChoice");
    defaults()->setObject(12345.5, "kQZCDSLastUpdate");
    defaults()->setObject("hello", "notAChoice");
    NSLogCapture log;
    check();

    EXPECT_EQ(requestedPaths(), (std::vector<std::string>{kVersionPath, "/tests.json"}));
    EXPECT_TRUE(defaults()->objectForKey(kQZPushNotificationStatus).isNil());
    EXPECT_EQ(defaults()->objectForKey("deviceChoice"), choice(0, false));
    EXPECT_EQ(defaults()->objectForKey("newTest"), choice(1, true));
    EXPECT_EQ(defaults()->objectForKey("kQZCDSLastUpdate"), Value(12345.5));
    EXPECT_EQ(defaults()->objectForKey("notAChoice"), Value("hello"));
    for (const char* skipped : {"stringWinner", "boolWinner", "nullWinner"})
        EXPECT_TRUE(defaults()->objectForKey(skipped).isNil()) << skipped;
    EXPECT_EQ(defaults()->objectForKey(kQZABTestVersion), Value(3));
    EXPECT_EQ(manager->pendingVersion(), -1);
    EXPECT_EQ(log.lines().size(), 8u);  // one line per skipped entry

    // Stored for good: the file survives the process.
    NSUserDefaults::resetStandardUserDefaults();
    EXPECT_EQ(defaults()->objectForKey("newTest"), choice(1, true));
    EXPECT_EQ(defaults()->objectForKey(kQZABTestVersion), Value(3));
}

TEST_F(QZABTestManagerRemoteTest, FailuresEndTheCheckAndKeepTheAppliedVersion)
{
    struct Case {
        const char* name;
        Response version;
        Response tests;
        std::vector<std::string> paths;
    };
    auto dropped = Response::text(R"([{"testName": "t", "winner": 1}])");
    dropped.dropAfterBytes = 5;
    const std::vector<Case> cases = {
        {"version document is not JSON",
         Response::text("<html>busy</html>", 503, "text/html"),
         Response::text("[]"),
         {kVersionPath}},
        {"version document is an array", Response::text("[1]"), Response::text("[]"), {kVersionPath}},
        {"no testURL", Response::text(R"({"version": 3})"), Response::text("[]"), {kVersionPath}},
        {"testURL is no string",
         Response::text(R"({"version": 3, "testURL": 4})"),
         Response::text("[]"),
         {kVersionPath}},
        {"test file is an object",
         Response::text(R"({"version": 3, "testURL": "@BASE@/tests.json"})"),
         Response::text(R"({"testName": "t"})"),
         {kVersionPath, "/tests.json"}},
        {"test file dropped midway",
         Response::text(R"({"version": 3, "testURL": "@BASE@/tests.json"})"),
         dropped,
         {kVersionPath, "/tests.json"}},
    };
    defaults()->setObject(1, kQZABTestVersion);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = server.requests().size();
        server.setRoute(kVersionPath, c.version);
        server.setRoute("/tests.json", c.tests);
        check();
        std::vector<std::string> paths = requestedPaths();
        EXPECT_EQ(std::vector<std::string>(paths.begin() + static_cast<std::ptrdiff_t>(before), paths.end()), c.paths);
        EXPECT_EQ(defaults()->objectForKey(kQZABTestVersion), Value(1));
        EXPECT_TRUE(defaults()->objectForKey("t").isNil());
    }
}

TEST_F(QZABTestManagerRemoteTest, ASecondCheckWhileOneRunsIsIgnored)
{
    auto slow = Response::text(R"({"version": 1, "testURL": "@BASE@/tests.json"})");
    slow.delaySeconds = 0.3;
    server.setRoute(kVersionPath, slow);
    defaults()->setObject(1, kQZABTestVersion);
    manager->checkForTestUpdates();
    manager->checkForTestUpdates();
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return !manager->isUpdating(); }, 20));
    EXPECT_EQ(requestedPaths(), std::vector<std::string>{kVersionPath});
}

TEST_F(QZABTestManagerRemoteTest, WithoutAConfiguredRootNothingIsRequested)
{
    configure("");
    NSLogCapture log;
    manager->checkForTestUpdates();
    EXPECT_FALSE(manager->isUpdating());
    DispatchRunLoop::runUntil([] { return false; }, 0.2);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(log.lines().size(), 1u);
}

}  // namespace
