#include "QopBitmapFile.h"

#include "ImageIO/ImageIOCodec.h"
#include "QopLite/QopAlloc.h"

namespace qop_examples {

bool readBitmapFile(const std::string &path, QopBitmap_t *bitmap, std::string *error)
{
    *bitmap = QopBitmap_t{nullptr, 0, 0, nullptr};
    auto allocate = [bitmap](size_t width, size_t height) -> void * {
        return QopBitmapBuild(bitmap, width, height) ? bitmap->data : nullptr;
    };
    if (ImageIODecodeFile(path, allocate, error))
        return true;
    QopBitmapFree(bitmap);
    return false;
}

} // namespace qop_examples
