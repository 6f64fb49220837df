// The box-hybrid Gaussian: a Gaussian sampled at the spacing of a box window and applied to box
// sums. On the CPU each row (column) becomes running sums, and every output is n + 1 products of
// kernel differences with running sums, whatever the width of the blur; on the GPU the same kernel
// becomes box passes and one 9-tap pass (QopGLConvolution.cpp).
#include "QopLite/QopConvolution.h"

#include "QopBoxHybridPasses.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLConvolution.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using qop_internal::BoxHybridKernel;
using qop_internal::cpuPassX;
using qop_internal::cpuPassY;
using qop_internal::kMaxTaps;

// erfc in t = 2 / (2 + z): Chebyshev coefficients c0 ... c27, single precision.
constexpr float kErfcCoefficients[28] = {
    -1.30265367f,    0.6419698f,      0.0194764733f,   -0.00956151448f, -0.000946595334f, 0.000366839493f,
    4.25233266e-05f, -2.02785777e-05f, -1.62429001e-06f, 1.30365584e-06f, 1.56264424e-08f,  -8.52380992e-08f,
    6.52905463e-09f, 5.05934361e-09f, -9.91364102e-10f, -2.27365127e-10f, 9.646791e-11f,    2.39403809e-12f,
    -6.8860269e-12f, 8.94487013e-13f, 3.13092e-13f,     -1.12708e-13f,   3.80999999e-16f,  7.10599995e-15f,
    -1.52299997e-15f, -9.39999975e-17f, 1.21000006e-16f, -2.80000009e-17f,
};

// False when the amount gives no filter (sigma 0).
bool makeKernel(size_t width, size_t height, float amount, BoxHybridKernel *k)
{
    const float sigmaF = static_cast<float>(width + height) * (amount * 4.0f / 100.0f) / 1600.0f;
    k->sharpen = sigmaF >= 0.0f;
    const double sigma = std::fabs(static_cast<double>(sigmaF));
    if (sigma == 0.0 || !std::isfinite(sigma))
        return false;
    int dw = static_cast<int>(std::floor(1.5 * sigma)) + 1;
    int db = 0;
    if (dw >= 5) {
        db = static_cast<int>(std::floor((0.25 * dw - 1.0) * 0.5)) + 1;
        dw = 1 + static_cast<int>(std::floor(static_cast<double>(dw) / (2 * db + 1)));
    }
    const int windowWidth = 2 * db + 1;
    const int taps = 2 * dw + 1;
    if (taps > kMaxTaps)
        return false;
    const float sigmaPrime = static_cast<float>(sigma / windowWidth);
    float p[kMaxTaps];
    float pSum = 0.0f;
    for (int i = 0; i < taps; ++i) {
        p[i] = QopMathNormalCDF(static_cast<float>(i) + 0.5f - static_cast<float>(dw), sigmaPrime) -
               QopMathNormalCDF(static_cast<float>(i) - 0.5f - static_cast<float>(dw), sigmaPrime);
        pSum += p[i];
    }
    const float total = static_cast<float>(windowWidth) * pSum;
    const float norm = 4096.0f / total;
    k->dw = dw;
    k->db = db;
    k->windowWidth = windowWidth;
    k->taps = taps;
    k->sum = 0;
    for (int i = 0; i < taps; ++i) {
        k->kernel[i] = static_cast<int>(p[i] * norm);
        k->sum += k->kernel[i];
    }
    return k->sum > 0;
}

void gpuPass(QopBitmap_t *bitmap, const BoxHybridKernel &k, QopGLConvolutionDirection direction)
{
    // Nine weights centred on the kernel (a wider kernel would be cut to its middle nine).
    float weights[9];
    for (int j = 0; j < 9; ++j) {
        const int index = k.dw + j - 4;
        weights[j] = index >= 0 && index < k.taps ? static_cast<float>(k.kernel[index]) / k.sum : 0.0f;
    }
    QopGLAddConvolution(weights, k.windowWidth, direction, bitmap->glData);
}

// A one-pixel window whose weights beside the centre all truncated to 0 (a small amount on a small
// image): each output is (c p + c / 2) / c = p, and sharpening gives (3 p - p + 1) / 2 = p.
bool isIdentity(const BoxHybridKernel &k)
{
    if (k.windowWidth != 1)
        return false;
    for (int i = 0; i < k.taps; ++i)
        if (i != k.dw && k.kernel[i] != 0)
            return false;
    return true;
}

void boxHybridPass(QopBitmap_t *bitmap, float amount, QopGLConvolutionDirection direction)
{
    BoxHybridKernel k;
    if (!makeKernel(bitmap->width, bitmap->height, amount, &k))
        return;
    if (bitmap->glData) {
        gpuPass(bitmap, k, direction);
        return;
    }
    if (!bitmap->data || bitmap->width == 0 || bitmap->height == 0 || isIdentity(k))
        return;
    if (direction == QopGLConvolutionDirectionHorizontal)
        cpuPassX(bitmap, k);
    else
        cpuPassY(bitmap, k);
}

// The image as it stands now, as the source of a two-image GPU blend after the filter. The GPU
// blends read a source bitmap's pixels, which hold the image from before the whole effect: inside a
// recipe (a tone step, then soft focus or sharpening) that would mix the filtered result with the
// image from before the tone step. Once passes have run, the current result is read back into
// `scratch` and blended instead. Null when scratch cannot be made.
QopBitmap_t *currentImageForBlend(QopBitmap_t *bitmap, QopBitmap_t *scratch)
{
    QopGLData_t *glData = bitmap->glData;
    if (glData->glRenderingObjects.readTexture == glData->glImageData.texID)
        return bitmap;
    if (!QopBitmapBuild(scratch, glData->glImageData.width, glData->glImageData.height))
        return nullptr;
    QopGLGetLastDrawnBitmap(scratch, glData);
    return scratch;
}

// "Blur by a": X then Y with -a; on the GPU both passes blur whatever the sign.
void blurBy(QopBitmap_t *bitmap, float amount)
{
    QopBoxHybridSharpenX(bitmap, -amount);
    QopBoxHybridSharpenY(bitmap, -amount);
}

// A copy of the bitmap's pixels; false, with nothing to free, when it cannot be made.
bool copyPixels(const QopBitmap_t *bitmap, QopBitmap_t *copy)
{
    if (!QopBitmapBuild(copy, bitmap->width, bitmap->height))
        return false;
    if (QopArrayCopy2(copy->data, bitmap->data, bitmap->width, bitmap->height, sizeof(QopColor_t)))
        return true;
    QopBitmapFree(copy);
    return false;
}

// The image blurred by `amount`, then blurredWeight x blur + originalWeight x the image as it was
// before the blur. False, with the image untouched, when the original cannot be kept.
bool blendBlurWithOriginal(QopBitmap_t *bitmap, float amount, float blurredWeight, float originalWeight)
{
    QopBitmap_t kept = {};
    QopBitmap_t *original = nullptr;
    if (bitmap->glData)
        original = currentImageForBlend(bitmap, &kept);
    else if (bitmap->data && copyPixels(bitmap, &kept))
        original = &kept;
    if (!original)
        return false;
    blurBy(bitmap, amount);
    QopBitmapBlendBitmapSeparate(bitmap, original, blurredWeight, originalWeight);
    QopBitmapFree(&kept);
    return true;
}

// Sharpening blends the two-dimensional blur away from the original. The GPU passes can only blur,
// and the CPU takes the same route, so that the preview (GPU) and the full-size render (often CPU)
// sharpen alike: sharpening rows and then columns instead would also sharpen the sharpened rows,
// up to tens of levels more at hard edges. A negative amount is the blur alone.
void sharpenByBlend(QopBitmap_t *bitmap, float amount, float blurredWeight, float originalWeight)
{
    if (amount == 0.0f)
        return;
    if (amount < 0.0f) {
        blurBy(bitmap, -amount);
        return;
    }
    if (blendBlurWithOriginal(bitmap, amount, blurredWeight, originalWeight) || bitmap->glData || !bitmap->data)
        return;
    // Without room for the original, sharpen in place along rows and columns: a little stronger
    // at edges, but still the sharpening that was asked for.
    QopBoxHybridSharpenX(bitmap, amount);
    QopBoxHybridSharpenY(bitmap, amount);
}

} // namespace

extern "C" {

float QopMathErfccheb(float z)
{
    if (z < 0.0f)
        return 0.0f;
    const float t = 2.0f / (2.0f + z);
    const float ty = 4.0f * t - 2.0f;
    float d = 0.0f;
    float dd = 0.0f;
    for (int j = 27; j > 0; --j) {
        const float previous = d;
        d = ty * d - dd + kErfcCoefficients[j];
        dd = previous;
    }
    return t * std::exp(-z * z + 0.5f * (kErfcCoefficients[0] + ty * d) - dd);
}

float QopMathErf(float x)
{
    if (x >= 0.0f)
        return 1.0f - QopMathErfccheb(x);
    return QopMathErfccheb(-x) - 1.0f;
}

float QopMathNormalCDF(float x, float std)
{
    return (QopMathErf(x / std::sqrt(2.0f) / std) + 1.0f) * 0.5f;
}

void QopBuildIntegralLineX(const QopBitmap_t *bitmap, int y, uint32_t *iR)
{
    const QopColor_t *row = bitmap->data + static_cast<size_t>(y) * bitmap->width;
    uint32_t r = 0, g = 0, b = 0;
    for (size_t x = 0; x < bitmap->width; ++x) {
        r += row[x].r;
        g += row[x].g;
        b += row[x].b;
        iR[x * 4] = r;
        iR[x * 4 + 1] = g;
        iR[x * 4 + 2] = b;
        iR[x * 4 + 3] = 0;
    }
}

void QopBuildIntegralLineY(const QopBitmap_t *bitmap, int x, uint32_t *iR)
{
    uint32_t r = 0, g = 0, b = 0;
    for (size_t y = 0; y < bitmap->height; ++y) {
        const QopColor_t &p = bitmap->data[y * bitmap->width + static_cast<size_t>(x)];
        r += p.r;
        g += p.g;
        b += p.b;
        iR[y * 4] = r;
        iR[y * 4 + 1] = g;
        iR[y * 4 + 2] = b;
        iR[y * 4 + 3] = 0;
    }
}

void QopBoxHybridSharpenX(QopBitmap_t *bitmap, float amount)
{
    boxHybridPass(bitmap, amount, QopGLConvolutionDirectionHorizontal);
}

void QopBoxHybridSharpenY(QopBitmap_t *bitmap, float amount)
{
    boxHybridPass(bitmap, amount, QopGLConvolutionDirectionVertical);
}

void QopConvolutionEffectBoxHybridSharpen(QopBitmap_t *bitmap, float amount)
{
    sharpenByBlend(bitmap, amount, -0.5f, 1.5f);
}

void QopSharpness(QopBitmap_t *bitmap, float amount, float blurredAmount, float unblurredAmount)
{
    sharpenByBlend(bitmap, amount, blurredAmount, unblurredAmount);
}

void QopConvolutionEffectJoeSharpen(QopBitmap_t *bitmap, float amount)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    QopConvolutionEffectBoxHybridSharpen(bitmap, amount);
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

void QopConvolutionProcessorJoeSharpen(QopBitmap_t *bitmap, float amount)
{
    QopConvolutionEffectBoxHybridSharpen(bitmap, amount);
}

void QopConvolutionProcessorSharpenAndBlendWithOriginal(QopBitmap_t *bitmap, float blurAmount, float blendAmount,
                                                        QopBlendMode_t blendMode)
{
    if (blurAmount == 0.0f || blendAmount == 0.0f)
        return;
    if (bitmap->glData) {
        QopBitmap_t scratch = {};
        QopBitmap_t *original = currentImageForBlend(bitmap, &scratch);
        if (!original)
            return;
        QopConvolutionEffectBoxHybridSharpen(bitmap, blurAmount);
        if (blendMode == QopBlendModeOverlay)
            QopGLBitmapBlendOverlayReverse(bitmap, original, blendAmount);
        else if (blendMode == QopBlendModeNormal)
            QopGLBitmapBlend(bitmap, original, 1.0f - blendAmount, QopBlendModeNormal);
        QopBitmapFree(&scratch);
        return;
    }
    if (!bitmap->data)
        return;
    QopBitmap_t copy;
    if (!copyPixels(bitmap, &copy))
        return;
    QopConvolutionEffectBoxHybridSharpen(&copy, blurAmount);
    QopBitmapBlendBitmap(bitmap, &copy, blendMode, blendAmount);
    QopBitmapFree(&copy);
}

void QopConvolutionEffectSoftFocus(QopBitmap_t *bitmap)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    blendBlurWithOriginal(bitmap, 100.0f, 0.5f, 0.6f);
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

void QopConvolutionAntialiasGL(QopBitmap_t *bitmap) { blurBy(bitmap, 5.0f); }

}
