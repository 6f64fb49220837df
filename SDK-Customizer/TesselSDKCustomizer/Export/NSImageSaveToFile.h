#pragma once
// PNG writing of the exporter: resized copies and PNG files. An image without pixels logs
// "Invalid Image" and is not written; every write logs "success" or "failed" and its reason.
// Sizes are rounded to whole pixels; shrinking averages (Cairo's GOOD filter), so thin lines fade
// instead of vanishing.

#include <string>

#include "Render/NSImage.h"

namespace customizer {

// A copy drawn into the new size (copy compositing, full opacity); null, logged, for a null or
// empty image or a size that rounds to no pixels.
NSImagePtr QZ_imageResize(const NSImagePtr& image, CGSize newSize);
// The image's size times the factor.
bool QZ_saveAsPNGWithPathWithScaleFactor(const NSImagePtr& image, const std::string& path, CGFloat factor,
                                         std::string* error);
bool QZ_saveAsPNGWithPathAtResolution(const NSImagePtr& image, const std::string& path, CGSize size,
                                      std::string* error);
// The image as it is. False with the file named in `error`.
bool QZ_saveAsPNGWithPath(const NSImagePtr& image, const std::string& path, std::string* error);

}  // namespace customizer
