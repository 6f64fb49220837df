// Opening the analytics store: moving an old store, recovery from a damaged file, creating the
// schema and the upgrade steps to version 12.

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iomanip>

#include "Foundation/NSDate.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSPathUtilities.h"
#include "TesselSDK/remote/QZMetricsDatabase.h"
#include "TesselSDK/remote/QZMetricsStatement.h"

namespace {

constexpr const char* kMetricsDirectoryName = ".qz-metrics";

std::string directoryIn(NSSearchPathDirectory directory)
{
    std::vector<std::string> paths = NSSearchPathForDirectoriesInDomains(directory, NSUserDomainMask, true);
    return (paths.empty() ? std::string() : paths.front()) + "/" + kMetricsDirectoryName;
}

// SQLite opens any file; a file that is not a database shows itself at the first read.
bool isDamaged(int resultCode)
{
    return resultCode == SQLITE_NOTADB || resultCode == SQLITE_CORRUPT;
}

}  // namespace

// Chained statements run while every statement before them succeeded; ignored ones run whatever
// happened and do not count; "always" runs whatever the chain gave. The step's result is that of
// the last statement run that is not ignored.
struct QZMetricsDatabase::StepStatement {
    enum Role { Chained, Ignored, Always };
    Role role;
    const char* sql;
    bool bindsNewUUID = false;
};

std::string QZMetricsDatabase::metricsDirectoryPath()
{
    return directoryIn(NSCachesDirectory);
}

std::string QZMetricsDatabase::metricsDatabasePath()
{
    char name[64];
    std::snprintf(name, sizeof name, "%s.sqlite", "qz-metrics");
    return metricsDirectoryPath() + "/" + name;
}

QZMetricsDatabase::QZMetricsDatabase()
{
    open();
}

QZMetricsDatabase::~QZMetricsDatabase()
{
    closeConnection();
}

void QZMetricsDatabase::moveDbToCaches()
{
    std::shared_ptr<NSFileManager> files = NSFileManager::defaultManager();
    std::string old = directoryIn(NSDocumentDirectory);
    if (!files->fileExistsAtPath(old)) return;
    if (!files->moveItemAtPath(old, metricsDirectoryPath())) files->removeItemAtPath(old);
}

bool QZMetricsDatabase::openConnection()
{
    if (sqlite3_open(metricsDatabasePath().c_str(), &databaseConnection_) == SQLITE_OK) return true;
    closeConnection();
    return false;
}

void QZMetricsDatabase::closeConnection()
{
    sqlite3_close_v2(databaseConnection_);
    databaseConnection_ = nullptr;
}

void QZMetricsDatabase::deleteDatabaseFiles()
{
    // A stale journal or write-ahead log left beside a new file would be replayed into it.
    std::string path = metricsDatabasePath();
    for (const char* suffix : {"", "-journal", "-wal", "-shm", "-created"}) std::remove((path + suffix).c_str());
}

void QZMetricsDatabase::open()
{
    moveDbToCaches();
    std::shared_ptr<NSFileManager> files = NSFileManager::defaultManager();
    if (!files->fileExistsAtPath(metricsDirectoryPath())) files->createDirectoryAtPath(metricsDirectoryPath(), true);

    bool isNew = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!openConnection()) {
            deleteDatabaseFiles();
            continue;
        }
        // Set before the first statement: a store opened while another connection briefly held a
        // lock would otherwise never wait on one.
        sqlite3_busy_timeout(databaseConnection_, 30);
        int pragma = execResult("PRAGMA foreign_keys = ON;");
        int reading = pragma;
        int version = 0;
        if (pragma == SQLITE_OK) version = schemaVersionReading(reading);
        if (isDamaged(reading) && attempt == 0) {
            closeConnection();
            deleteDatabaseFiles();
            continue;
        }
        // A fresh file has no metrics_info (SQLITE_ERROR); a busy or locked one is left alone.
        if (pragma == SQLITE_OK && version == 0 && reading != SQLITE_BUSY && reading != SQLITE_LOCKED)
            isNew = createSchema();
        break;
    }
    if (!databaseConnection_) return;

    // A failed step stops the upgrade: a later step must not raise the version past it, or the
    // missing tables and columns would never be added. The next open starts again from there.
    for (int version = 2; version <= 12; ++version) {
        if (schemaVersion() >= version) continue;
        if (!upgradeToSchema(version)) break;
    }
    if (isNew) collectReferralAttributionIfAvailable();
}

int QZMetricsDatabase::schemaVersionReading(int& resultCode)
{
    QZMetricsStatement statement(databaseConnection_, "SELECT MAX(schema_version) FROM metrics_info");
    resultCode = statement.step();
    if (resultCode != SQLITE_ROW) return 0;
    resultCode = SQLITE_OK;
    return statement.columnInt(0);
}

int QZMetricsDatabase::schemaVersion()
{
    int resultCode = SQLITE_OK;
    return schemaVersionReading(resultCode);
}

// When BEGIN fails only the "always" statement runs, and the step fails.
bool QZMetricsDatabase::runSchemaStep(const StepStatement* statements, std::size_t count)
{
    bool begun = execOK("BEGIN");
    bool chainHolds = begun;
    int deciding = begun ? SQLITE_OK : SQLITE_ERROR;
    for (std::size_t i = 0; i < count; ++i) {
        const StepStatement& entry = statements[i];
        if (!begun && entry.role != StepStatement::Always) continue;
        if (entry.role == StepStatement::Chained && !chainHolds) continue;
        QZMetricsStatement statement(databaseConnection_, entry.sql);
        if (entry.bindsNewUUID) statement.bindText(1, randomUUID());
        int result = statement.step();
        bool succeeded = result == SQLITE_DONE || result == SQLITE_OK || result == SQLITE_ROW;
        if (entry.role == StepStatement::Ignored) continue;
        deciding = succeeded ? SQLITE_DONE : result;
        if (entry.role == StepStatement::Chained && !succeeded) chainHolds = false;
    }
    if (begun && (deciding == SQLITE_DONE || deciding == SQLITE_OK)) {
        if (execOK("COMMIT")) return true;
    }
    execOK("ROLLBACK");
    return false;
}

bool QZMetricsDatabase::createSchema()
{
    using S = StepStatement;
    static const StepStatement statements[] = {
        {S::Chained, "CREATE TABLE upload_headers (sequence_number INTEGER PRIMARY KEY, blob_string TEXT)"},
        {S::Chained, "CREATE TABLE events (event_id INTEGER PRIMARY KEY AUTOINCREMENT, upload_header INTEGER, "
                     "blob_string TEXT NOT NULL)"},
        {S::Chained, "CREATE TABLE metrics_info (schema_version INTEGER PRIMARY KEY, last_upload_number INTEGER, "
                     "last_session_number INTEGER, opt_out BOOLEAN, last_close_event INTEGER, last_flow_event INTEGER, "
                     "last_session_start REAL, app_key CHAR(64), custom_d0 CHAR(64), custom_d1 CHAR(64), custom_d2 "
                     "CHAR(64), custom_d3 CHAR(64) )"},
        {S::Chained, "INSERT INTO metrics_info (schema_version, last_upload_number, last_session_number, opt_out) "
                     "VALUES (3, 0, 0, 0)"},
        // New installs carry an install id too, so every version-12 store has the same columns.
        {S::Chained, "ALTER TABLE metrics_info ADD install_id CHAR(40)"},
        {S::Chained, "UPDATE metrics_info set install_id = ?", true},
    };
    if (!runSchemaStep(statements, std::size(statements))) return false;
    // Where the file system keeps no birth time, this is the store's creation date.
    std::ofstream(metricsDatabasePath() + "-created")
        << std::setprecision(17) << NSDate::date()->timeIntervalSince1970();
    return true;
}

bool QZMetricsDatabase::upgradeToSchema(int version)
{
    using S = StepStatement;
    static const StepStatement v2[] = {
        {S::Chained, "ALTER TABLE metrics_info ADD install_id CHAR(40)"},
        {S::Chained, "ALTER TABLE metrics_info ADD custom_d0 CHAR(64)"},
        {S::Chained, "ALTER TABLE metrics_info ADD custom_d1 CHAR(64)"},
        {S::Chained, "ALTER TABLE metrics_info ADD custom_d2 CHAR(64)"},
        {S::Chained, "ALTER TABLE metrics_info ADD custom_d3 CHAR(64)"},
        {S::Always, "UPDATE metrics_info set install_id = ?, schema_version = 2 ", true},
    };
    static const StepStatement v3[] = {
        {S::Ignored, "ALTER TABLE metrics_info ADD app_key CHAR(64)"},
        {S::Always, "UPDATE metrics_info set schema_version = 3"},
    };
    static const StepStatement v4[] = {
        {S::Ignored, "ALTER TABLE metrics_info ADD customer_id CHAR(64)"},
        {S::Always, "UPDATE metrics_info set schema_version = 4"},
    };
    static const StepStatement v5[] = {
        {S::Always, "UPDATE metrics_info set schema_version = 5"},
    };
    static const StepStatement v6[] = {
        {S::Ignored, "ALTER TABLE metrics_info ADD queued_close_event_blob TEXT"},
        {S::Always, "UPDATE metrics_info set schema_version = 6"},
    };
    static const StepStatement v7[] = {
        {S::Chained, "DROP TABLE IF EXISTS metrics_amp_rule"},
        {S::Chained, "CREATE TABLE IF NOT EXISTS metrics_amp_rule (rule_id INTEGER PRIMARY KEY AUTOINCREMENT, "
                     "rule_name TEXT UNIQUE,  expiration INTEGER, phone_location TEXT, phone_size_width INTEGER, "
                     "phone_size_height INTEGER, tablet_location TEXT, tablet_size_width INTEGER, tablet_size_height "
                     "INTEGER, display_seconds INTEGER, display_session INTEGER, version INTEGER, did_display INTEGER, "
                     "times_to_display INTEGER, internet_required INTEGER, ab_test TEXT)"},
        {S::Chained, "CREATE TABLE IF NOT EXISTS metrics_amp_ruleevent (rule_id INTEGER, event_name TEXT, FOREIGN "
                     "KEY(rule_id) REFERENCES metrics_amp_rule(rule_id) ON DELETE CASCADE )"},
        {S::Chained, "UPDATE metrics_info set schema_version = 7"},
    };
    static const StepStatement v8[] = {
        {S::Ignored, "ALTER TABLE metrics_amp_rule ADD campaign_id INTEGER"},
        {S::Ignored, "ALTER TABLE metrics_amp_rule ADD ttl_expiration INTEGER"},
        {S::Ignored, "ALTER TABLE metrics_amp_rule ADD update_on_ttl_expiration INTEGER"},
        {S::Always, "UPDATE metrics_info set schema_version = 8"},
    };
    static const StepStatement v9[] = {
        {S::Ignored, "ALTER TABLE metrics_amp_rule ADD location TEXT"},
        {S::Always, "UPDATE metrics_info set schema_version = 9"},
    };
    static const StepStatement v10[] = {
        {S::Ignored, "ALTER TABLE metrics_amp_rule ADD conversion_expiration INTEGER"},
        {S::Chained, "CREATE TABLE IF NOT EXISTS metrics_identifiers (key TEXT PRIMARY KEY, value TEXT)"},
        {S::Chained, "UPDATE metrics_info set schema_version = 10"},
    };
    static const StepStatement v11[] = {
        {S::Ignored, "ALTER TABLE metrics_info ADD fb_attribution TEXT"},
        {S::Ignored, "ALTER TABLE metrics_amp_rule ADD devices TEXT"},
        {S::Chained, "CREATE TABLE IF NOT EXISTS metrics_amp_conditions (condition_id INTEGER PRIMARY KEY "
                     "AUTOINCREMENT, rule_id INTEGER, attribute_name TEXT, operator TEXT, FOREIGN KEY(rule_id) "
                     "REFERENCES metrics_amp_rule(rule_id) ON DELETE CASCADE )"},
        {S::Chained, "CREATE TABLE IF NOT EXISTS metrics_amp_conditions_values (condition_id INTEGER, value TEXT, "
                     "FOREIGN KEY(condition_id) REFERENCES metrics_amp_conditions(condition_id) ON DELETE CASCADE )"},
        {S::Chained, "UPDATE metrics_info set schema_version = 11"},
    };
    static const StepStatement v12[] = {
        {S::Chained, "ALTER TABLE metrics_info ADD custom_d4 CHAR(64)"},
        {S::Chained, "ALTER TABLE metrics_info ADD custom_d5 CHAR(64)"},
        {S::Chained, "ALTER TABLE metrics_info ADD custom_d6 CHAR(64)"},
        {S::Chained, "ALTER TABLE metrics_info ADD custom_d7 CHAR(64)"},
        {S::Chained, "ALTER TABLE metrics_info ADD custom_d8 CHAR(64)"},
        {S::Chained, "ALTER TABLE metrics_info ADD custom_d9 CHAR(64)"},
        {S::Chained, "UPDATE metrics_info set schema_version = 12"},
    };
    switch (version) {
    case 2: return runSchemaStep(v2, std::size(v2));
    case 3: return runSchemaStep(v3, std::size(v3));
    case 4: return runSchemaStep(v4, std::size(v4));
    case 5: return runSchemaStep(v5, std::size(v5));
    case 6: return runSchemaStep(v6, std::size(v6));
    case 7: return runSchemaStep(v7, std::size(v7));
    case 8: return runSchemaStep(v8, std::size(v8));
    case 9: return runSchemaStep(v9, std::size(v9));
    case 10: return runSchemaStep(v10, std::size(v10));
    case 11: return runSchemaStep(v11, std::size(v11));
    case 12: return runSchemaStep(v12, std::size(v12));
    default: return false;
    }
}

double QZMetricsDatabase::createdTimestamp() const
{
    std::string path = metricsDatabasePath();
    struct statx birth {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &birth) == 0 && (birth.stx_mask & STATX_BTIME))
        return static_cast<double>(birth.stx_btime.tv_sec) + birth.stx_btime.tv_nsec / 1e9;
    double written = 0;
    if (std::ifstream(path + "-created") >> written) return written;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return 0;
    return static_cast<double>(status.st_mtim.tv_sec) + status.st_mtim.tv_nsec / 1e9;
}

std::uint64_t QZMetricsDatabase::databaseSize() const
{
    struct stat status {};
    if (::stat(metricsDatabasePath().c_str(), &status) != 0) return 0;
    return static_cast<std::uint64_t>(status.st_size);
}
