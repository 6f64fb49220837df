#include <gtest/gtest.h>

#include <map>
#include <random>

#include "Foundation/NSLogCapture.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/tests/QZMetricsTestConnection.h"
#include "TesselSDK/remote/tests/QZMetricsTestSupport.h"

namespace {

using Kind = QZMetricsUploadResult::Kind;

TEST(QZMetricsUploaderGzipTest, CompressesToGzipThatInflatesBack)
{
    EXPECT_EQ(QZMetricsUploader::gzipDeflatedDataWithData({}), Value::Data{});
    std::mt19937 random(7);
    Value::Data noise(100 * 1024);  // incompressible: the output grows past several 16 KB steps
    for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
    for (const Value::Data& input : {Value::Data{'x'}, noise}) {
        std::optional<Value::Data> gzip = QZMetricsUploader::gzipDeflatedDataWithData(input);
        ASSERT_TRUE(gzip);
        ASSERT_GE(gzip->size(), 2u);
        EXPECT_EQ((*gzip)[0], 0x1f);
        EXPECT_EQ((*gzip)[1], 0x8b);
        EXPECT_EQ(QZTestInflated(*gzip), std::string(input.begin(), input.end()));
    }
    // zlib that cannot get the memory a deflate stream needs fails to start: no data at all.
    EXPECT_EQ(QZMetricsUploader::gzipDeflatedDataWithData({'x'}, 1024), std::nullopt);
}

TEST(QZMetricsUploaderEncodingTest, PercentEncodesEveryByteOutsideTheUnreservedSet)
{
    EXPECT_EQ(QZMetricsUploader::percentEncoded("Az09-._~"), "Az09-._~");
    EXPECT_EQ(QZMetricsUploader::percentEncoded("a&b=c d+e%f/\xC3\xA9"), "a%26b%3Dc%20d%2Be%25f%2F%C3%A9");
}

class QZMetricsUploaderTest : public QZMetricsSessionTestBase {
protected:
    QZMetricsUploaderTest()
    {
        DispatchClock::useVirtualTime(true);
        DispatchClock::setSecondsSince1970(1700000000.5);
    }
    ~QZMetricsUploaderTest() override { DispatchClock::useVirtualTime(false); }

    // Unstaged "u", then header 1 with "a" and "b", then header 2 with "c".
    void fillStore()
    {
        onQueue([](QZMetricsDatabase& db) {
            int sequence = 0;
            std::int64_t row = 0;
            db.addEventWithBlobString("a\n");
            db.addEventWithBlobString("b\n");
            db.incrementLastUploadNumber(sequence);
            db.addHeaderWithSequenceNumber(sequence, "H1\n", &row);
            db.stageEventsForUpload(row);
            db.addEventWithBlobString("c\n");
            db.incrementLastUploadNumber(sequence);
            db.addHeaderWithSequenceNumber(sequence, "H2\n", &row);
            db.stageEventsForUpload(row);
            return db.addEventWithBlobString("u\n");
        });
    }

    QZMetricsUploadResult upload(const std::optional<std::string>& serviceHost,
                                 QZMetricsUploader::ResultCallback callback = nullptr,
                                 const std::string& applicationKey = kQZAnalyticsApplicationKey)
    {
        QZMetricsUploadResult outcome;
        int calls = 0;
        std::optional<std::string> installId = onQueue([](QZMetricsDatabase& db) { return db.installId(); });
        session->uploader().uploaderWithApplicationKey(applicationKey, false, serviceHost, installId, "3.3.11",
                                                       std::move(callback), [&](const QZMetricsUploadResult& result) {
                                                           outcome = result;
                                                           ++calls;
                                                       });
        waitForUploads();
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(session->uploader().isUploading());
        return outcome;
    }
};

TEST_F(QZMetricsUploaderTest, PostsTheWaitingRowsCompressedAndDeletesThemOnceAccepted)
{
    fillStore();
    std::string installId = *onQueue([](QZMetricsDatabase& db) { return db.installId(); });
    // The server logs and routes the path decoded.
    const std::string path = "/api/v2/applications/k/1 \xC3\xA9/uploads";
    server.setRoute(path, TesselFixtureServer::Response::text("", 200));

    QZMetricsUploadResult result = upload(host(), nullptr, "k/1 \xC3\xA9");
    EXPECT_EQ(result.description(), "accepted (HTTP 200)");
    ASSERT_EQ(server.requests().size(), 1u);
    const TesselFixtureServer::LoggedRequest request = server.requests()[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, path);
    EXPECT_EQ(request.header("x-upload-time"), "1700000000");
    EXPECT_EQ(request.header("x-install-id"), installId);
    EXPECT_EQ(request.header("x-client-version"), "3.3.11");
    EXPECT_EQ(request.header("Content-Type"), "application/x-gzip");
    EXPECT_EQ(request.header("Content-Encoding"), "gzip");
    const std::string blob = "u\nH1\na\nb\nH2\nc\n";
    Value::Data bytes(blob.begin(), blob.end());
    EXPECT_EQ(request.header("Content-Length"),
              std::to_string(QZMetricsUploader::gzipDeflatedDataWithData(bytes)->size()));
    EXPECT_EQ(request.body, blob);  // decoded by the server
    EXPECT_EQ(eventCount(), 0);
    EXPECT_EQ(onQueue([](QZMetricsDatabase& db) { return db.uploadBlobString(); }), "");
}

TEST_F(QZMetricsUploaderTest, TheRequestCarriesTheCompressedBytesAndTheirLength)
{
    const std::string blob = "{\"type\":\"event\"}\n";
    auto request = session->uploader().createRequestWithURL(
        NSURL::URLWithString(server.url("/x")), std::nullopt, std::nullopt,
        *QZMetricsUploader::gzipDeflatedDataWithData(Value::Data(blob.begin(), blob.end())));
    const Value::Data& body = request->HTTPBody();
    ASSERT_GE(body.size(), 2u);
    EXPECT_EQ(body[0], 0x1f);
    EXPECT_EQ(body[1], 0x8b);
    EXPECT_EQ(request->valueForHTTPHeaderField("Content-Length"), std::to_string(body.size()));
    EXPECT_EQ(request->valueForHTTPHeaderField("x-install-id"), "");  // nil install id, no field
    EXPECT_EQ(request->valueForHTTPHeaderField("x-client-version"), "");
    EXPECT_EQ(request->timeoutInterval(), 60);
    std::vector<std::string> names;
    for (const auto& [name, value] : request->allHTTPHeaderFields()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"x-upload-time", "Content-Type", "Content-Encoding", "Content-Length"}));
}

TEST_F(QZMetricsUploaderTest, StatusesDecideWhetherTheSentRowsGo)
{
    const struct {
        int status;
        const char* outcome;
        int eventsLeft;
    } cases[] = {
        {200, "accepted (HTTP 200)", 0}, {204, "accepted (HTTP 204)", 0}, {404, "discarded (HTTP 404)", 0},
        {500, "kept (HTTP 500)", 1},     {503, "kept (HTTP 503)", 1},     {408, "kept (HTTP 408)", 1},
        {429, "kept (HTTP 429)", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        onQueue([](QZMetricsDatabase& db) { return db.resetAnalyticsData() && db.addEventWithBlobString("e\n"); });
        server.setRoute(kQZTestUploadPath, TesselFixtureServer::Response::text("", c.status));
        EXPECT_EQ(upload(host()).description(), c.outcome);
        EXPECT_EQ(eventCount(), c.eventsLeft);
    }

    std::string closedHost;
    {
        TesselFixtureServer closed;
        closedHost = "127.0.0.1:" + std::to_string(closed.port());
    }
    QZMetricsUploadResult refused = upload(closedHost);
    EXPECT_EQ(refused.kind, Kind::TransportError);
    EXPECT_EQ(refused.description().rfind("kept (transport error: ", 0), 0u) << refused.description();
    EXPECT_EQ(eventCount(), 1);
}

TEST_F(QZMetricsUploaderTest, NothingIsSentWhenNothingWaitsAndTheStoreIsVacuumed)
{
    onQueue([](QZMetricsDatabase& db) {
        const std::string big(1000, 'x');
        db.beginTransaction("fill");
        for (int i = 0; i < 600; ++i) db.addEventWithBlobString(big);
        db.releaseTransaction("fill");
        return db.resetAnalyticsData();  // deletes without shrinking the file
    });
    ASSERT_GT(onQueue([](QZMetricsDatabase& db) { return db.databaseSize(); }),
              QZMetricsDatabase::kVacuumThresholdBytes);
    EXPECT_EQ(upload(host()).kind, Kind::NothingToSend);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_LE(onQueue([](QZMetricsDatabase& db) { return db.databaseSize(); }),
              QZMetricsDatabase::kVacuumThresholdBytes);
}

TEST_F(QZMetricsUploaderTest, WithoutAddressOrWithoutCompressionNothingIsSentAndEveryRowKept)
{
    fillStore();
    EXPECT_EQ(upload(std::nullopt).description(), "kept (no service address)");
    // A failed compression used to send an empty body, which a 2xx answer then took as the upload.
    session->uploader().setDeflateMemoryLimit(0);
    EXPECT_EQ(upload(host()).description(), "kept (compression failed)");
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(eventCount(), 4);
    EXPECT_EQ(onQueue([](QZMetricsDatabase& db) { return db.uploadBlobString(); }), "u\nH1\na\nb\nH2\nc\n");
}

TEST_F(QZMetricsUploaderTest, AnUploadAskedForDuringAnotherIsLoggedAndDropped)
{
    session->setLoggingEnabled(true);
    NSLogCapture log;
    onQueue([](QZMetricsDatabase& db) { return db.addEventWithBlobString("{\"a\":1,\"b\":2}\n"); });
    TesselFixtureServer::Response held = TesselFixtureServer::Response::text("thanks", 200);
    held.stalls = true;
    server.setRoute(kQZTestUploadPath, held);
    std::vector<Value> bodies;
    QZMetricsUploadResult first;
    session->uploader().uploaderWithApplicationKey(
        kQZAnalyticsApplicationKey, false, host(), std::nullopt, std::nullopt,
        [&](const Value& result) { bodies.push_back(result); }, [&](const QZMetricsUploadResult& r) { first = r; });
    while (server.requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));

    QZMetricsUploadResult second;
    session->uploader().uploaderWithApplicationKey(kQZAnalyticsApplicationKey, false, host(), std::nullopt,
                                                   std::nullopt, nullptr,
                                                   [&](const QZMetricsUploadResult& r) { second = r; });
    EXPECT_EQ(second.kind, Kind::AlreadyUploading);
    server.releaseStalls();
    waitForUploads();
    EXPECT_EQ(first.description(), "accepted (HTTP 200)");
    EXPECT_EQ(server.requests().size(), 1u);
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(bodies[0],
              Value::dictionary({{kQZMetricsKeyResponseBody, Value(Value::Data{'t', 'h', 'a', 'n', 'k', 's'})}}));

    const std::string method =
        "-[QZMetricsUploader uploaderWithApplicationKey:useHTTPS:installId:libraryVersion:resultTarget:callback:]";
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               method + ":\n + Beginning upload process\n\n",
                               method + ":\n + Uploading data (length: 14)\n\n\t{\"a\":1,\n\t\"b\":2}\n\n\n",
                               method + ":\n + Upload already in progress.  Aborting.\n\n",
                               method + ":\n + Upload completed successfully. Response code 200\n\n",
                               method + ":\n + Response body: thanks\n\n",
                           }));

    // An empty body reaches no callback.
    onQueue([](QZMetricsDatabase& db) { return db.addEventWithBlobString("e\n"); });
    server.setRoute(kQZTestUploadPath, TesselFixtureServer::Response::text("", 204));
    upload(host(), [&](const Value& result) { bodies.push_back(result); });
    EXPECT_EQ(bodies.size(), 1u);
}

// The attribution fields of a form body, percent-decoded.
std::map<std::string, std::string> formFields(const std::string& body)
{
    auto decode = [](const std::string& text) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 2 < text.size()) {
                out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                out += text[i];
            }
        }
        return out;
    };
    std::map<std::string, std::string> fields;
    std::size_t start = 0;
    while (start <= body.size()) {
        std::size_t end = body.find('&', start);
        if (end == std::string::npos) end = body.size();
        std::string pair = body.substr(start, end - start);
        std::size_t equals = pair.find('=');
        EXPECT_NE(equals, std::string::npos) << pair;
        EXPECT_EQ(pair.find('=', equals + 1), std::string::npos) << "an unescaped '=' in " << pair;
        fields[pair.substr(0, equals)] = decode(pair.substr(equals + 1));
        start = end + 1;
    }
    return fields;
}

TEST_F(QZMetricsUploaderTest, AttributionValuesArriveIntactAndA2xxClearsTheStoredOne)
{
    const std::string path = std::string("/fb_install/") + kQZAnalyticsApplicationKey;
    server.setRoutes(path,
                     {TesselFixtureServer::Response::text("", 503), TesselFixtureServer::Response::text("", 200)});
    onQueue([](QZMetricsDatabase& db) { return db.setReferralAttribution("stored"); });
    const std::string awkward = "a&b=c d+e%f \xC3\xA9";
    const double created = onQueue([](QZMetricsDatabase& db) { return db.createdTimestamp(); });
    auto post = [&](std::optional<std::string> unique, std::optional<std::string> advertising) {
        session->uploader().uploaderReferralWithApplicationKey(kQZAnalyticsApplicationKey, host(), awkward, awkward,
                                                               "INSTALL", unique, advertising);
        waitForUploads();
    };
    post("U&1", std::nullopt);
    EXPECT_EQ(onQueue([](QZMetricsDatabase& db) { return db.referralAttributionFromDb(); }), "stored");  // 503 keeps
    post("U&1", "A=2");
    EXPECT_EQ(onQueue([](QZMetricsDatabase& db) { return db.referralAttributionFromDb(); }), std::nullopt);
    session->uploader().uploaderReferralWithApplicationKey(kQZAnalyticsApplicationKey, host(), "first", std::nullopt,
                                                           std::nullopt, std::nullopt, std::nullopt);
    waitForUploads();

    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    using Fields = std::map<std::string, std::string>;
    const std::string createdText = std::to_string(static_cast<long>(created));
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(formFields(requests[0].body), (Fields{{"fb_attrib_first", awkward},
                                                    {"fb_attrib_first_date", createdText},
                                                    {"fb_attrib_current", awkward},
                                                    {"fb_attrib_current_date", "1700000000"},
                                                    {"dpid_type", "udid"},
                                                    {"dpid", "U&1"},
                                                    {"install_id", "INSTALL"}}));
    EXPECT_EQ(formFields(requests[1].body)["dpid_type"], "adid");
    EXPECT_EQ(formFields(requests[1].body)["dpid"], "A=2");
    EXPECT_EQ(requests[2].body, "fb_attrib_first=first&fb_attrib_first_date=" + createdText);
}

TEST_F(QZMetricsUploaderTest, WithoutAnInstallIdTheFieldIsLeftOut)
{
    QZMetricsTestConnection(QZMetricsDatabase::metricsDatabasePath()).exec("UPDATE metrics_info SET install_id = NULL");
    onQueue([](QZMetricsDatabase& db) { return db.addEventWithBlobString("e\n"); });
    EXPECT_EQ(upload(host()).description(), "discarded (HTTP 404)");  // no route
    ASSERT_EQ(server.requests().size(), 1u);
    bool hasInstallField = false;
    const TesselFixtureServer::LoggedRequest request = server.requests()[0];
    for (const auto& [name, value] : request.headers) hasInstallField |= name == "x-install-id";
    EXPECT_FALSE(hasInstallField);
}

}  // namespace
