// Per-channel arithmetic of the blend modes, shared by the one-colour blend and the whole-row
// loops of the bitmap blends so that both give the same bytes. Each mode is a type whose mix()
// gives M(d, s) in single precision; the caller mixes it with d by alpha and rounds.
//
// On x86-64 processors with AVX2 the row loops run eight pixels at a time through intrinsics
// (chosen at run time; the library itself is built for the baseline instruction set). Each
// vector mix performs the same IEEE single-precision operations in the same order as its scalar
// mix, with no fused multiply-add, so both give the same bytes.
#pragma once

#include "QopLite/QopTypes.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QOP_HAVE_AVX2 1
#define QOP_AVX2 __attribute__((target("avx2")))
#define QOP_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline
#else
#define QOP_HAVE_AVX2 0
#endif

namespace qop_internal {

// Truncation toward zero, then a clamp to 0..255. Clamping the float first gives the same byte
// (anything in (-1, 0) truncates to 0 anyway) and keeps out-of-range values, NaN included,
// away from an undefined float-to-int conversion.
inline uint8_t truncateClamp(float f)
{
    f = f > 0.0f ? f : 0.0f;
    f = f < 255.0f ? f : 255.0f;
    return static_cast<uint8_t>(static_cast<int>(f));
}

// Selects between two floats by an integer condition. A float ternary is kept as a branch (the
// comparison might trap), which stops the row loops from vectorising; bitwise selection does not.
inline float selectFloat(bool condition, float ifTrue, float ifFalse)
{
    uint32_t t, f;
    std::memcpy(&t, &ifTrue, 4);
    std::memcpy(&f, &ifFalse, 4);
    uint32_t mask = 0u - uint32_t(condition);
    uint32_t bits = (t & mask) | (f & ~mask);
    float result;
    std::memcpy(&result, &bits, 4);
    return result;
}

struct BlendNormal {
    static float mix(int, int s) { return float(s); }
#if QOP_HAVE_AVX2
    QOP_AVX2_INLINE static __m256 mix8(__m256, __m256 s) { return s; }
#endif
};

struct BlendOverlay {
    // The test is on the destination channel, and 128 takes the multiplying branch.
    static float mix(int d, int s)
    {
        float df = float(d), sf = float(s);
        float low = 2.0f * df * sf / 255.0f;
        float high = 255.0f - 2.0f * (255.0f - df) * (255.0f - sf) / 255.0f;
        return selectFloat(d <= 128, low, high);
    }
#if QOP_HAVE_AVX2
    QOP_AVX2_INLINE static __m256 mix8(__m256 d, __m256 s)
    {
        const __m256 two = _mm256_set1_ps(2.0f), full = _mm256_set1_ps(255.0f);
        __m256 low = _mm256_div_ps(_mm256_mul_ps(_mm256_mul_ps(two, d), s), full);
        __m256 high = _mm256_sub_ps(
            full, _mm256_div_ps(_mm256_mul_ps(_mm256_mul_ps(two, _mm256_sub_ps(full, d)), _mm256_sub_ps(full, s)), full));
        return _mm256_blendv_ps(high, low, _mm256_cmp_ps(d, _mm256_set1_ps(128.0f), _CMP_LE_OQ));
    }
#endif
};

struct BlendScreen {
    static float mix(int d, int s) { return 255.0f - (255.0f - float(d)) * (255.0f - float(s)) / 255.0f; }
#if QOP_HAVE_AVX2
    QOP_AVX2_INLINE static __m256 mix8(__m256 d, __m256 s)
    {
        const __m256 full = _mm256_set1_ps(255.0f);
        return _mm256_sub_ps(full, _mm256_div_ps(_mm256_mul_ps(_mm256_sub_ps(full, d), _mm256_sub_ps(full, s)), full));
    }
#endif
};

struct BlendDarken {
    static float mix(int d, int s) { return float(std::min(d, s)); }
#if QOP_HAVE_AVX2
    QOP_AVX2_INLINE static __m256 mix8(__m256 d, __m256 s) { return _mm256_min_ps(d, s); }
#endif
};

struct BlendMultiply {
    static float mix(int d, int s) { return float(d) * float(s) / 255.0f; }
#if QOP_HAVE_AVX2
    QOP_AVX2_INLINE static __m256 mix8(__m256 d, __m256 s)
    {
        return _mm256_div_ps(_mm256_mul_ps(d, s), _mm256_set1_ps(255.0f));
    }
#endif
};

template <class Mode>
inline uint8_t blendChannel(int d, int s, float alpha, float inverse)
{
    return truncateClamp(inverse * float(d) + alpha * Mode::mix(d, s) + 0.5f);
}

template <class Mode>
inline void blendPixel(QopColor_t *dst, const QopColor_t *src, float alpha)
{
    float inverse = 1.0f - alpha;
    dst->r = blendChannel<Mode>(dst->r, src->r, alpha, inverse);
    dst->g = blendChannel<Mode>(dst->g, src->g, alpha, inverse);
    dst->b = blendChannel<Mode>(dst->b, src->b, alpha, inverse);
}

// Row operations: a channel of dst and the same channel of src give the new channel of dst.
// operator() is the definition; vector() is the same arithmetic on eight channels, before the
// clamp and truncation that the row loop applies.
template <class Mode>
struct BlendOp {
    float alpha, inverse;
    explicit BlendOp(float a) : alpha(a), inverse(1.0f - a) {}
    uint8_t operator()(int d, int s) const { return blendChannel<Mode>(d, s, alpha, inverse); }
#if QOP_HAVE_AVX2
    QOP_AVX2_INLINE __m256 vector(__m256 d, __m256 s) const
    {
        return _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(_mm256_set1_ps(inverse), d),
                                           _mm256_mul_ps(_mm256_set1_ps(alpha), Mode::mix8(d, s))),
                             _mm256_set1_ps(0.5f));
    }
#endif
};

// d dstAmount + s srcAmount, truncated and clamped, with no rounding term.
struct WeightedSumOp {
    float dstAmount, srcAmount;
    uint8_t operator()(int d, int s) const { return truncateClamp(float(d) * dstAmount + float(s) * srcAmount); }
#if QOP_HAVE_AVX2
    QOP_AVX2_INLINE __m256 vector(__m256 d, __m256 s) const
    {
        return _mm256_add_ps(_mm256_mul_ps(d, _mm256_set1_ps(dstAmount)), _mm256_mul_ps(s, _mm256_set1_ps(srcAmount)));
    }
#endif
};

// count pixels of dst combined with src by op; alpha is left alone. Written as a loop over
// pixels with a fixed three-channel body, which the compiler vectorises for the baseline target.
template <class Op>
inline void applyRow(QopColor_t *dst, const QopColor_t *src, size_t count, const Op &op)
{
    uint8_t *d = reinterpret_cast<uint8_t *>(dst);
    const uint8_t *s = reinterpret_cast<const uint8_t *>(src);
    for (size_t i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c)
            d[4 * i + c] = op(d[4 * i + c], s[4 * i + c]);
}

#if QOP_HAVE_AVX2
// Eight channels (two pixels) of dst and src through op, clamped and truncated to 32-bit lanes.
template <class Op>
QOP_AVX2_INLINE __m256i applyEight(const uint8_t *d, const uint8_t *s, const Op &op)
{
    __m256 df = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(d))));
    __m256 sf = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(s))));
    // max and min return their second operand for NaN, so NaN clamps to 0 as in truncateClamp.
    __m256 f = _mm256_max_ps(op.vector(df, sf), _mm256_setzero_ps());
    f = _mm256_min_ps(f, _mm256_set1_ps(255.0f));
    return _mm256_cvttps_epi32(f);
}

template <class Op>
QOP_AVX2 void applyRowAVX2(QopColor_t *dst, const QopColor_t *src, size_t count, const Op &sharedOp)
{
    // A private copy: through the reference the compiler must assume the byte stores may change
    // the weights, and would reload and re-broadcast them for every eight pixels.
    const Op op = sharedOp;
    uint8_t *d = reinterpret_cast<uint8_t *>(dst);
    const uint8_t *s = reinterpret_cast<const uint8_t *>(src);
    const __m256i alphaLanes = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint8_t *dp = d + 4 * i;
        const uint8_t *sp = s + 4 * i;
        __m256i q0 = applyEight(dp, sp, op), q1 = applyEight(dp + 8, sp + 8, op);
        __m256i q2 = applyEight(dp + 16, sp + 16, op), q3 = applyEight(dp + 24, sp + 24, op);
        // The packs work within 128-bit halves; the permutation puts the pixels back in order.
        __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(q0, q1), _mm256_packs_epi32(q2, q3));
        bytes = _mm256_permutevar8x32_epi32(bytes, order);
        __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(dp));
        bytes = _mm256_or_si256(_mm256_andnot_si256(alphaLanes, bytes), _mm256_and_si256(alphaLanes, old));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dp), bytes);
    }
    applyRow(dst + i, src + i, count - i, op);
}
#endif

// rows x columns pixels of dst combined with src by op, each image addressed with its own width.
template <class Op>
void applyRows(QopBitmap_t *dst, const QopBitmap_t *src, size_t rows, size_t columns, const Op &op)
{
#if QOP_HAVE_AVX2
    if (__builtin_cpu_supports("avx2")) {
        for (size_t y = 0; y < rows; ++y)
            applyRowAVX2(dst->data + y * dst->width, src->data + y * src->width, columns, op);
        return;
    }
#endif
    for (size_t y = 0; y < rows; ++y)
        applyRow(dst->data + y * dst->width, src->data + y * src->width, columns, op);
}

} // namespace qop_internal
