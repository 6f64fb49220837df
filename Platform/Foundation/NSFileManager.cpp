#include "Foundation/NSFileManager.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

void posixError(std::shared_ptr<NSError>* error, int code, const std::string& path)
{
    NSError::assign(error, NSError::errorWithDomain(NSPOSIXErrorDomain, code,
                                                    Value::dictionary({{NSLocalizedDescriptionKey, std::strerror(code)},
                                                                       {NSFilePathErrorKey, path}})));
}

}  // namespace

std::shared_ptr<NSFileManager> NSFileManager::defaultManager()
{
    static auto manager = NSObject::create<NSFileManager>();
    return manager;
}

bool NSFileManager::fileExistsAtPath(const std::string& path, bool* isDirectory) const
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    if (isDirectory) *isDirectory = S_ISDIR(st.st_mode);
    return true;
}

bool NSFileManager::createDirectoryAtPath(const std::string& path, bool withIntermediateDirectories,
                                          std::shared_ptr<NSError>* error) const
{
    std::error_code ec;
    if (withIntermediateDirectories) {
        std::filesystem::create_directories(path, ec);
        if (!ec && std::filesystem::is_directory(path, ec)) return true;
        posixError(error, ec ? ec.value() : EEXIST, path);
        return false;
    }
    if (::mkdir(path.c_str(), 0755) == 0) return true;
    posixError(error, errno, path);
    return false;
}

bool NSFileManager::moveItemAtPath(const std::string& source, const std::string& destination,
                                   std::shared_ptr<NSError>* error) const
{
    struct stat st {};
    if (::lstat(destination.c_str(), &st) == 0) {
        posixError(error, EEXIST, destination);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(source, destination, ec);
    if (!ec) return true;
    posixError(error, ec.value(), source);
    return false;
}

bool NSFileManager::copyItemAtPath(const std::string& source, const std::string& destination,
                                   std::shared_ptr<NSError>* error) const
{
    struct stat st {};
    if (::lstat(destination.c_str(), &st) == 0) {
        posixError(error, EEXIST, destination);
        return false;
    }
    std::error_code ec;
    std::filesystem::copy(source, destination, std::filesystem::copy_options::recursive, ec);
    if (!ec) return true;
    posixError(error, ec.value(), source);
    return false;
}

bool NSFileManager::removeItemAtPath(const std::string& path, std::shared_ptr<NSError>* error) const
{
    std::error_code ec;
    auto removed = std::filesystem::remove_all(path, ec);
    if (!ec && removed > 0) return true;
    posixError(error, ec ? ec.value() : ENOENT, path);
    return false;
}

std::vector<std::string> NSFileManager::contentsOfDirectoryAtPath(const std::string& path,
                                                                  std::shared_ptr<NSError>* error) const
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    if (ec) {
        posixError(error, ec.value(), path);
        return {};
    }
    std::sort(names.begin(), names.end());
    return names;
}
