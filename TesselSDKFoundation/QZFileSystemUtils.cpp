#include "TesselSDKFoundation/QZFileSystemUtils.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <filesystem>
#include <mutex>

#include "Foundation/NSBundle.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/NSLog.h"
#include "TesselSDKFoundation/QZAnalytics.h"

namespace {

// Linux keeps attributes that programs may set in the "user." namespace.
constexpr const char* kSkipBackupAttributeName = "user.com.apple.MobileBackup";

// The host's executable name as its bundle states it; a plain executable without an Info.plist
// is named by the running program.
std::string executableName()
{
    std::string name = NSBundle::mainBundle()->infoDictionary()["CFBundleExecutable"].stringValue();
    if (!name.empty()) return name;
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("Tessel") : exe.filename().string();
}

std::optional<std::string> appending(const std::optional<std::string>& directory, const char* component)
{
    if (!directory) return std::nullopt;
    return (std::filesystem::path(*directory) / component).string();
}

}  // namespace

std::string QZFileSystemUtils::temporaryDirectory() { return NSTemporaryDirectory(); }

std::optional<std::string> QZFileSystemUtils::applicationDocumentsDirectory()
{
    std::vector<std::string> paths = NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true);
    if (paths.empty()) return std::nullopt;
    return paths.back();
}

std::optional<std::string> QZFileSystemUtils::applicationSupportDirectory()
{
    std::shared_ptr<NSError> error;
    std::optional<std::string> path =
        findOrCreateDirectory(NSApplicationSupportDirectory, NSUserDomainMask, executableName(), &error);
    if (!path && error) {
        QZAnalytics::reportEvent("applicationSupportDirectoryLocation: Failure",
                                 Value::dictionary({{"error Message", error->description()}}));
        NSLog("Unable to find or create application support directory:\n%@", error);
    }
    return path;
}

std::optional<std::string> QZFileSystemUtils::findOrCreateDirectory(NSSearchPathDirectory directory,
                                                                    NSSearchPathDomainMask domain,
                                                                    const std::string& component,
                                                                    std::shared_ptr<NSError>* error)
{
    std::vector<std::string> paths = NSSearchPathForDirectoriesInDomains(directory, domain, true);
    if (paths.empty()) return std::nullopt;
    std::string path = paths.front();
    if (!component.empty()) path = (std::filesystem::path(path) / component).string();
    std::shared_ptr<NSError> failure;
    if (!NSFileManager::defaultManager()->createDirectoryAtPath(path, true, &failure)) {
        NSError::assign(error, failure);
        return std::nullopt;
    }
    NSError::assign(error, nullptr);
    return path;
}

std::optional<std::string> QZFileSystemUtils::currentResourcesDirectory()
{
    return appending(applicationSupportDirectory(), kQZContentDirectoryName);
}

std::optional<std::string> QZFileSystemUtils::oldResourcesDirectory()
{
    return appending(applicationDocumentsDirectory(), kQZContentDirectoryName);
}

std::optional<std::string> QZFileSystemUtils::resourcesDirectoryURL()
{
    static std::optional<std::string> resolved;
    static std::once_flag once;
    std::call_once(once, [] {
        static const char* method = "__42+[QZFileSystemUtils resourcesDirectoryURL]_block_invoke";
        std::optional<std::string> current = currentResourcesDirectory(), old = oldResourcesDirectory();
        if (!current) return;
        std::shared_ptr<NSFileManager> files = NSFileManager::defaultManager();
        bool isDirectory = false;
        if (files->fileExistsAtPath(*current, &isDirectory)) {
            if (isDirectory)
                resolved = current;
            else
                NSLog("%s %@", method, NSStringWithFormat("Unexpected non-directory item encountered at %@", *current));
            return;
        }
        if (old && files->fileExistsAtPath(*old, &isDirectory) && isDirectory) {
            std::shared_ptr<NSError> error;
            if (files->moveItemAtPath(*old, *current, &error)) {
                resolved = current;
            } else {
                NSLog("%s %@", method,
                      NSStringWithFormat("Error moving resource directory from %@ to %@: %@", *old, *current,
                                         error ? error->userInfo() : Value()));
                resolved = old;
            }
            return;
        }
        if (findOrCreateDirectoryAtURL(*current)) resolved = current;
    });
    return resolved;
}

bool QZFileSystemUtils::findOrCreateDirectoryAtURL(const std::string& path)
{
    static const char* method = "+[QZFileSystemUtils findOrCreateDirectoryAtURL:]";
    int failure = ::mkdir(path.c_str(), 0755) == 0 ? 0 : errno;
    if (failure == 0 || failure == EEXIST) {
        if (!addSkipBackupAttributeToItemAtURL(path))
            NSLog("%s %@", method, NSStringWithFormat("Couldn't add do-not-backup attribute to item at URL: %@", path));
        return true;
    }
    NSLog("%s %@", method, NSStringWithFormat("Error finding or creating resources directory (%i).", failure));
    return false;
}

bool QZFileSystemUtils::addSkipBackupAttributeToItemAtURL(const std::string& path)
{
    if (!NSFileManager::defaultManager()->fileExistsAtPath(path)) return false;
    const unsigned char attributeValue = 1;
    return ::setxattr(path.c_str(), kSkipBackupAttributeName, &attributeValue, sizeof attributeValue, 0) == 0;
}
