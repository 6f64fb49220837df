#pragma once
// The app's standard directories, under the sandbox root of PlatformSettings:
// Documents, Library, Library/Caches and tmp exist (they are made when asked for);
// Library/Application Support is only named, as on the platform, and made by whoever needs it.

#include <string>
#include <vector>

enum NSSearchPathDirectory {
    NSApplicationSupportDirectory = 14,
    NSLibraryDirectory = 5,
    NSDocumentDirectory = 9,
    NSCachesDirectory = 13,
};
enum NSSearchPathDomainMask { NSUserDomainMask = 1 };

std::vector<std::string> NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory,
                                                             NSSearchPathDomainMask domains, bool expandTilde);
// With a trailing slash, as the platform answers it.
std::string NSTemporaryDirectory();
std::string NSHomeDirectory();
