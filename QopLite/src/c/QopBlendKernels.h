// Per-channel arithmetic of the blend modes, shared by the one-colour blend and the whole-row
// loops of the bitmap blends (QopBlendRows.cpp) so that both give the same bytes. Each mode is a
// type whose mix() gives M(d, s) in single precision; the caller mixes it with d by alpha and
// rounds.
//
// On x86-64 the row loops run eight channels at a time with AVX2 (mix8) or sixteen with AVX-512
// (mix16), chosen at run time; the library itself is built for the baseline instruction set. Each
// vector mix performs the same IEEE single-precision operations in the same order as its scalar
// mix, with no fused multiply-add, so every path gives the same bytes.
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
#define QOP_AVX512_TARGET "avx2,avx512f,avx512bw,avx512vl,avx512vbmi"
#define QOP_AVX512 __attribute__((target(QOP_AVX512_TARGET)))
#define QOP_AVX512_INLINE __attribute__((target(QOP_AVX512_TARGET), always_inline)) inline
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
    QOP_AVX512_INLINE static __m512 mix16(__m512, __m512 s) { return s; }
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
    QOP_AVX512_INLINE static __m512 mix16(__m512 d, __m512 s)
    {
        const __m512 two = _mm512_set1_ps(2.0f), full = _mm512_set1_ps(255.0f);
        __m512 low = _mm512_div_ps(_mm512_mul_ps(_mm512_mul_ps(two, d), s), full);
        __m512 high = _mm512_sub_ps(
            full, _mm512_div_ps(_mm512_mul_ps(_mm512_mul_ps(two, _mm512_sub_ps(full, d)), _mm512_sub_ps(full, s)), full));
        return _mm512_mask_blend_ps(_mm512_cmp_ps_mask(d, _mm512_set1_ps(128.0f), _CMP_LE_OQ), high, low);
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
    QOP_AVX512_INLINE static __m512 mix16(__m512 d, __m512 s)
    {
        const __m512 full = _mm512_set1_ps(255.0f);
        return _mm512_sub_ps(full, _mm512_div_ps(_mm512_mul_ps(_mm512_sub_ps(full, d), _mm512_sub_ps(full, s)), full));
    }
#endif
};

struct BlendDarken {
    static float mix(int d, int s) { return float(std::min(d, s)); }
#if QOP_HAVE_AVX2
    QOP_AVX2_INLINE static __m256 mix8(__m256 d, __m256 s) { return _mm256_min_ps(d, s); }
    QOP_AVX512_INLINE static __m512 mix16(__m512 d, __m512 s) { return _mm512_maskz_min_ps(0xFFFF, d, s); }
#endif
};

struct BlendMultiply {
    static float mix(int d, int s) { return float(d) * float(s) / 255.0f; }
#if QOP_HAVE_AVX2
    QOP_AVX2_INLINE static __m256 mix8(__m256 d, __m256 s)
    {
        return _mm256_div_ps(_mm256_mul_ps(d, s), _mm256_set1_ps(255.0f));
    }
    QOP_AVX512_INLINE static __m512 mix16(__m512 d, __m512 s)
    {
        return _mm512_div_ps(_mm512_mul_ps(d, s), _mm512_set1_ps(255.0f));
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
// operator() is the definition; vector() and vector16() are the same arithmetic on eight and
// sixteen channels, before the clamp and truncation that the row loops apply.
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
    QOP_AVX512_INLINE __m512 vector16(__m512 d, __m512 s) const
    {
        return _mm512_add_ps(_mm512_add_ps(_mm512_mul_ps(_mm512_set1_ps(inverse), d),
                                           _mm512_mul_ps(_mm512_set1_ps(alpha), Mode::mix16(d, s))),
                             _mm512_set1_ps(0.5f));
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
    QOP_AVX512_INLINE __m512 vector16(__m512 d, __m512 s) const
    {
        return _mm512_add_ps(_mm512_mul_ps(d, _mm512_set1_ps(dstAmount)), _mm512_mul_ps(s, _mm512_set1_ps(srcAmount)));
    }
#endif
};

} // namespace qop_internal
