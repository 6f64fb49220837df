#pragma once
// A second, plain SQLite connection to a store file: the tests build old or damaged stores with
// it and look at what the store wrote, as another process would.

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class QZMetricsTestConnection {
public:
    explicit QZMetricsTestConnection(const std::string& path)
    {
        if (sqlite3_open(path.c_str(), &connection_) != SQLITE_OK) throw std::runtime_error("cannot open " + path);
    }
    ~QZMetricsTestConnection() { sqlite3_close_v2(connection_); }
    QZMetricsTestConnection(const QZMetricsTestConnection&) = delete;
    QZMetricsTestConnection& operator=(const QZMetricsTestConnection&) = delete;

    void exec(const std::string& sql)
    {
        char* message = nullptr;
        if (sqlite3_exec(connection_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            std::string text = message ? message : "?";
            sqlite3_free(message);
            throw std::runtime_error(sql + ": " + text);
        }
    }

    // Every row of the query, columns as text ("NULL" for null).
    std::vector<std::vector<std::string>> rows(const std::string& sql)
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(connection_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(connection_));
        std::vector<std::vector<std::string>> result;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int column = 0; column < sqlite3_column_count(statement); ++column) {
                const unsigned char* text = sqlite3_column_text(statement, column);
                row.push_back(text ? reinterpret_cast<const char*>(text) : "NULL");
            }
            result.push_back(std::move(row));
        }
        sqlite3_finalize(statement);
        return result;
    }

    std::string value(const std::string& sql)
    {
        auto result = rows(sql);
        return result.empty() || result[0].empty() ? "(no row)" : result[0][0];
    }

private:
    sqlite3* connection_ = nullptr;
};
