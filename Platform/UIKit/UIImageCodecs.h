#pragma once
// UIImage's side of the PNG and JPEG codec (Platform/ImageIO): its straight alpha to and from
// CGImage's premultiplied pixels.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CoreGraphics/CGImage.h"
#include "UIKit/UIImage.h"

// The most pixels a decoded image may have, 512 MiB of them: a 108-megapixel photograph fits, and a
// few hundred bytes that claim more are refused before anything is set aside for them.
inline constexpr size_t kUIImageMaximumDecodedPixels = size_t{1} << 27;

// Null when the bytes are not a whole PNG or JPEG this build can read, or claim more pixels than
// `maximumPixels` (at most kUIImageMaximumDecodedPixels); the reason then goes to *reason. With
// `orientation` the pixels are as stored and *orientation says how to show them (the file's
// EXIF orientation); without it they come upright.
CGImageRef UIImageDecodeCGImage(const uint8_t* bytes, size_t length,
                                size_t maximumPixels = kUIImageMaximumDecodedPixels, std::string* reason = nullptr,
                                UIImageOrientation* orientation = nullptr);
// A PNG holds no orientation: the pixels are written upright, turned as `orientation` says.
std::optional<std::vector<uint8_t>> UIImageEncodePNG(CGImageRef image,
                                                     UIImageOrientation orientation = UIImageOrientationUp);
// Writes the image as a PNG file (upright, as UIImageEncodePNG), beside the target then renamed
// into place; false (with the reason when asked) and nothing partial left when it cannot.
bool UIImageWritePNGFile(CGImageRef image, const std::string& path, std::string* error,
                         UIImageOrientation orientation = UIImageOrientationUp);
