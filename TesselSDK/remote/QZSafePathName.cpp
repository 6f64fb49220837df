#include "TesselSDK/remote/QZSafePathName.h"

bool QZIsSafeResourceIdentifier(const std::string& name)
{
    return !name.empty() && name.size() <= kQZMaximumPathNameLength && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}
