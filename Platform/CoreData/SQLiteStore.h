#pragma once
// Private to the object store: one SQLite connection and the table layout.
//
// Layout: an entity hierarchy shares one table, "E_<root entity>", with the row number Z_PK
// (never reused), the concrete entity's name Z_ENT, a column "A_<name>" per attribute of any
// entity of the hierarchy and "R_<name>" per to-one relationship (the destination's row). A
// to-many relationship has no column: its destinations are the rows whose inverse column names
// the source. Z_METADATA holds the store's identifier. Declared column types name the attribute
// type, so that opening a store of another model is recognised.

#include "CoreData/NSEntityDescription.h"
#include "CoreData/NSManagedObjectModel.h"
#include "Foundation/NSError.h"
#include "Foundation/Value.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

struct StoredRow {
    std::int64_t row = 0;
    std::shared_ptr<NSEntityDescription> entity;  // the concrete entity
    // Attributes as their types read; to-one relationships as the destination's row (or nil).
    std::map<std::string, Value> values;
};

class SQLiteStore {
public:
    // `path` ":memory:" opens an in-memory store. Options: NSMigratePersistentStoresAutomatically
    // and NSInferMappingModelAutomatically (both needed to add tables and columns to an existing
    // store), NSSQLitePragmas (journal_mode WAL unless given).
    static std::unique_ptr<SQLiteStore> open(const std::string& path, std::shared_ptr<NSManagedObjectModel> model,
                                             const Value& options, std::shared_ptr<NSError>* error);
    ~SQLiteStore();

    const std::string& identifier() const { return identifier_; }
    const std::string& path() const { return path_; }

    // The rows of these entities (a hierarchy's root first), in row order; all of them, or those
    // whose string attribute holds exactly `text`, or those of the given numbers.
    std::vector<StoredRow> rows(const std::vector<std::shared_ptr<NSEntityDescription>>& entities,
                                std::shared_ptr<NSError>* error);
    std::vector<StoredRow> rowsWithText(const std::vector<std::shared_ptr<NSEntityDescription>>& entities,
                                        const NSAttributeDescription& attribute, const std::string& text,
                                        std::shared_ptr<NSError>* error);
    std::vector<StoredRow> rowsNumbered(const std::vector<std::shared_ptr<NSEntityDescription>>& entities,
                                        const std::vector<std::int64_t>& numbers, std::shared_ptr<NSError>* error);
    std::optional<StoredRow> row(const NSEntityDescription& entity, std::int64_t row);
    // Rows whose to-one `relationship` names `row`.
    std::vector<StoredRow> rowsReferencing(const NSRelationshipDescription& relationship, std::int64_t row);

    bool begin(std::shared_ptr<NSError>* error);
    bool commit(std::shared_ptr<NSError>* error);
    void rollback();
    // Values are already of their attribute's stored kind (see storedValue); to-ones are rows.
    std::optional<std::int64_t> insert(const NSEntityDescription& entity, const std::map<std::string, Value>& values,
                                       std::shared_ptr<NSError>* error);
    bool update(const NSEntityDescription& entity, std::int64_t row, const std::map<std::string, Value>& values,
                std::shared_ptr<NSError>* error);
    bool remove(const NSEntityDescription& entity, std::int64_t row, std::shared_ptr<NSError>* error);

    std::string journalMode();
    void setMaximumPageCount(int pages);

private:
    SQLiteStore() = default;
    bool prepareSchema(const Value& options, std::shared_ptr<NSError>* error);
    // An index on every to-one reference column and every indexed attribute's column ("I_<table>_
    // <column>"), made where missing.
    void createIndexes();
    std::vector<StoredRow> selectRows(const std::vector<std::shared_ptr<NSEntityDescription>>& entities,
                                      const std::string& condition,
                                      const std::function<void(sqlite3_stmt*, int)>& bindCondition,
                                      std::shared_ptr<NSError>* error);
    StoredRow readRow(void* statement, const NSEntityDescription& root);
    bool execute(const std::string& sql, std::shared_ptr<NSError>* error, NSInteger code);

    sqlite3* db_ = nullptr;
    std::string path_;
    std::string identifier_;
    std::shared_ptr<NSManagedObjectModel> model_;
};
