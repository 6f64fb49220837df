/* QopAlloc.h: the checked allocation functions. Every buffer of the library comes from these,
 * is zero-filled, and goes back through the matching free function, which clears the caller's
 * pointer (so freeing twice is harmless). Byte counts must fit in 32 bits; a refused request
 * stores a null pointer and returns false. Nothing is printed. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The largest pixel count a bitmap may have. */
#define QOP_BITMAP_MAX_PIXELS 0x3FFFFFFFu

/* Sets width, height and glData = null, then allocates width x height zero pixels.
 * Refused when width x height overflows 32 bits or exceeds QOP_BITMAP_MAX_PIXELS. */
bool QopBitmapBuild(QopBitmap_t *bitmap, size_t width, size_t height);
/* Frees data and sets it to null; width, height and glData stay. */
void QopBitmapFree(QopBitmap_t *bitmap);
/* Copies src's pixels into dst. False when either data is null, dst is src, the sizes differ or
 * the size is out of range; glData plays no part. */
bool QopBitmapCopy(QopBitmap_t *dst, const QopBitmap_t *src);

/* *arrayPtr = zero-filled length x stride bytes (stride 0 asks for 0 bytes, length unchecked). */
bool QopArrayBuild(void **arrayPtr, size_t length, size_t stride);
/* *arrayPtr = zero-filled length1 x length2 x stride bytes. */
bool QopArrayBuild2(void **arrayPtr, size_t length1, size_t length2, size_t stride);
/* Copies length1 x length2 x stride bytes; false on overflow or a null pointer. */
bool QopArrayCopy2(void *dstArray, const void *srcArray, size_t length1, size_t length2, size_t stride);
void QopArrayFree(void **arrayPtr);

/* Largest counts of colour and opacity stops (12- and 16-byte stops on the 32-bit target). */
#define QOP_GRADIENT_MAX_COLORS 357913941u
#define QOP_GRADIENT_MAX_OPACITIES 0x0FFFFFFFu

/* Stores both lengths and allocates zero-filled colour and opacity stops. When the opacity
 * array is refused or cannot be made the result is false; see QopAlloc.cpp for which pointers
 * are left set (QopGradientFree releases whatever is). */
bool QopGradientBuild(QopGradient_t *gradient, size_t colorLength, size_t opacityLength);
void QopGradientFree(QopGradient_t *gradient);

#ifdef __cplusplus
}
#endif
