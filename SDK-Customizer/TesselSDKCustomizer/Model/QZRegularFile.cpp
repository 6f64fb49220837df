#include "Model/QZRegularFile.h"

#include <sys/stat.h>

namespace customizer {

std::optional<std::string> QZRegularFileRefusal(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    if (S_ISDIR(status.st_mode)) return "is a directory";
    if (!S_ISREG(status.st_mode)) return "is not a regular file (a device, a FIFO or a socket)";
    return std::nullopt;
}

}  // namespace customizer
