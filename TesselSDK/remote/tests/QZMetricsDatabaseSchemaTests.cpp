#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "Foundation/NSPathUtilities.h"
#include "TesselSDK/remote/QZMetricsDatabase.h"
#include "UIKit/UIPasteboard.h"
#include "TesselSDK/remote/tests/QZMetricsTestConnection.h"
#include "testing/TestSandbox.h"

namespace {

using Columns = std::set<std::pair<std::string, std::string>>;  // name, declared type

const std::map<std::string, Columns>& expectedTables()
{
    static const std::map<std::string, Columns> tables = [] {
        std::map<std::string, Columns> t;
        t["upload_headers"] = {{"sequence_number", "INTEGER"}, {"blob_string", "TEXT"}};
        t["events"] = {{"event_id", "INTEGER"}, {"upload_header", "INTEGER"}, {"blob_string", "TEXT"}};
        Columns info = {{"schema_version", "INTEGER"},       {"last_upload_number", "INTEGER"},
                        {"last_session_number", "INTEGER"},  {"opt_out", "BOOLEAN"},
                        {"last_close_event", "INTEGER"},     {"last_flow_event", "INTEGER"},
                        {"last_session_start", "REAL"},      {"app_key", "CHAR(64)"},
                        {"install_id", "CHAR(40)"},          {"customer_id", "CHAR(64)"},
                        {"queued_close_event_blob", "TEXT"}, {"fb_attribution", "TEXT"}};
        for (int d = 0; d <= 9; ++d) info.insert({"custom_d" + std::to_string(d), "CHAR(64)"});
        t["metrics_info"] = info;
        Columns rule = {{"rule_id", "INTEGER"},      {"rule_name", "TEXT"}, {"phone_location", "TEXT"},
                        {"tablet_location", "TEXT"}, {"ab_test", "TEXT"},   {"location", "TEXT"},
                        {"devices", "TEXT"}};
        for (const char* name :
             {"expiration", "phone_size_width", "phone_size_height", "tablet_size_width", "tablet_size_height",
              "display_seconds", "display_session", "version", "did_display", "times_to_display", "internet_required",
              "campaign_id", "ttl_expiration", "update_on_ttl_expiration", "conversion_expiration"})
            rule.insert({name, "INTEGER"});
        t["metrics_amp_rule"] = rule;
        t["metrics_amp_ruleevent"] = {{"rule_id", "INTEGER"}, {"event_name", "TEXT"}};
        t["metrics_amp_conditions"] = {
            {"condition_id", "INTEGER"}, {"rule_id", "INTEGER"}, {"attribute_name", "TEXT"}, {"operator", "TEXT"}};
        t["metrics_amp_conditions_values"] = {{"condition_id", "INTEGER"}, {"value", "TEXT"}};
        t["metrics_identifiers"] = {{"key", "TEXT"}, {"value", "TEXT"}};
        return t;
    }();
    return tables;
}

std::set<std::string> tableNames(QZMetricsTestConnection& connection)
{
    std::set<std::string> names;
    for (const auto& row :
         connection.rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"))
        names.insert(row[0]);
    return names;
}

Columns columnsOf(QZMetricsTestConnection& connection, const std::string& table)
{
    Columns columns;
    for (const auto& row : connection.rows("PRAGMA table_info(" + table + ")")) columns.insert({row[1], row[2]});
    return columns;
}

void expectFullSchema(const std::string& path)
{
    QZMetricsTestConnection connection(path);
    EXPECT_EQ(connection.value("SELECT MAX(schema_version) FROM metrics_info"), "12");
    std::set<std::string> expectedNames;
    for (const auto& [name, columns] : expectedTables()) {
        expectedNames.insert(name);
        EXPECT_EQ(columnsOf(connection, name), columns) << name;
    }
    EXPECT_EQ(tableNames(connection), expectedNames);
}

bool isUpperCaseUUID(const std::string& text)
{
    return std::regex_match(text, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}"));
}

class QZMetricsDatabaseSchemaTest : public ::testing::Test {
protected:
    std::string path() const { return QZMetricsDatabase::metricsDatabasePath(); }
    void makeDirectory() const { std::filesystem::create_directories(QZMetricsDatabase::metricsDirectoryPath()); }

    TestSandbox sandbox_;
};

TEST_F(QZMetricsDatabaseSchemaTest, FreshStoreInCachesHasVersion12AndEveryTableAndColumn)
{
    {
        QZMetricsDatabase store;
        EXPECT_EQ(store.schemaVersion(), 12);
        ASSERT_TRUE(store.installId().has_value());
        EXPECT_TRUE(isUpperCaseUUID(*store.installId())) << *store.installId();
    }
    EXPECT_EQ(path(), NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true)[0] +
                          "/.qz-metrics/qz-metrics.sqlite");
    expectFullSchema(path());
}

TEST_F(QZMetricsDatabaseSchemaTest, Version1StoreReaches12InOneOpenKeepingEventsAndCounters)
{
    makeDirectory();
    {
        QZMetricsTestConnection old(path());
        old.exec("CREATE TABLE upload_headers (sequence_number INTEGER PRIMARY KEY, blob_string TEXT)");
        old.exec("CREATE TABLE events (event_id INTEGER PRIMARY KEY AUTOINCREMENT, upload_header INTEGER, blob_string "
                 "TEXT NOT NULL)");
        old.exec("CREATE TABLE metrics_info (schema_version INTEGER PRIMARY KEY, last_upload_number INTEGER, "
                 "last_session_number INTEGER, opt_out BOOLEAN, last_close_event INTEGER, last_flow_event INTEGER, "
                 "last_session_start REAL)");
        old.exec("INSERT INTO metrics_info (schema_version, last_upload_number, last_session_number, opt_out) VALUES "
                 "(1, 5, 7, 1)");
        old.exec("INSERT INTO events (blob_string) VALUES ('first\n'), ('second\n')");
    }
    {
        QZMetricsDatabase store;
        EXPECT_EQ(store.schemaVersion(), 12);
        ASSERT_TRUE(store.installId().has_value());
        EXPECT_TRUE(isUpperCaseUUID(*store.installId())) << *store.installId();
        EXPECT_EQ(store.eventCount(), 2);
        EXPECT_EQ(store.uploadBlobString(), "first\nsecond\n");
        EXPECT_TRUE(store.isOptedOut());
        int upload = 0, session = 0;
        EXPECT_TRUE(store.incrementLastUploadNumber(upload));
        EXPECT_TRUE(store.incrementLastSessionNumber(&session));
        EXPECT_EQ(upload, 6);
        EXPECT_EQ(session, 8);
    }
    expectFullSchema(path());
}

// A failed step must stop the upgrade, or the later steps raise the version past it and the
// tables it makes are never made.
TEST_F(QZMetricsDatabaseSchemaTest, FailedStepStopsTheUpgradeAndIsRetriedAtTheNextOpen)
{
    makeDirectory();
    {
        QZMetricsTestConnection old(path());
        old.exec("CREATE TABLE upload_headers (sequence_number INTEGER PRIMARY KEY, blob_string TEXT)");
        old.exec("CREATE TABLE events (event_id INTEGER PRIMARY KEY AUTOINCREMENT, upload_header INTEGER, blob_string "
                 "TEXT NOT NULL)");
        old.exec(
            "CREATE TABLE metrics_info (schema_version INTEGER PRIMARY KEY, last_upload_number INTEGER, "
            "last_session_number INTEGER, opt_out BOOLEAN, last_close_event INTEGER, last_flow_event INTEGER, "
            "last_session_start REAL, app_key CHAR(64), custom_d0 CHAR(64), custom_d1 CHAR(64), custom_d2 CHAR(64), "
            "custom_d3 CHAR(64), install_id CHAR(40), customer_id CHAR(64), queued_close_event_blob TEXT)");
        old.exec("INSERT INTO metrics_info (schema_version, last_upload_number, last_session_number, opt_out) VALUES "
                 "(6, 0, 0, 0)");
        old.exec("INSERT INTO events (blob_string) VALUES ('kept\n')");
        // "DROP TABLE IF EXISTS" fails on a view of that name.
        old.exec("CREATE VIEW metrics_amp_rule AS SELECT 1 AS rule_id");
    }
    {
        QZMetricsDatabase store;
        EXPECT_EQ(store.schemaVersion(), 6);
        EXPECT_TRUE(store.addEventWithBlobString("added\n"));
    }
    {
        QZMetricsTestConnection connection(path());
        EXPECT_EQ(tableNames(connection).count("metrics_amp_ruleevent"), 0u);
        connection.exec("DROP VIEW metrics_amp_rule");
    }
    {
        QZMetricsDatabase store;
        EXPECT_EQ(store.schemaVersion(), 12);
        EXPECT_EQ(store.uploadBlobString(), "kept\nadded\n");
    }
    expectFullSchema(path());
}

TEST_F(QZMetricsDatabaseSchemaTest, DamagedFileIsReplacedTogetherWithItsJournals)
{
    makeDirectory();
    for (const char* suffix : {"", "-wal", "-journal"}) std::ofstream(path() + suffix) << std::string(8192, 'x');
    {
        QZMetricsDatabase store;
        EXPECT_EQ(store.schemaVersion(), 12);
        EXPECT_TRUE(store.addEventWithBlobString("after recovery\n"));
    }
    EXPECT_FALSE(std::filesystem::exists(path() + "-journal"));
    EXPECT_FALSE(std::filesystem::exists(path() + "-wal"));
    QZMetricsDatabase reopened;
    EXPECT_EQ(reopened.eventCount(), 1);
    expectFullSchema(path());
}

TEST_F(QZMetricsDatabaseSchemaTest, LockedStoreIsNeverDeleted)
{
    {
        QZMetricsDatabase store;
        ASSERT_TRUE(store.addEventWithBlobString("one\n"));
        ASSERT_TRUE(store.addEventWithBlobString("two\n"));
    }
    {
        QZMetricsTestConnection other(path());
        other.exec("BEGIN EXCLUSIVE");
        QZMetricsDatabase store;  // every read is busy for as long as the lock is held
        EXPECT_EQ(store.eventCount(), 0);
        other.exec("COMMIT");
    }
    QZMetricsDatabase store;
    EXPECT_EQ(store.schemaVersion(), 12);
    EXPECT_EQ(store.uploadBlobString(), "one\ntwo\n");
}

TEST_F(QZMetricsDatabaseSchemaTest, StoreInDocumentsMovesToCaches)
{
    {
        QZMetricsDatabase store;
        ASSERT_TRUE(store.addEventWithBlobString("moved\n"));
    }
    std::string documents =
        NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true)[0] + "/.qz-metrics";
    std::filesystem::rename(QZMetricsDatabase::metricsDirectoryPath(), documents);

    QZMetricsDatabase store;
    EXPECT_EQ(store.uploadBlobString(), "moved\n");
    EXPECT_FALSE(std::filesystem::exists(documents));
}

TEST_F(QZMetricsDatabaseSchemaTest, OnlyANewStoreCollectsTheAttributionPasteboard)
{
    {
        QZMetricsDatabase store;  // no pasteboard yet: nothing collected, none created
        EXPECT_EQ(store.referralAttributionFromDb(), std::nullopt);
        EXPECT_EQ(UIPasteboard::pasteboardWithName("fb_app_attribution", false), nullptr);
    }
    UIPasteboard::pasteboardWithName("fb_app_attribution", true)->setString("first=1&x=y");
    {
        QZMetricsDatabase existing;
        EXPECT_EQ(existing.referralAttributionFromDb(), std::nullopt);
    }
    std::filesystem::remove_all(QZMetricsDatabase::metricsDirectoryPath());
    QZMetricsDatabase fresh;
    EXPECT_EQ(fresh.referralAttributionFromDb(), "first=1&x=y");
}

}  // namespace
