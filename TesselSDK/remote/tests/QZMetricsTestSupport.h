#pragma once
// Test support for the analytics session and uploader: a sandbox whose Info.plist names a
// loopback analytics service, the shared session made in it, and helpers that run on the
// session's queue and wait for its critical group.

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <string>
#include <vector>

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchClock.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDK/remote/QZMetricsDatabase.h"
#include "TesselSDK/remote/QZMetricsSession.h"
#include "TesselSDK/remote/QZMetricsUploader.h"
#include "testing/TesselFixtureServer.h"
#include "testing/TestSandbox.h"

inline constexpr const char* kQZTestUploadPath =
    "/api/v2/applications/3c7a19e0b5d24f8a61e0c9d-7b2e4a10-9c3d-4e5f-a6b7-c8d9e0f1a2b3/uploads";

class QZMetricsSessionTestBase : public ::testing::Test {
protected:
    QZMetricsSessionTestBase()
    {
        sandbox.writeInfoPlist(Value::dictionary({{"CFBundleIdentifier", PlatformSettings::bundleIdentifier()},
                                                  {"TesselAPIKey", "KEY"},
                                                  {"TesselAnalyticsServiceURL", server.baseURL()}}));
        session = QZMetricsSession::shared();
    }
    ~QZMetricsSessionTestBase() override { waitForUploads(); }

    std::string host() const { return "127.0.0.1:" + std::to_string(server.port()); }

    // Runs on the session's queue, after everything queued before.
    template <class F>
    auto onQueue(F work)
    {
        decltype(work(session->db())) result{};
        dispatch_sync(session->queue(), [&] { result = work(session->db()); });
        return result;
    }
    void waitForUploads()
    {
        ASSERT_EQ(dispatch_group_wait(session->criticalGroup(), dispatch_time(DISPATCH_TIME_NOW, 30 * NSEC_PER_SEC)),
                  0);
        dispatch_sync(session->queue(), [] {});
    }
    int eventCount()
    {
        return onQueue([](QZMetricsDatabase& db) { return db.eventCount(); });
    }
    std::vector<TesselFixtureServer::LoggedRequest> uploads() const
    {
        std::vector<TesselFixtureServer::LoggedRequest> found;
        for (const auto& request : server.requests())
            if (request.path.find("/uploads") != std::string::npos) found.push_back(request);
        return found;
    }

    TestSandbox sandbox;
    TesselFixtureServer server;
    std::shared_ptr<QZMetricsSession> session;
};

inline std::string QZTestInflated(const Value::Data& gzip)
{
    z_stream stream{};
    EXPECT_EQ(inflateInit2(&stream, 31), Z_OK);
    std::string out(1 << 20, '\0');
    stream.next_in = const_cast<Bytef*>(gzip.data());
    stream.avail_in = static_cast<uInt>(gzip.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return out;
}

// The lines of a body of blobs, each parsed.
inline std::vector<Value> QZTestBlobs(const std::string& body)
{
    std::vector<Value> blobs;
    std::size_t start = 0;
    for (std::size_t end; (end = body.find('\n', start)) != std::string::npos; start = end + 1)
        blobs.push_back(Value::fromJSON(body.substr(start, end - start)));
    EXPECT_EQ(start, body.size()) << "a blob without its line feed";
    return blobs;
}
