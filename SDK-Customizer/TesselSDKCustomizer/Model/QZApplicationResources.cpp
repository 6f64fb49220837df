#include "Model/QZApplicationResources.h"

#include <filesystem>

#include "Render/NSImageProvider.h"

namespace customizer {

std::string QZApplicationResourcesFolder()
{
    return NSResourceFolderImageProvider::defaultFolder();
}

std::string QZApplicationResourcePath(const std::string& folder, const std::string& fileName)
{
    return (std::filesystem::path(folder) / fileName).string();
}

}  // namespace customizer
