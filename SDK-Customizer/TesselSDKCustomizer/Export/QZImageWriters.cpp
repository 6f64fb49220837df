#include "Export/QZImageWriters.h"

#include <filesystem>

#include "Export/NSImageSaveToFile.h"

namespace customizer {
namespace {

std::string retinaPath(const std::string& name, const std::string& folder)
{
    return (std::filesystem::path(folder) / (name + "@2x.png")).string();
}

std::string normalPath(const std::string& name, const std::string& folder)
{
    return (std::filesystem::path(folder) / (name + ".png")).string();
}

bool writeBoth(const NSImagePtr& image, const std::string& name, const std::string& folder, CGFloat retinaFactor,
               CGFloat normalFactor, std::string* error)
{
    CGFloat s = deviceScaleAdjustment();
    return QZ_saveAsPNGWithPathWithScaleFactor(image, retinaPath(name, folder), retinaFactor * s, error) &&
           QZ_saveAsPNGWithPathWithScaleFactor(image, normalPath(name, folder), normalFactor * s, error);
}

}  // namespace

float deviceScaleAdjustment()
{
    return 1.0f;
}

bool saveImageWithNameAndPath(const NSImagePtr& image, const std::string& name, const std::string& folder,
                              std::string* error)
{
    return writeBoth(image, name, folder, 0.25, 0.125, error);
}

bool saveImageWithNameAndPathAtRetina(const NSImagePtr& image, const std::string& name, const std::string& folder,
                                      std::string* error)
{
    return writeBoth(image, name, folder, 1.0, 0.5, error);
}

bool saveImageArrayWithNameAndPath(const std::array<NSImagePtr, 2>& images, const std::string& name,
                                   const std::string& folder, std::string* error)
{
    CGFloat s = deviceScaleAdjustment();
    return QZ_saveAsPNGWithPathWithScaleFactor(images[0], retinaPath(name, folder), s, error) &&
           QZ_saveAsPNGWithPathWithScaleFactor(images[1], normalPath(name, folder), s, error);
}

bool saveImageWithProperScale(const NSImagePtr& image, const std::string& path, std::string* error)
{
    return QZ_saveAsPNGWithPathWithScaleFactor(image, path, deviceScaleAdjustment(), error);
}

}  // namespace customizer
