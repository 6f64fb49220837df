#pragma once
// Where the editor keeps files: the temporary, Documents and Application Support directories of
// the app (under the platform's sandbox root) and the content directory "TesselContentPacks" in
// which downloaded packs live. File URLs are given as paths; nullopt stands for no URL.
// Class methods only.

#include <memory>
#include <optional>
#include <string>

#include "Foundation/NSError.h"
#include "Foundation/NSPathUtilities.h"

inline constexpr const char* kQZContentDirectoryName = "TesselContentPacks";

class QZFileSystemUtils {
public:
    static std::string temporaryDirectory();
    static std::optional<std::string> applicationDocumentsDirectory();
    // Application Support plus the app's executable name, made when missing. On failure the
    // failure is reported to analytics and logged, and the result is nullopt.
    static std::optional<std::string> applicationSupportDirectory();
    // The first search path of the directory with the component appended (when not empty), made
    // with its intermediate directories. *error (when given) is set to null on success and to the
    // creation error on failure; it is left alone when the search finds no path.
    static std::optional<std::string> findOrCreateDirectory(NSSearchPathDirectory directory, NSSearchPathDomainMask domain,
                                                            const std::string& component, std::shared_ptr<NSError>* error);
    static std::optional<std::string> currentResourcesDirectory();
    static std::optional<std::string> oldResourcesDirectory();
    // The content directory, resolved once per process: the current one when it is a directory;
    // else an older install's Documents directory moved there; else the current one made afresh.
    // Nullopt when a plain file stands in the way or the directory cannot be made.
    static std::optional<std::string> resourcesDirectoryURL();
    // Makes one directory level (an existing one is fine) and marks it not to be backed up; a
    // failed mark is logged and does not count.
    static bool findOrCreateDirectoryAtURL(const std::string& path);
    // Sets the extended attribute "user.com.apple.MobileBackup" to the byte 1 on an existing item.
    static bool addSkipBackupAttributeToItemAtURL(const std::string& path);
};
