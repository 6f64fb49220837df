#include <gtest/gtest.h>

#include <sstream>

#include "TesselContentAnalyticsCommands.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "testing/TesselFixtureServer.h"
#include "testing/TestSandbox.h"

namespace {

using namespace tessel_content;

const std::string kUploadPath = std::string("/api/v2/applications/") + kQZAnalyticsApplicationKey + "/uploads";

struct Printed {
    int status;
    std::string text;
};

Printed events()
{
    std::ostringstream out;
    int status = runEvents(out);
    return {status, out.str()};
}

Printed upload()
{
    std::ostringstream out;
    int status = runUpload(out);
    return {status, out.str()};
}

TEST(TesselContentAnalyticsCommandsTest, UploadsKeepEventsUntilTheServiceTakesThem)
{
    TestSandbox sandbox;
    TesselFixtureServer server;
    ASSERT_FALSE(startAnalytics("ftp://127.0.0.1:1"));
    ASSERT_TRUE(startAnalytics(server.baseURL()));
    EXPECT_EQ(events().text, "events: 0\nlast upload: none\n");
    for (const char* name : {"one", "two", "three"}) QZAnalytics::reportEvent(name, Value());

    server.setRoute(kUploadPath, TesselFixtureServer::Response::text("", 503));
    Printed refused = upload();
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.text, "upload: kept (HTTP 503)\n");
    EXPECT_EQ(events().text, "events: 3\nlast upload: kept (HTTP 503)\n");

    server.setRoute(kUploadPath, TesselFixtureServer::Response::text("", 200));
    Printed accepted = upload();
    EXPECT_EQ(accepted.status, 0);
    EXPECT_EQ(accepted.text, "upload: accepted (HTTP 200)\n");
    EXPECT_EQ(events().text, "events: 0\nlast upload: accepted (HTTP 200)\n");
    const std::string body = server.requests().back().body;
    for (const char* name : {"\"one\"", "\"two\"", "\"three\""}) EXPECT_NE(body.find(name), std::string::npos) << name;

    Printed nothing = upload();
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(nothing.text, "upload: nothing to send\n");
    EXPECT_EQ(server.requestCount(kUploadPath), 2);

    QZAnalytics::reportEvent("four", Value());
    std::string closedURL;
    {
        TesselFixtureServer closed;
        closedURL = closed.baseURL();
    }
    ASSERT_TRUE(startAnalytics(closedURL));
    Printed unreachable = upload();
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_EQ(unreachable.text.rfind("upload: kept (transport error: ", 0), 0u) << unreachable.text;
    ASSERT_TRUE(QZRemoteConfiguration::setAnalyticsServiceRoot(""));
    Printed nowhere = upload();
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.text, "upload: kept (no service address)\n");
    EXPECT_EQ(events().text, "events: 1\nlast upload: kept (no service address)\n");
    QZRemoteConfiguration::setAnalyticsServiceRoot(std::nullopt);
}

}  // namespace
