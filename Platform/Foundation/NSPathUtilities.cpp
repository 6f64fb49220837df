#include "Foundation/NSPathUtilities.h"

#include "Foundation/PlatformSettings.h"

#include <filesystem>

namespace {
std::string existing(const std::filesystem::path& p)
{
    std::error_code ec;
    std::filesystem::create_directories(p, ec);
    return p.string();
}
}  // namespace

std::string NSHomeDirectory()
{
    return PlatformSettings::sandboxRoot();
}

std::vector<std::string> NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory, NSSearchPathDomainMask,
                                                             bool)
{
    std::filesystem::path home = NSHomeDirectory();
    switch (directory) {
    case NSDocumentDirectory: return {existing(home / "Documents")};
    case NSLibraryDirectory: return {existing(home / "Library")};
    case NSCachesDirectory: return {existing(home / "Library" / "Caches")};
    case NSApplicationSupportDirectory: return {(home / "Library" / "Application Support").string()};
    }
    return {};
}

std::string NSTemporaryDirectory()
{
    return existing(std::filesystem::path(NSHomeDirectory()) / "tmp") + "/";
}
