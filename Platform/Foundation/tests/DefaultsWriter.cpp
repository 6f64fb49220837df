// Usage: PlatformFoundationDefaultsWriter <sandbox root> <key> <value>
// Stores value under key in the standard defaults of that sandbox and synchronises.
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"

int main(int argc, char** argv)
{
    if (argc != 4) return 2;
    PlatformSettings::setSandboxRoot(argv[1]);
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(Value(argv[3]), argv[2]);
    return defaults->synchronize() ? 0 : 1;
}
