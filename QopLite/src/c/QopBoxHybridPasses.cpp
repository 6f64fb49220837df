// The CPU passes of the box-hybrid Gaussian: running sums of each row (column), and n + 1
// products of kernel differences with them per output, whatever the width of the blur.
//
// Two implementations give the same bytes. The 32-bit passes take any kernel on any processor.
// The 16-bit passes, chosen at run time on x86-64 processors with AVX2 (or AVX-512 BW, VL and
// VNNI), keep the running sums modulo 2^16, which is exact while the taps span at most 257 pixels
// (a sigma up to about 70 pixels, four times that of amount 100 on a 12-megapixel photo), and
// handle twice as many lanes per instruction; wider kernels, or kernels of unusual shape, go to
// the 32-bit passes.
#include "QopBoxHybridPasses.h"

#include "QopLite/QopAlloc.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QOP_BOX_HYBRID_X86 1
#define QOP_AVX2 __attribute__((target("avx2")))
#define QOP_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline
#define QOP_AVX512 __attribute__((target("avx2,avx512f,avx512bw,avx512vl,avx512vnni")))
#define QOP_AVX512_INLINE __attribute__((target("avx2,avx512f,avx512bw,avx512vl,avx512vnni"), always_inline)) inline
#else
#define QOP_BOX_HYBRID_X86 0
#endif

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

// An AVX2 clone where the compiler may add one. Not under ThreadSanitizer: the clone's resolver
// runs while the program loads, before the sanitizer's runtime is ready, and crashes it.
#if defined(__SANITIZE_THREAD__)
#define QOP_WIDE_PASS_CLONES
#else
#define QOP_WIDE_PASS_CLONES __attribute__((target_clones("avx2", "default")))
#endif

// Rows: the running sums of a row, extended beyond it as if its first and last pixels repeated
// (S(j) = (j + 1) S(0) before it), are kept position-major, four lanes a position; tap t of the
// output at x reads position x + t x windowWidth.
QOP_WIDE_PASS_CLONES void widePassX(QopBitmap_t *bitmap, const BoxHybridKernel &k, const BoxHybridTaps &taps)
{
    const size_t w = bitmap->width;
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
QOP_WIDE_PASS_CLONES void widePassY(QopBitmap_t *bitmap, const BoxHybridKernel &k, const BoxHybridTaps &taps)
{
    constexpr size_t kRingBytes = 256 * 1024;
    const size_t w = bitmap->width;
    const size_t h = bitmap->height;
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

#if QOP_BOX_HYBRID_X86

// The 16-bit passes. Each output is (acc + gain / 2) / gain with acc = sum over the pairs of
// e_p x B_p, where B_p = S(n - t_p) - S(t_p) is the sum of span_p = (n - 2 t_p) x windowWidth
// pixels of one channel and e_p = -diff[t_p]. When span_p x 255 < 65536 that box sum is exact in
// 16-bit wrap-around arithmetic on running sums kept modulo 2^16, and running sums of the
// extended line may start anywhere (only differences are read). Sixteen lanes to an AVX2 vector
// then carry four RGBA pixels, and vpmaddwd multiplies two pairs' box sums by their (signed 16-bit)
// coefficients and adds them into 32 bits. A box sum that may exceed 32767 is biased by -32768
// (xor 0x8000) so that it reads as signed, and 32768 e_p goes into the constant instead.
//
// Everything is doubled, 2 acc + 2 (gain / 2) + 1, and multiplied by 1 / (2 gain): the same float
// as (m + 0.5) x (1 / gain) of the 32-bit passes, scaled by an exact power of two, so the same
// quotient (see the comment above filterBlock) without a separate addition.
struct NarrowTaps {
    int pairs = 0;
    int lowTap[kMaxTaps + 1] = {};
    int highTap[kMaxTaps + 1] = {};
    uint32_t bias[kMaxTaps + 1] = {};              // 0x80008000 where the box sum may exceed 32767
    uint32_t coefficients[kMaxTaps / 2 + 1] = {}; // per two pairs: 2 e_p in the low half, 2 e_q in the high
    bool biased = false;                          // any bias at all
    uint32_t constant = 0;
    float inverse = 0.0f;
};

// False when the kernel needs the 32-bit passes: a remainder term (extras), a coefficient beyond
// 16 bits or a box sum beyond 65535.
bool makeNarrowTaps(const BoxHybridKernel &k, const BoxHybridTaps &taps, NarrowTaps *n)
{
    if (taps.extras != 0)
        return false;
    const uint32_t gain = static_cast<uint32_t>(k.windowWidth) * static_cast<uint32_t>(k.sum);
    uint32_t constant = 2 * (gain / 2) + 1;
    int16_t coefficient[kMaxTaps + 2] = {};
    for (int p = 0; p < taps.pairs; ++p) {
        const int t = taps.pairTap[p];
        const int64_t twice = -2 * static_cast<int64_t>(static_cast<int32_t>(taps.pairDiff[p]));
        const int64_t maxSum = static_cast<int64_t>(k.taps - 2 * t) * k.windowWidth * 255;
        if (twice < INT16_MIN || twice > INT16_MAX || maxSum > UINT16_MAX)
            return false;
        coefficient[p] = static_cast<int16_t>(twice);
        n->lowTap[p] = t;
        n->highTap[p] = k.taps - t;
        if (maxSum > INT16_MAX) {
            n->bias[p] = 0x80008000u;
            n->biased = true;
            constant += 32768u * static_cast<uint32_t>(static_cast<int32_t>(twice));
        }
    }
    n->pairs = taps.pairs;
    for (int g = 0; 2 * g < taps.pairs; ++g)
        n->coefficients[g] = static_cast<uint16_t>(coefficient[2 * g]) |
                             static_cast<uint32_t>(static_cast<uint16_t>(coefficient[2 * g + 1])) << 16;
    n->constant = constant;
    n->inverse = 1.0f / static_cast<float>(2 * gain);
    return true;
}

// The instruction-set parts of the 16-bit passes, one line at a time: the running sums of an
// extended row, a ring row of column sums, and a line's outputs. The drivers below (line copies,
// the ring, tails) are shared. Pixel and sum pointers must be readable in whole blocks of eight
// pixels (32 lanes) past the counts given; a line's filter may be given pixels to fetch ahead.

// The box sums of one pair for sixteen lanes.
template <bool Biased>
QOP_AVX2_INLINE __m256i boxSumAVX2(const uint16_t *low, const uint16_t *high, uint32_t bias)
{
    const __m256i box = _mm256_sub_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(high)),
                                         _mm256_loadu_si256(reinterpret_cast<const __m256i *>(low)));
    return Biased ? _mm256_xor_si256(box, _mm256_set1_epi32(static_cast<int>(bias))) : box;
}

// Eight pixels from the 16-bit running sums at lane offset `lane` of each tap's line; `original`
// holds the pixels' bytes (the originals when sharpening, and the alpha that is kept).
template <int Pairs, bool Sharpen, bool Biased>
QOP_AVX2_INLINE __m256i filterBlockAVX2(const uint16_t *const *lowTaps, const uint16_t *const *highTaps, size_t lane,
                                        const NarrowTaps &n, __m256i original)
{
    const int pairs = Pairs > 0 ? Pairs : n.pairs;
    const __m256i constant = _mm256_set1_epi32(static_cast<int>(n.constant));
    __m256i acc[4] = {constant, constant, constant, constant};
    int p = 0;
    for (; p + 2 <= pairs; p += 2) {
        const __m256i coefficients = _mm256_set1_epi32(static_cast<int>(n.coefficients[p / 2]));
        const uint16_t *lowP = lowTaps[p] + lane, *highP = highTaps[p] + lane;
        const uint16_t *lowQ = lowTaps[p + 1] + lane, *highQ = highTaps[p + 1] + lane;
        for (int v = 0; v < 2; ++v) {
            const __m256i boxP = boxSumAVX2<Biased>(lowP + 16 * v, highP + 16 * v, n.bias[p]);
            const __m256i boxQ = boxSumAVX2<Biased>(lowQ + 16 * v, highQ + 16 * v, n.bias[p + 1]);
            acc[2 * v] = _mm256_add_epi32(acc[2 * v], _mm256_madd_epi16(_mm256_unpacklo_epi16(boxP, boxQ), coefficients));
            acc[2 * v + 1] =
                _mm256_add_epi32(acc[2 * v + 1], _mm256_madd_epi16(_mm256_unpackhi_epi16(boxP, boxQ), coefficients));
        }
    }
    if (p < pairs) { // the odd last pair, beside zeros
        const __m256i coefficients = _mm256_set1_epi32(static_cast<int>(n.coefficients[p / 2]));
        const __m256i zero = _mm256_setzero_si256();
        for (int v = 0; v < 2; ++v) {
            const __m256i box = boxSumAVX2<Biased>(lowTaps[p] + lane + 16 * v, highTaps[p] + lane + 16 * v, n.bias[p]);
            acc[2 * v] = _mm256_add_epi32(acc[2 * v], _mm256_madd_epi16(_mm256_unpacklo_epi16(box, zero), coefficients));
            acc[2 * v + 1] =
                _mm256_add_epi32(acc[2 * v + 1], _mm256_madd_epi16(_mm256_unpackhi_epi16(box, zero), coefficients));
        }
    }
    // unpacklo / unpackhi took lanes 0-3 and 4-7 of each 128-bit half; packus_epi32 puts them back
    // in order, and packus_epi16 (then a qword permute) makes bytes, clamping to 0..255.
    const __m256 inverse = _mm256_set1_ps(n.inverse);
    __m256i value[2];
    for (int v = 0; v < 2; ++v) {
        const __m256i low = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(acc[2 * v]), inverse));
        const __m256i high = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(acc[2 * v + 1]), inverse));
        value[v] = _mm256_packus_epi32(low, high);
    }
    if (Sharpen) {
        // (3 o - blur + 1) / 2: C truncates toward zero and the shift rounds down, but they differ
        // only below zero, which clamps to 0 either way.
        const __m256i one = _mm256_set1_epi16(1);
        for (int v = 0; v < 2; ++v) {
            const __m256i o = _mm256_cvtepu8_epi16(v == 0 ? _mm256_castsi256_si128(original)
                                                          : _mm256_extracti128_si256(original, 1));
            const __m256i triple = _mm256_add_epi16(o, _mm256_add_epi16(o, o));
            value[v] = _mm256_srai_epi16(_mm256_add_epi16(_mm256_sub_epi16(triple, value[v]), one), 1);
        }
    }
    const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(value[0], value[1]), 0xD8);
    return _mm256_blendv_epi8(bytes, original, _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
}

template <int Pairs, bool Sharpen, bool Biased>
QOP_AVX2 void filterLineAVX2(const uint16_t *const *lines, const NarrowTaps &n, const QopColor_t *originals,
                             QopColor_t *out, size_t count, const QopColor_t *ahead)
{
    const uint16_t *low[kMaxTaps / 2 + 1], *high[kMaxTaps / 2 + 1];
    for (int p = 0; p < n.pairs; ++p) {
        low[p] = lines[n.lowTap[p]];
        high[p] = lines[n.highTap[p]];
    }
    size_t x = 0;
    for (; x + 8 <= count; x += 8) {
        if (ahead)
            _mm_prefetch(reinterpret_cast<const char *>(ahead + x), _MM_HINT_T0);
        const __m256i original = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(originals + x));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + x),
                            filterBlockAVX2<Pairs, Sharpen, Biased>(low, high, 4 * x, n, original));
    }
    if (x < count) {
        QopColor_t block[8];
        const __m256i original = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(originals + x));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(block),
                            filterBlockAVX2<Pairs, Sharpen, Biased>(low, high, 4 * x, n, original));
        std::memcpy(out + x, block, (count - x) * sizeof(QopColor_t));
    }
}

// Four positions to a vector: shifts and adds within it, one carried add between vectors.
QOP_AVX2 void runningSumsAVX2(const QopColor_t *pixels, size_t count, uint16_t *sums)
{
    __m256i carry = _mm256_setzero_si256();
    for (size_t i = 0; i < count; i += 4, sums += 16) {
        __m256i v = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(pixels + i)));
        v = _mm256_add_epi16(v, _mm256_slli_si256(v, 8));
        const __m256i lowTotal = _mm256_permute2x128_si256(v, v, 0x08);
        v = _mm256_add_epi16(v, _mm256_unpackhi_epi64(lowTotal, lowTotal));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(sums), _mm256_add_epi16(v, carry));
        carry = _mm256_add_epi16(carry, _mm256_permute4x64_epi64(v, 0xFF));
    }
}

QOP_AVX2 void addRowAVX2(const uint16_t *previous, const QopColor_t *pixels, size_t count, uint16_t *sums)
{
    for (size_t l = 0; l < count * 4; l += 16) {
        const __m256i bytes = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(
            reinterpret_cast<const uint8_t *>(pixels) + l)));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(sums + l),
                            _mm256_add_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(previous + l)), bytes));
    }
}

// The same with 512-bit vectors (eight pixels to a vector) and vpdpwssd, which multiplies and adds
// into the accumulator in one instruction with the same wrap-around result.
template <bool Biased>
QOP_AVX512_INLINE __m512i boxSumAVX512(const uint16_t *low, const uint16_t *high, uint32_t bias)
{
    const __m512i box = _mm512_sub_epi16(_mm512_loadu_si512(high), _mm512_loadu_si512(low));
    return Biased ? _mm512_xor_si512(box, _mm512_set1_epi32(static_cast<int>(bias))) : box;
}

template <int Pairs, bool Sharpen, bool Biased>
QOP_AVX512_INLINE __m256i filterBlockAVX512(const uint16_t *const *lowTaps, const uint16_t *const *highTaps,
                                            size_t lane, const NarrowTaps &n, __m256i original)
{
    const int pairs = Pairs > 0 ? Pairs : n.pairs;
    __m512i low = _mm512_set1_epi32(static_cast<int>(n.constant)), high = low;
    int p = 0;
    for (; p + 2 <= pairs; p += 2) {
        const __m512i coefficients = _mm512_set1_epi32(static_cast<int>(n.coefficients[p / 2]));
        const __m512i boxP = boxSumAVX512<Biased>(lowTaps[p] + lane, highTaps[p] + lane, n.bias[p]);
        const __m512i boxQ = boxSumAVX512<Biased>(lowTaps[p + 1] + lane, highTaps[p + 1] + lane, n.bias[p + 1]);
        low = _mm512_dpwssd_epi32(low, _mm512_unpacklo_epi16(boxP, boxQ), coefficients);
        high = _mm512_dpwssd_epi32(high, _mm512_unpackhi_epi16(boxP, boxQ), coefficients);
    }
    if (p < pairs) {
        const __m512i coefficients = _mm512_set1_epi32(static_cast<int>(n.coefficients[p / 2]));
        const __m512i box = boxSumAVX512<Biased>(lowTaps[p] + lane, highTaps[p] + lane, n.bias[p]);
        low = _mm512_dpwssd_epi32(low, _mm512_unpacklo_epi16(box, _mm512_setzero_si512()), coefficients);
        high = _mm512_dpwssd_epi32(high, _mm512_unpackhi_epi16(box, _mm512_setzero_si512()), coefficients);
    }
    // The zero-masking forms with every lane selected: GCC 12's unmasked conversions start from
    // an undefined vector that its own warnings then flag.
    const __m512 inverse = _mm512_set1_ps(n.inverse);
    const __mmask16 all = 0xFFFF;
    __m512i value = _mm512_packus_epi32(
        _mm512_maskz_cvttps_epi32(all, _mm512_mul_ps(_mm512_maskz_cvtepi32_ps(all, low), inverse)),
        _mm512_maskz_cvttps_epi32(all, _mm512_mul_ps(_mm512_maskz_cvtepi32_ps(all, high), inverse)));
    if (Sharpen) {
        const __m512i o = _mm512_cvtepu8_epi16(original);
        const __m512i triple = _mm512_add_epi16(o, _mm512_add_epi16(o, o));
        value = _mm512_srai_epi16(_mm512_add_epi16(_mm512_sub_epi16(triple, value), _mm512_set1_epi16(1)), 1);
        value = _mm512_max_epi16(value, _mm512_setzero_si512()); // the narrowing below saturates unsigned
    }
    return _mm256_mask_blend_epi8(0x88888888u, _mm512_maskz_cvtusepi16_epi8(0xFFFFFFFFu, value), original);
}

template <int Pairs, bool Sharpen, bool Biased>
QOP_AVX512 void filterLineAVX512(const uint16_t *const *lines, const NarrowTaps &n, const QopColor_t *originals,
                                 QopColor_t *out, size_t count, const QopColor_t *ahead)
{
    const uint16_t *low[kMaxTaps / 2 + 1], *high[kMaxTaps / 2 + 1];
    for (int p = 0; p < n.pairs; ++p) {
        low[p] = lines[n.lowTap[p]];
        high[p] = lines[n.highTap[p]];
    }
    size_t x = 0;
    for (; x + 8 <= count; x += 8) {
        if (ahead)
            _mm_prefetch(reinterpret_cast<const char *>(ahead + x), _MM_HINT_T0);
        const __m256i original = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(originals + x));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(out + x),
                            filterBlockAVX512<Pairs, Sharpen, Biased>(low, high, 4 * x, n, original));
    }
    if (x < count) {
        const __m256i original = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(originals + x));
        _mm256_mask_storeu_epi32(out + x, static_cast<__mmask8>((1u << (count - x)) - 1),
                                 filterBlockAVX512<Pairs, Sharpen, Biased>(low, high, 4 * x, n, original));
    }
}

// Eight positions to a vector: within each 128-bit lane as in the AVX2 pass, then the lanes'
// totals carried across in two masked permutes.
QOP_AVX512 void runningSumsAVX512(const QopColor_t *pixels, size_t count, uint16_t *sums)
{
    const __m512i oneBack = _mm512_set_epi64(5, 5, 3, 3, 1, 1, 0, 0);  // lane L - 1's total
    const __m512i twoBack = _mm512_set_epi64(3, 3, 1, 1, 0, 0, 0, 0);  // lane L - 2's, after that
    const __m512i last = _mm512_set1_epi64(7);
    __m512i carry = _mm512_setzero_si512();
    for (size_t i = 0; i < count; i += 8, sums += 32) {
        __m512i v = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(pixels + i)));
        v = _mm512_add_epi16(v, _mm512_bslli_epi128(v, 8));
        v = _mm512_add_epi16(v, _mm512_maskz_permutexvar_epi64(0xFC, oneBack, v));
        v = _mm512_add_epi16(v, _mm512_maskz_permutexvar_epi64(0xF0, twoBack, v));
        _mm512_storeu_si512(sums, _mm512_add_epi16(v, carry));
        carry = _mm512_add_epi16(carry, _mm512_maskz_permutexvar_epi64(0xFF, last, v));
    }
}

QOP_AVX512 void addRowAVX512(const uint16_t *previous, const QopColor_t *pixels, size_t count, uint16_t *sums)
{
    for (size_t l = 0; l < count * 4; l += 32) {
        const __m512i bytes = _mm512_cvtepu8_epi16(
            _mm256_loadu_si256(reinterpret_cast<const __m256i *>(reinterpret_cast<const uint8_t *>(pixels) + l)));
        _mm512_storeu_si512(sums + l, _mm512_add_epi16(_mm512_loadu_si512(previous + l), bytes));
    }
}

struct NarrowBuffers {
    uint16_t *sums = nullptr;
    QopColor_t *pixels = nullptr;
    ~NarrowBuffers()
    {
        QopArrayFree(reinterpret_cast<void **>(&sums));
        QopArrayFree(reinterpret_cast<void **>(&pixels));
    }
    bool build(size_t sumLanes, size_t pixelCount)
    {
        return QopArrayBuild(reinterpret_cast<void **>(&sums), sumLanes, sizeof(uint16_t)) &&
               QopArrayBuild(reinterpret_cast<void **>(&pixels), pixelCount, sizeof(QopColor_t));
    }
};

// One instruction set's line functions, the filter chosen for the kernel.
struct NarrowCode {
    void (*filterLine)(const uint16_t *const *lines, const NarrowTaps &n, const QopColor_t *originals, QopColor_t *out,
                       size_t count, const QopColor_t *ahead) = nullptr;
    void (*runningSums)(const QopColor_t *pixels, size_t count, uint16_t *sums) = nullptr;
    void (*addRow)(const uint16_t *previous, const QopColor_t *pixels, size_t count, uint16_t *sums) = nullptr;
};

// The code of one instruction set (512-bit or 256-bit vectors), its filter unrolled for the
// kernel's number of pairs (at most five for the kernels the amounts give; any other count takes
// the loop).
template <int Pairs, bool Sharpen, bool Biased>
constexpr decltype(NarrowCode::filterLine) lineFilter(bool wide)
{
    return wide ? filterLineAVX512<Pairs, Sharpen, Biased> : filterLineAVX2<Pairs, Sharpen, Biased>;
}

template <bool Sharpen, bool Biased>
NarrowCode narrowCodeFor(bool wide, int pairs)
{
    NarrowCode code;
    code.runningSums = wide ? runningSumsAVX512 : runningSumsAVX2;
    code.addRow = wide ? addRowAVX512 : addRowAVX2;
    switch (pairs) {
    case 1: code.filterLine = lineFilter<1, Sharpen, Biased>(wide); break;
    case 2: code.filterLine = lineFilter<2, Sharpen, Biased>(wide); break;
    case 3: code.filterLine = lineFilter<3, Sharpen, Biased>(wide); break;
    case 4: code.filterLine = lineFilter<4, Sharpen, Biased>(wide); break;
    case 5: code.filterLine = lineFilter<5, Sharpen, Biased>(wide); break;
    default: code.filterLine = lineFilter<0, Sharpen, Biased>(wide); break;
    }
    return code;
}

NarrowCode narrowCode(bool wide, const BoxHybridKernel &k, const NarrowTaps &n)
{
    if (k.sharpen)
        return n.biased ? narrowCodeFor<true, true>(wide, n.pairs) : narrowCodeFor<true, false>(wide, n.pairs);
    return n.biased ? narrowCodeFor<false, true>(wide, n.pairs) : narrowCodeFor<false, false>(wide, n.pairs);
}

// Rows: each row is copied with its first and last pixels repeated before and after it (so that
// every block reads whole vectors), its running sums made, then filtered into the row.
void narrowPassX(QopBitmap_t *bitmap, const BoxHybridKernel &k, const BoxHybridTaps &taps, const NarrowTaps &n,
                 const NarrowCode &code)
{
    const size_t w = bitmap->width;
    // Blocks of eight outputs read eight originals and their taps' sums up to span positions on.
    const size_t positions = ((w + 7) / 8 * 8 + taps.span + 7) / 8 * 8;
    NarrowBuffers buffers;
    if (!buffers.build(positions * 4, positions))
        return;
    QopColor_t *const line = buffers.pixels;
    const uint16_t *lines[kMaxTaps + 1];
    for (int t = 0; t < taps.count; ++t)
        lines[t] = buffers.sums + static_cast<size_t>(t) * static_cast<size_t>(k.windowWidth) * 4;
    for (size_t y = 0; y < bitmap->height; ++y) {
        QopColor_t *row = bitmap->data + y * w;
        std::fill(line, line + taps.before, row[0]);
        std::memcpy(line + taps.before, row, w * sizeof(QopColor_t));
        std::fill(line + taps.before + w, line + positions, row[w - 1]);
        code.runningSums(line, positions, buffers.sums);
        // The next row is fetched while this one is filtered: read only when its copy is made, it
        // would otherwise wait on memory at every row's start.
        code.filterLine(lines, n, line + taps.before, row, w, y + 1 < bitmap->height ? row + w : nullptr);
    }
}

// Columns, a strip at a time, as the 32-bit pass does, with the ring in 16 bits. Ring row r holds
// the running sums of source rows clamp(r - before) for r = 0, 1, ... Strips are kept at least a
// few hundred pixels wide (the ring then may outgrow the first-level cache, which costs less than
// reading the image in short pieces).
void narrowPassY(QopBitmap_t *bitmap, const BoxHybridKernel &k, const BoxHybridTaps &taps, const NarrowTaps &n,
                 const NarrowCode &code)
{
    constexpr size_t kRingBytes = 256 * 1024;
    constexpr size_t kMinStrip = 256;
    const size_t w = bitmap->width;
    const size_t h = bitmap->height;
    const size_t ringRows = taps.span + 1;
    size_t strip = kRingBytes / (ringRows * 8);
    strip = std::max(strip - strip % 8, kMinStrip);
    strip = std::min(strip, (w + 7) / 8 * 8);
    const size_t rowLanes = strip * 4;
    NarrowBuffers buffers;
    if (!buffers.build((ringRows + 1) * rowLanes, 0))
        return;
    uint16_t *const ring = buffers.sums;
    const uint16_t *const zeros = ring + ringRows * rowLanes; // "before" the first ring row
    for (size_t x0 = 0; x0 < w; x0 += strip) {
        const size_t columns = std::min(strip, w - x0);
        const size_t whole = columns / 8 * 8;
        QopColor_t *const top = bitmap->data + x0;
        size_t next = 0;
        for (size_t y = 0; y < h; ++y) {
            for (; next <= y + taps.span; ++next) {
                uint16_t *s = ring + (next % ringRows) * rowLanes;
                const uint16_t *previous = next == 0 ? zeros : ring + ((next - 1) % ringRows) * rowLanes;
                const size_t source = next < taps.before ? 0 : std::min(next - taps.before, h - 1);
                const QopColor_t *pixels = top + source * w;
                code.addRow(previous, pixels, whole, s);
                if (whole < columns) {
                    QopColor_t block[8] = {};
                    std::memcpy(block, pixels + whole, (columns - whole) * sizeof(QopColor_t));
                    code.addRow(previous + 4 * whole, block, 8, s + 4 * whole);
                }
            }
            const uint16_t *lines[kMaxTaps + 1];
            for (int t = 0; t < taps.count; ++t)
                lines[t] = ring + ((y + static_cast<size_t>(t) * static_cast<size_t>(k.windowWidth)) % ringRows) * rowLanes;
            QopColor_t *row = top + y * w;
            // The rows are read a strip's width at a time, a row apart, which the processor does not
            // fetch ahead by itself: while this row is filtered, fetch the source row of the ring
            // row after next (the next reads source row y + 1 + span - before).
            code.filterLine(lines, n, row, row, whole, top + std::min(y + 2 + taps.span - taps.before, h - 1) * w);
            if (whole < columns) {
                QopColor_t block[8] = {};
                std::memcpy(block, row + whole, (columns - whole) * sizeof(QopColor_t));
                for (int t = 0; t < taps.count; ++t)
                    lines[t] += 4 * whole;
                code.filterLine(lines, n, block, block, columns - whole, nullptr);
                std::memcpy(row + whole, block, (columns - whole) * sizeof(QopColor_t));
            }
        }
    }
}

// The code for this kernel and machine; no filter where the 32-bit passes must do.
NarrowCode pickNarrowCode(const BoxHybridKernel &k, const NarrowTaps &n, BoxHybridPath path)
{
    if (path == BoxHybridPath::Portable)
        return {};
    if (path == BoxHybridPath::Best && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("avx512vnni"))
        return narrowCode(true, k, n);
    if (__builtin_cpu_supports("avx2"))
        return narrowCode(false, k, n);
    return {};
}

#endif

} // namespace

void cpuPassX(QopBitmap_t *bitmap, const BoxHybridKernel &k, [[maybe_unused]] BoxHybridPath path)
{
    const BoxHybridTaps taps(k);
#if QOP_BOX_HYBRID_X86
    NarrowTaps n;
    if (makeNarrowTaps(k, taps, &n))
        if (const NarrowCode code = pickNarrowCode(k, n, path); code.filterLine) {
            narrowPassX(bitmap, k, taps, n, code);
            return;
        }
#endif
    widePassX(bitmap, k, taps);
}

void cpuPassY(QopBitmap_t *bitmap, const BoxHybridKernel &k, [[maybe_unused]] BoxHybridPath path)
{
    const BoxHybridTaps taps(k);
#if QOP_BOX_HYBRID_X86
    NarrowTaps n;
    if (makeNarrowTaps(k, taps, &n))
        if (const NarrowCode code = pickNarrowCode(k, n, path); code.filterLine) {
            narrowPassY(bitmap, k, taps, n, code);
            return;
        }
#endif
    widePassY(bitmap, k, taps);
}

} // namespace qop_internal
