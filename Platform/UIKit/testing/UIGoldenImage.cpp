#include "UIKit/testing/UIGoldenImage.h"

#include "ImageIO/ImageIOCodec.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
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

// Straight RGBA rows of a premultiplied image, for a PNG.
std::vector<uint8_t> straightRows(CGImageRef image)
{
    size_t w = CGImageGetWidth(image), h = CGImageGetHeight(image);
    std::vector<uint8_t> rows(w * h * 4);
    for (size_t y = 0; y < h; ++y)
        std::copy_n(CGImageGetBytes(image) + y * CGImageGetBytesPerRow(image), w * 4,
                    rows.begin() + std::ptrdiff_t(y * w * 4));
    for (size_t i = 0; i < rows.size(); i += 4) {
        unsigned alpha = rows[i + 3];
        for (int k = 0; k < 3 && alpha && alpha < 255; ++k)
            rows[i + size_t(k)] = uint8_t(std::min(255u, (rows[i + size_t(k)] * 255u + alpha / 2) / alpha));
    }
    return rows;
}

// The golden file as a premultiplied image, as CGImages hold pixels.
CGImageRef readGolden(const std::string& path, std::string* error)
{
    std::vector<uint8_t> rows;
    size_t width = 0, height = 0;
    bool ok = ImageIODecodeFile(
        path,
        [&](size_t w, size_t h) -> void* {
            width = w, height = h;
            rows.resize(w * h * 4);
            return rows.data();
        },
        error);
    if (!ok) return nullptr;
    for (size_t i = 0; i < rows.size(); i += 4)
        for (int k = 0; k < 3; ++k) rows[i + size_t(k)] = uint8_t((rows[i + size_t(k)] * rows[i + 3] + 127) / 255);
    return CGImageCreateWithRGBABytes(width, height, width * 4, rows.data());
}

}  // namespace

UIGoldenOutcome UICompareWithGolden(CGImageRef image, const std::string& goldenPath, const std::string& dumpDirectory,
                                    UIGoldenTolerance tolerance)
{
    UIGoldenOutcome outcome;
    size_t w = CGImageGetWidth(image), h = CGImageGetHeight(image);
    if (std::getenv("TESSEL_UPDATE_GOLDEN")) {
        std::string error;
        outcome.updated = ImageIOWritePNGFile(goldenPath, straightRows(image).data(), w, h, &error);
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
        ImageIOWritePNGFile(actual, straightRows(image).data(), w, h, nullptr);
        ImageIOWritePNGFile(difference, diff.data(), w, h, nullptr);
        std::ostringstream text;
        text << "differs from the golden image: max " << d.max << ", 99.9th percentile " << d.p999 << ", mean "
             << d.mean << "; see " << actual << " and " << difference;
        outcome.message = text.str();
    }
    return outcome;
}
