/* QopConvolution.h: the box-hybrid Gaussian (a Gaussian sampled at the spacing of a box window and
 * applied to box sums) and the sharpen, soften and soft-focus operations built on it.
 *
 * amount is in the library's blur units: sigma = (width + height) x amount / 40000 pixels, so one
 * amount gives the same look on the preview and the full-size image. Negative amounts blur,
 * positive ones sharpen; 0 leaves the bitmap alone. On the CPU the filter runs on running sums
 * (its cost does not grow with the width of the blur); on the GPU it is a cascade of 3-, 5- and
 * 7-tap box passes and one 9-tap Gaussian pass (see QopGLConvolution.h). A uniform image comes out
 * unchanged on both paths. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The box-hybrid filter along rows then columns. CPU: negative blurs, positive sharpens
 * (3 x original - blur) / 2. GPU: the same sign convention, sharpening by blending the blurred
 * image away from the original (-0.5 blurred + 1.5 original). */
void QopConvolutionEffectBoxHybridSharpen(QopBitmap_t *bitmap, float amount);
/* One pass along rows (X) or columns (Y). On the GPU each pass always blurs, whatever the sign. */
void QopBoxHybridSharpenX(QopBitmap_t *bitmap, float amount);
void QopBoxHybridSharpenY(QopBitmap_t *bitmap, float amount);
/* amount 0: nothing. CPU: the box-hybrid filter. GPU: a blur, and for amount > 0 the blurred image
 * blended with the original at blurredAmount and unblurredAmount. */
void QopSharpness(QopBitmap_t *bitmap, float amount, float blurredAmount, float unblurredAmount);
/* The box-hybrid filter in its own effect, and without one. */
void QopConvolutionEffectJoeSharpen(QopBitmap_t *bitmap, float amount);
void QopConvolutionProcessorJoeSharpen(QopBitmap_t *bitmap, float amount);
/* The bitmap filtered with blurAmount and blended back onto itself at blendAmount; nothing when
 * either amount is exactly 0. On the GPU only Normal and Overlay blend back (other modes keep the
 * filtered image). */
void QopConvolutionProcessorSharpenAndBlendWithOriginal(QopBitmap_t *bitmap, float blurAmount, float blendAmount,
                                                        QopBlendMode_t blendMode);
/* 0.5 x (blur by 100) + 0.6 x original, in its own effect. */
void QopConvolutionEffectSoftFocus(QopBitmap_t *bitmap);
/* Blur by 5. */
void QopConvolutionAntialiasGL(QopBitmap_t *bitmap);

/* Running r, g, b sums along row y (column x), four words per pixel (the fourth stays 0); iR holds
 * width (height) x 4 words. Sums wrap modulo 2^32 on images too large for 32 bits. */
void QopBuildIntegralLineX(const QopBitmap_t *bitmap, int y, uint32_t *iR);
void QopBuildIntegralLineY(const QopBitmap_t *bitmap, int x, uint32_t *iR);

/* The complementary error function by its Chebyshev expansion (0 for z < 0), the error function,
 * and the normal distribution function of standard deviation std, all in single precision. */
float QopMathErfccheb(float z);
float QopMathErf(float x);
float QopMathNormalCDF(float x, float std);

#ifdef __cplusplus
}
#endif
