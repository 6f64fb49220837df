// The optimised box-hybrid passes against a plain per-pixel evaluation of the filter: kernel from
// the error function, differences applied to running sums extended as if the edge pixels repeated,
// 64-bit sums, rounding division by the kernel's actual gain. Every byte must agree, over sizes
// that land on and off the vector widths and strip edges, windows wider than the image, blur and
// sharpen, rows and columns, and for every instruction-set path the processor has.
#include "QopTestBitmap.h"

#include "QopLite/QopConvolution.h"

// The passes' private entry points, to run each path on kernels made to measure.
#include "../src/c/QopBoxHybridPasses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using namespace qop_test;

namespace {

struct Kernel {
    bool sharpen = false;
    int dw = 0, db = 0, windowWidth = 1, taps = 0;
    std::vector<int64_t> weights;
    int64_t sum = 0;
};

bool referenceKernel(size_t width, size_t height, float amount, Kernel *k)
{
    const float sigmaF = static_cast<float>(width + height) * (amount * 4.0f / 100.0f) / 1600.0f;
    k->sharpen = sigmaF >= 0.0f;
    const double sigma = std::fabs(static_cast<double>(sigmaF));
    if (sigma == 0.0)
        return false;
    int dw = static_cast<int>(std::floor(1.5 * sigma)) + 1;
    int db = 0;
    if (dw >= 5) {
        db = static_cast<int>(std::floor((0.25 * dw - 1.0) * 0.5)) + 1;
        dw = 1 + static_cast<int>(std::floor(static_cast<double>(dw) / (2 * db + 1)));
    }
    k->dw = dw;
    k->db = db;
    k->windowWidth = 2 * db + 1;
    k->taps = 2 * dw + 1;
    const float sigmaPrime = static_cast<float>(sigma / k->windowWidth);
    std::vector<float> p(k->taps);
    float pSum = 0.0f;
    for (int i = 0; i < k->taps; ++i) {
        p[i] = QopMathNormalCDF(static_cast<float>(i) + 0.5f - static_cast<float>(dw), sigmaPrime) -
               QopMathNormalCDF(static_cast<float>(i) - 0.5f - static_cast<float>(dw), sigmaPrime);
        pSum += p[i];
    }
    const float norm = 4096.0f / (static_cast<float>(k->windowWidth) * pSum);
    for (int i = 0; i < k->taps; ++i) {
        k->weights.push_back(static_cast<int64_t>(p[i] * norm));
        k->sum += k->weights.back();
    }
    return true;
}

// One line of `count` values (one channel), filtered.
std::vector<int> referenceLine(const std::vector<int> &line, const Kernel &k)
{
    const int64_t w = static_cast<int64_t>(line.size());
    std::vector<int64_t> running(line.size());
    int64_t total = 0;
    for (int64_t i = 0; i < w; ++i)
        running[i] = total += line[i];
    auto S = [&](int64_t j) -> int64_t {
        if (j < 0)
            return (j + 1) * running[0];
        if (j > w - 1)
            return running[w - 1] + line[w - 1] * (j - (w - 1));
        return running[j];
    };
    std::vector<int64_t> diff(k.taps + 1);
    diff[0] = -k.weights[0];
    for (int i = 1; i < k.taps; ++i)
        diff[i] = k.weights[i - 1] - k.weights[i];
    diff[k.taps] = k.weights[k.taps - 1];
    const int64_t gain = k.windowWidth * k.sum;
    std::vector<int> out(line.size());
    for (int64_t x = 0; x < w; ++x) {
        int64_t acc = 0;
        for (int t = 0; t <= k.taps; ++t)
            acc += diff[t] * S(x - k.db - 1 - static_cast<int64_t>(k.dw) * k.windowWidth + t * k.windowWidth);
        const int blur = static_cast<int>((acc + gain / 2) / gain);
        const int v = k.sharpen ? (3 * line[x] - blur + 1) / 2 : blur;
        out[x] = v < 0 ? 0 : (v > 255 ? 255 : v);
        }
    return out;
}

int channel(const QopColor_t &pixel, int c) { return c == 0 ? pixel.r : (c == 1 ? pixel.g : pixel.b); }

// The pass done plainly with the given kernel: every row (or column) and channel on its own.
TestBitmap referencePass(const TestBitmap &image, const Kernel &k, bool columns)
{
    TestBitmap out = image;
    const size_t lines = columns ? image.width() : image.height();
    const size_t length = columns ? image.height() : image.width();
    for (size_t l = 0; l < lines; ++l)
        for (int c = 0; c < 3; ++c) {
            std::vector<int> line(length);
            for (size_t i = 0; i < length; ++i)
                line[i] = channel(columns ? image.at(l, i) : image.at(i, l), c);
            const std::vector<int> filtered = referenceLine(line, k);
            for (size_t i = 0; i < length; ++i) {
                QopColor_t &pixel = columns ? out.at(l, i) : out.at(i, l);
                (c == 0 ? pixel.r : (c == 1 ? pixel.g : pixel.b)) = static_cast<uint8_t>(filtered[i]);
            }
        }
    return out;
}

TestBitmap referencePass(const TestBitmap &image, float amount, bool columns)
{
    Kernel k;
    if (!referenceKernel(image.width(), image.height(), amount, &k))
        return image;
    return referencePass(image, k, columns);
}

TEST(BoxHybridReference, RowAndColumnPassesMatchThePlainEvaluation)
{
    struct Size {
        size_t width, height;
    };
    // Odd widths around the vector blocks, single lines, and images narrower than the window.
    const Size sizes[] = {{1, 1}, {1, 9}, {9, 1}, {7, 5}, {8, 8}, {17, 3}, {3, 17}, {33, 31}, {129, 70}, {301, 187}};
    // Blurs and sharpens from a plain sampled Gaussian (window 1) to windows wider than the image.
    const float amounts[] = {-2.0f, 3.0f, -40.0f, 60.0f, -400.0f, 900.0f, -5000.0f, 20000.0f};
    uint32_t seed = 1;
    for (const Size &size : sizes) {
        const TestBitmap photo = makeSeededNoise(size.width, size.height, seed++, false);
        for (float amount : amounts)
            for (bool columns : {false, true}) {
                TestBitmap fast = photo;
                if (columns)
                    QopBoxHybridSharpenY(fast.get(), amount);
                else
                    QopBoxHybridSharpenX(fast.get(), amount);
                EXPECT_TRUE(fast == referencePass(photo, amount, columns))
                    << size.width << " x " << size.height << " at " << amount << (columns ? " (columns)" : " (rows)");
            }
    }
}

// The benchmark's shape: a wide photo-like image through both passes at the amounts callers use.
TEST(BoxHybridReference, WholeFilterMatchesOnAWideImage)
{
    const TestBitmap photo = makePhotoLike(1203, 301);
    for (float amount : {-5.0f, -30.0f, -100.0f, 40.0f}) {
        TestBitmap fast = photo;
        QopBoxHybridSharpenX(fast.get(), amount);
        QopBoxHybridSharpenY(fast.get(), amount);
        const TestBitmap expected = referencePass(referencePass(photo, amount, false), amount, true);
        EXPECT_TRUE(fast == expected) << amount;
    }
}

// Kernels made to measure, through each path the processor has. The 16-bit passes are unrolled by
// the number of tap pairs, hold a box sum of up to 65535 (span x 255) and bias those above 32767;
// anything else, a kernel that is not symmetric, or a coefficient beyond 16 bits must go to the
// 32-bit passes and still agree.
TEST(BoxHybridReference, EveryPathMatchesThePlainEvaluationOnKernelsAtTheLimits)
{
    struct Case {
        const char *name;
        int db;
        std::vector<int64_t> weights;
    };
    const Case cases[] = {
        {"window 1, three pairs (a small blur of a large photo)", 0, {169, 989, 1778, 989, 169}},
        {"two pairs", 1, {500, 800, 500}},
        {"four pairs", 2, {50, 100, 150, 180, 150, 100, 50}},
        {"seven pairs (more than the amounts give)", 0, {1, 5, 20, 60, 140, 250, 300, 250, 140, 60, 20, 5, 1}},
        {"the widest pair biased, the others not (span 135)", 7, {5, 12, 30, 40, 45, 40, 30, 12, 5}},
        {"the widest 16-bit box (span 257, sums up to 65535)", 128, {16}},
        {"one window past it (span 261): 32-bit", 43, {4, 40, 4}},
        {"not symmetric (a remainder term): 32-bit", 0, {100, 900, 2000, 1000, 96}},
        {"a difference beyond 16 bits: 32-bit", 0, {0, 16400, 0}},
    };
    struct Size {
        size_t width, height;
    };
    // One pixel, lines shorter than a vector, odd tails, and (for columns) two strips, the second
    // ending in a part block.
    const Size sizes[] = {{1, 1}, {1, 6}, {6, 1}, {3, 2}, {13, 5}, {37, 9}, {300, 12}};
    const qop_internal::BoxHybridPath paths[] = {qop_internal::BoxHybridPath::Best, qop_internal::BoxHybridPath::Avx2,
                                                 qop_internal::BoxHybridPath::Portable};
    // Noise, and noise near white, whose box sums come near the limits.
    std::vector<TestBitmap> photos;
    uint32_t seed = 100;
    for (const Size &size : sizes) {
        photos.push_back(makeSeededNoise(size.width, size.height, seed++, false));
        TestBitmap bright = photos.back();
        for (size_t y = 0; y < size.height; ++y)
            for (size_t x = 0; x < size.width; ++x)
                for (uint8_t *value : {&bright.at(x, y).r, &bright.at(x, y).g, &bright.at(x, y).b})
                    *value = static_cast<uint8_t>(255 - (*value & 7));
        photos.push_back(bright);
    }
    for (const Case &c : cases)
        for (bool sharpen : {false, true}) {
            Kernel reference;
            reference.sharpen = sharpen;
            reference.db = c.db;
            reference.windowWidth = 2 * c.db + 1;
            reference.taps = static_cast<int>(c.weights.size());
            reference.dw = (reference.taps - 1) / 2;
            reference.weights = c.weights;
            qop_internal::BoxHybridKernel k;
            k.sharpen = sharpen;
            k.dw = reference.dw;
            k.db = reference.db;
            k.windowWidth = reference.windowWidth;
            k.taps = reference.taps;
            for (int i = 0; i < k.taps; ++i) {
                k.kernel[i] = static_cast<int>(c.weights[i]);
                k.sum += k.kernel[i];
                reference.sum += c.weights[i];
            }
            for (size_t i = 0; i < photos.size(); ++i)
                for (bool columns : {false, true}) {
                    const TestBitmap expected = referencePass(photos[i], reference, columns);
                    for (qop_internal::BoxHybridPath path : paths) {
                        TestBitmap fast = photos[i];
                        if (columns)
                            qop_internal::cpuPassY(fast.get(), k, path);
                        else
                            qop_internal::cpuPassX(fast.get(), k, path);
                        EXPECT_TRUE(fast == expected)
                            << c.name << ", " << photos[i].width() << " x " << photos[i].height()
                            << (i % 2 ? " near white" : " noise") << (sharpen ? ", sharpen" : ", blur")
                            << (columns ? ", columns" : ", rows") << ", path " << static_cast<int>(path);
                    }
                }
        }
}

} // namespace
