#pragma once
// One SQLite connection, closed with the object, and its prepared statements. Every connection
// is defensive (no schema-supplied functions run, no writes to the schema table), and errors come
// back as text naming the file.

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace customizer {

class QZSQLiteStatement {
public:
    QZSQLiteStatement() = default;
    explicit QZSQLiteStatement(sqlite3_stmt* statement) : statement_(statement) {}
    QZSQLiteStatement(QZSQLiteStatement&& other) noexcept : statement_(std::exchange(other.statement_, nullptr)) {}
    QZSQLiteStatement& operator=(QZSQLiteStatement&& other) noexcept;
    ~QZSQLiteStatement() { sqlite3_finalize(statement_); }

    explicit operator bool() const { return statement_ != nullptr; }
    // SQLite's result code: SQLITE_OK on success.
    int bindText(int index, const std::string& text);
    int bindDouble(int index, double value);
    int bindInteger(int index, int64_t value);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return sqlite3_step(statement_); }
    void reset() { sqlite3_reset(statement_); }
    void clearBindings() { sqlite3_clear_bindings(statement_); }

    int columnType(int column) const { return sqlite3_column_type(statement_, column); }
    // Empty for NULL.
    std::string columnText(int column) const;
    double columnDouble(int column) const { return sqlite3_column_double(statement_, column); }
    int64_t columnInteger(int column) const { return sqlite3_column_int64(statement_, column); }

private:
    sqlite3_stmt* statement_ = nullptr;
};

class QZSQLiteDatabase {
public:
    enum class Mode {
        ReadOnly,   // never writes the file (a hot journal beside it makes reads fail instead)
        ReadWrite,  // an existing file
        Create,     // an existing or a new file
    };

    // Null (with the reason in `error`) when the file cannot be opened in that mode.
    static std::unique_ptr<QZSQLiteDatabase> open(const std::string& path, Mode mode, std::string* error);
    ~QZSQLiteDatabase();
    QZSQLiteDatabase(const QZSQLiteDatabase&) = delete;
    QZSQLiteDatabase& operator=(const QZSQLiteDatabase&) = delete;

    // Runs every statement of the text, dropping any rows.
    bool execute(const std::string& sql, std::string* error);
    // Null (with the reason) when the text does not compile.
    QZSQLiteStatement prepare(const std::string& sql, std::string* error);
    // The first column of the first row of a query giving one integer (a pragma).
    std::optional<int64_t> queryInteger(const std::string& sql, std::string* error);

    // "<path>: <SQLite's message>".
    std::string lastError() const;
    const std::string& path() const { return path_; }

private:
    QZSQLiteDatabase(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

    sqlite3* db_;
    std::string path_;
};

}  // namespace customizer
