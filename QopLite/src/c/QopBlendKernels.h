// Per-channel arithmetic of the blend modes, shared by the one-colour blend and the whole-row
// loops of the bitmap blends so that both give the same bytes. Each mode is a type whose mix()
// gives M(d, s) in single precision; the caller mixes it with d by alpha and rounds.
#pragma once

#include "QopLite/QopTypes.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

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
};

struct BlendScreen {
    static float mix(int d, int s) { return 255.0f - (255.0f - float(d)) * (255.0f - float(s)) / 255.0f; }
};

struct BlendDarken {
    static float mix(int d, int s) { return float(std::min(d, s)); }
};

struct BlendMultiply {
    static float mix(int d, int s) { return float(d) * float(s) / 255.0f; }
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

// count pixels of src blended onto dst; alpha is left alone. Written as a loop over pixels with
// a fixed three-channel body, which the compiler vectorises.
template <class Mode>
inline void blendRow(QopColor_t *dst, const QopColor_t *src, size_t count, float alpha)
{
    float inverse = 1.0f - alpha;
    uint8_t *d = reinterpret_cast<uint8_t *>(dst);
    const uint8_t *s = reinterpret_cast<const uint8_t *>(src);
    for (size_t i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c)
            d[4 * i + c] = blendChannel<Mode>(d[4 * i + c], s[4 * i + c], alpha, inverse);
}

} // namespace qop_internal
