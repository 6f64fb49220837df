/* QopGLBitmapBlend.h: GPU passes that copy, redraw, composite and blend whole images.
 *
 * The source of a two-image pass: a srcBitmap with pixels is uploaded for the pass (and deleted
 * after it); one without pixels stands for the source image of the current effect (the original),
 * which lets an effect blend its result with the original. Passes whose name begins QopGLEffect
 * open and finish their own effect; the others run inside the caller's. A Failed record makes
 * every pass return before touching GL state. */
#pragma once

#include "QopLite/QopGLData.h"
#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* readTexture copied into writeTexture, then swapped. */
void QopGLDrawCurrentBitmapIdentity(QopGLData_t *glData);
/* The part of the source image inside the four texture-space corners (0..1, t = 0 at data row 0),
 * sampled bilinearly and stretched over the whole target (crop, straighten, perspective). */
void QopGLDrawCurrentBitmapWithResizeRect(QopGLData_t *glData, const QopBitmapResizeRect_t *resizeRect);

/* The source drawn over the current result with premultiplied-alpha blending (destination alpha
 * kept); no swap, so readTexture still names the result. */
void QopGLBitmapComposite(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap);
/* As the composite, into a clip-space quadrilateral (rotation allowed). */
void QopGLBitmapCompositeWithPosition(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap,
                                      const QopBitmapResizeRect_t *srcPosition);
void QopGLEffectBitmapCompositeWithPosition(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap,
                                            const QopBitmapResizeRect_t *srcPosition);
/* The whole source once per tile of the rectangle lowerLeft..(lowerRight.x, upperLeft.y), columns
 * while i < tileX and rows while j < tileY: a fractional count draws a last whole tile reaching
 * past the rectangle, a count <= 0 draws nothing. */
void QopGLBitmapCompositeWithPositionAndTiling(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap,
                                               const QopBitmapResizeRect_t *srcPosition, float tileX, float tileY);
void QopGLEffectBitmapCompositeWithPositionAndTiling(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap,
                                                     const QopBitmapResizeRect_t *srcPosition, float tileX,
                                                     float tileY);

/* current x dstAmount + source x srcAmount per channel, truncated and clamped. */
void QopGLBitmapBlendSeparate(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap, float dstAmount, float srcAmount);
/* Normal: the weighted blend at 1 - alpha / alpha. Any other mode: the source overlaid on the
 * current result (the current result is the base layer), mixed in at alpha. */
void QopGLBitmapBlend(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap, float alpha, QopBlendMode_t blendMode);
/* The current result overlaid on the source (the source is the base layer), mixed in at alpha. */
void QopGLBitmapBlendOverlayReverse(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap, float alpha);
/* Color-mode blend of one colour (hue and saturation, saturation scaled by hslAlpha) at amount. */
void QopGLBitmapColorBlendColor(QopBitmap_t *bitmap, const QopColor_hsl *hslColor, float hslAlpha, float amount);

/* The image (the bitmap's pixels, else the source image) painted over the current result where
 * the mask is clear: coverage 1 - m, m the mask's alpha. maskBitmap holds width x height RGBA
 * bytes of the bitmap's size. */
void QopGLDrawBitmapWithMask(QopBitmap_t *bitmap, const uint8_t *maskBitmap);
void QopGLDrawBitmapWithGLMask(QopBitmap_t *bitmap, GLuint maskID);
/* readTexture where the mask is clear and texID where it is set (flip exchanges the two). */
void QopGLRedrawBitmapWithGLMask(QopBitmap_t *bitmap, GLuint maskID, GLuint texID, bool flip);
/* Finishes a brush or tilt-shift effect whose processed image is in texID (one of the processing
 * textures): the original where the mask is clear and texID where it is set (flip exchanges the
 * two), then the effect is finished. */
void QopGLBitmapDrawExistingProcessedTextureWithMaskTexture(QopBitmap_t *bitmap, GLuint texID, GLuint maskID,
                                                            bool flip);

/* A LINEAR, clamped texture of the bitmap's pixels on unit texIndex (client format of the record). */
GLuint createTextureFromBitmap(QopBitmap_t *bitmap, int texIndex, QopGLData_t *glData);
/* A LINEAR, clamped RGBA texture of width x height mask bytes on unit texIndex. */
GLuint createTextureFromMaskBitmap(const uint8_t *data, float width, float height, int texIndex);

#ifdef __cplusplus
}
#endif
