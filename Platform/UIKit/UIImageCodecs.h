#pragma once
// UIImage's side of the PNG and JPEG codec (Platform/ImageIO): its straight alpha to and from
// CGImage's premultiplied pixels.

#include <cstdint>
#include <optional>
#include <vector>

#include "CoreGraphics/CGImage.h"

// Null when the bytes are not a whole PNG or JPEG this build can read.
CGImageRef UIImageDecodeCGImage(const uint8_t* bytes, size_t length);
std::optional<std::vector<uint8_t>> UIImageEncodePNG(CGImageRef image);
