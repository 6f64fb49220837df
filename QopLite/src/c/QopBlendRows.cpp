// The row loops of the two-image blends over the per-mode arithmetic of QopBlendKernels.h: a
// portable loop the compiler vectorises for the baseline target, and on x86-64 eight channels at a
// time with AVX2 or sixteen with AVX-512, chosen at run time.
#include "QopBlendRows.h"

#include "QopBlendKernels.h"

#include <array>
#include <cstdint>

namespace qop_internal {

namespace {

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

// AVX-512, sixteen pixels to a vector, and only their 48 colour channels go through the
// arithmetic: byte permutes gather them into three vectors of 32-bit lanes, and one permute puts
// the results back between the alpha bytes of dst, which it keeps.
//
// kGather[q] takes colour channel 16 q + j (byte 4 (c / 3) + c % 3 of c) into lane j;
// kScatter takes byte 4 p + k (k < 3) from where the packs leave colour channel 3 p + k.
constexpr std::array<std::array<uint8_t, 64>, 3> kGather = [] {
    std::array<std::array<uint8_t, 64>, 3> table{};
    for (int q = 0; q < 3; ++q)
        for (int j = 0; j < 16; ++j) {
            const int c = 16 * q + j;
            table[q][4 * j] = static_cast<uint8_t>(4 * (c / 3) + c % 3);
        }
    return table;
}();

// The packs below leave channel j of vector q at byte 16 (j / 4) + 4 q + j % 4.
constexpr std::array<uint8_t, 64> kScatter = [] {
    std::array<uint8_t, 64> table{};
    for (int b = 0; b < 64; ++b)
        if (b % 4 < 3) {
            const int c = 3 * (b / 4) + b % 4, q = c / 16, j = c % 16;
            table[b] = static_cast<uint8_t>(16 * (j / 4) + 4 * q + j % 4);
        }
    return table;
}();

constexpr __mmask64 kLowBytes = 0x1111111111111111ull;
constexpr __mmask64 kColourBytes = 0x7777777777777777ull;

template <class Op>
QOP_AVX512_INLINE __m512i colourLanes(__m512i d, __m512i s, __m512i gather, const Op &op)
{
    // The zero-masking forms with every lane selected: GCC 12's unmasked conversions and min start
    // from an undefined vector that its own warnings then flag.
    const __mmask16 all = 0xFFFF;
    const __m512 df = _mm512_maskz_cvtepi32_ps(all, _mm512_maskz_permutexvar_epi8(kLowBytes, gather, d));
    const __m512 sf = _mm512_maskz_cvtepi32_ps(all, _mm512_maskz_permutexvar_epi8(kLowBytes, gather, s));
    // min returns its second operand for NaN, which converts to 0x80000000 and packs to 0, as
    // truncateClamp gives; below 0 packs to 0 as well.
    return _mm512_maskz_cvttps_epi32(all, _mm512_maskz_min_ps(all, _mm512_set1_ps(255.0f), op.vector16(df, sf)));
}

template <class Op>
QOP_AVX512_INLINE __m512i applySixteen(__m512i d, __m512i s, const __m512i *gather, __m512i scatter, const Op &op)
{
    const __m512i q0 = colourLanes(d, s, gather[0], op);
    const __m512i q1 = colourLanes(d, s, gather[1], op);
    const __m512i q2 = colourLanes(d, s, gather[2], op);
    const __m512i bytes = _mm512_packus_epi16(_mm512_packus_epi32(q0, q1), _mm512_packus_epi32(q2, q2));
    return _mm512_mask_permutexvar_epi8(d, kColourBytes, scatter, bytes);
}

template <class Op>
QOP_AVX512 void applyRowAVX512(QopColor_t *dst, const QopColor_t *src, size_t count, const Op &sharedOp)
{
    const Op op = sharedOp;
    const __m512i gather[3] = {_mm512_loadu_si512(kGather[0].data()), _mm512_loadu_si512(kGather[1].data()),
                               _mm512_loadu_si512(kGather[2].data())};
    const __m512i scatter = _mm512_loadu_si512(kScatter.data());
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i d = _mm512_loadu_si512(dst + i), s = _mm512_loadu_si512(src + i);
        _mm512_storeu_si512(dst + i, applySixteen(d, s, gather, scatter, op));
    }
    if (i < count) {
        const __mmask16 tail = static_cast<__mmask16>((1u << (count - i)) - 1);
        const __m512i d = _mm512_maskz_loadu_epi32(tail, dst + i), s = _mm512_maskz_loadu_epi32(tail, src + i);
        _mm512_mask_storeu_epi32(dst + i, tail, applySixteen(d, s, gather, scatter, op));
    }
}
#endif

// rows x columns pixels of dst combined with src by op, each image addressed with its own width.
template <class Op>
void applyRows(QopBitmap_t *dst, const QopBitmap_t *src, size_t rows, size_t columns, const Op &op, KernelPath path)
{
    void (*row)(QopColor_t *, const QopColor_t *, size_t, const Op &) = applyRow<Op>;
#if QOP_HAVE_AVX2
    switch (kernelCode(path)) {
    case KernelCode::Avx512: row = applyRowAVX512<Op>; break;
    case KernelCode::Avx2: row = applyRowAVX2<Op>; break;
    case KernelCode::Portable: break;
    }
#else
    (void)path;
#endif
    for (size_t y = 0; y < rows; ++y)
        row(dst->data + y * dst->width, src->data + y * src->width, columns, op);
}

} // namespace

void blendRows(QopBitmap_t *dst, const QopBitmap_t *src, size_t rows, size_t columns, QopBlendMode_t mode,
               float alpha, KernelPath path)
{
    switch (mode) {
    case QopBlendModeNormal:
        applyRows(dst, src, rows, columns, BlendOp<BlendNormal>(alpha), path);
        break;
    case QopBlendModeOverlay:
        applyRows(dst, src, rows, columns, BlendOp<BlendOverlay>(alpha), path);
        break;
    case QopBlendModeScreen:
        applyRows(dst, src, rows, columns, BlendOp<BlendScreen>(alpha), path);
        break;
    case QopBlendModeDarken:
        applyRows(dst, src, rows, columns, BlendOp<BlendDarken>(alpha), path);
        break;
    case QopBlendModeMultiply:
        applyRows(dst, src, rows, columns, BlendOp<BlendMultiply>(alpha), path);
        break;
    case QopBlendModeColor:
        break;
    }
}

void weightedSumRows(QopBitmap_t *dst, const QopBitmap_t *src, size_t rows, size_t columns, float dstAmount,
                     float srcAmount, KernelPath path)
{
    applyRows(dst, src, rows, columns, WeightedSumOp{dstAmount, srcAmount}, path);
}

} // namespace qop_internal
