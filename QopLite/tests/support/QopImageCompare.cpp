#include "QopImageCompare.h"

#include "ImageIO/ImageIOCodec.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace qop_test {

ImageDiff compareImages(const QopBitmap_t &a, const QopBitmap_t &b, bool includeAlpha)
{
    ImageDiff diff;
    if (a.width != b.width || a.height != b.height) {
        diff.sizesDiffer = true;
        return diff;
    }
    std::array<uint64_t, 256> histogram{};
    int64_t signedSum = 0;
    uint64_t absSum = 0, count = 0;
    const size_t pixels = a.width * a.height;
    const int channels = includeAlpha ? 4 : 3;
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t *pa = &a.data[i].r, *pb = &b.data[i].r;
        for (int c = 0; c < channels; ++c) {
            int d = int(pb[c]) - int(pa[c]);
            int ad = d < 0 ? -d : d;
            ++histogram[ad];
            signedSum += d;
            absSum += ad;
            ++count;
        }
    }
    if (count == 0)
        return diff;
    for (int v = 255; v >= 0; --v)
        if (histogram[v]) {
            diff.max = v;
            break;
        }
    // Smallest level at or below which 99.9 % of the differences lie.
    const uint64_t wanted = count - count / 1000;
    uint64_t seen = 0;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[v];
        if (seen >= wanted) {
            diff.p999 = v;
            break;
        }
    }
    diff.meanAbs = double(absSum) / double(count);
    diff.meanSigned = double(signedSum) / double(count);
    return diff;
}

std::string describe(const ImageDiff &diff)
{
    if (diff.sizesDiffer)
        return "sizes differ";
    std::ostringstream out;
    out << "max " << diff.max << ", p99.9 " << diff.p999 << ", mean abs " << diff.meanAbs << ", mean signed "
        << diff.meanSigned;
    return out.str();
}

namespace {

std::string dumpDirectory()
{
    const char *dir = std::getenv("TESSEL_TEST_DUMP_DIR");
    return dir && *dir ? dir : "test-dumps";
}

std::string dumpImages(const QopBitmap_t &expected, const QopBitmap_t &actual, const std::string &name)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(dumpDirectory(), ec);
    const std::string base = fs::absolute(dumpDirectory() + "/" + name).string();
    std::string paths = base + "-expected.png, " + base + "-actual.png";
    ImageIOWritePNGFile(base + "-expected.png", expected.data, expected.width, expected.height);
    ImageIOWritePNGFile(base + "-actual.png", actual.data, actual.width, actual.height);
    if (expected.width == actual.width && expected.height == actual.height && expected.data && actual.data) {
        TestBitmap diff(expected.width, expected.height);
        for (size_t i = 0; i < diff.pixelCount(); ++i) {
            auto amplify = [](int a, int b) { return uint8_t(std::clamp(128 + 8 * (b - a), 0, 255)); };
            diff.data()[i] = QopColor_t{amplify(expected.data[i].r, actual.data[i].r), amplify(expected.data[i].g, actual.data[i].g),
                                        amplify(expected.data[i].b, actual.data[i].b), 255};
        }
        ImageIOWritePNGFile(base + "-diff.png", diff.data(), diff.width(), diff.height());
        paths += ", " + base + "-diff.png";
    }
    return paths;
}

} // namespace

::testing::AssertionResult imagesAgree(const QopBitmap_t &expected, const QopBitmap_t &actual, Tolerance tolerance,
                                       const std::string &name, bool includeAlpha)
{
    const ImageDiff diff = compareImages(expected, actual, includeAlpha);
    const bool ok = !diff.sizesDiffer && diff.max <= tolerance.max &&
                    (tolerance.p999 < 0 || diff.p999 <= tolerance.p999) &&
                    (tolerance.meanAbs < 0 || diff.meanAbs <= tolerance.meanAbs);
    if (ok)
        return ::testing::AssertionSuccess() << name << ": " << describe(diff);
    return ::testing::AssertionFailure() << name << ": " << describe(diff) << " (allowed max " << tolerance.max
                                         << ", p99.9 " << tolerance.p999 << ", mean abs " << tolerance.meanAbs
                                         << "); images in " << dumpImages(expected, actual, name);
}

} // namespace qop_test
