/* QopGLConvolution.h: the GPU half of the box-hybrid filter. A box of any odd width becomes a short
 * cascade of 3-, 5- and 7-tap box passes whose strides multiply (the width is moved to the nearest
 * number that factors into 3, 5 and 7), followed by one 9-tap Gaussian pass at the box's spacing.
 * Every pass samples with clamping at the edges, so the edge pixels repeat as on the CPU. */
#pragma once

#include "QopLite/QopGLData.h"
#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum QopGLConvolutionDirection {
    QopGLConvolutionDirectionHorizontal = 0,
    QopGLConvolutionDirectionVertical = 1
} QopGLConvolutionDirection;

/* Tries number, number - 1, number + 1, number - 2, ... (skipping candidates below 3) and stores
 * the counts of 3s, 5s and 7s of the first that is a product of those alone in factors[0..2].
 * outDiff is not written. */
void QopGLGet357FactorsOfClosestFactorableNumber(int number, int *outDiff, int *factors);
/* Box passes of width about size along direction: all 3-tap passes, then 5s, then 7s. size < 2:
 * nothing. */
void QopGLAddBoxBlur(int size, QopGLConvolutionDirection direction, QopGLData_t *glData);
/* A box of size (when size > 1), then the 9-tap Gaussian with weights convolutionData[0..8]
 * (symmetric, centre at 4) at a spacing of size texels. */
void QopGLAddConvolution(const float *convolutionData, int size, QopGLConvolutionDirection direction,
                         QopGLData_t *glData);

/* GPU bitmaps only, with no effect open: blurs the current image by 100 into the record's read
 * texture and stores that texture's name in *texID; the bitmap's pixels and the rendering mode are
 * left as they were. */
void QopConvolutionEffectBlurProcess(QopBitmap_t *bitmap, GLuint *texID);
/* In its own effect: blurs by 100, then draws the image as it was before the blur back where the
 * mask texture (maskID) is clear, so the blur shows through the mask. */
void QopConvolutionEffectBlurWithGLMask(QopBitmap_t *bitmap, GLuint maskID);

#ifdef __cplusplus
}
#endif
