#pragma once
// The four writers of the exported images. Each writes "<folder>/<name>@2x.png" and
// "<folder>/<name>.png" (or the one path it is given) and answers false, with the failing file
// named in `error`, when an image is missing or a file cannot be written.
//   four-times         an image drawn at four times the @2x size: @2x at 0.25 s, 1x at 0.125 s
//   double-resolution  an image drawn at the @2x size: @2x at 1.0 s, 1x at 0.5 s
//   pair               [@2x image, 1x image], each at s
//   proper scale       one image at its final size, at s

#include <array>
#include <string>

#include "Render/NSImage.h"

namespace customizer {

// The screen correction factor s: 1, since one point of a customizer image is one pixel.
float deviceScaleAdjustment();

bool saveImageWithNameAndPath(const NSImagePtr& image, const std::string& name, const std::string& folder,
                              std::string* error);
bool saveImageWithNameAndPathAtRetina(const NSImagePtr& image, const std::string& name, const std::string& folder,
                                      std::string* error);
bool saveImageArrayWithNameAndPath(const std::array<NSImagePtr, 2>& images, const std::string& name,
                                   const std::string& folder, std::string* error);
bool saveImageWithProperScale(const NSImagePtr& image, const std::string& path, std::string* error);

}  // namespace customizer
