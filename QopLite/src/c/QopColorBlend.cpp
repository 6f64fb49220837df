// Blend of one colour onto another in the six blend modes, and the memo that turns a blend with
// a fixed source into per-channel lookup tables.
#include "QopLite/QopColor.h"

#include "QopBlendKernels.h"

extern "C" {

void QopColorBlend(QopColor_t *dst, const QopColor_t *src, QopBlendMode_t blendMode, const float alpha)
{
    using namespace qop_internal;
    switch (blendMode) {
    case QopBlendModeNormal:
        blendPixel<BlendNormal>(dst, src, alpha);
        break;
    case QopBlendModeOverlay:
        blendPixel<BlendOverlay>(dst, src, alpha);
        break;
    case QopBlendModeColor: {
        QopColor_hsl hsl;
        QopColorRGB2HSL(src, &hsl);
        QopColorBlendColorMode(dst, &hsl, src->a, alpha);
        break;
    }
    case QopBlendModeScreen:
        blendPixel<BlendScreen>(dst, src, alpha);
        break;
    case QopBlendModeDarken:
        blendPixel<BlendDarken>(dst, src, alpha);
        break;
    case QopBlendModeMultiply:
        blendPixel<BlendMultiply>(dst, src, alpha);
        break;
    }
}

void QopColorBlendColorMode(QopColor_t *dst, const QopColor_hsl *hsl, uint8_t blendColorAlpha, const float alpha)
{
    using namespace qop_internal;
    QopColor_hsl mixed;
    mixed.h = hsl->h;
    mixed.s = hsl->s * static_cast<float>(blendColorAlpha) / 255.0f;
    mixed.l = (0.212671f * dst->r + 0.71516f * dst->g + 0.072169f * dst->b) / 255.0f;
    QopColor_t c;
    QopColorHSL2RGB(&mixed, &c);
    float inverse = 1.0f - alpha;
    // Unlike the other modes there is no rounding term here.
    dst->r = truncateClamp(inverse * dst->r + alpha * c.r);
    dst->g = truncateClamp(inverse * dst->g + alpha * c.g);
    dst->b = truncateClamp(inverse * dst->b + alpha * c.b);
}

void QopColorBlendInitMemozied(QopColorMemoData_t *memoData, QopBlendMode_t blendMode)
{
    memoData->blendMode = blendMode;
    for (bool &filled : memoData->isMemoized)
        filled = false;
}

void QopColorBlendMemoized(QopColor_t *dst, const QopColor_t *src, uint8_t alpha, QopColorMemoData_t *memoData)
{
    uint8_t(*rows)[256] = memoData->mapping[alpha];
    if (!memoData->isMemoized[alpha]) {
        memoData->isMemoized[alpha] = true;
        float a = static_cast<float>(alpha) / 255.0f;
        for (int v = 0; v < 256; ++v) {
            QopColor_t grey = {uint8_t(v), uint8_t(v), uint8_t(v), 255};
            QopColorBlend(&grey, src, memoData->blendMode, a);
            rows[0][v] = grey.r;
            rows[1][v] = grey.g;
            rows[2][v] = grey.b;
        }
    }
    dst->r = rows[0][dst->r];
    dst->g = rows[1][dst->g];
    dst->b = rows[2][dst->b];
}

}
