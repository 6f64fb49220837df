/* QopFlare.h: procedural light shapes laid onto a bitmap in a colour and blend mode. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum QopFlareType {
    QopFlareSinc = 0,
    QopFlareGaussianthing = 1,
    QopFlareGaussianthing2 = 2,
    QopFlareGaussianthing3 = 3,
    QopFlareGaussianthing4 = 4,
    QopFlareAnglegaussian = 5,
    QopFlareStardom = 6,
    QopFlareLobes = 7,
    QopFlareLensflare = 8,
    QopFlareStripe = 9,
    QopFlareStripe2 = 10,
    QopFlareDimondflare = 11,
    QopFlareCrossflare = 12,
    QopFlareCornerflares = 13,
    QopFlareFingerflare = 14,
    QopFlareBlobflare = 15,
    QopFlareBlah = 16,
    QopFlareBlob = 17,
    QopFlareBlob2 = 18
} QopFlareType;
typedef QopFlareType QopFlareType_t;

/* One flare of the given type, scaled by fScale, centred at (dx, dy) and stretched by
 * (dsx, dsy); the colour's alpha is the flare's opacity. */
void QopFlare(QopBitmap_t *bitmap, float fScale, const QopColor_t *color, QopFlareType_t type, float dx, float dy,
              float dsx, float dsy, QopBlendMode_t blendMode);

/* A soft ring about (xCenter, yCenter) (pixels) between radii dr1 and dr2 (fractions of the mean
 * of width and height), in the colour at its alpha, laid on Normal. */
void QopRingFlare(QopBitmap_t *bitmap, const QopColor_t *color, double xCenter, double yCenter, double dr1,
                  double dr2);

#ifdef __cplusplus
}
#endif
