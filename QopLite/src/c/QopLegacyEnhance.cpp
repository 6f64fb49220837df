// The older effects that are one call of the convolution and correction families: soft focus,
// the warm automatic colour balance, and clarity.
#include "QopLite/QopLegacy.h"

#include "QopLite/QopAutoColors.h"
#include "QopLite/QopConvolution.h"
#include "QopLite/QopEnhance.h"

extern "C" {

void QopLegacySoftFocus(QopBitmap_t *bitmap, QopEffectParams_t *) { QopConvolutionEffectSoftFocus(bitmap); }

void QopLegacySanCarmenAutoColors(QopBitmap_t *bitmap, QopEffectParams_t *params)
{
    const QopColor_t warmWhite = {251, 233, 194, 255};
    QopAutoColorsFadeMaxColor(bitmap, params->intensity, &warmWhite);
}

void QopEnhanceClarity(QopBitmap_t *bitmap, QopEffectParams_t *) { QopLocalContrastEnhanceProcessor(bitmap); }

}
