#include "CoreData/SQLiteStore.h"

#include "CoreData/CoreDataErrors.h"
#include "Foundation/NSUUID.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <set>

namespace {

// Saves of another coordinator on the same file hold the write lock briefly; wait for them.
constexpr int kBusyTimeoutMilliseconds = 30000;

struct Column {
    std::string name;
    std::string type;
    std::shared_ptr<NSPropertyDescription> property;
};

std::string quoted(const std::string& identifier)
{
    std::string text = "\"";
    for (char c : identifier) text += c == '"' ? std::string("\"\"") : std::string(1, c);
    return text + "\"";
}

std::string tableName(const NSEntityDescription& entity)
{
    return quoted("E_" + entity.rootEntity()->name());
}

std::string declaredType(const NSPropertyDescription& property)
{
    auto* attribute = dynamic_cast<const NSAttributeDescription*>(&property);
    if (!attribute) return "REFERENCE";
    switch (attribute->attributeType()) {
    case NSAttributeType::String: return "TEXT";
    case NSAttributeType::Integer64: return "INTEGER";
    case NSAttributeType::Double: return "REAL";
    case NSAttributeType::Boolean: return "BOOLEAN";
    case NSAttributeType::Date: return "TIMESTAMP";
    case NSAttributeType::BinaryData: return "BLOB";
    case NSAttributeType::Transformable: return "TRANSFORMABLE";
    }
    return "BLOB";
}

std::string columnName(const NSPropertyDescription& property)
{
    return (dynamic_cast<const NSAttributeDescription*>(&property) ? "A_" : "R_") + property.name();
}

void collectHierarchy(const std::shared_ptr<NSEntityDescription>& entity,
                      std::vector<std::shared_ptr<NSEntityDescription>>& out)
{
    out.push_back(entity);
    for (const auto& sub : entity->subentities()) collectHierarchy(sub, out);
}

// Every stored column of the hierarchy under `root`, in declaration order.
std::vector<Column> columnsOf(const std::shared_ptr<NSEntityDescription>& root)
{
    std::vector<std::shared_ptr<NSEntityDescription>> hierarchy;
    collectHierarchy(root, hierarchy);
    std::vector<Column> columns;
    std::set<std::string> seen;
    for (const auto& entity : hierarchy) {
        for (const auto& property : entity->ownProperties()) {
            auto* relationship = dynamic_cast<const NSRelationshipDescription*>(property.get());
            if (relationship && relationship->isToMany()) continue;
            std::string name = columnName(*property);
            if (seen.insert(name).second) columns.push_back({name, declaredType(*property), property});
        }
    }
    return columns;
}

std::shared_ptr<NSError> sqliteError(sqlite3* db, NSInteger code, const std::string& what)
{
    std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    return NSCoreDataError(code, what + ": " + message);
}

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) { sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr); }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return statement_; }
    explicit operator bool() const { return statement_ != nullptr; }

private:
    sqlite3_stmt* statement_ = nullptr;
};

void bindValue(sqlite3_stmt* statement, int index, const Value& value)
{
    switch (value.kind()) {
    case Value::Kind::Bool: sqlite3_bind_int64(statement, index, value.boolValue() ? 1 : 0); break;
    case Value::Kind::Integer: sqlite3_bind_int64(statement, index, value.longLongValue()); break;
    case Value::Kind::Real: sqlite3_bind_double(statement, index, value.doubleValue()); break;
    case Value::Kind::String: {
        const std::string* text = value.asString();
        sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
        break;
    }
    case Value::Kind::Date: sqlite3_bind_double(statement, index, value.asDate()->timeIntervalSince1970); break;
    case Value::Kind::Data: {
        const Value::Data* bytes = value.asData();
        sqlite3_bind_blob(statement, index, bytes->empty() ? "" : static_cast<const void*>(bytes->data()),
                          static_cast<int>(bytes->size()), SQLITE_TRANSIENT);
        break;
    }
    default: sqlite3_bind_null(statement, index); break;
    }
}

Value readValue(sqlite3_stmt* statement, int index, const NSPropertyDescription& property)
{
    if (sqlite3_column_type(statement, index) == SQLITE_NULL) return {};
    auto* attribute = dynamic_cast<const NSAttributeDescription*>(&property);
    if (!attribute) return Value(static_cast<std::int64_t>(sqlite3_column_int64(statement, index)));
    auto blob = [&] {
        auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement, index));
        return Value::Data(bytes, bytes + sqlite3_column_bytes(statement, index));
    };
    switch (attribute->attributeType()) {
    case NSAttributeType::String:
        return Value(std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, index)),
                                 sqlite3_column_bytes(statement, index)));
    case NSAttributeType::Integer64: return Value(static_cast<std::int64_t>(sqlite3_column_int64(statement, index)));
    case NSAttributeType::Double: return Value(sqlite3_column_double(statement, index));
    case NSAttributeType::Boolean: return Value(sqlite3_column_int64(statement, index) != 0);
    case NSAttributeType::Date: return Value::date(sqlite3_column_double(statement, index));
    case NSAttributeType::BinaryData: return Value(blob());
    case NSAttributeType::Transformable:
        return attribute->valueTransformer() ? attribute->valueTransformer()->reverseTransformedValue(Value(blob()))
                                             : Value();
    }
    return {};
}

}  // namespace

std::unique_ptr<SQLiteStore> SQLiteStore::open(const std::string& path, std::shared_ptr<NSManagedObjectModel> model,
                                               const Value& options, std::shared_ptr<NSError>* error)
{
    // SQLite would read the pages of a "-wal" left beside a file that is no database and take
    // the pair for a store: a file must show the database header itself.
    if (path != ":memory:") {
        std::ifstream file(path, std::ios::binary);
        char header[16] = {};
        if (file && file.peek() != std::char_traits<char>::eof() &&
            (!file.read(header, sizeof header) || std::memcmp(header, "SQLite format 3", 16) != 0)) {
            NSError::assign(error, NSCoreDataError(NSFileReadCorruptFileError, "the file at " + path + " is no store"));
            return nullptr;
        }
    }
    std::unique_ptr<SQLiteStore> store(new SQLiteStore);
    store->path_ = path;
    store->model_ = std::move(model);
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(path.c_str(), &store->db_, flags, nullptr) != SQLITE_OK) {
        NSError::assign(error, sqliteError(store->db_, NSFileReadUnknownError, "cannot open the store at " + path));
        return nullptr;
    }
    sqlite3_busy_timeout(store->db_, kBusyTimeoutMilliseconds);
    if (!store->prepareSchema(options, error)) return nullptr;
    return store;
}

SQLiteStore::~SQLiteStore()
{
    sqlite3_close_v2(db_);
}

bool SQLiteStore::execute(const std::string& sql, std::shared_ptr<NSError>* error, NSInteger code)
{
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    int result = sqlite3_errcode(db_);
    if (result == SQLITE_NOTADB || result == SQLITE_CORRUPT) code = NSFileReadCorruptFileError;
    NSError::assign(error, sqliteError(db_, code, "store " + path_));
    return false;
}

bool SQLiteStore::prepareSchema(const Value& options, std::shared_ptr<NSError>* error)
{
    // Reading the schema first tells a file that is no database from one that is.
    if (!execute("SELECT count(*) FROM sqlite_master", error, NSFileReadUnknownError)) return false;
    if (path_ != ":memory:") {
        Value pragmas = options["NSSQLitePragmasOption"];
        if (!pragmas.isDictionary()) pragmas = Value::dictionary();
        if (pragmas["journal_mode"].isNil()) pragmas.setObject("WAL", "journal_mode");
        for (const auto& key : pragmas.allKeys()) {
            bool plainName = !key.empty() && std::all_of(key.begin(), key.end(),
                                                         [](unsigned char c) { return std::isalnum(c) || c == '_'; });
            std::string value = pragmas[key].stringValue();
            if (!plainName || value.find('\'') != std::string::npos) {
                NSError::assign(error, NSCoreDataError(NSPersistentStoreInvalidTypeError, "bad SQLite pragma " + key));
                return false;
            }
            if (!execute("PRAGMA " + key + " = '" + value + "'", error, NSFileReadUnknownError)) return false;
        }
    }

    std::set<std::string> tables;
    {
        Statement list(db_, "SELECT name FROM sqlite_master WHERE type = 'table'");
        while (list && sqlite3_step(list.get()) == SQLITE_ROW)
            tables.insert(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 0)));
    }
    bool isNew = !tables.count("Z_METADATA");
    std::vector<std::string> changes;
    std::set<std::string> modelTables;
    for (const auto& entity : model_->entities()) {
        if (entity->superentity()) continue;
        std::string table = "E_" + entity->name();
        modelTables.insert(table);
        auto columns = columnsOf(entity);
        if (!tables.count(table)) {
            std::string sql =
                "CREATE TABLE " + quoted(table) + " (Z_PK INTEGER PRIMARY KEY AUTOINCREMENT, Z_ENT TEXT NOT NULL";
            for (const auto& c : columns) sql += ", " + quoted(c.name) + " " + c.type;
            changes.push_back(sql + ")");
            continue;
        }
        std::map<std::string, std::string> existing;
        Statement info(db_, "PRAGMA table_info(" + quoted(table) + ")");
        while (info && sqlite3_step(info.get()) == SQLITE_ROW)
            existing[reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1))] =
                reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2));
        existing.erase("Z_PK");
        existing.erase("Z_ENT");
        for (const auto& c : columns) {
            auto it = existing.find(c.name);
            if (it == existing.end()) {
                changes.push_back("ALTER TABLE " + quoted(table) + " ADD COLUMN " + quoted(c.name) + " " + c.type);
            } else if (it->second != c.type) {
                NSError::assign(error, NSCoreDataError(NSPersistentStoreIncompatibleVersionHashError,
                                                       "the store's " + table + "." + c.name + " holds " + it->second +
                                                           ", the model asks for " + c.type));
                return false;
            }
            if (it != existing.end()) existing.erase(it);
        }
        if (!existing.empty()) {
            NSError::assign(error, NSCoreDataError(NSPersistentStoreIncompatibleVersionHashError,
                                                   "the model has no property for the store's " + table + "." +
                                                       existing.begin()->first));
            return false;
        }
    }
    for (const auto& table : tables) {
        if (table.starts_with("E_") && !modelTables.count(table)) {
            NSError::assign(error, NSCoreDataError(NSPersistentStoreIncompatibleVersionHashError,
                                                   "the model has no entity for the store's table " + table));
            return false;
        }
    }
    bool migrates = options["NSMigratePersistentStoresAutomaticallyOption"].boolValue() &&
                    options["NSInferMappingModelAutomaticallyOption"].boolValue();
    if (!isNew && !changes.empty() && !migrates) {
        NSError::assign(error, NSCoreDataError(NSPersistentStoreIncompatibleVersionHashError,
                                               "the store needs migrating to the model and migration is off"));
        return false;
    }
    if (!execute("BEGIN IMMEDIATE", error, NSFileReadUnknownError)) return false;
    if (isNew) {
        changes.insert(changes.begin(), "CREATE TABLE Z_METADATA (key TEXT PRIMARY KEY, value TEXT)");
        changes.push_back("INSERT INTO Z_METADATA VALUES ('identifier', '" + NSUUID::UUID()->UUIDString() + "')");
    }
    for (const auto& sql : changes) {
        if (!execute(sql, error, NSPersistentStoreIncompatibleVersionHashError)) {
            rollback();
            return false;
        }
    }
    if (!execute("COMMIT", error, NSFileReadUnknownError)) {
        rollback();
        return false;
    }
    createIndexes();
    Statement read(db_, "SELECT value FROM Z_METADATA WHERE key = 'identifier'");
    if (read && sqlite3_step(read.get()) == SQLITE_ROW)
        identifier_ = reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 0));
    if (identifier_.empty()) {
        NSError::assign(error,
                        NSCoreDataError(NSFileReadCorruptFileError, "the store " + path_ + " has no identifier"));
        return false;
    }
    return true;
}

void SQLiteStore::createIndexes()
{
    std::set<std::string> present;
    {
        Statement list(db_, "SELECT name FROM sqlite_master WHERE type = 'index'");
        while (list && sqlite3_step(list.get()) == SQLITE_ROW)
            present.insert(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 0)));
    }
    for (const auto& entity : model_->entities()) {
        if (entity->superentity()) continue;
        const std::string table = "E_" + entity->name();
        for (const auto& column : columnsOf(entity)) {
            auto* attribute = dynamic_cast<const NSAttributeDescription*>(column.property.get());
            // A to-one reference is how its to-many inverse is read, and an indexed attribute how
            // objects are found by their value.
            if (attribute && !attribute->isIndexed()) continue;
            const std::string index = "I_" + table + "_" + column.name;
            if (present.count(index)) continue;
            // Only a help to reading: a store that cannot take it (read-only, busy) works without.
            sqlite3_exec(db_,
                         ("CREATE INDEX IF NOT EXISTS " + quoted(index) + " ON " + quoted(table) + " (" +
                          quoted(column.name) + ")")
                             .c_str(),
                         nullptr, nullptr, nullptr);
        }
    }
}

std::vector<StoredRow> SQLiteStore::selectRows(const std::vector<std::shared_ptr<NSEntityDescription>>& entities,
                                               const std::string& condition,
                                               const std::function<void(sqlite3_stmt*, int)>& bindCondition,
                                               std::shared_ptr<NSError>* error)
{
    std::vector<StoredRow> result;
    if (entities.empty()) return result;
    std::string sql = "SELECT * FROM " + tableName(*entities.front()) + " WHERE Z_ENT IN (";
    for (std::size_t i = 0; i < entities.size(); ++i) sql += i ? ", ?" : "?";
    sql += ")";
    if (!condition.empty()) sql += " AND " + condition;
    Statement select(db_, sql + " ORDER BY Z_PK");
    if (!select) {
        NSError::assign(error, sqliteError(db_, NSFileReadUnknownError, "fetch"));
        return result;
    }
    for (std::size_t i = 0; i < entities.size(); ++i)
        sqlite3_bind_text(select.get(), static_cast<int>(i + 1), entities[i]->name().c_str(), -1, SQLITE_TRANSIENT);
    if (bindCondition) bindCondition(select.get(), static_cast<int>(entities.size() + 1));
    int step;
    while ((step = sqlite3_step(select.get())) == SQLITE_ROW) {
        StoredRow row = readRow(select.get(), *entities.front());
        if (row.entity) result.push_back(std::move(row));
    }
    if (step != SQLITE_DONE) NSError::assign(error, sqliteError(db_, NSFileReadUnknownError, "fetch"));
    return result;
}

std::vector<StoredRow> SQLiteStore::rowsWithText(const std::vector<std::shared_ptr<NSEntityDescription>>& entities,
                                                 const NSAttributeDescription& attribute, const std::string& text,
                                                 std::shared_ptr<NSError>* error)
{
    return selectRows(
        entities, quoted(columnName(attribute)) + " = ?",
        [&](sqlite3_stmt* statement, int index) {
            sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        },
        error);
}

std::vector<StoredRow> SQLiteStore::rowsNumbered(const std::vector<std::shared_ptr<NSEntityDescription>>& entities,
                                                 const std::vector<std::int64_t>& numbers,
                                                 std::shared_ptr<NSError>* error)
{
    std::vector<StoredRow> result;
    // In slices, within SQLite's limit on bound values.
    constexpr std::size_t kSlice = 500;
    for (std::size_t start = 0; start < numbers.size(); start += kSlice) {
        const std::size_t end = std::min(numbers.size(), start + kSlice);
        std::string marks;
        for (std::size_t i = start; i < end; ++i) marks += i == start ? "?" : ", ?";
        std::vector<StoredRow> slice = selectRows(
            entities, "Z_PK IN (" + marks + ")",
            [&](sqlite3_stmt* statement, int index) {
                for (std::size_t i = start; i < end; ++i)
                    sqlite3_bind_int64(statement, index + static_cast<int>(i - start), numbers[i]);
            },
            error);
        if (error && *error) return {};
        for (auto& row : slice) result.push_back(std::move(row));
    }
    std::sort(result.begin(), result.end(), [](const StoredRow& a, const StoredRow& b) { return a.row < b.row; });
    return result;
}

StoredRow SQLiteStore::readRow(void* rawStatement, const NSEntityDescription& root)
{
    auto* statement = static_cast<sqlite3_stmt*>(rawStatement);
    StoredRow row;
    row.row = sqlite3_column_int64(statement, 0);
    std::string entityName = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
    row.entity = model_->entityNamed(entityName);
    if (!row.entity) return row;
    auto properties = row.entity->propertiesByName();
    int count = sqlite3_column_count(statement);
    for (int i = 2; i < count; ++i) {
        std::string column = sqlite3_column_name(statement, i);
        auto it = properties.find(column.substr(2));
        if (it == properties.end() || columnName(*it->second) != column) continue;
        row.values[it->first] = readValue(statement, i, *it->second);
    }
    (void)root;
    return row;
}

std::vector<StoredRow> SQLiteStore::rows(const std::vector<std::shared_ptr<NSEntityDescription>>& entities,
                                         std::shared_ptr<NSError>* error)
{
    return selectRows(entities, "", nullptr, error);
}

std::optional<StoredRow> SQLiteStore::row(const NSEntityDescription& entity, std::int64_t row)
{
    Statement select(db_, "SELECT * FROM " + tableName(entity) + " WHERE Z_PK = ?");
    if (!select) return std::nullopt;
    sqlite3_bind_int64(select.get(), 1, row);
    if (sqlite3_step(select.get()) != SQLITE_ROW) return std::nullopt;
    StoredRow stored = readRow(select.get(), entity);
    if (!stored.entity) return std::nullopt;
    return stored;
}

std::vector<StoredRow> SQLiteStore::rowsReferencing(const NSRelationshipDescription& relationship, std::int64_t row)
{
    std::vector<StoredRow> result;
    auto entity = relationship.entity();
    if (!entity) return result;
    Statement select(db_, "SELECT * FROM " + tableName(*entity) + " WHERE " + quoted(columnName(relationship)) +
                              " = ? ORDER BY Z_PK");
    if (!select) return result;
    sqlite3_bind_int64(select.get(), 1, row);
    while (sqlite3_step(select.get()) == SQLITE_ROW) {
        StoredRow stored = readRow(select.get(), *entity);
        if (stored.entity && stored.entity->isKindOfEntity(*entity)) result.push_back(std::move(stored));
    }
    return result;
}

bool SQLiteStore::begin(std::shared_ptr<NSError>* error)
{
    return execute("BEGIN IMMEDIATE", error, NSPersistentStoreSaveError);
}

bool SQLiteStore::commit(std::shared_ptr<NSError>* error)
{
    return execute("COMMIT", error, NSPersistentStoreSaveError);
}

void SQLiteStore::rollback()
{
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::optional<std::int64_t> SQLiteStore::insert(const NSEntityDescription& entity,
                                                const std::map<std::string, Value>& values,
                                                std::shared_ptr<NSError>* error)
{
    std::string columns = "Z_ENT";
    std::string marks = "?";
    std::vector<const Value*> bound;
    auto properties = entity.propertiesByName();
    for (const auto& [name, value] : values) {
        auto it = properties.find(name);
        if (it == properties.end()) continue;
        columns += ", " + quoted(columnName(*it->second));
        marks += ", ?";
        bound.push_back(&value);
    }
    Statement statement(db_, "INSERT INTO " + tableName(entity) + " (" + columns + ") VALUES (" + marks + ")");
    if (!statement) {
        NSError::assign(error, sqliteError(db_, NSPersistentStoreSaveError, "insert " + entity.name()));
        return std::nullopt;
    }
    sqlite3_bind_text(statement.get(), 1, entity.name().c_str(), -1, SQLITE_TRANSIENT);
    for (std::size_t i = 0; i < bound.size(); ++i) bindValue(statement.get(), static_cast<int>(i + 2), *bound[i]);
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        NSError::assign(error, sqliteError(db_, NSPersistentStoreSaveError, "insert " + entity.name()));
        return std::nullopt;
    }
    return sqlite3_last_insert_rowid(db_);
}

bool SQLiteStore::update(const NSEntityDescription& entity, std::int64_t row,
                         const std::map<std::string, Value>& values, std::shared_ptr<NSError>* error)
{
    if (values.empty()) return true;
    std::string assignments;
    std::vector<const Value*> bound;
    auto properties = entity.propertiesByName();
    for (const auto& [name, value] : values) {
        auto it = properties.find(name);
        if (it == properties.end()) continue;
        assignments += (assignments.empty() ? "" : ", ") + quoted(columnName(*it->second)) + " = ?";
        bound.push_back(&value);
    }
    if (bound.empty()) return true;
    Statement statement(db_, "UPDATE " + tableName(entity) + " SET " + assignments + " WHERE Z_PK = ?");
    if (!statement) {
        NSError::assign(error, sqliteError(db_, NSPersistentStoreSaveError, "update " + entity.name()));
        return false;
    }
    for (std::size_t i = 0; i < bound.size(); ++i) bindValue(statement.get(), static_cast<int>(i + 1), *bound[i]);
    sqlite3_bind_int64(statement.get(), static_cast<int>(bound.size() + 1), row);
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        NSError::assign(error, sqliteError(db_, NSPersistentStoreSaveError, "update " + entity.name()));
        return false;
    }
    return true;
}

bool SQLiteStore::remove(const NSEntityDescription& entity, std::int64_t row, std::shared_ptr<NSError>* error)
{
    Statement statement(db_, "DELETE FROM " + tableName(entity) + " WHERE Z_PK = ?");
    if (statement) sqlite3_bind_int64(statement.get(), 1, row);
    if (!statement || sqlite3_step(statement.get()) != SQLITE_DONE) {
        NSError::assign(error, sqliteError(db_, NSPersistentStoreSaveError, "delete " + entity.name()));
        return false;
    }
    return true;
}

std::string SQLiteStore::journalMode()
{
    Statement statement(db_, "PRAGMA journal_mode");
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW) return {};
    return reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
}

void SQLiteStore::setMaximumPageCount(int pages)
{
    sqlite3_exec(db_, ("PRAGMA max_page_count = " + std::to_string(pages)).c_str(), nullptr, nullptr, nullptr);
}
