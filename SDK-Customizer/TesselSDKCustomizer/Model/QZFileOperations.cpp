#include "Model/QZFileOperations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace customizer {
namespace {

bool fail(std::string* error, const std::string& path, int code)
{
    if (error) *error = path + ": " + std::strerror(code);
    return false;
}

// Closes the descriptor when the scope ends.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0) ::close(fd);
    }
};

bool writeAll(int fd, const char* bytes, size_t size)
{
    while (size > 0) {
        ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= size_t(written);
    }
    return true;
}

// The mode a plain new file gets: mkstemp makes its files private, our files are not. The umask
// is read from /proc (setting it to read it would race with other threads making files).
mode_t creationMode()
{
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0) mask = mode_t(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 0666 & ~mask;
}

}  // namespace

std::optional<std::string> QZMakeUniqueFile(const std::string& folder, const std::string& prefix, std::string* error)
{
    std::string pattern = (std::filesystem::path(folder) / (prefix + "XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    Descriptor file{::mkstemp(name.data())};
    if (file.fd < 0) {
        fail(error, pattern, errno);
        return std::nullopt;
    }
    if (::fchmod(file.fd, creationMode()) != 0) {
        int code = errno;
        ::unlink(name.data());
        fail(error, name.data(), code);
        return std::nullopt;
    }
    return std::string(name.data());
}

bool QZSyncFile(const std::string& path, std::string* error)
{
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0 || ::fsync(file.fd) != 0) return fail(error, path, errno);
    return true;
}

bool QZSyncFolder(const std::string& folder, std::string* error)
{
    Descriptor directory{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (directory.fd < 0 || ::fsync(directory.fd) != 0) return fail(error, folder, errno);
    return true;
}

bool QZCopyFileContents(const std::string& from, const std::string& to, std::string* error)
{
    Descriptor source{::open(from.c_str(), O_RDONLY | O_CLOEXEC)};
    if (source.fd < 0) return fail(error, from, errno);
    Descriptor target{::open(to.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC)};
    if (target.fd < 0) return fail(error, to, errno);
    char buffer[1 << 16];
    for (;;) {
        ssize_t got = ::read(source.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return fail(error, from, errno);
        if (got == 0) break;
        if (!writeAll(target.fd, buffer, size_t(got))) return fail(error, to, errno ? errno : EIO);
    }
    if (::fsync(target.fd) != 0) return fail(error, to, errno);
    return true;
}

bool QZRenameFile(const std::string& from, const std::string& to, std::string* error)
{
    if (::rename(from.c_str(), to.c_str()) != 0) {
        int code = errno;
        if (error) *error = from + " -> " + to + ": " + std::strerror(code);
        return false;
    }
    return true;
}

bool QZWriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    std::string folder = QZParentFolder(path);
    std::optional<std::string> partial = QZMakeUniqueFile(folder, QZHiddenPrefixFor(path), error);
    if (!partial) return false;
    bool written = [&] {
        Descriptor file{::open(partial->c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC)};
        if (file.fd < 0) return fail(error, *partial, errno);
        if (!writeAll(file.fd, bytes.data(), bytes.size())) return fail(error, *partial, errno ? errno : EIO);
        if (::fsync(file.fd) != 0) return fail(error, *partial, errno);
        return true;
    }();
    if (!written || !QZRenameFile(*partial, path, error)) {
        ::unlink(partial->c_str());
        return false;
    }
    return QZSyncFolder(folder, error);
}

std::string QZHiddenPrefixFor(const std::string& path)
{
    std::string prefix(1, '.');
    prefix += std::filesystem::path(path).filename().string();
    prefix += '.';
    return prefix;
}

std::string QZParentFolder(const std::string& path)
{
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

}  // namespace customizer
