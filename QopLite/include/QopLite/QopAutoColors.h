/* QopAutoColors.h: automatic colour balance from the bitmap's own histogram. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Stretches each channel between its 0.5 % and 99.5 % points toward maxColor, faded by fade
 * (1 the full stretch, 0 nothing). */
void QopAutoColorsFadeMaxColor(QopBitmap_t *bitmap, double fade, const QopColor_t *maxColor);
/* The full stretch to 0..255, and the same faded. */
void QopAutoColors(QopBitmap_t *bitmap);
void QopAutoColorsFade(double fade, QopBitmap_t *bitmap);

#ifdef __cplusplus
}
#endif
