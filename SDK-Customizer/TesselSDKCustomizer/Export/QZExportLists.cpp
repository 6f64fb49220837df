#include "Export/QZExportLists.h"

#include "Model/QZApplicationResources.h"
#include "Model/QZPropertyList.h"
#include "Render/QZColorHelpers.h"

namespace customizer {
namespace {

std::optional<std::vector<std::string>> readList(const std::string& path, bool colors, std::string* error)
{
    std::optional<std::vector<std::string>> names = QZReadStringList(path, error);
    if (!names) return std::nullopt;
    for (const std::string& name : *names) {
        const char* why = nullptr;
        if (name.empty() || name[0] == '.' || name.find('/') != std::string::npos)
            why = "is no file name";
        else if (colors && !QZNSColorWithHexString(name))
            why = "is no hexadecimal colour";
        if (why) {
            if (error) *error = path + ": \"" + name + "\" " + why;
            return std::nullopt;
        }
    }
    return names;
}

}  // namespace

std::optional<QZExportLists> QZExportLists::read(const std::string& resourcesFolder, std::string* error)
{
    std::optional<std::vector<std::string>> icons =
        readList(QZApplicationResourcePath(resourcesFolder, kQZIconListFileName), false, error);
    if (!icons) return std::nullopt;
    std::optional<std::vector<std::string>> colors =
        readList(QZApplicationResourcePath(resourcesFolder, kQZColorListFileName), true, error);
    if (!colors) return std::nullopt;
    return QZExportLists{std::move(*icons), std::move(*colors)};
}

}  // namespace customizer
