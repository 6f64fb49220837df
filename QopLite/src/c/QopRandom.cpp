// The library's own generator (a 32-bit linear congruential step), its uniform, normal and
// Laplace draws, and midpoint-displacement lines. Every random decision of the library comes
// from here in a fixed order, so one seed always gives one picture on every machine.
#include "QopLite/QopRandom.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace {

constexpr uint32_t kMultiplier = 69069u;
constexpr uint32_t kIncrement = 1u;
constexpr float kTwoPi = 6.28318530717958647692f;

// A logarithm's argument that rounding has pushed to zero: the smallest positive normal float
// stands in (a subnormal could be flushed to zero again), so that every draw stays finite.
inline float positiveOrTiny(float t) { return t > 0.0f ? t : FLT_MIN; }

float displacement(QopRNG_t *rng, QopMPDType_t type)
{
    switch (type) {
    case QopMPDNormal:
        return QopRNGNextFloatNormal(rng);
    case QopMPDLaplace:
        return QopRNGNextFloatLaplace(rng);
    case QopMPDUniform:
    default:
        return QopRNGNextFloat(rng) - 0.5f;
    }
}

} // namespace

extern "C" {

void QopRNGSeed(QopRNG_t *rng, uint32_t seed)
{
    rng->_seed = seed;
    rng->_state = seed;
}

void QopRNGInit(QopRNG_t *rng)
{
    const double scaled = std::floor(static_cast<double>(std::rand()) * 0x1p-31 * 0x1p32);
    QopRNGSeed(rng, static_cast<uint32_t>(scaled));
}

uint32_t QopRNGNextInt(QopRNG_t *rng)
{
    const uint32_t next = static_cast<uint32_t>(rng->_state) * kMultiplier + kIncrement;
    rng->_state = next;
    return next;
}

uint32_t QopRNGNextSeedN(uint32_t seed, size_t iterations)
{
    // k steps of x -> a x + c are one affine step (A, C); build it by repeated squaring so that
    // a large count costs a few dozen multiplications instead of a loop of that length.
    uint32_t stepA = kMultiplier, stepC = kIncrement;
    uint32_t totalA = 1u, totalC = 0u;
    for (size_t k = iterations; k != 0; k >>= 1) {
        if (k & 1u) {
            totalA = totalA * stepA;
            totalC = totalC * stepA + stepC;
        }
        stepC = (stepA + 1u) * stepC;
        stepA = stepA * stepA;
    }
    return totalA * seed + totalC;
}

float QopRNGNextFloat(QopRNG_t *rng) { return static_cast<float>(QopRNGNextInt(rng)) * 0x1p-32f; }

float QopRNGNextFloatNormal(QopRNG_t *rng)
{
    float u1, u2;
    do
        u1 = QopRNGNextFloat(rng);
    while (u1 == 0.0f);
    do
        u2 = QopRNGNextFloat(rng);
    while (u2 == 0.0f);
    return sqrtf(-2.0f * logf(u1)) * cosf(kTwoPi * u2);
}

float QopRNGNextFloatLaplace(QopRNG_t *rng)
{
    // A draw that rounds to exactly 1.0 (or to 0.0, or close enough that 0.5 - draw rounds to
    // 0.5) would take the logarithm of zero; its infinite result would run unbounded through
    // the border walks that use these lines.
    const float u = 0.5f - QopRNGNextFloat(rng);
    if (u < 0.0f)
        return logf(positiveOrTiny(2.0f * u + 1.0f));
    return -logf(positiveOrTiny(1.0f - 2.0f * u));
}

void QopMPD(float *line, int min, int max, float amp, float h, QopMPDType_t type)
{
    QopRNG_t rng;
    QopRNGInit(&rng);
    QopMPDRNG(line, min, max, amp, h, type, &rng);
}

void QopMPDSeed(float *line, int min, int max, float amp, float h, QopMPDType_t type, uint32_t seed)
{
    QopRNG_t rng;
    QopRNGSeed(&rng, seed);
    QopMPDRNG(line, min, max, amp, h, type, &rng);
}

void QopMPDRNG(float *line, int min, int max, float amp, float h, QopMPDType_t type, QopRNG_t *rng)
{
    // An empty or reversed range has no midpoints; it is left alone (and draws nothing).
    const int64_t span = static_cast<int64_t>(max) - min;
    if (span < 1)
        return;
    int64_t n = 1;
    while (n * 2 <= span)
        n *= 2;
    const int64_t top = min + n;
    line[top] = line[max];

    const float decay = powf(2.0f, -h);
    float d = amp;
    for (int64_t step = n; step > 1; step /= 2) {
        for (int64_t a = min; a < top; a += step)
            line[a + step / 2] = (line[a] + line[a + step]) * 0.5f + d * displacement(rng, type);
        d = d * decay;
    }
    if (top == max)
        return;

    // Stretch [min, min + n] over [min, max] in place, from the top down: every source position
    // lies at or below the index written, so nothing is read after it has been overwritten.
    // The stretch is anchored at min, so the caller's line[min] and everything below it are
    // kept; with min = 0 this is i / (max / n), the stretch the line generator always used.
    const double scale = static_cast<double>(span) / static_cast<double>(n);
    for (int64_t i = max; i >= min; --i) {
        const double x = static_cast<double>(min) + static_cast<double>(i - min) / scale;
        const int64_t k = static_cast<int64_t>(std::floor(x));
        const double f = x - static_cast<double>(k);
        if (f < 1e-4)
            line[i] = line[k];
        else
            line[i] = static_cast<float>(line[k + 1] * f + (1.0 - f) * line[k]);
    }
}

} // extern "C"
