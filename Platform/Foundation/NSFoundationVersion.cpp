#include "Foundation/NSFoundationVersion.h"

#include "Foundation/PlatformSettings.h"

#include <cstdlib>

double NSFoundationVersionNumber()
{
    // The major number leads the version string ("6.1", "7.0.4"); a string without one reads as 0.
    const long major = std::strtol(PlatformSettings::systemVersion().c_str(), nullptr, 10);
    return major >= 7 ? NSFoundationVersionNumber_iOS_7_0 : NSFoundationVersionNumber_iOS_6_1;
}
