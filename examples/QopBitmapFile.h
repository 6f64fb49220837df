// QopBitmapFile.h: a photograph (PNG or JPEG) read into a QopBitmap through the platform codec,
// for the example programs.
#pragma once

#include "QopLite/QopTypes.h"

#include <string>

namespace qop_examples {

// Builds *bitmap (QopBitmapBuild; the caller frees it with QopBitmapFree) from the file. On failure
// the bitmap holds no pixels and *error gives the path and the reason.
bool readBitmapFile(const std::string &path, QopBitmap_t *bitmap, std::string *error);

} // namespace qop_examples
