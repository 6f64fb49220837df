#include "TesselSDK/remote/QZAtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool writeAll(int descriptor, const Value::Data& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t step = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) return false;
        written += static_cast<std::size_t>(step);
    }
    return true;
}

}  // namespace

bool QZWriteFileAtomically(const std::string& path, const Value::Data& bytes, std::string* reason)
{
    std::string temporary = path + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        if (reason) *reason = std::strerror(errno);
        return false;
    }
    bool written = writeAll(descriptor, bytes);
    int failure = written ? 0 : errno;
    if (::close(descriptor) != 0 && written) {
        written = false;
        failure = errno;
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        failure = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        if (reason) *reason = failure ? std::strerror(failure) : "short write";
    }
    return written;
}

std::string QZCreateUniqueFile(const std::string& directory, const std::string& prefix, const std::string& extension)
{
    std::string path = directory + "/" + prefix + "XXXXXX" + extension;
    const int descriptor = ::mkstemps(path.data(), static_cast<int>(extension.size()));
    if (descriptor < 0) return {};
    ::close(descriptor);
    return path;
}
