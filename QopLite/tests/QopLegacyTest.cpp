// The legacy tone operations on the CPU: the weighted black and white and its variants, the
// gritty dot grid, the tintype fractal texture and the seeded flares.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopColor.h"
#include "QopLite/QopLegacy.h"

#include <gtest/gtest.h>

#include <cstring>

using qop_test::TestBitmap;

namespace {

QopEffectParams_t params(uint32_t seed = 5, double intensity = 1.0)
{
    return {seed, intensity, true, 1.0};
}

QopLegacyStilbrushParams_t stilbrush(QopLegacyStilbrushWeightMode_t mode, float r = 0.5f, float y = 0.5f,
                                     float g = 0.5f, float c = 0.5f, float b = 0.5f, float m = 0.5f)
{
    QopLegacyStilbrushParams_t p{};
    QopLegacyStilbrushBWSatWeightsSet(&p.weights, r, y, g, c, b, m);
    p.mode = mode;
    return p;
}

TEST(QopLegacyStilbrush, BlackAndWhiteKeepsEveryGrey)
{
    TestBitmap b(256, 1);
    for (int v = 0; v < 256; ++v)
        b.at(static_cast<size_t>(v), 0) = {static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v), 255};
    const TestBitmap before = b;
    QopEffectParams_t p = params();
    QopLegacySarnithBWSBSat(b.get(), &p);
    EXPECT_TRUE(b == before) << qop_test::describe(qop_test::compareImages(*before.get(), *b.get()));
}

TEST(QopLegacyStilbrush, CinematicIsGrittyAndLightenChangesOnlyColours)
{
    const TestBitmap photo = qop_test::makeHueWheel(64, 48);
    TestBitmap gritty = photo, cinematic = photo;
    QopEffectParams_t p = params();
    QopLegacySarnithGrittySBSat(gritty.get(), &p);
    QopLegacySarnithCinematicSBSat(cinematic.get(), &p);
    EXPECT_TRUE(gritty == cinematic);
    EXPECT_FALSE(gritty == photo);

    // Pure red and pure cyan get different greys under Default and Lighten weights; a grey pixel
    // (region red, whose weight 0.48 / 0.6 multiplies v and (1 - W) v alike) does not change.
    TestBitmap fixture(3, 1);
    fixture.at(0, 0) = {255, 0, 0, 255};
    fixture.at(1, 0) = {0, 255, 255, 255};
    fixture.at(2, 0) = {90, 90, 90, 255};
    TestBitmap byDefault = fixture, lighten = fixture;
    QopLegacyStilbrushBWSat(byDefault.get(), 1.0f, stilbrush(QopLegacyStilbrushWeightModeDefault), QopBlendModeNormal);
    QopLegacyStilbrushBWSat(lighten.get(), 1.0f, stilbrush(QopLegacyStilbrushWeightModeLighten), QopBlendModeNormal);
    EXPECT_NE(byDefault.at(0, 0).r, lighten.at(0, 0).r);
    EXPECT_NE(byDefault.at(1, 0).r, lighten.at(1, 0).r);
    EXPECT_EQ(byDefault.at(2, 0).r, 90);
    EXPECT_EQ(lighten.at(2, 0).r, 90);
    // Red: W = 0.48, V = 0.48 x 255 = 122.4.
    EXPECT_EQ(byDefault.at(0, 0).r, 122);
    EXPECT_EQ(byDefault.at(0, 0).g, 122);
}

// Saturation mode pushes channels away from the grey V: with weights below 1 a saturated channel
// lies above V and is pushed past 255, where it must clamp, never wrap around, and stay monotone.
TEST(QopLegacyStilbrush, SaturationModeClampsInsteadOfWrapping)
{
    TestBitmap b(256, 2);
    for (int v = 0; v < 256; ++v) {
        b.at(static_cast<size_t>(v), 0) = {255, static_cast<uint8_t>(v / 3), static_cast<uint8_t>(v / 4), 255};
        b.at(static_cast<size_t>(v), 1) = {static_cast<uint8_t>(v / 5), static_cast<uint8_t>(v / 5), 255, 255};
    }
    QopLegacyStilbrushBWSat(b.get(), 1.0f, stilbrush(QopLegacyStilbrushWeightModeSaturation),
                            QopBlendModeNormal);
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(b.at(static_cast<size_t>(v), 0).r, 255) << "red stays at the top, v = " << v;
        EXPECT_EQ(b.at(static_cast<size_t>(v), 1).b, 255) << "blue stays at the top, v = " << v;
        if (v > 0) {
            EXPECT_GE(b.at(static_cast<size_t>(v), 0).g + 1, b.at(static_cast<size_t>(v - 1), 0).g) << v;
        }
    }
}

TEST(QopLegacyGrittyDots, ChangesExactlyTheDotGrid)
{
    TestBitmap b(9, 9);
    b.fill({60, 120, 180, 255});
    const TestBitmap before = b;
    QopEffectParams_t p = params();
    QopLegacySarnithGrittyDots(b.get(), &p);
    for (size_t y = 0; y < 9; ++y) {
        for (size_t x = 0; x < 9; ++x) {
            const bool dot = y % 2 == 0 && (x + y) % 4 == 0;
            const bool changed = std::memcmp(&b.at(x, y), &before.at(x, y), sizeof(QopColor_t)) != 0;
            EXPECT_EQ(changed, dot) << x << ", " << y;
        }
    }
}

// The texture is seeded with a fixed seed and sized by the photo: two photos of one size get the
// same texture. Overlay at 0.2 onto mid grey shifts a pixel by the texture alone, so the two
// differences agree wherever both photos are mid grey.
TEST(QopLegacyTintype, FractalTextureDependsOnlyOnTheSize)
{
    TestBitmap a(33, 21), b(33, 21);
    a.fill({128, 128, 128, 255});
    b = qop_test::makePhotoLike(33, 21);
    for (size_t x = 0; x < 33; ++x)
        b.at(x, 10) = {128, 128, 128, 255};
    const TestBitmap a0 = a, b0 = b;
    QopEffectParams_t p = params();
    QopLegacyPellarTintypeDiamondSquare(a.get(), &p);
    QopLegacyPellarTintypeDiamondSquare(b.get(), &p);
    EXPECT_FALSE(a == a0);
    for (size_t x = 0; x < 33; ++x)
        EXPECT_EQ(a.at(x, 10).r, b.at(x, 10).r) << x;

    TestBitmap tiny(3, 3);
    tiny.fill({128, 128, 128, 255});
    QopLegacyPellarTintypeDiamondSquare(tiny.get(), &p);
    TestBitmap one(1, 1);
    QopLegacyPellarTintypeDiamondSquare(one.get(), &p);
}

TEST(QopLegacyFlares, SeededAndSilentAtIntensityZero)
{
    using Flare = void (*)(QopBitmap_t *, QopEffectParams_t *);
    for (Flare flare : {QopFlareLegacyIthaca, QopFlareLegacySunburn}) {
        const TestBitmap photo = qop_test::makePhotoLike(80, 60);
        TestBitmap first = photo, second = photo, other = photo, off = photo;
        QopEffectParams_t p = params(11), q = params(12), zero = params(11, 0.0);
        flare(first.get(), &p);
        flare(second.get(), &p);
        flare(other.get(), &q);
        flare(off.get(), &zero);
        EXPECT_TRUE(first == second);
        EXPECT_FALSE(first == photo);
        EXPECT_FALSE(first == other) << "another seed moves the flare";
        EXPECT_TRUE(off == photo);
    }
}

TEST(QopLegacyMatrices, TintypeAndVintageTintTheImage)
{
    TestBitmap tintype(1, 1), vintage(1, 1);
    tintype.fill({100, 100, 100, 255});
    vintage.fill({100, 100, 100, 255});
    QopEffectParams_t p = params();
    QopLegacyPellarTintypeColorMatrixTransform(tintype.get(), &p);
    QopLegacyPellarVintageColorMatrixTransform(vintage.get(), &p);
    // Rows summing 1.1755, 1.1015, 0.9685 on grey 100.
    EXPECT_NEAR(tintype.at(0, 0).r, 118, 1);
    EXPECT_NEAR(tintype.at(0, 0).g, 110, 1);
    EXPECT_NEAR(tintype.at(0, 0).b, 97, 1);
    EXPECT_GT(vintage.at(0, 0).r, vintage.at(0, 0).b) << "warm";
}

} // namespace
