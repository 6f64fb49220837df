#pragma once
// One prepared SQLite statement of the analytics store, finalised with the object. A statement
// that fails to prepare steps to its preparation error, so every caller reads "not found".

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>

class QZMetricsStatement {
public:
    QZMetricsStatement(sqlite3* connection, const std::string& sql);
    ~QZMetricsStatement();
    QZMetricsStatement(const QZMetricsStatement&) = delete;
    QZMetricsStatement& operator=(const QZMetricsStatement&) = delete;

    // Parameters count from 1; text is bound as UTF-8 copied by SQLite, nil as NULL.
    void bindText(int index, const std::optional<std::string>& text);
    void bindInt(int index, int value);
    void bindInt64(int index, std::int64_t value);
    void bindDouble(int index, double value);

    // SQLITE_ROW, SQLITE_DONE or the error (the preparation's when it failed to prepare).
    int step();
    std::optional<std::string> columnText(int column) const;
    int columnInt(int column) const;
    std::int64_t columnInt64(int column) const;
    double columnDouble(int column) const;
    bool columnIsNull(int column) const;

private:
    sqlite3_stmt* statement_ = nullptr;
    int prepareResult_ = SQLITE_OK;
};
