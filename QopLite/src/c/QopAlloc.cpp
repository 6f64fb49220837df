// Checked allocation. The library was designed for a 32-bit target: every byte count must fit in
// 32 bits, and that limit is enforced explicitly here whatever the width of size_t.
#include "QopLite/QopAlloc.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint64_t kMax32 = 0xFFFFFFFFull;

// a x b when both and the product fit in 32 bits.
bool checkedProduct32(size_t a, size_t b, uint64_t *product)
{
    if (a > kMax32 || b > kMax32)
        return false;
    uint64_t p = uint64_t(a) * uint64_t(b);
    if (p > kMax32)
        return false;
    *product = p;
    return true;
}

// Zero-filled block; a zero-byte request still gives a distinct non-null pointer.
void *zeroedBlock(uint64_t bytes) { return std::calloc(bytes ? bytes : 1, 1); }

} // namespace

extern "C" {

bool QopBitmapBuild(QopBitmap_t *bitmap, size_t width, size_t height)
{
    bitmap->width = width;
    bitmap->height = height;
    bitmap->glData = nullptr;
    bitmap->data = nullptr;
    uint64_t pixels = 0, bytes = 0;
    if (!checkedProduct32(width, height, &pixels) || pixels > QOP_BITMAP_MAX_PIXELS ||
        !checkedProduct32(pixels, sizeof(QopColor_t), &bytes))
        return false;
    bitmap->data = static_cast<QopColor_t *>(zeroedBlock(bytes));
    return bitmap->data != nullptr;
}

void QopBitmapFree(QopBitmap_t *bitmap)
{
    if (bitmap && bitmap->data) {
        std::free(bitmap->data);
        bitmap->data = nullptr;
    }
}

bool QopBitmapCopy(QopBitmap_t *dst, const QopBitmap_t *src)
{
    if (!dst || !src || !dst->data || !src->data || dst == src || dst->width != src->width ||
        dst->height != src->height)
        return false;
    uint64_t pixels = 0;
    if (!checkedProduct32(src->width, src->height, &pixels) || pixels > QOP_BITMAP_MAX_PIXELS)
        return false;
    std::memcpy(dst->data, src->data, pixels * sizeof(QopColor_t));
    return true;
}

bool QopArrayBuild(void **arrayPtr, size_t length, size_t stride)
{
    *arrayPtr = nullptr;
    uint64_t bytes = 0;
    if (stride != 0 && !checkedProduct32(length, stride, &bytes))
        return false;
    *arrayPtr = zeroedBlock(bytes);
    return *arrayPtr != nullptr;
}

bool QopArrayBuild2(void **arrayPtr, size_t length1, size_t length2, size_t stride)
{
    *arrayPtr = nullptr;
    uint64_t count = 0, bytes = 0;
    if (!checkedProduct32(length1, length2, &count) || !checkedProduct32(count, stride, &bytes))
        return false;
    *arrayPtr = zeroedBlock(bytes);
    return *arrayPtr != nullptr;
}

bool QopArrayCopy2(void *dstArray, const void *srcArray, size_t length1, size_t length2, size_t stride)
{
    uint64_t count = 0, bytes = 0;
    if (!checkedProduct32(length1, length2, &count) || !checkedProduct32(count, stride, &bytes))
        return false;
    // Both pointers are tested before copying: copying through a null pointer would crash.
    if (!dstArray || !srcArray)
        return false;
    std::memcpy(dstArray, srcArray, bytes);
    return true;
}

void QopArrayFree(void **arrayPtr)
{
    if (arrayPtr && *arrayPtr) {
        std::free(*arrayPtr);
        *arrayPtr = nullptr;
    }
}

bool QopGradientBuild(QopGradient_t *gradient, size_t colorLength, size_t opacityLength)
{
    gradient->colorLength = colorLength;
    gradient->opacityLength = opacityLength;
    gradient->color = nullptr;
    gradient->opacity = nullptr;
    if (colorLength > QOP_GRADIENT_MAX_COLORS)
        return false;
    gradient->color = static_cast<QopGradientColor_t *>(zeroedBlock(uint64_t(colorLength) * sizeof(QopGradientColor_t)));
    if (!gradient->color)
        return false;
    if (opacityLength > QOP_GRADIENT_MAX_OPACITIES) {
        std::free(gradient->color);
        gradient->color = nullptr;
        return false;
    }
    gradient->opacity =
        static_cast<QopGradientOpacity_t *>(zeroedBlock(uint64_t(opacityLength) * sizeof(QopGradientOpacity_t)));
    return gradient->opacity != nullptr;
}

void QopGradientFree(QopGradient_t *gradient)
{
    if (!gradient)
        return;
    std::free(gradient->color);
    gradient->color = nullptr;
    std::free(gradient->opacity);
    gradient->opacity = nullptr;
}

}
