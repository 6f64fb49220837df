/* QopAutoColors.h: automatic colour balance from the bitmap's own histogram. */
#pragma once

#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Stretches each channel between its 0.5 % and 99.5 % points toward maxColor, faded by fade. */
void QopAutoColorsFadeMaxColor(QopBitmap_t *bitmap, double fade, const QopColor_t *maxColor);

#ifdef __cplusplus
}
#endif
