// Checked allocation: the 32-bit limits of the original target, zero fill, and free functions
// that clear the caller's pointer.
#include "QopLite/QopAlloc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

QopGLData_t *fakeGLData() { return reinterpret_cast<QopGLData_t *>(uintptr_t(0x1000)); }

bool allZero(const void *p, size_t bytes)
{
    const unsigned char *c = static_cast<const unsigned char *>(p);
    for (size_t i = 0; i < bytes; ++i)
        if (c[i])
            return false;
    return true;
}

struct RefusedSize {
    size_t width, height;
    const char *why;
};

} // namespace

TEST(QopBitmapBuild, RefusesPixelCountsBeyondTheLimit)
{
    const RefusedSize cases[] = {
        {32768, 32768, "0x40000000 pixels, one past the limit"},
        {65536, 65537, "product overflows 32 bits"},
        {0x100000000ull, 1, "width alone beyond 32 bits"},
        {1, 0x40000000, "one row too many"},
    };
    for (const RefusedSize &c : cases) {
        QopBitmap_t b{reinterpret_cast<QopColor_t *>(uintptr_t(0x2000)), 0, 0, fakeGLData()};
        EXPECT_FALSE(QopBitmapBuild(&b, c.width, c.height)) << c.why;
        EXPECT_EQ(b.data, nullptr) << c.why;
        EXPECT_EQ(b.width, c.width) << c.why;
        EXPECT_EQ(b.height, c.height) << c.why;
        EXPECT_EQ(b.glData, nullptr) << c.why;
    }
}

TEST(QopBitmapBuild, GivesZeroPixelsAndFreeingTwiceIsHarmless)
{
    QopBitmap_t b{nullptr, 0, 0, fakeGLData()};
    ASSERT_TRUE(QopBitmapBuild(&b, 17, 3));
    EXPECT_EQ(b.glData, nullptr);
    EXPECT_TRUE(allZero(b.data, 17 * 3 * 4));
    b.glData = fakeGLData();
    QopBitmapFree(&b);
    EXPECT_EQ(b.data, nullptr);
    EXPECT_EQ(b.width, 17u);
    EXPECT_EQ(b.height, 3u);
    EXPECT_EQ(b.glData, fakeGLData());
    QopBitmapFree(&b);
    EXPECT_EQ(b.data, nullptr);
}

TEST(QopBitmapCopy, CopiesOnlyBetweenDistinctBitmapsOfOneSize)
{
    QopBitmap_t a, b, c, empty{nullptr, 4, 3, nullptr};
    ASSERT_TRUE(QopBitmapBuild(&a, 4, 3));
    ASSERT_TRUE(QopBitmapBuild(&b, 4, 3));
    ASSERT_TRUE(QopBitmapBuild(&c, 3, 4));
    for (size_t i = 0; i < 12; ++i)
        a.data[i] = QopColor_t{uint8_t(i), uint8_t(2 * i), uint8_t(3 * i), uint8_t(100 + i)};

    EXPECT_FALSE(QopBitmapCopy(&a, &a));
    EXPECT_EQ(a.data[5].b, 15);
    EXPECT_FALSE(QopBitmapCopy(&c, &a)) << "same pixel count, other shape";
    EXPECT_TRUE(allZero(c.data, 48));
    EXPECT_FALSE(QopBitmapCopy(&empty, &a));
    EXPECT_FALSE(QopBitmapCopy(&b, &empty));
    EXPECT_TRUE(allZero(b.data, 48));

    b.glData = fakeGLData(); // the GPU record plays no part
    ASSERT_TRUE(QopBitmapCopy(&b, &a));
    EXPECT_EQ(std::memcmp(a.data, b.data, 48), 0);
    QopBitmapFree(&a);
    QopBitmapFree(&b);
    QopBitmapFree(&c);
}

TEST(QopArrayBuild, LimitsAndZeroFill)
{
    struct Case {
        size_t length, stride;
        bool accepted;
        const char *why;
    } cases[] = {
        {0x100000000ull, 0, true, "stride 0 asks for nothing and leaves the length untested"},
        {0x10000, 0x10000, false, "exactly 2^32 bytes"},
        {10, 8, true, "small"},
    };
    for (const Case &c : cases) {
        void *p = reinterpret_cast<void *>(uintptr_t(0x3000));
        EXPECT_EQ(QopArrayBuild(&p, c.length, c.stride), c.accepted) << c.why;
        if (c.accepted) {
            ASSERT_NE(p, nullptr) << c.why;
            EXPECT_TRUE(allZero(p, c.length * c.stride)) << c.why;
        } else {
            EXPECT_EQ(p, nullptr) << c.why;
        }
        QopArrayFree(&p);
        EXPECT_EQ(p, nullptr);
        QopArrayFree(&p);
    }
}

TEST(QopArrayBuild2, RefusesOverflowOfEitherProduct)
{
    void *p = reinterpret_cast<void *>(uintptr_t(0x3000));
    EXPECT_FALSE(QopArrayBuild2(&p, 0x10000, 0x10000, 1)) << "length1 x length2 overflows";
    EXPECT_EQ(p, nullptr);
    p = reinterpret_cast<void *>(uintptr_t(0x3000));
    EXPECT_FALSE(QopArrayBuild2(&p, 0x10000, 0xFFFF, 2)) << "the count fits, count x stride does not";
    EXPECT_EQ(p, nullptr);
    ASSERT_TRUE(QopArrayBuild2(&p, 3, 5, 7));
    EXPECT_TRUE(allZero(p, 105));
    QopArrayFree(&p);
    EXPECT_EQ(p, nullptr);
}

TEST(QopArrayCopy2, CopiesOnlyValidRequests)
{
    unsigned char src[24], dst[24] = {};
    for (int i = 0; i < 24; ++i)
        src[i] = uint8_t(i + 1);
    EXPECT_FALSE(QopArrayCopy2(dst, src, 0x10000, 0x10000, 1));
    EXPECT_FALSE(QopArrayCopy2(dst, src, 0x10000, 0xFFFF, 2));
    // A null pointer is refused before anything is copied.
    EXPECT_FALSE(QopArrayCopy2(nullptr, src, 2, 3, 4));
    EXPECT_FALSE(QopArrayCopy2(dst, nullptr, 2, 3, 4));
    EXPECT_TRUE(allZero(dst, 24));
    EXPECT_TRUE(QopArrayCopy2(dst, src, 2, 3, 4));
    EXPECT_EQ(std::memcmp(dst, src, 24), 0);
}

TEST(QopGradientBuild, LimitsOfColourAndOpacityStops)
{
    QopGradient_t g;
    EXPECT_FALSE(QopGradientBuild(&g, QOP_GRADIENT_MAX_COLORS + 1, 4));
    EXPECT_EQ(g.color, nullptr);
    EXPECT_EQ(g.opacity, nullptr);
    EXPECT_EQ(g.colorLength, QOP_GRADIENT_MAX_COLORS + 1);

    // The colour stops already made are released (the leak checker of the sanitizer run sees it).
    EXPECT_FALSE(QopGradientBuild(&g, 3, QOP_GRADIENT_MAX_OPACITIES + 1));
    EXPECT_EQ(g.color, nullptr);
    EXPECT_EQ(g.opacity, nullptr);
    EXPECT_EQ(g.opacityLength, QOP_GRADIENT_MAX_OPACITIES + 1);

    ASSERT_TRUE(QopGradientBuild(&g, 3, 2));
    EXPECT_EQ(g.colorLength, 3u);
    EXPECT_EQ(g.opacityLength, 2u);
    EXPECT_TRUE(allZero(g.color, 3 * sizeof(QopGradientColor_t)));
    EXPECT_TRUE(allZero(g.opacity, 2 * sizeof(QopGradientOpacity_t)));
    QopGradientFree(&g);
    EXPECT_EQ(g.color, nullptr);
    EXPECT_EQ(g.opacity, nullptr);
    QopGradientFree(&g);
}
