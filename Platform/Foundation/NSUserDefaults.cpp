#include "Foundation/NSUserDefaults.h"

#include "Foundation/NSError.h"
#include "Foundation/NSLog.h"
#include "Foundation/PlatformSettings.h"

#include <filesystem>

namespace {

std::mutex& sharedMutex()
{
    static std::mutex m;
    return m;
}
std::shared_ptr<NSUserDefaults>& sharedInstance()
{
    static std::shared_ptr<NSUserDefaults> instance;
    return instance;
}

}  // namespace

void NSUserDefaults::initWithPath(std::string path)
{
    path_ = std::move(path);
    std::error_code ec;
    if (std::filesystem::exists(path_, ec)) {
        std::shared_ptr<NSError> error;
        Value stored = Value::fromPropertyListFile(path_, &error);
        if (stored.isDictionary())
            values_ = stored;
        else
            NSLog("%s %@", "-[NSUserDefaults init]",
                  error ? error->localizedDescription() : std::string("not a dictionary"));
    }
}

std::shared_ptr<NSUserDefaults> NSUserDefaults::standardUserDefaults()
{
    std::lock_guard lock(sharedMutex());
    auto& instance = sharedInstance();
    if (!instance) {
        auto path = std::filesystem::path(PlatformSettings::sandboxRoot()) / "Library" / "Preferences" /
                    (PlatformSettings::bundleIdentifier() + ".plist");
        instance = NSObject::create<NSUserDefaults>(&NSUserDefaults::initWithPath, path.string());
    }
    return instance;
}

void NSUserDefaults::resetStandardUserDefaults()
{
    std::lock_guard lock(sharedMutex());
    sharedInstance().reset();
}

Value NSUserDefaults::objectForKey(std::string_view key) const
{
    std::lock_guard lock(mutex_);
    return values_[key];
}

void NSUserDefaults::setObject(const Value& value, std::string_view key)
{
    if (!value.isNil()) {
        std::shared_ptr<NSError> error;
        if (!value.toPropertyList(NSPropertyListFormat::Binary, &error)) {
            NSLog("%s %@", "-[NSUserDefaults setObject:forKey:]", error->localizedDescription());
            return;
        }
    }
    std::lock_guard lock(mutex_);
    values_.setObject(value, key);
    dirty_ = true;
}

bool NSUserDefaults::synchronize()
{
    std::lock_guard lock(mutex_);
    if (!dirty_) return true;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
    std::shared_ptr<NSError> error;
    if (!values_.writePropertyListToFile(path_, NSPropertyListFormat::Binary, &error)) {
        NSLog("%s %@", "-[NSUserDefaults synchronize]", error->localizedDescription());
        return false;
    }
    dirty_ = false;
    return true;
}
