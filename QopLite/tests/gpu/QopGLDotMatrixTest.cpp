// The drawing primitives and the legacy operations and frames on the GPU against their CPU twins,
// and a contact sheet of every legacy frame (CPU and GPU side by side) for a person to look at.
// Lines agree pixel for pixel; dot-matrix text and soft dots, whose GPU sprites differ from the
// CPU dots by design, agree in coverage (total changed intensity) and in where the dots sit.
#include "QopGLTestSupport.h"
#include "QopGpuComparison.h"

#include "../QLPLTestSupport.h"
#include "ImageIO/ImageIOCodec.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopDotMatrix.h"
#include "QopLite/QopLegacy.h"
#include "QopLite/QopLegacyBorders.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace qop_test {
namespace {

time_t fixedClock() { return 1700000000; }

TestBitmap flat(size_t w, size_t h, uint8_t v)
{
    TestBitmap b(w, h);
    b.fill({v, v, v, 255});
    return b;
}

// Sum over the image of the change in r + g + b, and its centroid.
struct Coverage {
    double total = 0;
    double cx = 0, cy = 0;
};

Coverage coverage(const TestBitmap &before, const TestBitmap &after, size_t y0 = 0, size_t y1 = SIZE_MAX)
{
    Coverage c;
    for (size_t y = y0; y < std::min(y1, before.height()); ++y) {
        for (size_t x = 0; x < before.width(); ++x) {
            const QopColor_t &a = before.at(x, y), &b = after.at(x, y);
            const double d = std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
            c.total += d;
            c.cx += d * static_cast<double>(x);
            c.cy += d * static_cast<double>(y);
        }
    }
    if (c.total > 0) {
        c.cx /= c.total;
        c.cy /= c.total;
    }
    return c;
}

void report(const char *name, const ImageDiff &d)
{
    std::printf("[agreement] %-36s max %3d  p99.9 %3d  mean %.4f\n", name, d.max, d.p999, d.meanAbs);
}

BitmapOperation recipe(const std::string &name, uint32_t seed = 3, double intensity = 1.0)
{
    return [name, seed, intensity](QopBitmap_t *bitmap) {
        QopEffectParams_t params;
        QopEffectInitParams(&params);
        params.seed = seed;
        params.intensity = intensity;
        const std::string text = qlpl_test::readCorpus("legacy/" + name + ".json");
        EXPECT_TRUE(qlpl_test::runRecipe(text, bitmap, &params)) << name;
    };
}

TEST(QopGLDotMatrixTest, LinesAgreeWithTheCpu)
{
    QopLegacyBordersSetClock(fixedClock);
    struct Case {
        const char *name;
        QopColor_t color;
        double x1, y1, x2, y2, r;
    };
    const Case cases[] = {
        {"line horizontal", {255, 255, 0, 255}, 10, 40, 180, 40, 4},
        {"line diagonal translucent", {200, 30, 30, 140}, 15, 10, 170, 130, 6.5},
        {"line hairline", {0, 0, 0, 127}, 30.3, 5, 30.3, 140, 0},
        {"line through the edges", {110, 0, 0, 216}, 180, 6, 240, 45, 9},
        {"line zero length", {255, 255, 255, 255}, 100, 75, 100, 75, 5},
    };
    const TestBitmap photo = makePhotoLike(200, 150);
    for (const Case &c : cases) {
        const auto draw = [&c](QopBitmap_t *b) { QopDrawLine(b, &c.color, c.x1, c.y1, c.x2, c.y2, c.r); };
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, draw);
        report(c.name, result.diff);
        EXPECT_TRUE(gpuAgreesWithCpu(result, Tolerance{2}, c.name));
        EXPECT_FALSE(result.gpu == photo) << c.name;
    }
}

TEST(QopGLDotMatrixTest, TextAgreesInCoverageAndDotPlaces)
{
    const TestBitmap base = flat(400, 300, 90);
    const QopColor_t amber = {180, 120, 0, 255};
    const double W = 400;
    struct Case {
        const char *text;
        float radiusPixels;
        float angle;
    };
    for (const Case &c : {Case{"VEXA 1.4 ISO:800", 4.0f, 0.0f}, Case{"+2..1..0..1..2-", 2.0f, 0.0f},
                          Case{"<> <> HOVE <> <>", 1.5f, -1.5707964f}}) {
        const float dr = c.radiusPixels / static_cast<float>(W / 2);
        const auto text = [&](QopBitmap_t *b) {
            QopDotMatrix(b, c.text, static_cast<int>(std::strlen(c.text)), &amber, dr, -0.8f, -0.2f, 0.0f, 1.3f,
                         c.angle);
        };
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, base, text);
        ASSERT_EQ(result.glError, 0u);
        const Coverage cpu = coverage(base, result.cpu), gpu = coverage(base, result.gpu);
        std::printf("[agreement] text '%s' r %.1f px: coverage cpu %.0f gpu %.0f (%.1f %%), centroid "
                    "(%.2f, %.2f) vs (%.2f, %.2f)\n",
                    c.text, c.radiusPixels, cpu.total, gpu.total, 100.0 * (gpu.total - cpu.total) / cpu.total, cpu.cx,
                    cpu.cy, gpu.cx, gpu.cy);
        EXPECT_NEAR(gpu.total, cpu.total, 0.10 * cpu.total) << c.text;
        EXPECT_NEAR(gpu.cx, cpu.cx, 1.0) << c.text;
        EXPECT_NEAR(gpu.cy, cpu.cy, 1.0) << c.text;
    }
    // One dot alone sits where the CPU puts it, and is about as strong.
    const TestBitmap small = flat(64, 48, 40);
    const auto oneGlyph = [](QopBitmap_t *b) {
        const QopColor_t white = {255, 255, 255, 255};
        QopDotMatrix(b, ".", 1, &white, 4.0f / 32.0f, -0.3f, -0.4f, 0.0f, 1.3f, 0.0f);
    };
    QOP_COMPARE_CPU_GPU_OR_SKIP(dot, small, oneGlyph);
    const Coverage cpu = coverage(small, dot.cpu), gpu = coverage(small, dot.gpu);
    std::printf("[agreement] glyph '.' (4 dots, r 4 px): coverage %.1f %%, centroid (%.2f, %.2f) vs (%.2f, %.2f)\n",
                100.0 * (gpu.total - cpu.total) / cpu.total, cpu.cx, cpu.cy, gpu.cx, gpu.cy);
    EXPECT_NEAR(gpu.total, cpu.total, 0.10 * cpu.total);
    EXPECT_NEAR(gpu.cx, cpu.cx, 1.0);
    EXPECT_NEAR(gpu.cy, cpu.cy, 1.0);
}

TEST(QopGLDotMatrixTest, DirtSpecksAgreeInCoverage)
{
    const TestBitmap base = flat(240, 180, 200);
    for (double r : {0.8, 1.2, 2.0}) {
        const auto speck = [r](QopBitmap_t *b) {
            const QopColor_t dirt = {70, 48, 26, 160};
            QopDirtSpecLegacy(b, 120, 90, r, &dirt, 19);
        };
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, base, speck);
        ASSERT_EQ(result.glError, 0u);
        const Coverage cpu = coverage(base, result.cpu), gpu = coverage(base, result.gpu);
        std::printf("[agreement] dirt speck r %.1f: coverage cpu %.0f gpu %.0f (%.1f %%), centroid (%.2f, %.2f) vs "
                    "(%.2f, %.2f)\n",
                    r, cpu.total, gpu.total, 100.0 * (gpu.total - cpu.total) / cpu.total, cpu.cx, cpu.cy, gpu.cx,
                    gpu.cy);
        EXPECT_NEAR(gpu.total, cpu.total, 0.10 * cpu.total) << r;
        EXPECT_NEAR(gpu.cx, cpu.cx, 1.0) << r;
        EXPECT_NEAR(gpu.cy, cpu.cy, 1.0) << r;
    }
}

// The legacy tone operations reuse the GPU passes of the tone family: their tolerances.
TEST(QopGLDotMatrixTest, LegacyToneOperationsAgreeWithTheCpu)
{
    struct Case {
        const char *name;
        int max;
    };
    const Case cases[] = {
        {"pellarTintypeColorMatrixTransform", 1}, {"pellarVintageColorMatrixTransform", 1},
        {"sarnithBWSBSat", 2},                    {"sarnithGrittySBSat", 2},
        {"sarnithCinematicSBSat", 2},             {"sarnithGrittyDots", 1},
    };
    TestBitmap photo = makePhotoLike(160, 120);
    loadPhoto("chelsea.png", &photo);
    for (const Case &c : cases) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, recipe(c.name));
        report(c.name, result.diff);
        EXPECT_TRUE(gpuAgreesWithCpu(result, Tolerance{c.max}, c.name));
    }
}

// Every legacy name runs on the GPU without a GL error or a tripped latch, and lands near the CPU.
// Frames with random grain have their own GPU noise source: only the statistics are reported and a
// loose mean bound holds.
TEST(QopGLDotMatrixTest, EveryLegacyNameRunsOnTheGpu)
{
    QopLegacyBordersSetClock(fixedClock);
    const TestBitmap photo = makePhotoLike(240, 180);
    for (const char *name : qlpl_test::kLegacyNames) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, recipe(name));
        report(name, result.diff);
        EXPECT_EQ(result.glError, 0u) << name;
        EXPECT_EQ(result.state, QopGLStateOk) << name;
        EXPECT_FALSE(result.gpu == photo) << name << " draws on the GPU";
        EXPECT_LT(result.diff.meanAbs, 6.0) << name;
    }
    QopLegacyBordersSetClock(nullptr);
}

// Every legacy name on a real photo, CPU and GPU side by side with the name in dot-matrix type
// beneath, written to the dump directory as legacy_contact_sheet.png.
TEST(QopGLDotMatrixTest, ContactSheetOfEveryLegacyName)
{
    TestBitmap full;
    QOP_LOAD_PHOTO_OR_SKIP("chelsea.png", full);
    QopLegacyBordersSetClock(fixedClock);
    // Every other pixel of the photo, so the sheet stays a reasonable size.
    const size_t tw = full.width() / 2, th = full.height() / 2;
    TestBitmap photo(tw, th);
    for (size_t y = 0; y < th; ++y)
        for (size_t x = 0; x < tw; ++x)
            photo.at(x, y) = full.at(2 * x, 2 * y);
    constexpr size_t kPairsPerRow = 3, kGap = 6, kLabel = 22;
    const size_t count = sizeof qlpl_test::kLegacyNames / sizeof qlpl_test::kLegacyNames[0];
    const size_t rows = (count + kPairsPerRow - 1) / kPairsPerRow;
    const size_t cellW = 2 * tw + kGap, cellH = th + kLabel;
    TestBitmap sheet(kPairsPerRow * cellW + kGap, rows * cellH + kGap);
    sheet.fill({40, 40, 40, 255});
    for (size_t n = 0; n < count; ++n) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, photo, recipe(qlpl_test::kLegacyNames[n], 5, 1.0));
        const size_t ox = kGap + (n % kPairsPerRow) * cellW, oy = kGap + (n / kPairsPerRow) * cellH;
        for (size_t y = 0; y < th; ++y) {
            for (size_t x = 0; x < tw; ++x) {
                sheet.at(ox + x, oy + y) = result.cpu.at(x, y);
                sheet.at(ox + tw + x, oy + y) = result.gpu.at(x, y);
            }
        }
        // The label: upper-cased name, drawn with the dot matrix itself under the pair.
        std::string label = qlpl_test::kLegacyNames[n];
        for (char &ch : label)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        label = "CPU|GPU " + label;
        const QopColor_t white = {230, 230, 230, 255};
        const float dr = 1.1f / static_cast<float>(sheet.width() / 2);
        const float ax = 2.0f * static_cast<float>(ox) / static_cast<float>(sheet.width()) - 1.0f;
        const float ay = 2.0f * static_cast<float>(oy + th + 6) / static_cast<float>(sheet.height()) - 1.0f;
        QopDotMatrix(sheet.get(), label.c_str(), static_cast<int>(label.size()), &white, dr, ax, ay, 0.0f, 1.6f, 0.0f);
    }
    const char *dir = std::getenv("TESSEL_TEST_DUMP_DIR");
    const std::string directory = dir && *dir ? dir : "test-dumps";
    std::filesystem::create_directories(directory);
    const std::string path = directory + "/legacy_contact_sheet.png";
    std::string error;
    ASSERT_TRUE(ImageIOWritePNGFile(path, sheet.data(), sheet.width(), sheet.height(), &error)) << error;
    std::printf("contact sheet: %s\n", path.c_str());
    QopLegacyBordersSetClock(nullptr);
}

} // namespace
} // namespace qop_test
