#include "Files/FileContents.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

template <typename Buffer>
bool readInto(const std::string& path, std::size_t limit, Buffer* out, std::string* reason)
{
    auto fail = [&](std::string why) {
        if (reason) *reason = std::move(why);
        return false;
    };
    // Non-blocking, so that a FIFO with no writer is refused below instead of holding the open.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return fail(std::strerror(errno));
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    struct stat status {};
    if (fstat(fd, &status) != 0) return fail(std::strerror(errno));
    if (S_ISDIR(status.st_mode)) return fail("is a directory");
    if (!S_ISREG(status.st_mode)) return fail("is not a regular file (a device, a FIFO or a socket)");
    const std::string tooLarge = "is larger than " + FileSizeDescription(limit);
    if (static_cast<unsigned long long>(status.st_size) > limit) return fail(tooLarge);
    out->clear();
    out->reserve(static_cast<std::size_t>(status.st_size));
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            return fail(std::strerror(errno));
        }
        if (out->size() + static_cast<std::size_t>(got) > limit) return fail(tooLarge);
        // As the buffer's own element type, so the append is one block copy, not a converting loop.
        const auto* bytes = reinterpret_cast<const typename Buffer::value_type*>(chunk);
        out->insert(out->end(), bytes, bytes + got);
    }
    return true;
}

}  // namespace

bool FileReadContents(const std::string& path, std::size_t limit, std::vector<std::uint8_t>* contents,
                      std::string* reason)
{
    return readInto(path, limit, contents, reason);
}

bool FileReadText(const std::string& path, std::size_t limit, std::string* text, std::string* reason)
{
    return readInto(path, limit, text, reason);
}

std::string FileSizeDescription(std::size_t bytes)
{
    const char* units[] = {"bytes", "KiB", "MiB", "GiB"};
    int unit = 0;
    // Whole units only: every limit here is a power of two or a multiple of one.
    while (unit < 3 && bytes >= 1024 && bytes % 1024 == 0) {
        bytes /= 1024;
        ++unit;
    }
    return std::to_string(bytes) + " " + units[unit];
}
