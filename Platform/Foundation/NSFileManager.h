#pragma once
// The file operations the editor and its stores perform, with the platform's error reporting (NSError out
// parameters, NSPOSIXErrorDomain codes from the failing call).

#include "Foundation/NSError.h"
#include "Foundation/NSObject.h"

#include <memory>
#include <string>
#include <vector>

class NSFileManager : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSFileManager> defaultManager();

    bool fileExistsAtPath(const std::string& path, bool* isDirectory = nullptr) const;
    bool createDirectoryAtPath(const std::string& path, bool withIntermediateDirectories,
                               std::shared_ptr<NSError>* error = nullptr) const;
    // Fails when the destination exists, as the platform does.
    bool moveItemAtPath(const std::string& source, const std::string& destination,
                        std::shared_ptr<NSError>* error = nullptr) const;
    // Puts the file at `source` in the place of `destination`, which may exist, in one rename(2):
    // a reader of the destination sees the old file or the new one, never a part of either. Across
    // file systems the source is first copied into a hidden file beside the destination, which is
    // then renamed. On failure the destination is as it was and no hidden file is left; on
    // success the source is gone.
    bool replaceItemAtPath(const std::string& destination, const std::string& source,
                           std::shared_ptr<NSError>* error = nullptr) const;
    // Copies a file or a directory tree; fails when the destination exists, as the platform does.
    bool copyItemAtPath(const std::string& source, const std::string& destination,
                        std::shared_ptr<NSError>* error = nullptr) const;
    bool removeItemAtPath(const std::string& path, std::shared_ptr<NSError>* error = nullptr) const;
    // Names (not paths) of the entries, sorted.
    std::vector<std::string> contentsOfDirectoryAtPath(const std::string& path,
                                                       std::shared_ptr<NSError>* error = nullptr) const;
};
