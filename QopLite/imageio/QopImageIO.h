// QopImageIO.h: reading and writing photographs as QopBitmaps, for the example programs, tests
// and benchmarks. The imaging library itself never touches files.
#pragma once

#include "QopLite/QopTypes.h"

#include <string>

namespace qop_io {

// Reads a PNG or JPEG (chosen by content) into a new bitmap built with QopBitmapBuild; the
// caller frees it with QopBitmapFree. On failure returns false, leaves bitmap without data and
// puts a reason into *error when given.
bool readImage(const std::string &path, QopBitmap_t *bitmap, std::string *error = nullptr);

// Writes the bitmap as an 8-bit RGBA PNG.
bool writePNG(const std::string &path, const QopBitmap_t &bitmap, std::string *error = nullptr);

} // namespace qop_io
