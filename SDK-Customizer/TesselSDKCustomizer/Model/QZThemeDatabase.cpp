#include "Model/QZThemeDatabase.h"

#include <algorithm>
#include <vector>

namespace customizer {
namespace {

const char* const kColumns[] = {"name", "red", "green", "blue", "alpha", "flag"};

bool isNumber(const QZSQLiteStatement& row, int column)
{
    int type = row.columnType(column);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

QZAttributeValue valueOfRow(const QZSQLiteStatement& row, QZAttributeKind kind)
{
    if (kind == QZAttributeKind::Flag) {
        if (!isNumber(row, 5)) return {};
        return row.columnDouble(5) != 0;
    }
    for (int column = 1; column <= 4; ++column)
        if (!isNumber(row, column)) return {};
    return NSColor::colorWithCalibratedRed(row.columnDouble(1), row.columnDouble(2), row.columnDouble(3),
                                           row.columnDouble(4));
}

bool bindValue(QZSQLiteStatement& insert, const QZAttributeValue& value)
{
    if (const auto* color = std::get_if<NSColorPtr>(&value)) {
        const NSColor& c = **color;
        return insert.bindDouble(2, c.redComponent()) == SQLITE_OK &&
               insert.bindDouble(3, c.greenComponent()) == SQLITE_OK &&
               insert.bindDouble(4, c.blueComponent()) == SQLITE_OK &&
               insert.bindDouble(5, c.alphaComponent()) == SQLITE_OK;
    }
    return insert.bindInteger(6, std::get<bool>(value) ? 1 : 0) == SQLITE_OK;
}

}  // namespace

std::optional<std::string> QZCheckThemeDatabase(QZSQLiteDatabase& database)
{
    std::string error;
    std::optional<int64_t> applicationID = database.queryInteger("PRAGMA application_id", &error);
    if (!applicationID) return error;
    if (*applicationID != kQZThemeApplicationID) return database.path() + ": is no theme file of this program";
    std::optional<int64_t> version = database.queryInteger("PRAGMA user_version", &error);
    if (!version) return error;
    if (*version > kQZThemeSchemaVersion)
        return database.path() + ": was written by a newer version of this program (schema " +
               std::to_string(*version) + ")";

    QZSQLiteStatement table = database.prepare("SELECT type, sql FROM sqlite_schema WHERE name = 'attribute'", &error);
    if (!table) return error;
    int status = table.step();
    if (status != SQLITE_ROW && status != SQLITE_DONE) return database.lastError();
    if (status != SQLITE_ROW || table.columnText(0) != "table" || table.columnText(1).rfind("CREATE TABLE", 0) != 0)
        return database.path() + ": holds no attribute table";

    QZSQLiteStatement columns =
        database.prepare("SELECT name FROM pragma_table_info('attribute') ORDER BY cid", &error);
    if (!columns) return error;
    std::vector<std::string> names;
    while ((status = columns.step()) == SQLITE_ROW) names.push_back(columns.columnText(0));
    if (status != SQLITE_DONE) return database.lastError();
    if (!std::equal(names.begin(), names.end(), std::begin(kColumns), std::end(kColumns)))
        return database.path() + ": its attribute table has other columns";

    QZSQLiteStatement check = database.prepare("PRAGMA quick_check", &error);
    if (!check) return error;
    status = check.step();
    if (status != SQLITE_ROW) return database.lastError();
    if (check.columnText(0) != "ok") return database.path() + ": is damaged (" + check.columnText(0) + ")";
    return std::nullopt;
}

bool QZCreateThemeSchema(QZSQLiteDatabase& database, std::string* error)
{
    std::string header = "PRAGMA application_id = " + std::to_string(kQZThemeApplicationID) + ";" +
                         "PRAGMA user_version = " + std::to_string(kQZThemeSchemaVersion) + ";";
    return database.execute("PRAGMA journal_mode = DELETE;" + header +
                                "CREATE TABLE attribute (name TEXT PRIMARY KEY NOT NULL, red REAL, green REAL, "
                                "blue REAL, alpha REAL, flag INTEGER);",
                            error);
}

std::optional<OverallAppearance> QZReadThemeRecord(QZSQLiteDatabase& database, std::string* error)
{
    QZSQLiteStatement rows = database.prepare("SELECT name, red, green, blue, alpha, flag FROM attribute", error);
    if (!rows) return std::nullopt;
    OverallAppearance record;
    int status;
    while ((status = rows.step()) == SQLITE_ROW) {
        std::optional<QZAttribute> attribute = QZAttributeNamed(rows.columnText(0));
        if (!attribute) continue;
        record.setValue(*attribute, valueOfRow(rows, QZDescriptionOf(*attribute).kind));
    }
    if (status != SQLITE_DONE) {
        if (error) *error = database.lastError();
        return std::nullopt;
    }
    return record;
}

bool QZWriteThemeChanges(QZSQLiteDatabase& database, const OverallAppearance& from, const OverallAppearance& to,
                         std::string* error)
{
    if (!database.execute("BEGIN IMMEDIATE", error)) return false;
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        database.execute("ROLLBACK", nullptr);
        return false;
    };
    QZSQLiteStatement remove = database.prepare("DELETE FROM attribute WHERE name = ?1", error);
    QZSQLiteStatement insert = database.prepare(
        "INSERT INTO attribute (name, red, green, blue, alpha, flag) VALUES (?1, ?2, ?3, ?4, ?5, ?6)", error);
    if (!remove || !insert) return fail(error ? *error : std::string());
    for (const QZAttributeDescription& attribute : QZAppearanceAttributes()) {
        const QZAttributeValue& value = to.primitiveValue(attribute.attribute);
        if (QZAttributeValuesEqual(from.primitiveValue(attribute.attribute), value)) continue;
        remove.reset();
        if (remove.bindText(1, attribute.name) != SQLITE_OK || remove.step() != SQLITE_DONE)
            return fail(database.lastError());
        if (std::holds_alternative<std::monostate>(value)) continue;
        insert.reset();
        insert.clearBindings();
        if (insert.bindText(1, attribute.name) != SQLITE_OK || !bindValue(insert, value) ||
            insert.step() != SQLITE_DONE)
            return fail(database.lastError());
    }
    if (!database.execute("COMMIT", error)) return fail(error ? *error : std::string());
    return true;
}

std::optional<OverallAppearance> QZReadThemeFile(const std::string& path, std::string* error)
{
    std::unique_ptr<QZSQLiteDatabase> database = QZSQLiteDatabase::open(path, QZSQLiteDatabase::Mode::ReadOnly, error);
    if (!database) return std::nullopt;
    if (std::optional<std::string> refusal = QZCheckThemeDatabase(*database)) {
        if (error) *error = *refusal;
        return std::nullopt;
    }
    return QZReadThemeRecord(*database, error);
}

bool QZValidateThemeFile(const std::string& path, std::string* error)
{
    std::unique_ptr<QZSQLiteDatabase> database = QZSQLiteDatabase::open(path, QZSQLiteDatabase::Mode::ReadOnly, error);
    if (!database) return false;
    std::optional<std::string> refusal = QZCheckThemeDatabase(*database);
    if (refusal && error) *error = *refusal;
    return !refusal;
}

}  // namespace customizer
