#include "Model/QZSQLiteDatabase.h"

#include "Model/QZRegularFile.h"

namespace customizer {
namespace {

// A theme file may come from anyone: a busy wait is the most a locked one may cost.
constexpr int kBusyTimeoutMilliseconds = 2000;

}  // namespace

QZSQLiteStatement& QZSQLiteStatement::operator=(QZSQLiteStatement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
}

int QZSQLiteStatement::bindText(int index, const std::string& text)
{
    return sqlite3_bind_text(statement_, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

int QZSQLiteStatement::bindDouble(int index, double value)
{
    return sqlite3_bind_double(statement_, index, value);
}

int QZSQLiteStatement::bindInteger(int index, int64_t value)
{
    return sqlite3_bind_int64(statement_, index, value);
}

std::string QZSQLiteStatement::columnText(int column) const
{
    const unsigned char* text = sqlite3_column_text(statement_, column);
    return text ? std::string(reinterpret_cast<const char*>(text), size_t(sqlite3_column_bytes(statement_, column)))
                : std::string();
}

std::unique_ptr<QZSQLiteDatabase> QZSQLiteDatabase::open(const std::string& path, Mode mode, std::string* error)
{
    int flags = mode == Mode::ReadOnly    ? SQLITE_OPEN_READONLY
                : mode == Mode::ReadWrite ? SQLITE_OPEN_READWRITE
                                          : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    // SQLite would open a FIFO and wait on it, or report a directory as some other fault.
    if (std::optional<std::string> refusal = QZRegularFileRefusal(path)) {
        if (error) *error = path + ": " + *refusal;
        return nullptr;
    }
    sqlite3* db = nullptr;
    int status = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (status != SQLITE_OK) {
        if (error) *error = path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(status));
        sqlite3_close_v2(db);
        return nullptr;
    }
    std::unique_ptr<QZSQLiteDatabase> database(new QZSQLiteDatabase(db, path));
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMilliseconds);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    if (!database->execute("PRAGMA trusted_schema = OFF", error)) return nullptr;
    return database;
}

QZSQLiteDatabase::~QZSQLiteDatabase()
{
    sqlite3_close_v2(db_);
}

bool QZSQLiteDatabase::execute(const std::string& sql, std::string* error)
{
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    if (error) *error = path_ + ": " + (message ? message : sqlite3_errmsg(db_));
    sqlite3_free(message);
    return false;
}

QZSQLiteStatement QZSQLiteDatabase::prepare(const std::string& sql, std::string* error)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), int(sql.size()), &statement, nullptr) != SQLITE_OK) {
        if (error) *error = lastError();
        sqlite3_finalize(statement);
        return QZSQLiteStatement();
    }
    return QZSQLiteStatement(statement);
}

std::optional<int64_t> QZSQLiteDatabase::queryInteger(const std::string& sql, std::string* error)
{
    QZSQLiteStatement statement = prepare(sql, error);
    if (!statement) return std::nullopt;
    int status = statement.step();
    if (status == SQLITE_ROW) return statement.columnInteger(0);
    if (error) *error = status == SQLITE_DONE ? path_ + ": no result for " + sql : lastError();
    return std::nullopt;
}

std::string QZSQLiteDatabase::lastError() const
{
    return path_ + ": " + sqlite3_errmsg(db_);
}

}  // namespace customizer
