// Histograms, cumulative distributions and their inverse, and the lookup-table helpers.
#include "QopTestBitmap.h"

#include "QopLite/QopHistogram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace qop_test;

TEST(Histogram, CountsEachChannelAndAddsToTheCallersCounts)
{
    // Seven pixels (not a multiple of four): five of one colour, two of another.
    TestBitmap bitmap(7, 1);
    bitmap.fill({10, 20, 30, 0});
    bitmap.at(2, 0) = bitmap.at(6, 0) = {200, 20, 255, 9};
    QopHistogram_t hist = {};
    QopHistogramBuild(bitmap.get(), &hist);
    EXPECT_EQ(hist.r[10], 5u);
    EXPECT_EQ(hist.r[200], 2u);
    EXPECT_EQ(hist.g[20], 7u);
    EXPECT_EQ(hist.b[30], 5u);
    EXPECT_EQ(hist.b[255], 2u);
    uint64_t total = 0;
    for (int i = 0; i < 256; ++i)
        total += hist.r[i];
    EXPECT_EQ(total, 7u);

    QopHistogramBuild(bitmap.get(), &hist);
    EXPECT_EQ(hist.r[10], 10u);
    EXPECT_EQ(hist.g[20], 14u);

    const TestBitmap photo = makePhotoLike(123, 45);
    QopHistogram_t photoHist = {};
    QopHistogramBuild(const_cast<QopBitmap_t *>(photo.get()), &photoHist);
    uint32_t expected[256] = {};
    for (size_t i = 0; i < photo.pixelCount(); ++i)
        ++expected[photo.data()[i].g];
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(photoHist.g[i], expected[i]) << i;
}

TEST(Histogram, CdfOfTwoValuesAndOfAnEmptyChannel)
{
    QopHistogram_t hist = {};
    hist.r[10] = 3;
    hist.r[200] = 1;
    QopCDF_t cdf;
    QopHistogram2CDF(&hist, &cdf);
    EXPECT_EQ(cdf.r[9], 0.0);
    EXPECT_EQ(cdf.r[10], 0.75);
    EXPECT_EQ(cdf.r[199], 0.75);
    EXPECT_EQ(cdf.r[200], 1.0);
    EXPECT_EQ(cdf.r[255], 1.0);
    for (int i = 0; i < 256; ++i) {
        EXPECT_DOUBLE_EQ(cdf.g[i], i / 255.0) << i;
        EXPECT_DOUBLE_EQ(cdf.b[i], i / 255.0) << i;
    }

    // Counts whose sum passes 32 bits still give a distribution rising to exactly 1.
    uint32_t big[256] = {};
    big[0] = big[128] = big[255] = 0xF0000000u;
    double bigCdf[256];
    QopHistogram2CDFChan(big, bigCdf);
    EXPECT_DOUBLE_EQ(bigCdf[0], 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(bigCdf[128], 2.0 / 3.0);
    EXPECT_EQ(bigCdf[255], 1.0);
}

TEST(Histogram, CdfInverse)
{
    QopHistogram_t hist = {};
    hist.r[10] = 3;
    hist.r[200] = 1;
    QopCDF_t cdf;
    QopHistogram2CDF(&hist, &cdf);

    double endsShort[256];
    for (int i = 0; i < 256; ++i)
        endsShort[i] = (i + 1) / 256.0;
    endsShort[255] = 1.0 - 1e-12; // a caller's table whose last entry rounding left below 1

    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const double *cdf;
        double value;
        double expected;
    };
    const Case cases[] = {
        {cdf.r, 0.0, 0.0},
        {cdf.r, -3.0, 0.0},
        {cdf.r, 1.0, 255.0},
        {cdf.r, 7.0, 255.0},
        {cdf.g, 0.0, 0.0}, // empty channel
        {cdf.g, 1.0, 255.0},
        {cdf.g, 0.5, 127.5},
        // First level reaching 0.75 is 10; the step from cdf[9] = 0 interpolates within 9..10.
        {cdf.r, 0.375, 9.5},
        {cdf.r, 0.75, 10.0},
        {cdf.r, 0.875, 199.5},
        // At or below the first entry: value / cdf[0].
        {endsShort, 1.0 / 512.0, 0.5},
        {endsShort, 1.0 / 256.0, 1.0},
        {endsShort, 1.0 - 1e-13, 255.0},
        {endsShort, nan, 255.0},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(QopCDFINV(c.cdf, c.value), c.expected, 1e-9) << c.value;
}

TEST(HistMap, SetIdentityFadeAndMap)
{
    uint8_t inverse[256], half[256], zero[256] = {};
    for (int i = 0; i < 256; ++i) {
        inverse[i] = uint8_t(255 - i);
        half[i] = uint8_t(i / 2);
    }
    QopHistMap_t map;
    QopHistMapSet(&map, inverse, half, zero);
    EXPECT_EQ(map.r[0], 255);
    EXPECT_EQ(map.g[255], 127);
    EXPECT_EQ(map.b[99], 0);

    QopHistMap_t kept = map;
    QopHistMapFade(&kept, 1.0);
    EXPECT_EQ(std::memcmp(&kept, &map, sizeof map), 0);

    QopHistMap_t faded = map;
    QopHistMapFade(&faded, 0.0);
    QopHistMap_t identity;
    QopHistMapSetIdentity(&identity);
    EXPECT_EQ(std::memcmp(&faded, &identity, sizeof map), 0);

    faded = map;
    QopHistMapFade(&faded, 0.5);
    EXPECT_EQ(faded.r[0], 128);  // 255 * 0.5 + 0 + 0.5
    EXPECT_EQ(faded.r[255], 128); // 0 + 127.5 + 0.5
    EXPECT_EQ(faded.b[3], 2);    // 0 + 1.5 + 0.5

    // Extreme or undefined strengths saturate instead of overflowing the conversion.
    for (double alpha : {1e300, -1e300, std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()}) {
        faded = map;
        QopHistMapFade(&faded, alpha);
        for (int i = 0; i < 256; ++i)
            ASSERT_TRUE(faded.r[i] == 0 || faded.r[i] == 255) << alpha << " at " << i;
    }
    faded = map;
    QopHistMapFade(&faded, 1e300);
    EXPECT_EQ(faded.r[0], 255);
    EXPECT_EQ(faded.r[255], 0); // 0 * 1e300 + (1 - 1e300) * 255: hugely negative

    // histMap first, then map.
    QopHistMap_t first = map, second;
    QopHistMapSet(&second, half, half, inverse);
    QopHistMapMap(&first, &second);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(first.r[i], (255 - i) / 2) << i;
        ASSERT_EQ(first.g[i], i / 4) << i;
        ASSERT_EQ(first.b[i], 255) << i;
    }
}
