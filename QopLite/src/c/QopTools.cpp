// The brush and focus tools on the CPU (processed copy, dabs, preview and full-size blends) and
// the single-slider adjustments with their combined form. The GPU preview of the tools paints
// GPU masks instead (gl/QopGLMask.cpp); the adjustments reach the GPU through the tone operations
// they are built from.
#include "QopLite/QopTools.h"

#include "QopClampedInt.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopConvolution.h"
#include "QopLite/QopHistogram.h"
#include "QopLite/QopMask.h"

#include <algorithm>
#include <cmath>

namespace {

using qop_internal::truncatedByte;

// sigmaC of a dab that ignores colour: the Gaussian is 1 for every colour difference.
constexpr double kNoColorSigma = 99999999.0;
constexpr double kSmartColorSigma = 10.0;
constexpr double kPi = 3.14159265358979323846;
// ln 3.1: the contrast curve's exponent runs from 1 / 3.1 to 3.1 over the slider.
constexpr double kLn3_1 = 1.1314021114911006;

bool isBrushOrFocusTool(QopToolType_t type) { return type >= QopToolTypeColorSplash && type <= QopToolTypeWhiten; }

void fillMask(QopBitmap_t *mask, uint8_t value)
{
    if (!mask || !mask->data)
        return;
    const size_t count = mask->width * mask->height;
    for (size_t i = 0; i < count; ++i)
        mask->data[i] = QopColor_t{value, value, value, value};
}

void desaturate(QopBitmap_t *bitmap)
{
    QopColorMatrix_t cm;
    QopColorMatrixSetIdentity(cm);
    QopColorMatrixAdjSaturation(cm, 0.0f);
    QopBitmapColorMatrixTransform(bitmap, cm);
}

// The tilt-shift test mask shows pure red through the mask, so the mask itself can be seen.
void makePureRed(QopBitmap_t *bitmap)
{
    QopColorMatrix_t cm = {0.0f};
    cm[3] = 255.0f;
    QopBitmapColorMatrixTransform(bitmap, cm);
}

// The processed copy of each tool, made from the image (copy holds the image's pixels already).
void processCopy(QopBitmap_t *bitmap, QopBitmap_t *copy, const QopToolDrawParams_t *params)
{
    switch (params->toolType) {
    case QopToolTypeColorSplash:
        desaturate(copy);
        break;
    case QopToolTypeTiltShift:
        if (params->tiltShiftTestMask) {
            makePureRed(copy);
            break;
        }
        QopConvolutionEffectJoeSharpen(copy, -100.0f);
        break;
    case QopToolTypeBlemish:
        QopConvolutionEffectJoeSharpen(copy, -100.0f);
        break;
    case QopToolTypeRedEye:
        QopRedEye(copy, bitmap);
        break;
    case QopToolTypeWhiten:
        QopWhiten(copy);
        break;
    default:
        break;
    }
}

bool sameSize(const QopBitmap_t *a, const QopBitmap_t *b)
{
    return a->width == b->width && a->height == b->height;
}

// A slider value within -100..100; NaN counts as 0 (no change).
double clampSlider(double value)
{
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, -100.0, 100.0);
}

float brightnessGamma(double value) { return static_cast<float>(-std::log2(value / 400.0 + 0.5)); }

void brightnessMatrix(QopColorMatrix_t cm, double value)
{
    QopColorMatrixSetIdentity(cm);
    QopColorMatrixBrightness(cm, static_cast<float>(1.0 + 0.6 * value / 100.0));
}

float contrastExponent(double value) { return static_cast<float>(std::exp(value / 100.0 * kLn3_1)); }

// The tables below repeat, entry for entry, what the gamma, colour-matrix and contrast-curve
// operations compute, so the composed table equals those operations run one after another.
void gammaTable(float gamma, QopHistMap_t *map)
{
    for (int i = 0; i < 256; ++i) {
        const uint8_t v = truncatedByte(std::pow(static_cast<float>(i) / 255.0f, gamma) * 255.0f + 0.5f);
        map->r[i] = map->g[i] = map->b[i] = v;
    }
}

void diagonalTable(const QopColorMatrix_t cm, QopHistMap_t *map)
{
    for (int i = 0; i < 256; ++i) {
        const float v = static_cast<float>(i);
        map->r[i] = truncatedByte(v * cm[0] + cm[3] + 0.5f);
        map->g[i] = truncatedByte(v * cm[5] + cm[7] + 0.5f);
        map->b[i] = truncatedByte(v * cm[10] + cm[11] + 0.5f);
    }
}

void contrastTable(float f, QopHistMap_t *map)
{
    if (f == 0.0f)
        f = 1e-8f;
    const float inverse = 1.0f / f;
    for (int k = 0; k < 256; ++k) {
        const float v = k < 128 ? 127.0f * std::pow(static_cast<float>(k) / 127.0f, f)
                                : 127.0f * std::pow(static_cast<float>(k - 128) / 127.0f, inverse) + 127.0f;
        map->r[k] = map->g[k] = map->b[k] = truncatedByte(v + 0.5f);
    }
}

void warmthTable(double value, QopHistMap_t *map)
{
    if (std::isnan(value))
        value = 0.0;
    double w = 0.0;
    if (value != 0.0)
        w = (1.0 - std::cos(kPi * value / 200.0)) * (value > 0.0 ? 100.0 : -100.0);
    const double red = (w > 0.0 ? 90.78 * w : 155.0 * w) / 100.0 + 255.0;
    const double green = 255.0 - (w > 0.0 ? 24.0 * w : 44.625 * w) / 100.0;
    const double blue = 255.0 - (w > 0.0 ? 140.0 * w : 245.31 * w) / 100.0;
    for (int i = 0; i < 256; ++i) {
        map->r[i] = truncatedByte(red * i / 255.0 + 0.5);
        map->g[i] = truncatedByte(green * i / 255.0 + 0.5);
        map->b[i] = truncatedByte(blue * i / 255.0 + 0.5);
    }
}

void applyBrightness(QopBitmap_t *bitmap, double value)
{
    if (value < 0.0) {
        QopBitmapGamma(bitmap, brightnessGamma(value));
        return;
    }
    QopColorMatrix_t cm;
    brightnessMatrix(cm, value);
    QopBitmapColorMatrixTransform(bitmap, cm);
}

void applySaturation(QopBitmap_t *bitmap, double value)
{
    QopColorMatrix_t cm;
    QopColorMatrixSetIdentity(cm);
    QopColorMatrixAdjSaturation(cm, static_cast<float>(1.0 + value / 100.0));
    QopBitmapColorMatrixTransform(bitmap, cm);
}

} // namespace

extern "C" {

QopToolDrawParams_t *QopToolDrawParamsInit(QopToolDrawParams_t *params)
{
    if (!params)
        return params;
    *params = QopToolDrawParams_t{};
    params->toolType = QopToolTypeNone;
    params->color = QopColor_rgba{255, 255, 255, 255};
    params->isFirstDraw = true;
    params->colorSplashBrushMode = QopToolColorSplashBrushModeNone;
    params->tiltShiftMode = QopToolTiltShiftModeNone;
    params->alpha = 1.0;
    params->tiltShiftTestMask = false;
    params->scaleX = 1.0;
    params->scaleY = 1.0;
    return params;
}

void QopToolInit(QopBitmap_t *bitmap, QopBitmap_t *tmpBitmap, QopBitmap_t *mask, QopToolDrawParams_t *params)
{
    if (!bitmap || !tmpBitmap || !params || !isBrushOrFocusTool(params->toolType))
        return;
    if (!QopBitmapCopy(tmpBitmap, bitmap))
        return;
    processCopy(bitmap, tmpBitmap, params);
    // Colour splash starts with the whole image grey and painting uncovers the colour; the other
    // tools start clear and painting adds the effect.
    fillMask(mask, params->toolType == QopToolTypeColorSplash ? 255 : 0);
}

void QopToolDraw(QopBitmap_t *bitmap, QopBitmap_t *mask, QopToolDrawParams_t *params)
{
    if (!bitmap || !mask || !params)
        return;
    const QopToolDrawParams_t &p = *params;
    switch (p.toolType) {
    case QopToolTypeColorSplash:
        switch (p.colorSplashBrushMode) {
        case QopToolColorSplashBrushModeSmart:
            QopMaskSimilarColors(bitmap, mask, &p.color, p.x, p.y, p.radius, kSmartColorSigma, 1.0, 1.0, true,
                                 false, false);
            break;
        case QopToolColorSplashBrushModeFree:
            QopMaskSimilarColors(bitmap, mask, &p.color, p.x, p.y, p.radius, kNoColorSigma, 1.0, 1.0, true, false,
                                 true);
            break;
        case QopToolColorSplashBrushModeErase:
            QopMaskSimilarColors(bitmap, mask, &p.color, p.x, p.y, p.radius, kNoColorSigma, 1.0, 1.0, false, false,
                                 true);
            break;
        default:
            break;
        }
        break;
    case QopToolTypeTiltShift:
        if (p.tiltShiftMode == QopToolTiltShiftModeRadial)
            QopMaskRadial(bitmap, mask, p.x, p.y, p.radius);
        else if (p.tiltShiftMode == QopToolTiltShiftModeLinear)
            QopMaskLinear(bitmap, mask, p.x, p.y, p.radius, p.angle * kPi / 180.0);
        break;
    case QopToolTypeBlemish:
    case QopToolTypeRedEye:
    case QopToolTypeWhiten:
        QopMaskSimilarColors(bitmap, mask, &p.color, p.x, p.y, p.radius, kNoColorSigma, 1.0, p.alpha, false, false,
                             true);
        break;
    default:
        break;
    }
}

void QopToolRenderPreview(QopBitmap_t *bitmapPreview, QopBitmap_t *srcBitmap, QopBitmap_t *tmpBitmap,
                          QopBitmap_t *mask)
{
    if (!bitmapPreview)
        return;
    QopToolRenderPreviewBox(bitmapPreview, srcBitmap, tmpBitmap, mask, 0, 0,
                            static_cast<int>(bitmapPreview->width) - 1, static_cast<int>(bitmapPreview->height));
}

void QopToolRenderPreviewBox(QopBitmap_t *bitmapPreview, QopBitmap_t *srcBitmap, QopBitmap_t *tmpBitmap,
                             QopBitmap_t *mask, int x1, int y1, int x2, int y2)
{
    if (!bitmapPreview || !srcBitmap || !tmpBitmap || !mask || !bitmapPreview->data || !srcBitmap->data ||
        !tmpBitmap->data || !mask->data || !sameSize(bitmapPreview, srcBitmap) || !sameSize(bitmapPreview, tmpBitmap) ||
        !sameSize(bitmapPreview, mask) || bitmapPreview->width == 0 || bitmapPreview->height == 0)
        return;
    const long width = static_cast<long>(bitmapPreview->width), height = static_cast<long>(bitmapPreview->height);
    const long left = std::clamp<long>(std::min(x1, x2), 0, width - 1);
    const long right = std::clamp<long>(std::max(x1, x2), 0, width - 1);
    const long top = std::clamp<long>(std::min(y1, y2), 0, height - 1);
    const long bottom = std::clamp<long>(std::max(y1, y2), 0, height - 1);
    for (long y = top; y <= bottom; ++y) {
        for (long x = left; x <= right; ++x) {
            const size_t i = static_cast<size_t>(y * width + x);
            const int m = mask->data[i].a;
            const QopColor_t t = tmpBitmap->data[i], s = srcBitmap->data[i];
            QopColor_t &out = bitmapPreview->data[i];
            out.r = static_cast<uint8_t>((t.r * m + s.r * (255 - m) + 127) >> 8);
            out.g = static_cast<uint8_t>((t.g * m + s.g * (255 - m) + 127) >> 8);
            out.b = static_cast<uint8_t>((t.b * m + s.b * (255 - m) + 127) >> 8);
        }
    }
}

void QopToolRenderHiRes(QopBitmap_t *bitmap, QopBitmap_t *mask, QopToolDrawParams_t *params)
{
    if (!bitmap || !mask || !params || !bitmap->data || !isBrushOrFocusTool(params->toolType))
        return;
    QopBitmap_t copy;
    if (!QopBitmapBuild(&copy, bitmap->width, bitmap->height))
        return;
    if (QopBitmapCopy(&copy, bitmap)) {
        processCopy(bitmap, &copy, params);
        QopBitmapBlendBitmapMask(bitmap, bitmap, &copy, mask, QopBlendModeNormal);
    }
    QopBitmapFree(&copy);
}

void QopToolBrightness(QopBitmap_t *bitmap, double value)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    applyBrightness(bitmap, clampSlider(value));
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

void QopToolContrast(QopBitmap_t *bitmap, double value)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    QopBitmapContrastCurve(bitmap, contrastExponent(clampSlider(value)));
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

void QopToolSaturation(QopBitmap_t *bitmap, double value)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    applySaturation(bitmap, clampSlider(value));
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

void QopToolWarmth(QopBitmap_t *bitmap, double value)
{
    QopHistMap_t map;
    warmthTable(value, &map);
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    QopBitmapHistogramTransform(bitmap, &map);
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

void QopToolSharpness(QopBitmap_t *bitmap, double value)
{
    QopConvolutionEffectJoeSharpen(bitmap, static_cast<float>(value));
}

void QopToolAdjustBrightnessContrastWarmthSaturation(QopBitmap_t *bitmap, double brightness, double contrast,
                                                     double warmth, double saturation)
{
    QopHistMap_t table, step;
    QopHistMapSetIdentity(&table);
    brightness = clampSlider(brightness);
    if (brightness < 0.0) {
        gammaTable(brightnessGamma(brightness), &step);
    } else {
        QopColorMatrix_t cm;
        brightnessMatrix(cm, brightness);
        diagonalTable(cm, &step);
    }
    QopHistMapMap(&table, &step);
    contrastTable(contrastExponent(clampSlider(contrast)), &step);
    QopHistMapMap(&table, &step);
    warmthTable(warmth, &step);
    QopHistMapMap(&table, &step);

    QopBitmapBeginGLEffectIfEnabled(bitmap);
    QopBitmapHistogramTransform(bitmap, &table);
    applySaturation(bitmap, clampSlider(saturation));
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

}
