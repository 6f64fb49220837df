#include "TesselSDK/remote/QZMetricsDatabase.h"

#include "TesselSDK/remote/QZMetricsStatement.h"

namespace {

std::vector<std::int64_t> readIds(sqlite3* connection, const char* sql)
{
    QZMetricsStatement statement(connection, sql);
    std::vector<std::int64_t> ids;
    while (statement.step() == SQLITE_ROW) ids.push_back(statement.columnInt64(0));
    return ids;
}

// The ids as a JSON array, which one statement reads through json_each.
std::string idList(const std::vector<std::int64_t>& ids)
{
    std::string list = "[";
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i) list += ',';
        list += std::to_string(ids[i]);
    }
    list += ']';
    return list;
}

}  // namespace

QZMetricsUploadBatch QZMetricsDatabase::uploadBatch()
{
    // One savepoint holds one read snapshot, so another connection's writes cannot fall between
    // the blob and the ids.
    QZMetricsUploadBatch batch;
    bool inSavepoint = beginTransaction("read_upload_batch");
    batch.blob = uploadBlobString();
    batch.eventIds = readIds(databaseConnection_, "SELECT event_id FROM events");
    batch.headerSequenceNumbers = readIds(databaseConnection_, "SELECT sequence_number FROM upload_headers");
    if (inSavepoint) releaseTransaction("read_upload_batch");
    return batch;
}

bool QZMetricsDatabase::deleteUploadedRows(const QZMetricsUploadBatch& batch)
{
    if (!beginTransaction("delete_uploaded_rows")) return false;
    QZMetricsStatement events(databaseConnection_,
                              "DELETE FROM events WHERE event_id IN (SELECT value FROM json_each(?))");
    events.bindText(1, idList(batch.eventIds));
    QZMetricsStatement headers(databaseConnection_,
                               "DELETE FROM upload_headers WHERE sequence_number IN (SELECT value FROM json_each(?))");
    headers.bindText(1, idList(batch.headerSequenceNumbers));
    if (events.step() == SQLITE_DONE && headers.step() == SQLITE_DONE)
        return releaseTransaction("delete_uploaded_rows");
    rollbackTransaction("delete_uploaded_rows");
    return false;
}
