#include "Export/QZExportStaging.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace customizer {

std::unique_ptr<QZExportStaging> QZExportStaging::make(const std::string& exportFolder, std::string* error)
{
    std::string pattern = (std::filesystem::path(exportFolder) / ".TesselSDKCustomizerExport-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) {
        if (error) *error = pattern + ": " + std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<QZExportStaging> staging(new QZExportStaging(name.data()));
    for (const std::string& folder : {staging->iconsFolder(), staging->imagesFolder()}) {
        std::error_code made;
        std::filesystem::create_directory(folder, made);
        if (made) {
            if (error) *error = folder + ": " + made.message();
            return nullptr;
        }
    }
    return staging;
}

QZExportStaging::~QZExportStaging()
{
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

}  // namespace customizer
