#include "TesselEditorQuickLaunch.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include <algorithm>

namespace tessel_editor {

std::vector<std::string> toolKeys()
{
    std::vector<std::string> keys = QZSDKResources::plugins().allKeys();
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::string joinedToolKeys()
{
    std::string joined;
    for (const std::string& key : toolKeys()) joined += (joined.empty() ? "" : ", ") + key;
    return joined;
}

}  // namespace tessel_editor
