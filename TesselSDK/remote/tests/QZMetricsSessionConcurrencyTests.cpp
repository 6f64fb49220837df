#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/tests/QZMetricsTestSupport.h"

namespace {

class QZMetricsSessionConcurrencyTest : public QZMetricsSessionTestBase {};

TEST_F(QZMetricsSessionConcurrencyTest, EventsFromManyThreadsAreEachAcceptedOnceWhileUploadsFailAndSucceed)
{
    constexpr int kThreads = 8;
    constexpr int kEvents = 200;
    // The service refuses every other upload; each answer comes after a short delay.
    std::vector<TesselFixtureServer::Response> answers;
    for (int i = 0; i < 400; ++i) {
        TesselFixtureServer::Response answer = TesselFixtureServer::Response::text("", i % 2 ? 200 : 503);
        answer.delaySeconds = 0.005;
        answers.push_back(answer);
    }
    server.setRoutes(kQZTestUploadPath, answers);
    QZMetricsSession::registerClass();
    QZAnalytics::resumeSession();

    std::atomic<int> reportersLeft{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &reportersLeft] {
            for (int e = 0; e < kEvents; ++e)
                QZAnalytics::reportEvent("event", Value::dictionary({{"t", t}, {"e", e}}));
            --reportersLeft;
        });
    threads.emplace_back([&] {
        while (reportersLeft > 0) {
            session->upload();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    for (auto& thread : threads) thread.join();

    // Upload until nothing is left: a refusal keeps the rows for the next one.
    for (int attempt = 0; attempt < 10; ++attempt) {
        QZMetricsUploadResult last;
        session->upload([&](const QZMetricsUploadResult& result) { last = result; });
        ASSERT_EQ(dispatch_group_wait(session->criticalGroup(), dispatch_time(DISPATCH_TIME_NOW, 60 * NSEC_PER_SEC)),
                  0);
        if (last.kind == QZMetricsUploadResult::Kind::NothingToSend) break;
    }
    EXPECT_EQ(eventCount(), 0);

    // The i-th upload got the i-th answer: the session sends one at a time.
    std::map<std::pair<int, int>, int> accepted;
    std::vector<TesselFixtureServer::LoggedRequest> sent = uploads();
    ASSERT_LT(sent.size(), answers.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        if (answers[i].status != 200) continue;
        for (const Value& blob : QZTestBlobs(sent[i].body))
            if (blob["type"] == Value("event"))
                ++accepted[{blob["attributes"]["t"].intValue(), blob["attributes"]["e"].intValue()}];
    }
    EXPECT_EQ(accepted.size(), static_cast<std::size_t>(kThreads * kEvents));
    for (const auto& [event, count] : accepted) EXPECT_EQ(count, 1) << event.first << "/" << event.second;
}

}  // namespace
