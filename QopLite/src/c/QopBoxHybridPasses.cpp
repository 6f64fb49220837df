// The CPU passes of the box-hybrid Gaussian: running sums of each row (column), and n + 1
// products of kernel differences with them per output, whatever the width of the blur.
#include "QopBoxHybridPasses.h"

#include "QopLite/QopAlloc.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace qop_internal {

namespace {

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

} // namespace

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

} // namespace qop_internal
