#include <gtest/gtest.h>

#include <filesystem>

#include "TesselSDK/remote/QZMetricsDatabase.h"
#include "TesselSDK/remote/tests/QZMetricsTestConnection.h"
#include "testing/TestSandbox.h"

namespace {

class QZMetricsDatabaseTest : public ::testing::Test {
protected:
    std::string infoValue(const std::string& column)
    {
        QZMetricsTestConnection connection(QZMetricsDatabase::metricsDatabasePath());
        return connection.value("SELECT " + column + " FROM metrics_info");
    }

    TestSandbox sandbox_;
    QZMetricsDatabase store_;
};

TEST_F(QZMetricsDatabaseTest, UploadBlobPutsUnstagedEventsFirstThenEachHeaderWithItsEvents)
{
    EXPECT_EQ(store_.uploadBlobString(), "");
    std::int64_t rowId = 0;
    int sequence = 0;
    ASSERT_TRUE(store_.addEventWithBlobString("e1\n"));
    ASSERT_TRUE(store_.addEventWithBlobString("e2\n"));
    ASSERT_TRUE(store_.incrementLastUploadNumber(sequence));
    ASSERT_TRUE(store_.addHeaderWithSequenceNumber(sequence, "H1\n", &rowId));
    EXPECT_EQ(rowId, 1);
    ASSERT_TRUE(store_.stageEventsForUpload(rowId));
    ASSERT_TRUE(store_.addEventWithBlobString("e3\n"));
    ASSERT_TRUE(store_.incrementLastUploadNumber(sequence));
    ASSERT_TRUE(store_.addHeaderWithSequenceNumber(sequence, "H2\n", &rowId));
    EXPECT_EQ(rowId, 2);
    ASSERT_TRUE(store_.stageEventsForUpload(rowId));
    ASSERT_TRUE(store_.addEventWithBlobString("late\n"));

    EXPECT_EQ(store_.uploadBlobString(), "late\nH1\ne1\ne2\nH2\ne3\n");
    EXPECT_EQ(store_.eventCount(), 4);
    EXPECT_EQ(store_.unstagedEventCount(), 1);
    EXPECT_FALSE(store_.addHeaderWithSequenceNumber(2, "again\n", nullptr));  // sequence numbers are unique

    EXPECT_TRUE(store_.deleteUploadedData());
    EXPECT_EQ(store_.uploadBlobString(), "late\n");
}

TEST_F(QZMetricsDatabaseTest, CustomDimensionsZeroToNineStoreTextAndNull)
{
    for (int index = 0; index <= 9; ++index) EXPECT_TRUE(store_.setCustomDimension(index, "d" + std::to_string(index)));
    for (int index = 0; index <= 9; ++index) EXPECT_EQ(store_.customDimension(index), "d" + std::to_string(index));
    EXPECT_FALSE(store_.setCustomDimension(10, "x"));
    EXPECT_FALSE(store_.setCustomDimension(-1, "x"));
    EXPECT_EQ(store_.customDimension(10), std::nullopt);

    EXPECT_TRUE(store_.setCustomDimension(0, std::nullopt));
    EXPECT_EQ(store_.customDimension(0), std::nullopt);
    EXPECT_EQ(infoValue("typeof(custom_d0)"), "null");
}

TEST_F(QZMetricsDatabaseTest, SettingsAndCountersRoundTrip)
{
    EXPECT_EQ(store_.appKey(), std::nullopt);
    EXPECT_TRUE(store_.updateAppKey("KEY-1"));
    EXPECT_EQ(store_.appKey(), "KEY-1");
    EXPECT_FALSE(store_.isOptedOut());
    EXPECT_TRUE(store_.setOptedOut(true));
    EXPECT_TRUE(store_.isOptedOut());
    EXPECT_EQ(store_.lastSessionStartTimestamp(), 0);
    EXPECT_TRUE(store_.setLastSessionStartTimestamp(1700000000.25));
    EXPECT_EQ(store_.lastSessionStartTimestamp(), 1700000000.25);
    EXPECT_TRUE(store_.incrementLastSessionNumber(nullptr));
    int session = 0;
    EXPECT_TRUE(store_.incrementLastSessionNumber(&session));
    EXPECT_EQ(session, 2);
    EXPECT_TRUE(store_.setReferralAttribution("a=1&b=2"));
    EXPECT_EQ(store_.referralAttributionFromDb(), "a=1&b=2");
    EXPECT_GT(store_.createdTimestamp(), 1.6e9);
}

TEST_F(QZMetricsDatabaseTest, CloseAndFlowMarkersAndTheQueuedCloseEvent)
{
    ASSERT_TRUE(store_.addEventWithBlobString("plain\n"));
    ASSERT_TRUE(store_.addCloseEventWithBlobString("close\n"));
    ASSERT_TRUE(store_.addFlowEventWithBlobString("flow\n"));
    EXPECT_EQ(infoValue("last_close_event"), "2");
    EXPECT_EQ(infoValue("last_flow_event"), "3");
    EXPECT_TRUE(store_.removeLastCloseAndFlowEvents());
    EXPECT_EQ(store_.uploadBlobString(), "plain\n");

    EXPECT_EQ(store_.dequeueCloseEventBlobString(), std::nullopt);
    EXPECT_TRUE(store_.queueCloseEventWithBlobString("queued\n"));
    EXPECT_EQ(store_.dequeueCloseEventBlobString(), "queued\n");
    EXPECT_EQ(store_.dequeueCloseEventBlobString(), std::nullopt);
}

// A failed savepoint operation must leave the connection outside any transaction: otherwise every
// later event stays invisible to other connections and is lost when this one closes.
TEST_F(QZMetricsDatabaseTest, FailedSavepointOperationLeavesLaterWritesCommitted)
{
    ASSERT_TRUE(store_.addCloseEventWithBlobString("close\n"));
    EXPECT_FALSE(store_.addCloseEventWithBlobString(std::nullopt));  // blob_string is NOT NULL
    EXPECT_EQ(infoValue("last_close_event"), "1");

    ASSERT_TRUE(store_.addEventWithBlobString("x\n"));
    QZMetricsTestConnection other(QZMetricsDatabase::metricsDatabasePath());
    EXPECT_EQ(other.value("SELECT group_concat(blob_string, '') FROM events"), "close\nx\n");
    EXPECT_FALSE(store_.rollbackTransaction("never_opened"));

    // A statement failing after others succeeded undoes them all.
    other.exec("DROP TABLE metrics_identifiers");
    EXPECT_FALSE(store_.resetAnalyticsData());
    EXPECT_EQ(store_.eventCount(), 2);
    EXPECT_TRUE(store_.addEventWithBlobString("y\n"));
    EXPECT_EQ(other.value("SELECT count(*) FROM events"), "3");
}

TEST_F(QZMetricsDatabaseTest, IdentifiersSkipEmptyPairsAndUpdateInPlace)
{
    EXPECT_EQ(store_.identifiers(), std::nullopt);
    EXPECT_TRUE(store_.setValueForIdentifier("empty", ""));
    EXPECT_EQ(store_.identifiers(), std::nullopt);
    EXPECT_TRUE(store_.setValueForIdentifier("user", "1"));
    EXPECT_TRUE(store_.setValueForIdentifier("user", "2"));
    EXPECT_EQ(store_.valueForIdentifier("user"), "2");
    EXPECT_EQ(store_.identifiers(), (std::map<std::string, std::string>{{"user", "2"}}));
    EXPECT_TRUE(store_.deleteIdentifer("user"));
    EXPECT_EQ(store_.valueForIdentifier("user"), std::nullopt);
}

TEST_F(QZMetricsDatabaseTest, ResetEmptiesDataButKeepsIdentityAndLaterDimensions)
{
    std::optional<std::string> installId = store_.installId();
    ASSERT_TRUE(installId.has_value());
    ASSERT_TRUE(store_.updateAppKey("KEY"));
    ASSERT_TRUE(store_.setOptedOut(true));
    ASSERT_TRUE(store_.setCustomDimension(3, "d3"));
    ASSERT_TRUE(store_.setCustomDimension(4, "d4"));
    ASSERT_TRUE(store_.setCustomDimension(9, "d9"));
    ASSERT_TRUE(store_.setValueForIdentifier("k", "v"));
    ASSERT_TRUE(store_.setReferralAttribution("attribution"));
    ASSERT_TRUE(store_.addCloseEventWithBlobString("close\n"));
    ASSERT_TRUE(store_.addHeaderWithSequenceNumber(1, "H\n", nullptr));
    int number = 0;
    ASSERT_TRUE(store_.incrementLastUploadNumber(number));
    {
        QZMetricsTestConnection connection(QZMetricsDatabase::metricsDatabasePath());
        connection.exec("UPDATE metrics_info SET customer_id = 'customer'");
        connection.exec("INSERT INTO metrics_amp_rule (rule_name) VALUES ('rule')");
    }

    EXPECT_TRUE(store_.resetAnalyticsData());
    EXPECT_EQ(store_.uploadBlobString(), "");
    EXPECT_EQ(store_.identifiers(), std::nullopt);
    EXPECT_EQ(store_.referralAttributionFromDb(), std::nullopt);
    EXPECT_EQ(store_.customDimension(3), std::nullopt);
    EXPECT_EQ(store_.customDimension(4), "d4");
    EXPECT_EQ(store_.customDimension(9), "d9");
    EXPECT_EQ(store_.appKey(), "KEY");
    EXPECT_EQ(store_.installId(), installId);
    EXPECT_TRUE(store_.isOptedOut());
    EXPECT_EQ(store_.schemaVersion(), 12);
    EXPECT_EQ(infoValue("customer_id"), "customer");
    EXPECT_EQ(infoValue("last_close_event"), "NULL");
    EXPECT_EQ(infoValue("(SELECT count(*) FROM metrics_amp_rule)"), "0");
    ASSERT_TRUE(store_.incrementLastUploadNumber(number));
    EXPECT_EQ(number, 1);
}

TEST_F(QZMetricsDatabaseTest, VacuumOnlyAboveTheThresholdAndThenShrinksTheFile)
{
    std::uint64_t small = store_.databaseSize();
    ASSERT_LE(small, QZMetricsDatabase::kVacuumThresholdBytes);
    EXPECT_TRUE(store_.vacuumIfRequired());
    EXPECT_EQ(store_.databaseSize(), small);

    {
        QZMetricsTestConnection connection(QZMetricsDatabase::metricsDatabasePath());
        connection.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
                        "INSERT INTO events (upload_header, blob_string) SELECT 1, printf('%.1000c', 'e') FROM n");
    }
    ASSERT_TRUE(store_.deleteUploadedData());
    std::uint64_t grown = store_.databaseSize();
    ASSERT_GT(grown, QZMetricsDatabase::kVacuumThresholdBytes);  // freed pages stay in the file
    EXPECT_TRUE(store_.vacuumIfRequired());
    EXPECT_LT(store_.databaseSize(), grown / 4);
}

}  // namespace

namespace {

TEST(QZMetricsDatabaseDictionaryTest, SafeReadersAnswerOnlyForTheKindsTheyAccept)
{
    Value dictionary = Value::dictionary({{"number", 12},
                                          {"text", "34px"},
                                          {"real", 2.5},
                                          {"map", Value::dictionary({{"k", 1}})},
                                          {"list", Value::array({1, 2})}});
    struct Case {
        const char* key;
        std::int64_t integer;
        std::optional<std::string> string;
        bool isDictionary;
        bool isList;
    };
    const Case cases[] = {
        {"number", 12, "12", false, false},     {"text", 34, "34px", false, false},
        {"real", 2, "2.5", false, false},       {"map", 0, std::nullopt, true, false},
        {"list", 0, std::nullopt, false, true}, {"missing", 0, std::nullopt, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(QZMetricsDatabase::safeIntegerValueFromDictionary(dictionary, c.key), c.integer);
        EXPECT_EQ(QZMetricsDatabase::safeStringValueFromDictionary(dictionary, c.key), c.string);
        EXPECT_EQ(QZMetricsDatabase::safeDictionaryFromDictionary(dictionary, c.key).isDictionary(), c.isDictionary);
        EXPECT_EQ(QZMetricsDatabase::safeListFromDictionary(dictionary, c.key).isArray(), c.isList);
    }
    EXPECT_EQ(QZMetricsDatabase::safeIntegerValueFromDictionary(Value("not a dictionary"), "number"), 0);
}

}  // namespace

namespace {

TEST_F(QZMetricsDatabaseTest, DeletingAnUploadBatchRemovesExactlyItsRows)
{
    std::int64_t rowId = 0;
    int sequence = 0;
    ASSERT_TRUE(store_.addEventWithBlobString("first\n"));
    ASSERT_TRUE(store_.incrementLastUploadNumber(sequence));
    ASSERT_TRUE(store_.addHeaderWithSequenceNumber(sequence, "H1\n", &rowId));
    ASSERT_TRUE(store_.addEventWithBlobString("staged\n"));
    ASSERT_TRUE(store_.stageEventsForUpload(rowId));
    QZMetricsUploadBatch batch = store_.uploadBatch();
    EXPECT_EQ(batch.blob, "H1\nfirst\nstaged\n");
    EXPECT_EQ(batch.eventIds.size(), 2u);
    EXPECT_EQ(batch.headerSequenceNumbers, std::vector<std::int64_t>{1});

    // Rows written after the read stay, staged or not: they were never sent.
    ASSERT_TRUE(store_.addEventWithBlobString("late\n"));
    ASSERT_TRUE(store_.incrementLastUploadNumber(sequence));
    ASSERT_TRUE(store_.addHeaderWithSequenceNumber(sequence, "H2\n", &rowId));
    ASSERT_TRUE(store_.stageEventsForUpload(rowId));
    EXPECT_TRUE(store_.deleteUploadedRows(batch));
    EXPECT_EQ(store_.uploadBlobString(), "H2\nlate\n");
}

}  // namespace
