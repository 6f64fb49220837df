// The generator's sequence, its float distributions (including the draws at the very ends of the
// range), and midpoint-displacement lines: draw order, stretching and degenerate ranges.
#include "QopLite/QopRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

uint32_t lcgStep(uint32_t s) { return s * 69069u + 1u; }

// The state that the next step turns into `next`.
uint32_t stateBefore(uint32_t next)
{
    uint32_t inverse = 69069u; // Newton's iteration for the inverse of an odd number mod 2^32
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 69069u * inverse;
    return (next - 1u) * inverse;
}

QopRNG_t generatorAbout(uint32_t next)
{
    QopRNG_t rng;
    QopRNGSeed(&rng, 0);
    rng._state = stateBefore(next);
    return rng;
}

// The uniform draws that a generator seeded with seed gives, in order.
std::vector<float> uniformDraws(uint32_t seed, size_t count)
{
    std::vector<float> out;
    for (uint32_t s = seed; out.size() < count;) {
        s = lcgStep(s);
        out.push_back(float(s) * 0x1p-32f);
    }
    return out;
}

} // namespace

TEST(Generator, SequenceAndSkipAhead)
{
    QopRNG_t rng;
    QopRNGSeed(&rng, 0);
    EXPECT_EQ(rng._seed, 0u);
    EXPECT_EQ(QopRNGNextInt(&rng), 1u);
    EXPECT_EQ(QopRNGNextInt(&rng), 69070u);
    EXPECT_EQ(rng._state, 69070u);
    EXPECT_EQ(rng._seed, 0u);

    for (uint32_t seed : {0u, 7u, 0xFFFFFFFFu, 123456789u})
        for (size_t k : {0u, 1u, 2u, 5u, 1000u, 123457u}) {
            uint32_t s = seed;
            for (size_t i = 0; i < k; ++i)
                s = lcgStep(s);
            EXPECT_EQ(QopRNGNextSeedN(seed, k), s) << seed << " after " << k;
        }

    // The state stays within 32 bits.
    QopRNGSeed(&rng, 0xFFFFFFFFu);
    for (int i = 0; i < 100; ++i) {
        QopRNGNextInt(&rng);
        ASSERT_LE(rng._state, 0xFFFFFFFFull);
    }

    QopRNG_t seeded;
    QopRNGInit(&seeded);
    EXPECT_EQ(seeded._state, uint64_t(seeded._seed));
}

TEST(Generator, UniformDrawIsTheStateScaledAndMayReachOne)
{
    QopRNG_t rng;
    QopRNGSeed(&rng, 99);
    const std::vector<float> expected = uniformDraws(99, 1000);
    for (float e : expected)
        ASSERT_EQ(QopRNGNextFloat(&rng), e);

    rng = generatorAbout(0xFFFFFFFFu);
    EXPECT_EQ(QopRNGNextFloat(&rng), 1.0f);
    rng = generatorAbout(0u);
    EXPECT_EQ(QopRNGNextFloat(&rng), 0.0f);
}

TEST(Generator, NormalAndLaplaceMoments)
{
    struct Case {
        const char *name;
        float (*draw)(QopRNG_t *);
        double variance;
    };
    const Case cases[] = {{"normal", QopRNGNextFloatNormal, 1.0}, {"laplace", QopRNGNextFloatLaplace, 2.0}};
    for (const Case &c : cases) {
        QopRNG_t rng;
        QopRNGSeed(&rng, 2024);
        const int n = 100000;
        double sum = 0, sumSquares = 0;
        for (int i = 0; i < n; ++i) {
            const double v = c.draw(&rng);
            ASSERT_TRUE(std::isfinite(v)) << c.name;
            sum += v;
            sumSquares += v * v;
        }
        const double mean = sum / n;
        EXPECT_NEAR(mean, 0.0, 0.02) << c.name;
        EXPECT_NEAR(sumSquares / n - mean * mean, c.variance, 0.05 * c.variance) << c.name;
    }
}

TEST(Generator, DrawsAtTheEndsOfTheRangeStayFinite)
{
    // Uniform draws of exactly 1.0, exactly 0.0 and just above 0 would take the logarithm of 0
    // in the Laplace draw; they give the largest finite magnitude instead, with the right sign.
    for (uint32_t next : {0xFFFFFFFFu, 0xFFFFFF90u}) {
        QopRNG_t rng = generatorAbout(next);
        const float v = QopRNGNextFloatLaplace(&rng);
        EXPECT_TRUE(std::isfinite(v)) << next;
        EXPECT_LT(v, -80.0f) << next;
    }
    for (uint32_t next : {0u, 5u}) {
        QopRNG_t rng = generatorAbout(next);
        const float v = QopRNGNextFloatLaplace(&rng);
        EXPECT_TRUE(std::isfinite(v)) << next;
        EXPECT_GT(v, 80.0f) << next;
    }
    // A uniform 0 is skipped by the normal draw: u1 is the draw after it.
    QopRNG_t rng = generatorAbout(0u);
    const float v = QopRNGNextFloatNormal(&rng);
    const std::vector<float> u = uniformDraws(0u, 2);
    EXPECT_FLOAT_EQ(v, sqrtf(-2.0f * logf(u[0])) * cosf(6.28318530717958647692f * u[1]));
}

TEST(MidpointDisplacement, DrawOrderAndDecay)
{
    // Five points (n = 4): line[2] first at full amplitude, then line[1] and line[3] at amp / 2.
    const float amp = 40.0f;
    std::vector<float> line = {10, -1, -1, -1, 30};
    QopMPDSeed(line.data(), 0, 4, amp, 1.0f, QopMPDUniform, 77);
    const std::vector<float> u = uniformDraws(77, 3);
    const float mid = (10.0f + 30.0f) * 0.5f + amp * (u[0] - 0.5f);
    EXPECT_EQ(line[0], 10.0f);
    EXPECT_EQ(line[4], 30.0f);
    EXPECT_EQ(line[2], mid);
    EXPECT_EQ(line[1], (10.0f + mid) * 0.5f + amp * 0.5f * (u[1] - 0.5f));
    EXPECT_EQ(line[3], (mid + 30.0f) * 0.5f + amp * 0.5f * (u[2] - 0.5f));

    // The caller's generator advances by one draw per midpoint; a seed is the same generator.
    QopRNG_t rng;
    QopRNGSeed(&rng, 77);
    std::vector<float> again = {10, -1, -1, -1, 30};
    QopMPDRNG(again.data(), 0, 4, amp, 1.0f, QopMPDUniform, &rng);
    EXPECT_EQ(again, line);
    EXPECT_EQ(rng._state, QopRNGNextSeedN(77, 3));
}

TEST(MidpointDisplacement, EveryDistributionIsFiniteAndSeeded)
{
    for (QopMPDType_t type : {QopMPDUniform, QopMPDNormal, QopMPDLaplace}) {
        std::vector<float> a(1025, 0.0f), b(1025, 0.0f);
        QopMPDSeed(a.data(), 0, 1024, 50.0f, 0.7f, type, 5);
        QopMPDSeed(b.data(), 0, 1024, 50.0f, 0.7f, type, 5);
        EXPECT_EQ(a, b) << type;
        int moved = 0;
        for (float v : a) {
            ASSERT_TRUE(std::isfinite(v)) << type;
            moved += v != 0.0f;
        }
        EXPECT_GT(moved, 1000) << type;
    }
}

TEST(MidpointDisplacement, StretchesToAnEndThatIsNotAPowerOfTwoAway)
{
    // With no displacement the line is straight; 0..6 is built on 0..4 and stretched to 0..6.
    std::vector<float> line = {0, -1, -1, -1, -1, -1, 6};
    QopMPDSeed(line.data(), 0, 6, 0.0f, 0.5f, QopMPDUniform, 1);
    for (int i = 0; i <= 6; ++i)
        EXPECT_NEAR(line[size_t(i)], float(i), 1e-5) << i;

    // A range that starts above 0 is stretched about its own start: the caller's values below
    // it and its first value stay as they were.
    std::vector<float> offset = {-7, -7, -7, 3, -1, -1, -1, -1, -1, 9, -7};
    QopMPDSeed(offset.data(), 3, 9, 0.0f, 0.5f, QopMPDUniform, 1);
    EXPECT_EQ(offset[0], -7.0f);
    EXPECT_EQ(offset[2], -7.0f);
    EXPECT_EQ(offset[10], -7.0f);
    for (int i = 3; i <= 9; ++i)
        EXPECT_NEAR(offset[size_t(i)], float(i), 1e-5) << i;
}

TEST(MidpointDisplacement, EmptyOrReversedRangesChangeNothing)
{
    struct Case {
        int min, max;
    };
    for (Case c : {Case{2, 2}, Case{3, 1}, Case{2, 3}}) {
        std::vector<float> line = {1, 2, 3, 4, 5};
        const std::vector<float> before = line;
        QopRNG_t rng;
        QopRNGSeed(&rng, 8);
        QopMPDRNG(line.data(), c.min, c.max, 100.0f, 0.5f, QopMPDLaplace, &rng);
        EXPECT_EQ(line, before) << c.min << ".." << c.max;
        EXPECT_EQ(rng._state, 8u) << c.min << ".." << c.max;
    }
}
