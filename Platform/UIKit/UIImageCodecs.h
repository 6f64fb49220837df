#pragma once
// Decoders and encoder behind UIImage: PNG (libpng) and JPEG (libjpeg).

#include <cstdint>
#include <optional>
#include <vector>

#include "CoreGraphics/CGImage.h"

// Null when the bytes are not a PNG or JPEG this build can read.
CGImageRef UIImageDecodeCGImage(const uint8_t* bytes, size_t length);
std::optional<std::vector<uint8_t>> UIImageEncodePNG(CGImageRef image);
