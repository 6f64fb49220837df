#pragma once
// A store added to a coordinator: its type, its file and its identifier.

#include "Foundation/NSObject.h"

#include <string>

inline constexpr const char* NSSQLiteStoreType = "SQLite";
inline constexpr const char* NSInMemoryStoreType = "InMemory";

inline constexpr const char* NSMigratePersistentStoresAutomaticallyOption =
    "NSMigratePersistentStoresAutomaticallyOption";
inline constexpr const char* NSInferMappingModelAutomaticallyOption = "NSInferMappingModelAutomaticallyOption";
inline constexpr const char* NSSQLitePragmasOption = "NSSQLitePragmasOption";

class NSPersistentStore : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSPersistentStore> make(std::string type, std::string path, std::string identifier)
    {
        return NSObject::create<NSPersistentStore>([&](NSPersistentStore& s) {
            s.type_ = std::move(type);
            s.path_ = std::move(path);
            s.identifier_ = std::move(identifier);
        });
    }
    const std::string& type() const { return type_; }
    const std::string& path() const { return path_; }
    const std::string& identifier() const { return identifier_; }

private:
    std::string type_;
    std::string path_;
    std::string identifier_;
};
