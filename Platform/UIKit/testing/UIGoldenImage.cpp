#include "UIKit/testing/UIGoldenImage.h"

#include "ImageIO/ImageIOCodec.h"
#include "UIKit/UIImageCodecs.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

UIImageDifference UIImageCompare(CGImageRef a, CGImageRef b, std::vector<uint8_t>* diff)
{
    size_t w = CGImageGetWidth(a), h = CGImageGetHeight(a);
    std::vector<int> d;
    d.reserve(w * h * 4);
    if (diff) diff->assign(w * h * 4, 255);
    double sum = 0;
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* pa = CGImageGetBytes(a) + y * CGImageGetBytesPerRow(a);
        const uint8_t* pb = CGImageGetBytes(b) + y * CGImageGetBytesPerRow(b);
        for (size_t i = 0; i < w * 4; ++i) {
            int delta = std::abs(int(pa[i]) - int(pb[i]));
            d.push_back(delta);
            sum += delta;
            if (diff && i % 4 != 3) (*diff)[y * w * 4 + i] = uint8_t(std::min(255, delta * 8));
        }
    }
    UIImageDifference result;
    if (d.empty()) return result;
    result.mean = sum / double(d.size());
    std::sort(d.begin(), d.end());
    result.max = d.back();
    result.p999 = d[std::min(d.size() - 1, size_t(double(d.size()) * 0.999))];
    return result;
}

namespace {

// The golden file as a CGImage (premultiplied, as CGImages hold pixels); null with the reason.
CGImageRef readGolden(const std::string& path, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) bytes.clear();
    CGImageRef image = bytes.empty() ? nullptr : UIImageDecodeCGImage(bytes.data(), bytes.size());
    if (!image) *error = "cannot read " + path;
    return image;
}

}  // namespace

UIGoldenOutcome UICompareWithGolden(CGImageRef image, const std::string& goldenPath, const std::string& dumpDirectory,
                                    UIGoldenTolerance tolerance)
{
    UIGoldenOutcome outcome;
    size_t w = CGImageGetWidth(image), h = CGImageGetHeight(image);
    if (std::getenv("TESSEL_UPDATE_GOLDEN")) {
        std::string error;
        outcome.updated = UIImageWritePNGFile(image, goldenPath, &error);
        outcome.message = outcome.updated ? "wrote " + goldenPath + ": review it before committing" : error;
        return outcome;
    }
    std::string error;
    CGImageRef golden = readGolden(goldenPath, &error);
    if (!golden) {
        outcome.message = "cannot read the golden image: " + error;
        return outcome;
    }
    if (CGImageGetWidth(golden) != w || CGImageGetHeight(golden) != h) {
        std::ostringstream text;
        text << "size " << w << " x " << h << " differs from the golden's " << CGImageGetWidth(golden) << " x "
             << CGImageGetHeight(golden);
        outcome.message = text.str();
        CGImageRelease(golden);
        return outcome;
    }
    std::vector<uint8_t> diff;
    UIImageDifference d = UIImageCompare(image, golden, &diff);
    CGImageRelease(golden);
    outcome.matches = d.max <= tolerance.max && d.p999 <= tolerance.p999 && d.mean <= tolerance.mean;
    if (!outcome.matches) {
        std::string name = std::filesystem::path(goldenPath).stem().string();
        std::string actual = (std::filesystem::path(dumpDirectory) / (name + ".actual.png")).string();
        std::string difference = (std::filesystem::path(dumpDirectory) / (name + ".diff.png")).string();
        UIImageWritePNGFile(image, actual, nullptr);
        ImageIOWritePNGFile(difference, diff.data(), w, h, nullptr);
        std::ostringstream text;
        text << "differs from the golden image: max " << d.max << ", 99.9th percentile " << d.p999 << ", mean "
             << d.mean << "; see " << actual << " and " << difference;
        outcome.message = text.str();
    }
    return outcome;
}
