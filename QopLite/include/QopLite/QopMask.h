/* QopMask.h: the CPU mask kernels of the brush and focus tools. A mask is a bitmap of the image's
 * size whose alpha byte is the mask value (0..255); only that byte is read and written. */
#pragma once
#include "QopLite/QopTypes.h"
#ifdef __cplusplus
extern "C" {
#endif

/* One dab centred at (posX, posY) pixels: full strength within sigmaR, falling to 0.0196 at
 * R = sigmaR + 0.43 sigmaR, times alpha, times (unless freeMask) the colour similarity of the
 * bitmap's pixel to color (L*a*b* distance with sigmaC; a* and b* only unless considerLuminosity).
 * A pixel too far from the colour keeps its mask value. erase false adds the weight
 * (m' = w + m (1 - w)), erase true takes it away (m' = m (1 - w)). constant is not used. Nothing
 * when the mask is not the bitmap's size. */
void QopMaskSimilarColors(QopBitmap_t *bitmap, QopBitmap_t *mask, const QopColor_rgba *color, double posX,
                          double posY, double sigmaR, double sigmaC, double constant, double alpha, bool erase,
                          bool considerLuminosity, bool freeMask);
/* The whole focus mask: 255 x (1 - a Gaussian of the distance from the focus, s^2 = 2 sigmaR^2),
 * quantised to the 34 levels 0, 4, 12, ..., 252, 255. Radial: distance from the point; linear: the
 * distance from the line through it at angle (radians), truncated to whole pixels. The bitmap
 * gives only the size (it needs no pixels); nothing when the mask is not that size. */
void QopMaskRadial(QopBitmap_t *bitmap, QopBitmap_t *mask, double posX, double posY, double sigmaR);
void QopMaskLinear(QopBitmap_t *bitmap, QopBitmap_t *mask, double posX, double posY, double sigmaR, double angle);

#ifdef __cplusplus
}
#endif
