// The per-pixel colour passes: portable code, and on x86-64 processors with AVX-512 (F, BW, VL and
// VBMI) sixteen pixels to a vector, chosen at run time. The table pass looks bytes up with
// two-register byte permutes; the matrix pass performs the portable code's single-precision
// operations in the same order, so every path gives the same bytes.
#include "QopColorPasses.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QOP_COLOR_PASSES_X86 1
#define QOP_AVX512 __attribute__((target("avx2,avx512f,avx512bw,avx512vl,avx512vbmi")))
#else
#define QOP_COLOR_PASSES_X86 0
#endif

namespace qop_internal {

namespace {

static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");

// One load and one store per pixel: the byte tables are widened once into words already shifted
// to their lane, and alpha passes through untouched.
void mapChannelsPortable(QopColor_t *pixels, size_t count, const QopHistMap_t *map)
{
    uint32_t red[256], green[256], blue[256];
    for (int i = 0; i < 256; ++i) {
        red[i] = map->r[i];
        green[i] = uint32_t(map->g[i]) << 8;
        blue[i] = uint32_t(map->b[i]) << 16;
    }
    unsigned char *bytes = reinterpret_cast<unsigned char *>(pixels);
    for (size_t i = 0; i < count; ++i) {
        uint32_t p;
        std::memcpy(&p, bytes + 4 * i, 4);
        p = (p & 0xFF000000u) | red[p & 0xFF] | green[(p >> 8) & 0xFF] | blue[(p >> 16) & 0xFF];
        std::memcpy(bytes + 4 * i, &p, 4);
    }
}

// Four pixels at a time in the compiler's generic vectors (SSE on x86, NEON on ARM, at -O2 as well
// as -O3): each lane does the arithmetic of the definition in the same order, so the result does
// not depend on how many pixels a run has. Pixels are handled as little-endian words (r in the
// low byte).
typedef float Float4 __attribute__((vector_size(16)));
typedef int32_t Int4 __attribute__((vector_size(16)));
typedef uint32_t Word4 __attribute__((vector_size(16)));

inline Float4 splat(float v) { return Float4{v, v, v, v}; }

inline Word4 clampToWords(Float4 v)
{
    const Float4 zero = splat(0.0f), top = splat(255.0f);
    v = v > zero ? v : zero;
    v = v < top ? v : top;
    return reinterpret_cast<Word4>(__builtin_convertvector(v, Int4));
}

inline Float4 channel(Word4 p, int shift)
{
    return __builtin_convertvector(reinterpret_cast<Int4>((p >> shift) & 0xFFu), Float4);
}

void matrixPixelsPortable(QopColor_t *pixels, size_t count, const float *cm)
{
    const Float4 m0 = splat(cm[0]), m1 = splat(cm[1]), m2 = splat(cm[2]), m3 = splat(cm[3]);
    const Float4 m4 = splat(cm[4]), m5 = splat(cm[5]), m6 = splat(cm[6]), m7 = splat(cm[7]);
    const Float4 m8 = splat(cm[8]), m9 = splat(cm[9]), m10 = splat(cm[10]), m11 = splat(cm[11]);
    const Float4 half = splat(0.5f);
    const auto four = [&](unsigned char *bytes) {
        Word4 p;
        std::memcpy(&p, bytes, sizeof p);
        const Float4 r = channel(p, 0), g = channel(p, 8), b = channel(p, 16);
        const Float4 nr = m0 * r + m1 * g + m2 * b + m3 + half;
        const Float4 ng = m4 * r + m5 * g + m6 * b + m7 + half;
        const Float4 nb = m8 * r + m9 * g + m10 * b + m11 + half;
        p = (p & 0xFF000000u) | clampToWords(nr) | clampToWords(ng) << 8 | clampToWords(nb) << 16;
        std::memcpy(bytes, &p, sizeof p);
    };
    unsigned char *bytes = reinterpret_cast<unsigned char *>(pixels);
    size_t i = 0;
    for (; i + 4 <= count; i += 4)
        four(bytes + 4 * i);
    if (i < count) {
        unsigned char block[16] = {};
        std::memcpy(block, bytes + 4 * i, 4 * (count - i));
        four(block);
        std::memcpy(bytes + 4 * i, block, 4 * (count - i));
    }
}

#if QOP_COLOR_PASSES_X86

constexpr __mmask64 kRedBytes = 0x1111111111111111ull;

// Sixteen pixels at a time, the rest under a mask.
template <class Sixteen>
QOP_AVX512 inline __attribute__((always_inline)) void sixteenAtATime(QopColor_t *pixels, size_t count,
                                                                      const Sixteen &sixteen)
{
    size_t i = 0;
    for (; i + 16 <= count; i += 16)
        _mm512_storeu_si512(pixels + i, sixteen(_mm512_loadu_si512(pixels + i)));
    if (i < count) {
        const __mmask16 tail = static_cast<__mmask16>((1u << (count - i)) - 1);
        _mm512_mask_storeu_epi32(pixels + i, tail, sixteen(_mm512_maskz_loadu_epi32(tail, pixels + i)));
    }
}

// Each channel's 256 entries are four vectors; a two-register permute looks up 64 bytes in one
// half of a table by their low seven bits, into the positions of that channel whose top bit
// selects the half. The positions not yet looked up still hold the pixel's own bytes, which is
// what the next lookup reads as its indices; alpha is never selected.
struct ChannelTables {
    __m512i table[3][4];
};

QOP_AVX512 inline __attribute__((always_inline)) __m512i lookUpSixteen(__m512i v, const ChannelTables &t)
{
    const __mmask64 high = _mm512_movepi8_mask(v);
    for (int c = 0; c < 3; ++c) {
        const __mmask64 positions = kRedBytes << c;
        v = _mm512_mask2_permutex2var_epi8(t.table[c][0], v, _kandn_mask64(high, positions), t.table[c][1]);
        v = _mm512_mask2_permutex2var_epi8(t.table[c][2], v, _kand_mask64(high, positions), t.table[c][3]);
    }
    return v;
}

QOP_AVX512 void mapChannelsAVX512(QopColor_t *pixels, size_t count, const QopHistMap_t *map)
{
    ChannelTables t;
    const uint8_t *tables[3] = {map->r, map->g, map->b};
    for (int c = 0; c < 3; ++c)
        for (int q = 0; q < 4; ++q)
            t.table[c][q] = _mm512_loadu_si512(tables[c] + 64 * q);
    sixteenAtATime(pixels, count, [&](__m512i v) QOP_AVX512 { return lookUpSixteen(v, t); });
}

// The colour channels of sixteen pixels in 32-bit lanes, converted; and the three results packed
// to bytes (below 0 and NaN, converted to 0x80000000, pack to 0) and put back between the alpha
// bytes. The packs leave pixel p's channel k at byte 16 (p / 4) + 4 k + p % 4.
constexpr __mmask64 kColourBytes = 0x7777777777777777ull;

struct MatrixConstants {
    __m512 m[12];
    __m512 half, top;
    __m512i green, blue, scatter;
};

QOP_AVX512 inline __attribute__((always_inline)) __m512i matrixSixteen(__m512i p, const MatrixConstants &k)
{
    // The zero-masking forms with every lane selected: GCC 12's unmasked conversions and min start
    // from an undefined vector that its own warnings then flag.
    const __mmask16 all = 0xFFFF;
    const __m512 r = _mm512_maskz_cvtepi32_ps(all, _mm512_and_si512(p, _mm512_set1_epi32(0xFF)));
    const __m512 g = _mm512_maskz_cvtepi32_ps(all, _mm512_shuffle_epi8(p, k.green));
    const __m512 b = _mm512_maskz_cvtepi32_ps(all, _mm512_shuffle_epi8(p, k.blue));
    __m512i out[3];
    for (int row = 0; row < 3; ++row) {
        const __m512 *m = k.m + 4 * row;
        __m512 v = _mm512_add_ps(_mm512_mul_ps(m[0], r), _mm512_mul_ps(m[1], g));
        v = _mm512_add_ps(_mm512_add_ps(_mm512_add_ps(v, _mm512_mul_ps(m[2], b)), m[3]), k.half);
        // min returns its second operand for NaN.
        out[row] = _mm512_maskz_cvttps_epi32(all, _mm512_maskz_min_ps(all, k.top, v));
    }
    const __m512i bytes =
        _mm512_packus_epi16(_mm512_packus_epi32(out[0], out[1]), _mm512_packus_epi32(out[2], out[2]));
    return _mm512_mask_permutexvar_epi8(p, kColourBytes, k.scatter, bytes);
}

QOP_AVX512 void matrixPixelsAVX512(QopColor_t *pixels, size_t count, const float *cm)
{
    MatrixConstants k;
    for (int i = 0; i < 12; ++i)
        k.m[i] = _mm512_set1_ps(cm[i]);
    k.half = _mm512_set1_ps(0.5f);
    k.top = _mm512_set1_ps(255.0f);
    // Byte 1 (2) of each pixel into the low byte of its lane, the rest zero (index bit 7 set); the
    // byte shuffle indexes within 128 bits, four pixels.
    k.green = _mm512_set4_epi32(static_cast<int>(0x8080800Du), static_cast<int>(0x80808009u),
                                static_cast<int>(0x80808005u), static_cast<int>(0x80808001u));
    k.blue = _mm512_set4_epi32(static_cast<int>(0x8080800Eu), static_cast<int>(0x8080800Au),
                               static_cast<int>(0x80808006u), static_cast<int>(0x80808002u));
    alignas(64) uint8_t scatter[64];
    for (int b = 0; b < 64; ++b)
        scatter[b] = static_cast<uint8_t>(16 * (b / 16) + 4 * (b % 4) + (b / 4) % 4);
    k.scatter = _mm512_load_si512(scatter);
    sixteenAtATime(pixels, count, [&](__m512i p) QOP_AVX512 { return matrixSixteen(p, k); });
}

#endif

} // namespace

void mapChannels(QopColor_t *pixels, size_t count, const QopHistMap_t *map, [[maybe_unused]] KernelPath path)
{
#if QOP_COLOR_PASSES_X86
    if (kernelCode(path) == KernelCode::Avx512) {
        mapChannelsAVX512(pixels, count, map);
        return;
    }
#endif
    mapChannelsPortable(pixels, count, map);
}

void matrixPixels(QopColor_t *pixels, size_t count, const float *cm, [[maybe_unused]] KernelPath path)
{
#if QOP_COLOR_PASSES_X86
    if (kernelCode(path) == KernelCode::Avx512) {
        matrixPixelsAVX512(pixels, count, cm);
        return;
    }
#endif
    matrixPixelsPortable(pixels, count, cm);
}

} // namespace qop_internal
