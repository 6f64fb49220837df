#pragma once
// The user's defaults: a dictionary of property-list values kept in a binary property list at
// <sandbox root>/Library/Preferences/<bundle identifier>.plist. It is read on first use;
// changes are written by synchronize (and only then), so they survive the process once
// synchronised. Thread-safe.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

class NSUserDefaults : public NSObject {
public:
    static std::shared_ptr<NSUserDefaults> standardUserDefaults();
    // Forgets the shared instance; the next standardUserDefaults reads the file again (for the
    // sandbox root and bundle identifier of that moment).
    static void resetStandardUserDefaults();

    Value objectForKey(std::string_view key) const;
    // Values must be property-list values; others are refused (logged) and nothing is stored.
    // Setting nil removes the key.
    void setObject(const Value& value, std::string_view key);
    void removeObjectForKey(std::string_view key) { setObject(Value(), key); }
    // Writes pending changes; answers whether the file holds them afterwards.
    bool synchronize();

    const std::string& path() const { return path_; }

    using NSObject::NSObject;

private:
    void initWithPath(std::string path);

    std::string path_;
    mutable std::mutex mutex_;
    Value values_ = Value::dictionary();
    bool dirty_ = false;
};
