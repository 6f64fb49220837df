#include "Foundation/NSFileManager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Copies the whole of `from` into `to`, both open; answers 0 or the errno of the failing call.
int copyContents(int from, int to)
{
    char buffer[1 << 16];
    for (;;) {
        ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return ::fsync(to) == 0 ? 0 : errno;
        for (ssize_t done = 0; done < got;) {
            ssize_t wrote = ::write(to, buffer + done, static_cast<size_t>(got - done));
            if (wrote < 0 && errno == EINTR) continue;
            if (wrote <= 0) return wrote < 0 ? errno : EIO;
            done += wrote;
        }
    }
}

// The cross-device replace: a hidden copy beside the destination, renamed over it.
int replaceByCopy(const std::string& destination, const std::string& source)
{
    const std::filesystem::path target(destination);
    std::string hidden = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) return errno;
    int to = ::mkostemp(hidden.data(), O_CLOEXEC);
    if (to < 0) {
        int failure = errno;
        ::close(from);
        return failure;
    }
    struct stat st {};
    int failure = ::fstat(from, &st) == 0 && ::fchmod(to, st.st_mode & 07777) == 0 ? 0 : errno;
    if (failure == 0) failure = copyContents(from, to);
    ::close(from);
    if (::close(to) != 0 && failure == 0) failure = errno;
    if (failure == 0 && ::rename(hidden.c_str(), destination.c_str()) != 0) failure = errno;
    if (failure != 0) {
        ::unlink(hidden.c_str());
        return failure;
    }
    ::unlink(source.c_str());
    return 0;
}

// Moves and copies never replace: anything at the destination, even a dangling link, refuses them.
bool destinationIsFree(const std::string& destination, std::shared_ptr<NSError>* error)
{
    struct stat st {};
    if (::lstat(destination.c_str(), &st) != 0) return true;
    posixError(error, EEXIST, destination);
    return false;
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
    if (!destinationIsFree(destination, error)) return false;
    std::error_code ec;
    std::filesystem::rename(source, destination, ec);
    if (!ec) return true;
    posixError(error, ec.value(), source);
    return false;
}

bool NSFileManager::replaceItemAtPath(const std::string& destination, const std::string& source,
                                      std::shared_ptr<NSError>* error) const
{
    if (::rename(source.c_str(), destination.c_str()) == 0) return true;
    int failure = errno;
    if (failure == EXDEV) failure = replaceByCopy(destination, source);
    if (failure == 0) return true;
    posixError(error, failure, failure == ENOENT ? source : destination);
    return false;
}

bool NSFileManager::copyItemAtPath(const std::string& source, const std::string& destination,
                                   std::shared_ptr<NSError>* error) const
{
    if (!destinationIsFree(destination, error)) return false;
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
