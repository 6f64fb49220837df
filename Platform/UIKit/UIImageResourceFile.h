#pragma once
// Images of a resource bundle, which may carry a retina variant beside each file. A file a person
// names is read with UIImage::imageWithContentsOfFile, exactly as named.

#include "UIKit/UIImage.h"

#include <memory>
#include <string>

// At screen scale 2 a "name@2x.ext" beside the file is preferred and gives scale 2; else the file
// itself, as UIImage::imageWithContentsOfFile reads it. Null when neither can be read.
std::shared_ptr<UIImage> UIImageWithContentsOfResourceFile(const std::string& path);
