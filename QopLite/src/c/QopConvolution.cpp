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

#include <algorithm>
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

// The CPU passes work on RGBA pixels as four 32-bit lanes (alpha is carried along and put back
// unchanged), eight lanes (two pixels) to a vector. GCC vector types keep one source for the AVX2
// and the baseline builds of each pass; bytes are widened and narrowed by plain loops over a line,
// which the compiler vectorises well (element-wise vector conversions it does not).
typedef uint32_t U32x8 __attribute__((vector_size(32)));
typedef int32_t I32x8 __attribute__((vector_size(32)));
typedef float F32x8 __attribute__((vector_size(32)));
typedef uint32_t U32x4 __attribute__((vector_size(16)));

#define QOP_INLINE inline __attribute__((always_inline))

QOP_INLINE void widen(const QopColor_t *pixels, size_t count, uint32_t *lanes)
{
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(pixels);
    for (size_t l = 0; l < count * 4; ++l)
        lanes[l] = bytes[l];
}

QOP_INLINE void narrow(const uint32_t *lanes, size_t count, QopColor_t *pixels)
{
    uint8_t *bytes = reinterpret_cast<uint8_t *>(pixels);
    for (size_t l = 0; l < count * 4; ++l)
        bytes[l] = static_cast<uint8_t>(lanes[l]);
}

// What every output of a pass needs besides its running sums. The n + 1 taps are the kernel's
// differences, for use on running sums. All sums are uint32_t: intermediate products exceed
// 32-bit signed range on wide images, but every result is a small non-negative number, so
// wrap-around arithmetic gives it exactly.
struct BoxHybridTaps {
    int count = 0;     // n + 1
    size_t before = 0; // running sums needed before the first position of a line
    size_t span = 0;   // positions from the first tap to the last, n x windowWidth
    uint32_t diff[kMaxTaps + 1] = {};
    // The Gaussian's differences are antisymmetric (diff[n - t] = -diff[t]), so taps t and n - t
    // share one product of diff[t] with S(t) - S(n - t), and pairs whose difference is 0 (the
    // outer weights of a narrow kernel truncate to 0) are left out. Whatever a kernel has beyond
    // that (none in a sweep of image sizes and amounts, but the weights come from rounded
    // single-precision values) is added as (diff[t] + diff[n - t]) x S(n - t): the sum stays exact.
    int pairs = 0;
    int pairTap[kMaxTaps / 2 + 1] = {};
    uint32_t pairDiff[kMaxTaps / 2 + 1] = {};
    int extras = 0;
    int extraTap[kMaxTaps / 2 + 1] = {};
    uint32_t extraDiff[kMaxTaps / 2 + 1] = {};
    uint32_t halfGain = 0;
    float inverseGain = 1.0f;
    bool sharpen = false;

    explicit BoxHybridTaps(const BoxHybridKernel &k)
        : count(k.taps + 1), before(static_cast<size_t>(k.db + 1 + k.dw * k.windowWidth)),
          span(static_cast<size_t>(k.taps) * static_cast<size_t>(k.windowWidth)), sharpen(k.sharpen)
    {
        diff[0] = static_cast<uint32_t>(-k.kernel[0]);
        for (int i = 1; i < k.taps; ++i)
            diff[i] = static_cast<uint32_t>(k.kernel[i - 1] - k.kernel[i]);
        diff[k.taps] = static_cast<uint32_t>(k.kernel[k.taps - 1]);
        for (int t = 0; t < count / 2; ++t) { // count = 2 dw + 2
            if (diff[t] != 0) {
                pairTap[pairs] = t;
                pairDiff[pairs++] = diff[t];
            }
            if (const uint32_t rest = diff[t] + diff[count - 1 - t]) {
                extraTap[extras] = count - 1 - t;
                extraDiff[extras++] = rest;
            }
        }
        // The taps see windowWidth x sum in 4096ths for a uniform line: divide by that actual gain
        // so a uniform image is unchanged (truncated weights lose up to 1 %).
        const uint32_t gain = static_cast<uint32_t>(k.windowWidth) * static_cast<uint32_t>(k.sum);
        halfGain = gain / 2;
        inverseGain = 1.0f / static_cast<float>(gain);
    }
};

// The inner loop: `Vectors` x 2 pixels from the running sums at lane offset `lane` of each tap's
// line, written over `lanes` (the widened pixels: originals when sharpening, and the alpha that is
// kept). Each output is (acc + gain / 2) / gain of acc = sum of diff[t] x S[t], sharpened or not,
// clamped to a byte; the accumulators stay in registers across all taps.
//
// The quotient is exact in single precision: m = acc + gain / 2 stays below 2^22, so (m + 0.5) /
// gain, whose fraction lies at least 0.5 / gain (above 1e-4) away from the next integer, is off by
// at most 256 x 2^-23 (3e-5) after rounding.
template <int Vectors, bool Sharpen>
QOP_INLINE void filterBlock(const uint32_t *const *tapLines, size_t lane, const BoxHybridTaps &taps, uint32_t *lanes)
{
    U32x8 acc[Vectors] = {};
    for (int v = 0; v < Vectors; ++v)
        acc[v] += taps.halfGain;
    for (int p = 0; p < taps.pairs; ++p) {
        const uint32_t d = taps.pairDiff[p];
        const uint32_t *low = tapLines[taps.pairTap[p]] + lane;
        const uint32_t *high = tapLines[taps.count - 1 - taps.pairTap[p]] + lane;
        for (int v = 0; v < Vectors; ++v) {
            U32x8 a, b;
            std::memcpy(&a, low + 8 * v, sizeof a);
            std::memcpy(&b, high + 8 * v, sizeof b);
            acc[v] += d * (a - b);
        }
    }
    for (int e = 0; e < taps.extras; ++e) {
        const uint32_t d = taps.extraDiff[e];
        const uint32_t *src = tapLines[taps.extraTap[e]] + lane;
        for (int v = 0; v < Vectors; ++v) {
            U32x8 sums;
            std::memcpy(&sums, src + 8 * v, sizeof sums);
            acc[v] += d * sums;
        }
    }
    const I32x8 alpha = {0, 0, 0, -1, 0, 0, 0, -1};
    for (int v = 0; v < Vectors; ++v) {
        I32x8 original;
        std::memcpy(&original, lanes + lane + 8 * v, sizeof original);
        const F32x8 m = __builtin_convertvector(reinterpret_cast<I32x8 &>(acc[v]), F32x8);
        I32x8 value = __builtin_convertvector((m + 0.5f) * taps.inverseGain, I32x8);
        if (Sharpen)
            value = (3 * original - value + 1) / 2;
        value = value < 0 ? I32x8{} : value;
        value = value > 255 ? I32x8{} + 255 : value;
        value = (value & ~alpha) | (original & alpha);
        std::memcpy(lanes + lane + 8 * v, &value, sizeof value);
    }
}

// `count` pixels of one line, widened in `lanes`. The running sums of each tap's line and `lanes`
// hold one pixel more than the line, for the block that finishes an odd count.
template <bool Sharpen>
QOP_INLINE void filterPixels(const uint32_t *const *tapLines, size_t count, const BoxHybridTaps &taps,
                             uint32_t *lanes)
{
    size_t x = 0;
    for (; x + 8 <= count; x += 8)
        filterBlock<4, Sharpen>(tapLines, 4 * x, taps, lanes);
    for (; x < count; x += 2)
        filterBlock<1, Sharpen>(tapLines, 4 * x, taps, lanes);
}

QOP_INLINE void filterLine(const uint32_t *const *tapLines, size_t count, const BoxHybridTaps &taps, uint32_t *lanes)
{
    if (taps.sharpen)
        filterPixels<true>(tapLines, count, taps, lanes);
    else
        filterPixels<false>(tapLines, count, taps, lanes);
}

struct Buffers {
    uint32_t *sums = nullptr;
    uint32_t *lanes = nullptr;
    ~Buffers()
    {
        QopArrayFree(reinterpret_cast<void **>(&sums));
        QopArrayFree(reinterpret_cast<void **>(&lanes));
    }
    bool build(size_t sumRows, size_t sumLanes, size_t laneCount)
    {
        return QopArrayBuild2(reinterpret_cast<void **>(&sums), sumRows, sumLanes, sizeof(uint32_t)) &&
               QopArrayBuild(reinterpret_cast<void **>(&lanes), laneCount, sizeof(uint32_t));
    }
};

// Rows: the running sums of a row, extended beyond it as if its first and last pixels repeated
// (S(j) = (j + 1) S(0) before it), are kept position-major, four lanes a position; tap t of the
// output at x reads position x + t x windowWidth.
__attribute__((target_clones("avx2", "default"))) void cpuPassX(QopBitmap_t *bitmap, const BoxHybridKernel &k)
{
    const size_t w = bitmap->width;
    const BoxHybridTaps taps(k);
    Buffers buffers;
    if (!buffers.build(1, (w + taps.span + 1) * 4, (w + 1) * 4))
        return;
    uint32_t *const lanes = buffers.lanes;
    const uint32_t *tapLines[kMaxTaps + 1];
    for (int t = 0; t < taps.count; ++t)
        tapLines[t] = buffers.sums + static_cast<size_t>(t) * static_cast<size_t>(k.windowWidth) * 4;
    const size_t after = taps.span - taps.before; // positions past the row's last
    for (size_t y = 0; y < bitmap->height; ++y) {
        QopColor_t *row = bitmap->data + y * w;
        widen(row, w, lanes);
        U32x4 first, last;
        std::memcpy(&first, lanes, sizeof first);
        std::memcpy(&last, lanes + (w - 1) * 4, sizeof last);
        uint32_t *s = buffers.sums;
        for (size_t j = taps.before; j > 0; --j, s += 4) {
            const U32x4 value = static_cast<uint32_t>(1 - static_cast<int64_t>(j)) * first;
            std::memcpy(s, &value, sizeof value);
        }
        // One chain of vector adds kept in a register (reading each sum back from the store just
        // made would tie every pixel to the last through memory).
        U32x4 running = {};
        for (size_t x = 0; x < w; ++x, s += 4) {
            U32x4 value;
            std::memcpy(&value, lanes + x * 4, sizeof value);
            running += value;
            std::memcpy(s, &running, sizeof running);
        }
        for (size_t j = 0; j < after; ++j, s += 4) {
            running += last;
            std::memcpy(s, &running, sizeof running);
        }
        filterLine(tapLines, w, taps, lanes);
        narrow(lanes, w, row);
    }
}

// Columns, a strip at a time: the running sums of a strip's columns are made row by row just
// ahead of the output rows that need them, into a ring of span + 1 rows sized to stay in cache,
// so the image is read and written along rows and only once.
__attribute__((target_clones("avx2", "default"))) void cpuPassY(QopBitmap_t *bitmap, const BoxHybridKernel &k)
{
    constexpr size_t kRingBytes = 256 * 1024;
    const size_t w = bitmap->width;
    const size_t h = bitmap->height;
    const BoxHybridTaps taps(k);
    const size_t ringRows = taps.span + 1;
    size_t strip = kRingBytes / (ringRows * 16);
    strip = strip < 8 ? 8 : strip - strip % 8;
    if (strip > w)
        strip = w;
    const size_t rowLanes = (strip + 1) * 4;
    Buffers buffers;
    if (!buffers.build(ringRows, rowLanes, rowLanes))
        return;
    uint32_t *const ring = buffers.sums;
    uint32_t *const lanes = buffers.lanes;
    for (size_t x0 = 0; x0 < w; x0 += strip) {
        const size_t columns = w - x0 < strip ? w - x0 : strip;
        QopColor_t *const top = bitmap->data + x0;
        size_t next = 0; // ring row to make next: running sums of source row next - before
        for (size_t y = 0; y < h; ++y) {
            for (; next <= y + taps.span; ++next) {
                uint32_t *s = ring + (next % ringRows) * rowLanes;
                const size_t source = next < taps.before ? 0 : std::min(next - taps.before, h - 1);
                const uint8_t *bytes = reinterpret_cast<const uint8_t *>(top + source * w);
                if (next < taps.before) {
                    const uint32_t scale = static_cast<uint32_t>(1 - static_cast<int64_t>(taps.before - next));
                    for (size_t l = 0; l < columns * 4; ++l)
                        s[l] = scale * bytes[l];
                } else {
                    const uint32_t *previous = ring + ((next + ringRows - 1) % ringRows) * rowLanes;
                    for (size_t l = 0; l < columns * 4; ++l)
                        s[l] = previous[l] + bytes[l];
                }
            }
            const uint32_t *tapLines[kMaxTaps + 1];
            for (int t = 0; t < taps.count; ++t)
                tapLines[t] =
                    ring + ((y + static_cast<size_t>(t) * static_cast<size_t>(k.windowWidth)) % ringRows) * rowLanes;
            QopColor_t *row = top + y * w;
            widen(row, columns, lanes);
            filterLine(tapLines, columns, taps, lanes);
            narrow(lanes, columns, row);
        }
    }
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

// Sharpening blends the two-dimensional blur away from the image as it was before the filter:
// blurredWeight x blur + originalWeight x original. The GPU passes can only blur, and the CPU takes
// the same route, so that the preview (GPU) and the full-size render (often CPU) sharpen alike:
// sharpening rows and then columns instead would also sharpen the sharpened rows, up to tens of
// levels more at hard edges. A negative amount is the blur alone.
static void sharpenByBlend(QopBitmap_t *bitmap, float amount, float blurredWeight, float originalWeight)
{
    if (amount == 0.0f)
        return;
    if (amount < 0.0f) {
        blurBy(bitmap, -amount);
        return;
    }
    if (bitmap->glData) {
        QopBitmap_t scratch = {};
        QopBitmap_t *original = currentImageForBlend(bitmap, &scratch);
        if (!original)
            return;
        blurBy(bitmap, amount);
        QopBitmapBlendBitmapSeparate(bitmap, original, blurredWeight, originalWeight);
        QopBitmapFree(&scratch);
        return;
    }
    if (!bitmap->data)
        return;
    QopBitmap_t original;
    if (!QopBitmapBuild(&original, bitmap->width, bitmap->height)) {
        // Without room for the original, sharpen in place along rows and columns: a little
        // stronger at edges, but still the sharpening that was asked for.
        QopBoxHybridSharpenX(bitmap, amount);
        QopBoxHybridSharpenY(bitmap, amount);
        return;
    }
    if (QopArrayCopy2(original.data, bitmap->data, bitmap->width, bitmap->height, sizeof(QopColor_t))) {
        blurBy(bitmap, amount);
        QopBitmapBlendBitmapSeparate(bitmap, &original, blurredWeight, originalWeight);
    }
    QopBitmapFree(&original);
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
