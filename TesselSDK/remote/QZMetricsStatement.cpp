#include "TesselSDK/remote/QZMetricsStatement.h"

QZMetricsStatement::QZMetricsStatement(sqlite3* connection, const std::string& sql)
{
    prepareResult_ = connection ? sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement_, nullptr) : SQLITE_MISUSE;
    if (prepareResult_ == SQLITE_OK && !statement_) prepareResult_ = SQLITE_MISUSE;  // empty text
}

QZMetricsStatement::~QZMetricsStatement()
{
    sqlite3_finalize(statement_);
}

void QZMetricsStatement::bindText(int index, const std::optional<std::string>& text)
{
    if (!statement_) return;
    if (text)
        sqlite3_bind_text(statement_, index, text->c_str(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
    else
        sqlite3_bind_null(statement_, index);
}

void QZMetricsStatement::bindInt(int index, int value)
{
    if (statement_) sqlite3_bind_int(statement_, index, value);
}

void QZMetricsStatement::bindInt64(int index, std::int64_t value)
{
    if (statement_) sqlite3_bind_int64(statement_, index, value);
}

void QZMetricsStatement::bindDouble(int index, double value)
{
    if (statement_) sqlite3_bind_double(statement_, index, value);
}

int QZMetricsStatement::step()
{
    return statement_ ? sqlite3_step(statement_) : prepareResult_;
}

std::optional<std::string> QZMetricsStatement::columnText(int column) const
{
    const unsigned char* text = sqlite3_column_text(statement_, column);
    if (!text) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

int QZMetricsStatement::columnInt(int column) const
{
    return sqlite3_column_int(statement_, column);
}

std::int64_t QZMetricsStatement::columnInt64(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

double QZMetricsStatement::columnDouble(int column) const
{
    return sqlite3_column_double(statement_, column);
}

bool QZMetricsStatement::columnIsNull(int column) const
{
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}
