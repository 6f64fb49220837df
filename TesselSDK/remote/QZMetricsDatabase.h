#pragma once
// The analytics session's on-device store: a SQLite database in Caches holding event and upload
// header blobs (opaque text), the session's counters and settings, key/value identifiers and the
// in-app rule tables. Opening moves an old store out of Documents, creates the schema and upgrades
// it step by step to version 12. No lock of its own: the session's serial queue orders every call.
// Failures show only as NO, 0 or nil results; nothing is logged.

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Foundation/Value.h"

// What one upload carries: the upload blob and the rows it was read from, so that exactly those
// rows are deleted once the service has taken them.
struct QZMetricsUploadBatch {
    std::string blob;
    std::vector<std::int64_t> eventIds;
    std::vector<std::int64_t> headerSequenceNumbers;
};

class QZMetricsDatabase {
public:
    static std::string metricsDirectoryPath();
    static std::string metricsDatabasePath();

    // Moves, opens, creates and upgrades; see QZMetricsDatabaseOpening.cpp.
    QZMetricsDatabase();
    ~QZMetricsDatabase();
    QZMetricsDatabase(const QZMetricsDatabase&) = delete;
    QZMetricsDatabase& operator=(const QZMetricsDatabase&) = delete;

    // Named savepoints. Rolling back also releases the savepoint, so that a failed operation
    // never leaves the connection inside a transaction.
    bool beginTransaction(const std::string& name);
    bool releaseTransaction(const std::string& name);
    bool rollbackTransaction(const std::string& name);

    int schemaVersion();  // 0 without a row or on error
    std::optional<std::string> installId();
    std::optional<std::string> appKey();
    bool updateAppKey(const std::string& appKey);
    std::uint64_t databaseSize() const;
    double createdTimestamp() const;  // seconds since 1970
    int eventCount();
    int unstagedEventCount();
    double lastSessionStartTimestamp();
    bool setLastSessionStartTimestamp(double timestamp);
    bool isOptedOut();
    bool setOptedOut(bool optedOut);
    // Indices 0 to 9; any other gives nil / NO without touching the database.
    std::optional<std::string> customDimension(int index);
    bool setCustomDimension(int index, const std::optional<std::string>& value);

    bool incrementLastUploadNumber(int& number);
    bool incrementLastSessionNumber(int* number);

    bool addEventWithBlobString(const std::optional<std::string>& blob);
    bool addCloseEventWithBlobString(const std::optional<std::string>& blob);
    bool addFlowEventWithBlobString(const std::optional<std::string>& blob);
    bool removeLastCloseAndFlowEvents();
    bool queueCloseEventWithBlobString(const std::optional<std::string>& blob);
    std::optional<std::string> dequeueCloseEventBlobString();

    bool addHeaderWithSequenceNumber(int sequenceNumber, const std::string& blob, std::int64_t* rowId);
    bool stageEventsForUpload(std::int64_t headerRowId);
    // Unstaged events first, then each header followed by its events; empty when nothing waits.
    std::string uploadBlobString();
    bool deleteUploadedData();
    // The upload blob with the ids of every event and header it was read from, read as one.
    QZMetricsUploadBatch uploadBatch();
    // Deletes exactly the batch's events and headers in one savepoint; rows added since stay.
    bool deleteUploadedRows(const QZMetricsUploadBatch& batch);
    bool resetAnalyticsData();
    bool vacuumIfRequired();

    static std::string randomUUID();

    bool setValueForIdentifier(const std::string& key, const std::optional<std::string>& value);
    std::optional<std::string> valueForIdentifier(const std::string& key);
    // The name keeps the spelling its callers were written against.
    bool deleteIdentifer(const std::string& key);
    // Pairs whose key and value are both non-empty; nil when there is none.
    std::optional<std::map<std::string, std::string>> identifiers();

    bool setReferralAttribution(const std::optional<std::string>& attribution);
    std::optional<std::string> referralAttributionFromDb();
    // The text of the named pasteboard "fb_app_attribution" (not created when missing).
    static std::optional<std::string> referralAttributionFromPasteboard();
    void collectReferralAttributionIfAvailable();

    // Reading the session's dictionaries without trusting their kinds: a number or a string gives
    // its integer (else 0); a string, or a number's text (else nil); a dictionary / an array (else nil).
    static std::int64_t safeIntegerValueFromDictionary(const Value& dictionary, const std::string& key);
    static std::optional<std::string> safeStringValueFromDictionary(const Value& dictionary, const std::string& key);
    static Value safeDictionaryFromDictionary(const Value& dictionary, const std::string& key);
    static Value safeListFromDictionary(const Value& dictionary, const std::string& key);

    static constexpr std::uint64_t kVacuumThresholdBytes = 400000;

private:
    struct StepStatement;
    void moveDbToCaches();
    void open();
    bool openConnection();
    void closeConnection();
    void deleteDatabaseFiles();
    bool createSchema();
    bool upgradeToSchema(int version);
    bool runSchemaStep(const StepStatement* statements, std::size_t count);
    int schemaVersionReading(int& resultCode);
    bool runInSavepoint(const std::string& name, const char* const* statements, std::size_t count);
    bool addMarkedEvent(const char* savepoint, const char* markerUpdate, const std::optional<std::string>& blob);
    bool incrementNumber(const char* savepoint, const char* update, const char* select, int* number);
    bool execOK(const std::string& sql);
    int execResult(const std::string& sql);
    std::optional<std::string> selectText(const std::string& sql);
    bool updateTextDone(const std::string& sql, const std::optional<std::string>& value);

    sqlite3* databaseConnection_ = nullptr;
};
