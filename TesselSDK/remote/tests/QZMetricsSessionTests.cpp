#include <gtest/gtest.h>

#include <thread>

#include "Foundation/NSClass.h"
#include "Foundation/NSUserDefaults.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/tests/QZMetricsTestSupport.h"

namespace {

class QZMetricsSessionTest : public QZMetricsSessionTestBase {
protected:
    QZMetricsSessionTest() { session->MetricsSession(kQZAnalyticsApplicationKey); }
    QZMetricsUploadResult upload()
    {
        QZMetricsUploadResult outcome;
        session->upload([&](const QZMetricsUploadResult& result) { outcome = result; });
        waitForUploads();
        return outcome;
    }
};

TEST_F(QZMetricsSessionTest, TheFacadeReachesTheStoreAndAnUploadCarriesHeaderAndEvents)
{
    QZMetricsSession::registerClass();
    EXPECT_TRUE(QZAnalytics::attachedAnalyticsLibraryExists());
    server.setRoute(kQZTestUploadPath, TesselFixtureServer::Response::text("", 200));
    QZAnalytics::resumeSession();  // nothing waits yet: no request
    waitForUploads();
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(QZMetricsSession::lastUploadResult()["result"], Value("nothing to send"));

    QZAnalytics::reportEvent("saved", Value::dictionary({{"size", 3}, {"when", Value::date(0)}}));
    QZAnalytics::reportScreen("crop");
    EXPECT_EQ(upload().description(), "accepted (HTTP 200)");
    EXPECT_EQ(eventCount(), 0);
    EXPECT_EQ(QZMetricsSession::lastUploadResult()["result"], Value("accepted (HTTP 200)"));
    EXPECT_TRUE(QZMetricsSession::lastUploadResult()["date"].isDate());

    ASSERT_EQ(uploads().size(), 1u);
    std::vector<Value> blobs = QZTestBlobs(uploads()[0].body);
    ASSERT_EQ(blobs.size(), 3u);
    const Value& header = blobs[0];
    EXPECT_EQ(header["type"], Value("header"));
    EXPECT_EQ(header["seq"], Value(1));
    EXPECT_EQ(header["appKey"], Value(kQZAnalyticsApplicationKey));
    EXPECT_EQ(header["installId"], Value(uploads()[0].header("x-install-id")));
    EXPECT_EQ(header["sdkVersion"], Value("3.3.11"));
    EXPECT_EQ(header["customDimensions"][0], Value(PlatformSettings::bundleIdentifier() + " - KEY"));
    EXPECT_TRUE(header["customDimensions"][1].isNull());
    EXPECT_EQ(blobs[1]["type"], Value("event"));
    EXPECT_EQ(blobs[1]["name"], Value("saved"));
    EXPECT_EQ(blobs[1]["session"], Value(1));
    EXPECT_EQ(blobs[1]["attributes"]["size"], Value(3));
    EXPECT_EQ(blobs[1]["attributes"]["sdkVersion"], Value("3.3.11"));
    EXPECT_EQ(blobs[1]["attributes"]["when"], Value(Value::date(0).description()));  // not JSON: its text
    EXPECT_EQ(blobs[2]["type"], Value("screen"));
    EXPECT_EQ(blobs[2]["name"], Value("crop"));
    EXPECT_EQ(onQueue([](QZMetricsDatabase& db) { return db.appKey(); }), kQZAnalyticsApplicationKey);

    // Finalising asks for an upload, then closes; the close event goes with that upload when it
    // is queued before the exchange, else with the next.
    QZAnalytics::finalizeSession();
    waitForUploads();
    upload();
    EXPECT_EQ(eventCount(), 0);
    int closeEvents = 0;
    for (std::size_t i = 1; i < uploads().size(); ++i)
        for (const Value& blob : QZTestBlobs(uploads()[i].body)) closeEvents += blob["type"] == Value("close");
    EXPECT_EQ(closeEvents, 1);
}

TEST_F(QZMetricsSessionTest, EventsTaggedDuringAnUploadGoWithTheNextAndNothingIsSentTwice)
{
    TesselFixtureServer::Response held = TesselFixtureServer::Response::text("", 200);
    held.stalls = true;
    server.setRoutes(kQZTestUploadPath, {held, TesselFixtureServer::Response::text("", 200)});
    session->tagEvent("first", Value());
    session->tagEvent("second", Value());
    session->upload();
    while (server.requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));

    // While the service holds the first upload, another thread tags an event and asks again.
    std::thread([&] {
        session->tagEvent("late", Value());
        session->upload();
    }).join();
    server.releaseStalls();
    waitForUploads();

    auto sent = uploads();
    ASSERT_EQ(sent.size(), 2u);
    std::vector<std::string> names;
    for (const auto& request : sent)
        for (const Value& blob : QZTestBlobs(request.body))
            if (blob["type"] == Value("event")) names.push_back(blob["name"].stringValue());
    EXPECT_EQ(names, (std::vector<std::string>{"first", "second", "late"}));
    EXPECT_EQ(eventCount(), 0);
}

TEST_F(QZMetricsSessionTest, FailedUploadsKeepEveryEventAndTheOutcomeIsRecorded)
{
    std::string closedHost;
    {
        TesselFixtureServer closed;
        closedHost = closed.baseURL();
    }
    session->tagEvent("kept", Value());
    server.setRoute(kQZTestUploadPath, TesselFixtureServer::Response::text("", 503));
    EXPECT_EQ(upload().description(), "kept (HTTP 503)");
    EXPECT_EQ(QZMetricsSession::lastUploadResult()["result"], Value("kept (HTTP 503)"));
    EXPECT_EQ(eventCount(), 1);

    server.setRoute(kQZTestUploadPath, TesselFixtureServer::Response::text("", 200));
    EXPECT_EQ(upload().description(), "accepted (HTTP 200)");
    ASSERT_EQ(uploads().size(), 2u);
    EXPECT_EQ(uploads()[0].body, uploads()[1].body);  // the same header and event again
    EXPECT_EQ(QZTestBlobs(uploads()[1].body).size(), 2u);
}

TEST_F(QZMetricsSessionTest, OpeningPostsAStoredAttribution)
{
    const std::string path = std::string("/fb_install/") + kQZAnalyticsApplicationKey;
    server.setRoute(path, TesselFixtureServer::Response::text("", 200));
    onQueue([](QZMetricsDatabase& db) { return db.setReferralAttribution("campaign=1"); });
    session->MetricsSession(kQZAnalyticsApplicationKey);
    session->open();
    dispatch_sync(session->queue(), [] {});
    waitForUploads();
    ASSERT_EQ(server.requestCount(path), 1);
    EXPECT_EQ(server.requests()[0].body.rfind("fb_attrib_first=campaign%3D1&fb_attrib_first_date=", 0), 0u);
    EXPECT_EQ(onQueue([](QZMetricsDatabase& db) { return db.referralAttributionFromDb(); }), std::nullopt);
    EXPECT_EQ(onQueue([](QZMetricsDatabase& db) { return db.lastSessionStartTimestamp(); }) > 0, true);
}

}  // namespace
