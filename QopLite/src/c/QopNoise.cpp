// Seeded noise on bitmaps: monochrome grain, per-channel grain, and the grey diamond-square
// fractal. Draws are taken in memory order (and, in the fractal, in loop order), so a seed gives
// the same picture on every run and every machine.
#include "QopLite/QopNoise.h"
#include "QopLite/QopGLColor.h"
#include "QopLite/QopRandom.h"

#include <cmath>

namespace {

// A grain value beyond +-256 saturates every channel exactly as +-256 does, so the product is
// held there before its conversion: an extreme intensity can then never overflow it.
inline int grain(QopRNG_t *rng, float intensity)
{
    float n = (2.0f * QopRNGNextFloat(rng) - 1.0f) * intensity * 255.0f;
    n = n > -256.0f ? n : -256.0f;
    n = n < 256.0f ? n : 256.0f;
    return static_cast<int>(n);
}

// (int)(c + n + 0.5) clamped to 0..255: for whole numbers c + n this is c + n clamped.
inline uint8_t addGrain(uint8_t c, int n)
{
    const int v = c + n;
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// The generator that draws the grain: seeded with the first draw of a generator seeded with
// seed. The GPU pass receives that first draw as its seed.
uint32_t derivedSeed(uint32_t seed)
{
    QopRNG_t first;
    QopRNGSeed(&first, seed);
    return QopRNGNextInt(&first);
}

// NaN intensity adds nothing rather than undefined grain.
inline float saneIntensity(float intensity) { return std::isnan(intensity) ? 0.0f : intensity; }

// A fractal value: (int)(x) + 0.5 clamped and truncated, which is x truncated and clamped.
// Clamping first keeps the conversion in range for any amplitude (NaN gives 0).
inline uint8_t fractalValue(float x)
{
    x = x > 0.0f ? x : 0.0f;
    x = x < 255.0f ? x : 255.0f;
    return static_cast<uint8_t>(static_cast<int>(x));
}

struct Grid {
    QopColor_t *data;
    size_t width;
    int red(int x, int y) const { return data[static_cast<size_t>(y) * width + static_cast<size_t>(x)].r; }
    void setGrey(int x, int y, uint8_t v)
    {
        QopColor_t &px = data[static_cast<size_t>(y) * width + static_cast<size_t>(x)];
        px.r = px.g = px.b = v;
    }
    // u amp + 0.25 (sum of four neighbours), as a grey value.
    uint8_t displaced(QopRNG_t *rng, float amp, int sum) const
    {
        const float u = QopRNGNextFloat(rng);
        return fractalValue(u * amp + 0.25f * static_cast<float>(sum));
    }
};

} // namespace

extern "C" {

void QopBitmapAddNoise(QopBitmap_t *bitmap, float intensity, uint32_t seed)
{
    const uint32_t derived = derivedSeed(seed);
    if (bitmap->glData) {
        QopGLAddNoise(bitmap, intensity, derived);
        return;
    }
    intensity = saneIntensity(intensity);
    QopRNG_t rng;
    QopRNGSeed(&rng, derived);
    const size_t count = bitmap->width * bitmap->height;
    QopColor_t *data = bitmap->data;
    for (size_t i = 0; i < count; ++i) {
        const int n = grain(&rng, intensity);
        QopColor_t &px = data[i];
        px.r = addGrain(px.r, n);
        px.g = addGrain(px.g, n);
        px.b = addGrain(px.b, n);
        px.a = 255;
    }
}

void QopBitmapAddChannelIndependentNoise(QopBitmap_t *bitmap, float intensity, uint32_t seed)
{
    // CPU only: it works on data even when the bitmap carries a GPU record, so a GPU-only
    // bitmap lent without pixels is left alone.
    if (!bitmap->data)
        return;
    intensity = saneIntensity(intensity);
    QopRNG_t rng;
    QopRNGSeed(&rng, derivedSeed(seed));
    const size_t count = bitmap->width * bitmap->height;
    QopColor_t *data = bitmap->data;
    for (size_t i = 0; i < count; ++i) {
        QopColor_t &px = data[i];
        px.r = addGrain(px.r, grain(&rng, intensity));
        px.g = addGrain(px.g, grain(&rng, intensity));
        px.b = addGrain(px.b, grain(&rng, intensity));
        px.a = 255;
    }
}

void QopBitmapDiamondSquare(QopBitmap_t *dst, float amp, const float hConst, float *lineL, float *lineT)
{
    // Below 2 x 2 there is no square to fill (the size would underflow).
    const size_t side = dst->width < dst->height ? dst->width : dst->height;
    if (side < 2 || !dst->data || !lineL || !lineT)
        return;
    int n = 1;
    while (static_cast<size_t>(n) * 2 <= side - 1)
        n *= 2;

    QopRNG_t rng;
    QopRNGSeed(&rng, 1234);
    lineL[0] = lineL[n] = lineT[0] = lineT[n] = 128.0f;
    QopMPDRNG(lineL, 0, n, amp, hConst, QopMPDUniform, &rng);
    QopMPDRNG(lineT, 0, n, amp, hConst, QopMPDUniform, &rng);

    Grid grid{dst->data, dst->width};
    for (int j = 0; j <= n; ++j) {
        const uint8_t v = fractalValue(lineL[j]);
        grid.setGrey(0, j, v);
        grid.setGrey(n, j, v);
    }
    for (int i = 0; i <= n; ++i) {
        const uint8_t v = fractalValue(lineT[i]);
        grid.setGrey(i, 0, v);
        grid.setGrey(i, n, v);
    }

    const float decay = powf(2.0f, -hConst);
    float a = amp;
    int step = n;
    int used;
    do {
        a = a * decay;
        const int half = step / 2;
        // Diamond step: the centre of every cell.
        for (int y = 0; y < n; y += step)
            for (int x = 0; x < n; x += step) {
                const int sum = grid.red(x, y) + grid.red(x + step, y) + grid.red(x, y + step) +
                                grid.red(x + step, y + step);
                grid.setGrey(x + half, y + half, grid.displaced(&rng, a, sum));
            }
        // Square step: the edge midpoints, each from its two corners and the centres of the
        // two cells it separates. Midpoints on the outer edges keep the lines drawn above.
        for (int y = 0; y < n; y += step)
            for (int x = 0; x < n; x += step) {
                const int cy = y + half, cx = x + half;
                const int centre = grid.red(cx, cy);
                if (x > 0)
                    grid.setGrey(x, cy, grid.displaced(&rng, a,
                                                       grid.red(x, y) + grid.red(x, y + step) + centre +
                                                           grid.red(x - half, cy)));
                if (x + step < n)
                    grid.setGrey(x + step, cy,
                                 grid.displaced(&rng, a,
                                                grid.red(x + step, y) + grid.red(x + step, y + step) + centre +
                                                    grid.red(x + step + half, cy)));
                if (y > 0)
                    grid.setGrey(cx, y, grid.displaced(&rng, a,
                                                       grid.red(x, y) + grid.red(x + step, y) + centre +
                                                           grid.red(cx, y - half)));
                if (y + step < n)
                    grid.setGrey(cx, y + step,
                                 grid.displaced(&rng, a,
                                                grid.red(x, y + step) + grid.red(x + step, y + step) + centre +
                                                    grid.red(cx, y + step + half)));
            }
        used = step;
        step = half;
    } while (used > 3);
}

} // extern "C"
