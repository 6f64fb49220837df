#include "TesselSDK/remote/QZMetricsDatabase.h"

#include "Foundation/NSUUID.h"
#include "UIKit/UIPasteboard.h"
#include "TesselSDK/remote/QZMetricsStatement.h"

namespace {

bool isDone(int result)
{
    return result == SQLITE_DONE;
}

}  // namespace

int QZMetricsDatabase::execResult(const std::string& sql)
{
    if (!databaseConnection_) return SQLITE_MISUSE;
    return sqlite3_exec(databaseConnection_, sql.c_str(), nullptr, nullptr, nullptr);
}

bool QZMetricsDatabase::execOK(const std::string& sql)
{
    return execResult(sql) == SQLITE_OK;
}

std::optional<std::string> QZMetricsDatabase::selectText(const std::string& sql)
{
    QZMetricsStatement statement(databaseConnection_, sql);
    if (statement.step() != SQLITE_ROW) return std::nullopt;
    return statement.columnText(0);
}

bool QZMetricsDatabase::updateTextDone(const std::string& sql, const std::optional<std::string>& value)
{
    QZMetricsStatement statement(databaseConnection_, sql);
    statement.bindText(1, value);
    return isDone(statement.step());
}

bool QZMetricsDatabase::beginTransaction(const std::string& name)
{
    return execOK("SAVEPOINT " + name);
}

bool QZMetricsDatabase::releaseTransaction(const std::string& name)
{
    return execOK("RELEASE SAVEPOINT " + name);
}

bool QZMetricsDatabase::rollbackTransaction(const std::string& name)
{
    // Rolling back to a savepoint leaves it open; without the release every later write would
    // stay inside this transaction and be lost when the connection closes.
    bool rolledBack = execOK("ROLLBACK TO SAVEPOINT " + name);
    bool released = execOK("RELEASE SAVEPOINT " + name);
    return rolledBack && released;
}

bool QZMetricsDatabase::runInSavepoint(const std::string& name, const char* const* statements, std::size_t count)
{
    if (!beginTransaction(name)) return false;
    for (std::size_t i = 0; i < count; ++i) {
        QZMetricsStatement statement(databaseConnection_, statements[i]);
        if (!isDone(statement.step())) {
            rollbackTransaction(name);
            return false;
        }
    }
    return releaseTransaction(name);
}

std::optional<std::string> QZMetricsDatabase::installId()
{
    return selectText("SELECT install_id FROM metrics_info");
}

std::optional<std::string> QZMetricsDatabase::appKey()
{
    return selectText("SELECT app_key FROM metrics_info");
}

bool QZMetricsDatabase::updateAppKey(const std::string& appKey)
{
    return updateTextDone("UPDATE metrics_info set app_key = ?", appKey);
}

int QZMetricsDatabase::eventCount()
{
    QZMetricsStatement statement(databaseConnection_, "SELECT count(*) FROM events");
    return statement.step() == SQLITE_ROW ? statement.columnInt(0) : 0;
}

int QZMetricsDatabase::unstagedEventCount()
{
    QZMetricsStatement statement(databaseConnection_, "SELECT COUNT(*) FROM events WHERE UPLOAD_HEADER IS NULL");
    return statement.step() == SQLITE_ROW ? statement.columnInt(0) : 0;
}

double QZMetricsDatabase::lastSessionStartTimestamp()
{
    QZMetricsStatement statement(databaseConnection_, "SELECT last_session_start FROM metrics_info");
    return statement.step() == SQLITE_ROW ? statement.columnDouble(0) : 0;
}

bool QZMetricsDatabase::setLastSessionStartTimestamp(double timestamp)
{
    QZMetricsStatement statement(databaseConnection_, "UPDATE metrics_info SET last_session_start = ?");
    statement.bindDouble(1, timestamp);
    return isDone(statement.step());
}

bool QZMetricsDatabase::isOptedOut()
{
    QZMetricsStatement statement(databaseConnection_, "SELECT opt_out FROM metrics_info");
    return statement.step() == SQLITE_ROW && statement.columnInt(0) == 1;
}

bool QZMetricsDatabase::setOptedOut(bool optedOut)
{
    QZMetricsStatement statement(databaseConnection_, "UPDATE metrics_info SET opt_out = ?");
    statement.bindInt(1, optedOut ? 1 : 0);
    return isDone(statement.step());
}

std::optional<std::string> QZMetricsDatabase::customDimension(int index)
{
    if (index < 0 || index > 9) return std::nullopt;
    return selectText("select custom_d" + std::to_string(index) + " from metrics_info");
}

bool QZMetricsDatabase::setCustomDimension(int index, const std::optional<std::string>& value)
{
    if (index < 0 || index > 9) return false;
    return updateTextDone("UPDATE metrics_info SET custom_d" + std::to_string(index) + " = ?", value);
}

bool QZMetricsDatabase::incrementNumber(const char* savepoint, const char* update, const char* select, int* number)
{
    if (!beginTransaction(savepoint)) return false;
    QZMetricsStatement increment(databaseConnection_, update);
    if (isDone(increment.step())) {
        QZMetricsStatement reading(databaseConnection_, select);
        if (reading.step() == SQLITE_ROW) {
            if (number) *number = reading.columnInt(0);
            return releaseTransaction(savepoint);
        }
    }
    rollbackTransaction(savepoint);
    return false;
}

bool QZMetricsDatabase::incrementLastUploadNumber(int& number)
{
    return incrementNumber("increment_upload_number",
                           "UPDATE metrics_info SET last_upload_number = (last_upload_number + 1)",
                           "SELECT last_upload_number FROM metrics_info", &number);
}

bool QZMetricsDatabase::incrementLastSessionNumber(int* number)
{
    return incrementNumber("increment_session_number",
                           "UPDATE metrics_info SET last_session_number = (last_session_number + 1)",
                           "SELECT last_session_number FROM metrics_info", number);
}

bool QZMetricsDatabase::addEventWithBlobString(const std::optional<std::string>& blob)
{
    return updateTextDone("INSERT INTO events (blob_string) VALUES (?)", blob);
}

bool QZMetricsDatabase::addMarkedEvent(const char* savepoint, const char* markerUpdate,
                                       const std::optional<std::string>& blob)
{
    if (!beginTransaction(savepoint)) return false;
    if (addEventWithBlobString(blob)) {
        QZMetricsStatement marker(databaseConnection_, markerUpdate);
        marker.bindInt64(1, sqlite3_last_insert_rowid(databaseConnection_));
        if (isDone(marker.step())) return releaseTransaction(savepoint);
    }
    rollbackTransaction(savepoint);
    return false;
}

bool QZMetricsDatabase::addCloseEventWithBlobString(const std::optional<std::string>& blob)
{
    return addMarkedEvent("add_close_event",
                          "UPDATE metrics_info SET last_close_event = (SELECT event_id FROM events WHERE rowid = ?)",
                          blob);
}

bool QZMetricsDatabase::addFlowEventWithBlobString(const std::optional<std::string>& blob)
{
    return addMarkedEvent("add_flow_event",
                          "UPDATE metrics_info SET last_flow_event = (SELECT event_id FROM events WHERE rowid = ?)",
                          blob);
}

bool QZMetricsDatabase::removeLastCloseAndFlowEvents()
{
    QZMetricsStatement statement(databaseConnection_,
                                 "DELETE FROM events WHERE event_id = (SELECT last_close_event FROM metrics_info) OR "
                                 "event_id = (SELECT last_flow_event FROM metrics_info)");
    return isDone(statement.step());
}

bool QZMetricsDatabase::queueCloseEventWithBlobString(const std::optional<std::string>& blob)
{
    if (!beginTransaction("queue_close_event")) return false;
    if (updateTextDone("UPDATE metrics_info SET queued_close_event_blob = ?", blob))
        return releaseTransaction("queue_close_event");
    rollbackTransaction("queue_close_event");
    return false;
}

std::optional<std::string> QZMetricsDatabase::dequeueCloseEventBlobString()
{
    std::optional<std::string> blob = selectText("SELECT queued_close_event_blob FROM metrics_info");
    queueCloseEventWithBlobString(std::nullopt);
    return blob;
}

bool QZMetricsDatabase::addHeaderWithSequenceNumber(int sequenceNumber, const std::string& blob, std::int64_t* rowId)
{
    QZMetricsStatement statement(databaseConnection_,
                                 "INSERT INTO upload_headers (sequence_number, blob_string) VALUES (?, ?)");
    statement.bindInt(1, sequenceNumber);
    statement.bindText(2, blob);
    if (!isDone(statement.step())) return false;
    if (rowId) *rowId = sqlite3_last_insert_rowid(databaseConnection_);
    return true;
}

bool QZMetricsDatabase::stageEventsForUpload(std::int64_t headerRowId)
{
    QZMetricsStatement statement(databaseConnection_,
                                 "UPDATE events SET upload_header = ? WHERE upload_header IS NULL");
    statement.bindInt64(1, headerRowId);
    return isDone(statement.step());
}

std::string QZMetricsDatabase::uploadBlobString()
{
    QZMetricsStatement statement(
        databaseConnection_,
        "SELECT * FROM (    SELECT h.blob_string AS 'blob', h.sequence_number as 'seq', 0 FROM upload_headers h   "
        "UNION ALL    SELECT e.blob_string AS 'blob', e.upload_header as 'seq', 1 FROM events e) ORDER BY 2, 3");
    std::string blobs;
    while (statement.step() == SQLITE_ROW)
        if (std::optional<std::string> blob = statement.columnText(0)) blobs += *blob;
    return blobs;
}

bool QZMetricsDatabase::deleteUploadedData()
{
    static const char* const statements[] = {"DELETE FROM events WHERE upload_header IS NOT NULL",
                                             "DELETE FROM upload_headers"};
    return runInSavepoint("delete_upload_data", statements, std::size(statements));
}

bool QZMetricsDatabase::resetAnalyticsData()
{
    static const char* const statements[] = {
        "DELETE FROM events",
        "DELETE FROM upload_headers",
        "DELETE FROM metrics_amp_rule",
        "DELETE FROM metrics_amp_ruleevent",
        "DELETE FROM metrics_amp_conditions",
        "DELETE FROM metrics_amp_conditions_values",
        "DELETE FROM metrics_identifiers",
        "UPDATE metrics_info SET last_session_number = 0, last_upload_number = 0,last_close_event = null, "
        "last_flow_event = null, last_session_start = null, custom_d0 = null, custom_d1 = null, custom_d2 = null, "
        "custom_d3 = null, queued_close_event_blob = null, fb_attribution = null",
    };
    return runInSavepoint("reset_analytics_data", statements, std::size(statements));
}

bool QZMetricsDatabase::vacuumIfRequired()
{
    if (databaseSize() <= kVacuumThresholdBytes) return true;
    return execOK("VACUUM");
}

std::string QZMetricsDatabase::randomUUID()
{
    return NSUUID::UUID()->UUIDString();
}

bool QZMetricsDatabase::setValueForIdentifier(const std::string& key, const std::optional<std::string>& value)
{
    bool exists = valueForIdentifier(key).has_value();
    QZMetricsStatement statement(databaseConnection_,
                                 exists ? "UPDATE metrics_identifiers SET value=? WHERE key=?"
                                        : "INSERT INTO metrics_identifiers (value, key) VALUES (?, ?)");
    statement.bindText(1, value);
    statement.bindText(2, key);
    return isDone(statement.step());
}

std::optional<std::string> QZMetricsDatabase::valueForIdentifier(const std::string& key)
{
    QZMetricsStatement statement(databaseConnection_, "SELECT value FROM metrics_identifiers WHERE key = ?");
    statement.bindText(1, key);
    if (statement.step() != SQLITE_ROW) return std::nullopt;
    return statement.columnText(0);
}

bool QZMetricsDatabase::deleteIdentifer(const std::string& key)
{
    return updateTextDone("DELETE FROM metrics_identifiers WHERE key  = ?", key);
}

std::optional<std::map<std::string, std::string>> QZMetricsDatabase::identifiers()
{
    QZMetricsStatement statement(databaseConnection_, "SELECT key, value FROM metrics_identifiers");
    std::map<std::string, std::string> pairs;
    while (statement.step() == SQLITE_ROW) {
        std::optional<std::string> key = statement.columnText(0);
        std::optional<std::string> value = statement.columnText(1);
        if (key && value && !key->empty() && !value->empty()) pairs[*key] = *value;
    }
    if (pairs.empty()) return std::nullopt;
    return pairs;
}

bool QZMetricsDatabase::setReferralAttribution(const std::optional<std::string>& attribution)
{
    return updateTextDone("UPDATE metrics_info SET fb_attribution = ?", attribution);
}

std::optional<std::string> QZMetricsDatabase::referralAttributionFromDb()
{
    return selectText("SELECT fb_attribution FROM metrics_info");
}

std::optional<std::string> QZMetricsDatabase::referralAttributionFromPasteboard()
{
    std::shared_ptr<UIPasteboard> pasteboard = UIPasteboard::pasteboardWithName("fb_app_attribution", false);
    return pasteboard ? pasteboard->string() : std::nullopt;
}

void QZMetricsDatabase::collectReferralAttributionIfAvailable()
{
    if (std::optional<std::string> attribution = referralAttributionFromPasteboard())
        setReferralAttribution(attribution);
}
