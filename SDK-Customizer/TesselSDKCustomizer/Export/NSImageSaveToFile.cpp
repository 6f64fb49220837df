#include "Export/NSImageSaveToFile.h"

#include <cmath>

#include "Render/NSLog.h"

namespace customizer {
namespace {

bool invalid(const std::string& path, std::string* error)
{
    NSLog("Invalid Image");
    if (error) *error = path + ": Invalid Image";
    return false;
}

}  // namespace

NSImagePtr QZ_imageResize(const NSImagePtr& image, CGSize newSize)
{
    CGSize pixels = CGSizeMake(std::round(newSize.width), std::round(newSize.height));
    if (!image || !image->isValid() || !(pixels.width >= 1 && pixels.height >= 1)) {
        NSLog("Invalid Image");
        return nullptr;
    }
    return NSImage::imageWithSize(pixels, false, [&](CGRect rect) {
        image->drawInRect(rect, CGRect{}, NSCompositeCopy, 1.0);
        return true;
    });
}

bool QZ_saveAsPNGWithPathWithScaleFactor(const NSImagePtr& image, const std::string& path, CGFloat factor,
                                         std::string* error)
{
    if (!image) return invalid(path, error);
    CGSize size = image->size();
    return QZ_saveAsPNGWithPathAtResolution(image, path, CGSizeMake(size.width * factor, size.height * factor), error);
}

bool QZ_saveAsPNGWithPathAtResolution(const NSImagePtr& image, const std::string& path, CGSize size, std::string* error)
{
    NSImagePtr resized = QZ_imageResize(image, size);
    if (!resized) {
        if (error) *error = path + ": Invalid Image";
        return false;
    }
    return QZ_saveAsPNGWithPath(resized, path, error);
}

bool QZ_saveAsPNGWithPath(const NSImagePtr& image, const std::string& path, std::string* error)
{
    if (!image || !image->isValid()) return invalid(path, error);
    std::string reason;
    if (image->CGImage()->writePNG(path, &reason)) {
        NSLog("success");
        return true;
    }
    NSLog("failed");
    NSLog("%s: %s", path.c_str(), reason.c_str());
    if (error) *error = path + ": " + reason;
    return false;
}

}  // namespace customizer
