// QopImageCompare.h: difference statistics between two images, and a GoogleTest assertion that
// dumps both images (and a difference image) as PNG when they disagree.
#pragma once

#include "QopTestBitmap.h"

#include <gtest/gtest.h>
#include <string>

namespace qop_test {

// Over the channels compared (r, g, b, and a when asked), in levels: the largest absolute
// difference, its 99.9th percentile, the mean absolute and the mean signed (b - a) difference.
struct ImageDiff {
    int max = 0;
    int p999 = 0;
    double meanAbs = 0;
    double meanSigned = 0;
    bool sizesDiffer = false;
};

ImageDiff compareImages(const QopBitmap_t &a, const QopBitmap_t &b, bool includeAlpha = false);
std::string describe(const ImageDiff &diff);

// The most a comparison may differ; a field left negative is not checked.
struct Tolerance {
    int max = 0;
    int p999 = -1;
    double meanAbs = -1;
};

// Passes when the images have one size and their difference is within tolerance. On failure the
// message carries the statistics and the paths of the dumped PNGs (TESSEL_TEST_DUMP_DIR, else
// test-dumps/ in the working directory).
::testing::AssertionResult imagesAgree(const QopBitmap_t &expected, const QopBitmap_t &actual, Tolerance tolerance,
                                       const std::string &name, bool includeAlpha = false);

inline ::testing::AssertionResult imagesAgree(const TestBitmap &expected, const TestBitmap &actual, Tolerance tolerance,
                                              const std::string &name, bool includeAlpha = false)
{
    return imagesAgree(*expected.get(), *actual.get(), tolerance, name, includeAlpha);
}

} // namespace qop_test
