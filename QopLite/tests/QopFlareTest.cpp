// Flares and the ring flare on the CPU: the no-op cases, peak strength, shapes measured in pixels,
// open shapes reaching every pixel, degenerate coordinates, and the ring's zones.
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopFlare.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qop_test;

namespace {

// Pixels compare all four bytes.
bool operator==(const QopColor_t &a, const QopColor_t &b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

TestBitmap black(size_t W, size_t H)
{
    TestBitmap b(W, H);
    b.fill({0, 0, 0, 255});
    return b;
}

TestBitmap flared(const TestBitmap &input, QopFlareType_t type, QopColor_t colour, float fScale = 1.0f, float dx = 0,
                  float dy = 0, float dsx = 1, float dsy = 1, QopBlendMode_t mode = QopBlendModeNormal)
{
    TestBitmap out = input;
    QopFlare(out.get(), fScale, &colour, type, dx, dy, dsx, dsy, mode);
    return out;
}

} // namespace

TEST(QopFlare, DegenerateParametersAndMissedBoxesLeaveTheImage)
{
    const TestBitmap input = makePhotoLike(90, 70);
    const QopColor_t white = {255, 255, 255, 255};
    struct Case {
        const char *name;
        QopFlareType_t type;
        QopColor_t colour;
        float fScale, dx, dsx, dsy;
    } cases[] = {
        {"lensflare", QopFlareLensflare, white, 1, 0, 1, 1},
        {"alpha 0", QopFlareBlob, {255, 255, 255, 0}, 1, 0, 1, 1},
        {"fScale 0", QopFlareBlob, white, 0, 0, 1, 1},
        {"dsx 0", QopFlareStardom, white, 1, 0, 0, 1},
        {"dsy 0", QopFlareStardom, white, 1, 0, 1, 0},
        {"box right of the image", QopFlareBlob, white, 1, 5, 1, 1},
        {"box left of the image", QopFlareStripe, white, 0.1f, -3, 1, 1},
        {"unknown type", static_cast<QopFlareType_t>(19), white, 1, 0, 1, 1},
    };
    for (const Case &c : cases)
        EXPECT_TRUE(flared(input, c.type, c.colour, c.fScale, c.dx, 0, c.dsx, c.dsy) == input) << c.name;
}

TEST(QopFlare, BlobPeaksAtTheColourTimesItsAlpha)
{
    const QopColor_t colour = {200, 100, 50, 128};
    const TestBitmap out = flared(black(101, 81), QopFlareBlob, colour);
    const QopColor_t centre = out.at(50, 40);
    EXPECT_NEAR(centre.r, 200 * 128 / 255.0, 1.0);
    EXPECT_NEAR(centre.g, 100 * 128 / 255.0, 1.0);
    EXPECT_NEAR(centre.b, 50 * 128 / 255.0, 1.0);
    EXPECT_EQ(out.at(0, 0).r, 0);
}

// Stripe's strength e^(-y^2/64 - x^2) reaches half strength 8 times further along y than x.
TEST(QopFlare, StripeIsEightTimesLongerThanWide)
{
    const TestBitmap out = flared(black(400, 400), QopFlareStripe, {255, 255, 255, 255}, 0.05f);
    const auto halfExtent = [&](auto at) {
        int d = 0;
        while (d < 199 && at(d) >= 128)
            ++d;
        return d;
    };
    const int alongX = halfExtent([&](int d) { return out.at(200 + d, 200).r; });
    const int alongY = halfExtent([&](int d) { return out.at(200, 200 + d).r; });
    ASSERT_GT(alongX, 3);
    EXPECT_NEAR(static_cast<double>(alongY) / alongX, 8.0, 0.8) << alongX << " " << alongY;
}

// Sinc is round in pixels, whatever the aspect ratio, and its shape ignores the stretch.
TEST(QopFlare, SincIsRoundInPixelsAndIgnoresTheStretch)
{
    const QopColor_t colour = {255, 255, 255, 255};
    const TestBitmap out = flared(black(300, 150), QopFlareSinc, colour, 0.2f);
    for (int d : {3, 7, 12, 20})
        EXPECT_EQ(out.at(150 + d, 75).r, out.at(150, 75 + d).r) << d;
    const TestBitmap stretched = flared(black(300, 150), QopFlareSinc, colour, 0.2f, 0, 0, 2.0f, 0.5f);
    for (int d : {3, 7, 12, 20}) {
        EXPECT_EQ(stretched.at(150 + d, 75).r, out.at(150 + d, 75).r) << d;
        EXPECT_EQ(stretched.at(150, 75 + d).r, out.at(150, 75 + d).r) << d;
    }
}

// Open shapes visit every pixel; degenerate coordinates (a huge scale, Fingerflare's column at
// x = 1 on odd widths, one-pixel images) run without undefined behaviour.
TEST(QopFlare, OpenShapesReachTheCornersAndExtremesRunCleanly)
{
    const TestBitmap input = black(120, 90);
    const TestBitmap stardom = flared(input, QopFlareStardom, {255, 255, 255, 255}, 5.0f);
    for (auto [x, y] : {std::pair<size_t, size_t>{0, 0}, {119, 0}, {0, 89}, {119, 89}})
        EXPECT_NE(stardom.at(x, y).r, 0) << x << ", " << y;

    for (int type = 0; type < 19; ++type) {
        for (float fScale : {1e6f, -1e6f, 1e-30f}) {
            for (const auto &size : {std::pair<size_t, size_t>{1, 1}, {2, 7}, {101, 61}}) {
                TestBitmap b = makePhotoLike(size.first, size.second);
                const QopColor_t colour = {255, 200, 100, 200};
                QopFlare(b.get(), fScale, &colour, static_cast<QopFlareType_t>(type), 0.3f, -0.2f, 1.5f, 0.7f,
                         QopBlendModeScreen);
            }
        }
    }
    // Fingerflare on an odd width puts x = 1 exactly on one column: that column gets no flare
    // rather than a NaN strength.
    const TestBitmap finger = flared(input, QopFlareFingerflare, {255, 255, 255, 255}, 0.5f, 0, 0, 1, 1);
    TestBitmap odd = black(121, 91);
    QopColor_t white = {255, 255, 255, 255};
    QopFlare(odd.get(), 0.5f, &white, QopFlareFingerflare, 0, 0, 1, 1, QopBlendModeNormal);
    EXPECT_FALSE(finger == input);
}

TEST(QopRingFlare, RingTakesTheColourAndTheCentreStaysClean)
{
    const TestBitmap input = makePhotoLike(200, 200);
    TestBitmap out = input;
    const QopColor_t colour = {255, 0, 0, 255};
    QopRingFlare(out.get(), &colour, 100, 100, 0.2, 0.3); // avgD 200: ring from 40 to 60 pixels
    EXPECT_TRUE(out.at(100, 100) == input.at(100, 100));
    EXPECT_TRUE(out.at(120, 100) == input.at(120, 100));
    for (auto [x, y] : {std::pair<size_t, size_t>{150, 100}, {100, 50}, {65, 65}}) {
        EXPECT_EQ(out.at(x, y).r, 255) << x << ", " << y;
        EXPECT_EQ(out.at(x, y).g, 0) << x << ", " << y;
    }
    EXPECT_TRUE(out.at(180, 100) == input.at(180, 100));
    EXPECT_TRUE(out.at(0, 0) == input.at(0, 0));

    // Half alpha: colour at bA over the ring.
    out = input;
    const QopColor_t half = {255, 0, 0, 128};
    QopRingFlare(out.get(), &half, 100, 100, 0.2, 0.3);
    const float bA = 128 / 255.0f;
    EXPECT_NEAR(out.at(150, 100).r, input.at(150, 100).r * (1 - bA) + 255 * bA, 1.0);

    // A centre far away and a huge radius only visit what lies in the image.
    QopRingFlare(out.get(), &colour, 1e15, -1e15, 0.2, 1e12);
    QopRingFlare(out.get(), &colour, NAN, 3, 0.2, 0.3);
}
