// The image comparison is what every later GPU/CPU agreement rests on; pin its statistics.
#include "QopImageCompare.h"

#include <gtest/gtest.h>

using namespace qop_test;

TEST(ImageCompare, ReportsMaxPercentileAndMeans)
{
    TestBitmap a(100, 10), b(100, 10);
    a.fill({100, 100, 100, 255});
    b.fill({100, 100, 100, 255});
    // Of 3000 channels, three are off by +10 and two by -3: the top 0.1 % (three values) are
    // the tens, so the 99.9th percentile is 3.
    b.at(0, 0).r = b.at(1, 0).r = b.at(2, 0).r = 110;
    b.at(3, 0).g = b.at(4, 0).g = 97;
    ImageDiff d = compareImages(*a.get(), *b.get());
    EXPECT_EQ(d.max, 10);
    EXPECT_EQ(d.p999, 3);
    EXPECT_NEAR(d.meanAbs, 36.0 / 3000, 1e-12);
    EXPECT_NEAR(d.meanSigned, 24.0 / 3000, 1e-12);
}

TEST(ImageCompare, AlphaOnlyWhenAsked)
{
    TestBitmap a(2, 2), b(2, 2);
    b.at(1, 1).a = 200;
    EXPECT_EQ(compareImages(*a.get(), *b.get()).max, 0);
    EXPECT_EQ(compareImages(*a.get(), *b.get(), true).max, 200);
}

TEST(ImageCompare, SizeMismatchNeverAgrees)
{
    TestBitmap a(2, 3), b(3, 2);
    EXPECT_FALSE(imagesAgree(a, b, Tolerance{255}, "size-mismatch"));
}

TEST(Fixtures, AreDeterministicAndOpaqueWhereAsked)
{
    EXPECT_TRUE(makeSeededNoise(16, 9, 5) == makeSeededNoise(16, 9, 5));
    EXPECT_FALSE(makeSeededNoise(16, 9, 5) == makeSeededNoise(16, 9, 6));
    TestBitmap noise = makeSeededNoise(16, 9, 5, true);
    for (size_t i = 0; i < noise.pixelCount(); ++i)
        ASSERT_EQ(noise.data()[i].a, 255);
    TestBitmap ramp = makeRamp(256, 2);
    EXPECT_EQ(ramp.at(0, 0).r, 0);
    EXPECT_EQ(ramp.at(255, 1).r, 255);
    EXPECT_EQ(ramp.at(255, 1).g, 255);
}
