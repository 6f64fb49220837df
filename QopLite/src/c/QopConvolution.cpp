// The box-hybrid Gaussian: a Gaussian sampled at the spacing of a box window and applied to box
// sums. On the CPU each row (column) becomes running sums, and every output is n + 1 products of
// kernel differences with running sums, whatever the width of the blur; on the GPU the same kernel
// becomes box passes and one 9-tap pass (QopGLConvolution.cpp).
#include "QopLite/QopConvolution.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLConvolution.h"

#include <cmath>
#include <cstring>

namespace {

// erfc in t = 2 / (2 + z): Chebyshev coefficients c0 ... c27, single precision.
constexpr float kErfcCoefficients[28] = {
    -1.30265367f,    0.6419698f,      0.0194764733f,   -0.00956151448f, -0.000946595334f, 0.000366839493f,
    4.25233266e-05f, -2.02785777e-05f, -1.62429001e-06f, 1.30365584e-06f, 1.56264424e-08f,  -8.52380992e-08f,
    6.52905463e-09f, 5.05934361e-09f, -9.91364102e-10f, -2.27365127e-10f, 9.646791e-11f,    2.39403809e-12f,
    -6.8860269e-12f, 8.94487013e-13f, 3.13092e-13f,     -1.12708e-13f,   3.80999999e-16f,  7.10599995e-15f,
    -1.52299997e-15f, -9.39999975e-17f, 1.21000006e-16f, -2.80000009e-17f,
};

// After the window rewrite the half-width dw stays at 4 or below; the bound leaves room.
constexpr int kMaxTaps = 32;

// One pass's kernel: n = 2 dw + 1 taps spaced windowWidth apart, each applied to a box sum of
// windowWidth pixels, in 4096ths (before the gain correction).
struct BoxHybridKernel {
    bool sharpen = false;
    int dw = 0;
    int db = 0;
    int windowWidth = 1;
    int taps = 0;
    int kernel[kMaxTaps] = {};
    int sum = 0;
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

// The inner loop of the filter: n lanes of output from running sums `base` (taps `stride` apart),
// each (acc + gain / 2) / gain of acc = sum of diff[t] x base[t x stride + i], then sharpened or
// not, clamped to a byte. Built for AVX2 as well, where the processor has it (eight 32-bit products
// at a time).
//
// The quotient is exact in single precision: m = acc + gain / 2 stays below 2^22, so (m + 0.5) /
// gain, whose fraction lies at least 0.5 / gain (above 1e-4) away from the next integer, is off by
// at most 256 x 2^-23 (3e-5) after rounding.
__attribute__((target_clones("avx2", "default"))) void
filterLanes(const uint32_t *base, size_t n, size_t stride, const uint32_t *diff, int taps, const uint32_t *original,
            uint32_t *acc, uint32_t *out, uint32_t halfGain, float inverseGain, bool sharpen)
{
    for (size_t i = 0; i < n; ++i)
        acc[i] = halfGain;
    for (int t = 0; t < taps; ++t) {
        const uint32_t d = diff[t];
        const uint32_t *src = base + static_cast<size_t>(t) * stride;
        for (size_t i = 0; i < n; ++i)
            acc[i] += d * src[i];
    }
    if (sharpen) {
        for (size_t i = 0; i < n; ++i) {
            const int blur = static_cast<int>((static_cast<float>(static_cast<int>(acc[i])) + 0.5f) * inverseGain);
            const int v = (3 * static_cast<int>(original[i]) - blur + 1) / 2;
            out[i] = static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
        }
    } else {
        for (size_t i = 0; i < n; ++i) {
            const int blur = static_cast<int>((static_cast<float>(static_cast<int>(acc[i])) + 0.5f) * inverseGain);
            out[i] = static_cast<uint32_t>(blur > 255 ? 255 : blur);
        }
    }
}

// The lines of one pass, filtered together. Running sums are kept position-major with `lanes`
// values per position (3 for one row; 3 x strip width for a strip of columns), so the innermost
// loops run over contiguous lanes and vectorise. All sums are uint32_t: intermediate products
// exceed 32-bit signed range on wide images, but every result is a small non-negative number, so
// wrap-around arithmetic gives it exactly.
class BoxHybridLines {
public:
    explicit BoxHybridLines(const BoxHybridKernel &k)
        : k_(k), before_(k.db + 1 + k.dw * k.windowWidth), after_(k.db + k.dw * k.windowWidth)
    {
        // Differences of the kernel, for use on running sums: n + 1 taps.
        diff_[0] = static_cast<uint32_t>(-k.kernel[0]);
        for (int i = 1; i < k.taps; ++i)
            diff_[i] = static_cast<uint32_t>(k.kernel[i - 1] - k.kernel[i]);
        diff_[k.taps] = static_cast<uint32_t>(k.kernel[k.taps - 1]);
        // The taps see windowWidth x sum in 4096ths for a uniform line: divide by that actual gain
        // so a uniform image is unchanged (truncated weights lose up to 1 %).
        gain_ = static_cast<uint32_t>(k.windowWidth) * static_cast<uint32_t>(k.sum);
        inverseGain_ = 1.0f / static_cast<float>(gain_);
    }

    size_t extendedLength(size_t count) const { return count + before_ + after_; }

    // Running sums of `count` positions (values[pos * lanes + lane]) into sums, extended beyond
    // the line as if its first and last values repeated.
    void buildRunningSums(const uint32_t *values, size_t count, size_t lanes, uint32_t *sums) const
    {
        uint32_t *s = sums + before_ * lanes;
        if (lanes == 3) {
            // One row: three running sums kept in registers (reading each back from the store
            // just made would chain every pixel to the last through memory).
            uint32_t r = 0, g = 0, b = 0;
            for (size_t pos = 0; pos < count; ++pos) {
                s[pos * 3] = r += values[pos * 3];
                s[pos * 3 + 1] = g += values[pos * 3 + 1];
                s[pos * 3 + 2] = b += values[pos * 3 + 2];
            }
        } else {
            for (size_t l = 0; l < lanes; ++l)
                s[l] = values[l];
            for (size_t pos = 1; pos < count; ++pos)
                for (size_t l = 0; l < lanes; ++l)
                    s[pos * lanes + l] = s[(pos - 1) * lanes + l] + values[pos * lanes + l];
        }
        for (size_t j = 1; j <= before_; ++j) // S(-j) = (1 - j) S(0)
            for (size_t l = 0; l < lanes; ++l)
                s[-static_cast<ptrdiff_t>(j * lanes) + static_cast<ptrdiff_t>(l)] =
                    static_cast<uint32_t>(1 - static_cast<int64_t>(j)) * s[l];
        uint32_t *last = s + (count - 1) * lanes;
        for (size_t j = 1; j <= after_; ++j)
            for (size_t l = 0; l < lanes; ++l) {
                const uint32_t lastValue = values[(count - 1) * lanes + l];
                last[j * lanes + l] = last[l] + lastValue * static_cast<uint32_t>(j);
            }
    }

    // Filtered values of positions p0 .. p1 - 1, all lanes, into out (p1 - p0) x lanes. `original`
    // is the same positions before filtering (read when sharpening). acc is scratch of that size.
    void filter(const uint32_t *sums, size_t lanes, size_t p0, size_t p1, const uint32_t *original, uint32_t *acc,
                uint32_t *out) const
    {
        filterLanes(sums + p0 * lanes, (p1 - p0) * lanes, static_cast<size_t>(k_.windowWidth) * lanes, diff_,
                    k_.taps + 1, original, acc, out, gain_ / 2, inverseGain_, k_.sharpen);
    }

private:
    const BoxHybridKernel &k_;
    size_t before_;
    size_t after_;
    uint32_t diff_[kMaxTaps + 1] = {};
    uint32_t gain_ = 1;
    float inverseGain_ = 1.0f;
};

struct Scratch {
    uint32_t *values = nullptr;
    uint32_t *sums = nullptr;
    uint32_t *acc = nullptr;
    uint32_t *out = nullptr;
    ~Scratch()
    {
        QopArrayFree(reinterpret_cast<void **>(&values));
        QopArrayFree(reinterpret_cast<void **>(&sums));
        QopArrayFree(reinterpret_cast<void **>(&acc));
        QopArrayFree(reinterpret_cast<void **>(&out));
    }
    bool build(size_t valueCount, size_t sumCount, size_t outCount)
    {
        return QopArrayBuild(reinterpret_cast<void **>(&values), valueCount, sizeof(uint32_t)) &&
               QopArrayBuild(reinterpret_cast<void **>(&sums), sumCount, sizeof(uint32_t)) &&
               QopArrayBuild(reinterpret_cast<void **>(&acc), outCount, sizeof(uint32_t)) &&
               QopArrayBuild(reinterpret_cast<void **>(&out), outCount, sizeof(uint32_t));
    }
};

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

void cpuPassX(QopBitmap_t *bitmap, const BoxHybridKernel &k)
{
    const size_t w = bitmap->width;
    const size_t lanes = 3;
    BoxHybridLines lines(k);
    Scratch scratch;
    if (!scratch.build(w * lanes, lines.extendedLength(w) * lanes, w * lanes))
        return;
    for (size_t y = 0; y < bitmap->height; ++y) {
        QopColor_t *row = bitmap->data + y * w;
        for (size_t x = 0; x < w; ++x) {
            scratch.values[x * 3] = row[x].r;
            scratch.values[x * 3 + 1] = row[x].g;
            scratch.values[x * 3 + 2] = row[x].b;
        }
        lines.buildRunningSums(scratch.values, w, lanes, scratch.sums);
        lines.filter(scratch.sums, lanes, 0, w, scratch.values, scratch.acc, scratch.out);
        for (size_t x = 0; x < w; ++x) {
            row[x].r = static_cast<uint8_t>(scratch.out[x * 3]);
            row[x].g = static_cast<uint8_t>(scratch.out[x * 3 + 1]);
            row[x].b = static_cast<uint8_t>(scratch.out[x * 3 + 2]);
        }
    }
}

// Columns are filtered in strips, so that the running sums of a strip stay in cache and the
// inner loops run along rows.
void cpuPassY(QopBitmap_t *bitmap, const BoxHybridKernel &k)
{
    constexpr size_t kStrip = 64;
    const size_t w = bitmap->width;
    const size_t h = bitmap->height;
    const size_t maxLanes = 3 * (w < kStrip ? w : kStrip);
    BoxHybridLines lines(k);
    Scratch scratch;
    if (!scratch.build(h * maxLanes, lines.extendedLength(h) * maxLanes, maxLanes))
        return;
    for (size_t x0 = 0; x0 < w; x0 += kStrip) {
        const size_t columns = w - x0 < kStrip ? w - x0 : kStrip;
        const size_t lanes = 3 * columns;
        for (size_t y = 0; y < h; ++y) {
            const QopColor_t *row = bitmap->data + y * w + x0;
            uint32_t *v = scratch.values + y * lanes;
            for (size_t c = 0; c < columns; ++c) {
                v[c * 3] = row[c].r;
                v[c * 3 + 1] = row[c].g;
                v[c * 3 + 2] = row[c].b;
            }
        }
        lines.buildRunningSums(scratch.values, h, lanes, scratch.sums);
        for (size_t y = 0; y < h; ++y) {
            lines.filter(scratch.sums, lanes, y, y + 1, scratch.values + y * lanes, scratch.acc, scratch.out);
            QopColor_t *row = bitmap->data + y * w + x0;
            for (size_t c = 0; c < columns; ++c) {
                row[c].r = static_cast<uint8_t>(scratch.out[c * 3]);
                row[c].g = static_cast<uint8_t>(scratch.out[c * 3 + 1]);
                row[c].b = static_cast<uint8_t>(scratch.out[c * 3 + 2]);
            }
        }
    }
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
    if (!bitmap->data || bitmap->width == 0 || bitmap->height == 0)
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
    if (!bitmap->glData) {
        QopBoxHybridSharpenX(bitmap, amount);
        QopBoxHybridSharpenY(bitmap, amount);
        return;
    }
    // The GPU passes always blur; sharpening blends the blurred image away from the original.
    // Amount 0 filters nothing, so it blends nothing either.
    if (amount == 0.0f)
        return;
    if (amount < 0.0f) {
        QopBoxHybridSharpenX(bitmap, -amount);
        QopBoxHybridSharpenY(bitmap, -amount);
        return;
    }
    QopBitmap_t scratch = {};
    QopBitmap_t *original = currentImageForBlend(bitmap, &scratch);
    if (!original)
        return;
    QopBoxHybridSharpenX(bitmap, amount);
    QopBoxHybridSharpenY(bitmap, amount);
    QopBitmapBlendBitmapSeparate(bitmap, original, -0.5f, 1.5f);
    QopBitmapFree(&scratch);
}

void QopSharpness(QopBitmap_t *bitmap, float amount, float blurredAmount, float unblurredAmount)
{
    if (amount == 0.0f)
        return;
    if (!bitmap->glData) {
        QopConvolutionEffectBoxHybridSharpen(bitmap, amount);
        return;
    }
    if (amount < 0.0f) {
        QopBoxHybridSharpenX(bitmap, -amount);
        QopBoxHybridSharpenY(bitmap, -amount);
        return;
    }
    QopBitmap_t scratch = {};
    QopBitmap_t *original = currentImageForBlend(bitmap, &scratch);
    if (!original)
        return;
    QopBoxHybridSharpenX(bitmap, amount);
    QopBoxHybridSharpenY(bitmap, amount);
    QopBitmapBlendBitmapSeparate(bitmap, original, blurredAmount, unblurredAmount);
    QopBitmapFree(&scratch);
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
    if (!QopBitmapBuild(&copy, bitmap->width, bitmap->height))
        return;
    if (!QopArrayCopy2(copy.data, bitmap->data, bitmap->width, bitmap->height, sizeof(QopColor_t))) {
        QopBitmapFree(&copy);
        return;
    }
    QopConvolutionEffectBoxHybridSharpen(&copy, blurAmount);
    QopBitmapBlendBitmap(bitmap, &copy, blendMode, blendAmount);
    QopBitmapFree(&copy);
}

void QopConvolutionEffectSoftFocus(QopBitmap_t *bitmap)
{
    QopBitmapBeginGLEffectIfEnabled(bitmap);
    if (bitmap->glData) {
        QopBitmap_t scratch = {};
        if (QopBitmap_t *original = currentImageForBlend(bitmap, &scratch)) {
            blurBy(bitmap, 100.0f);
            QopBitmapBlendBitmapSeparate(bitmap, original, 0.5f, 0.6f);
            QopBitmapFree(&scratch);
        }
    } else if (bitmap->data) {
        QopBitmap_t original;
        if (QopBitmapBuild(&original, bitmap->width, bitmap->height)) {
            if (QopArrayCopy2(original.data, bitmap->data, bitmap->width, bitmap->height, sizeof(QopColor_t))) {
                blurBy(bitmap, 100.0f);
                QopBitmapBlendBitmapSeparate(bitmap, &original, 0.5f, 0.6f);
            }
            QopBitmapFree(&original);
        }
    }
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

void QopConvolutionAntialiasGL(QopBitmap_t *bitmap) { blurBy(bitmap, 5.0f); }

}
