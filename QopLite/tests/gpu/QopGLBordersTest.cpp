// The border engine, flares and gradient map on the GPU against their CPU twins: smooth effects
// within 2 levels; hard-edged frames within 2 levels away from their edges with no edge moved by
// more than a pixel; random grain (whose GPU source is its own) by its solid parts and by the
// mean and spread of the grain band. Also the GPU-only faults: flat hard-random lines, strips on
// images one pixel wide, and strips drawn after a pass that swapped the textures.
#include "QopBorderLines.h"
#include "QopGLTestSupport.h"
#include "QopGpuComparison.h"

#include "QopLite/QLPL.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopBorders.h"
#include "QopLite/QopFlare.h"
#include "QopLite/QopGradientMap.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qop_test {
namespace {

QopBorderParams_t borderParams(QopBorderStyle_t style)
{
    QopBorderParams_t p{};
    QopBorderInitParams(&p);
    p.style = style;
    p.color = {240, 230, 200, 255};
    return p;
}

BitmapOperation border(QopBorderParams_t params)
{
    return [params](QopBitmap_t *bitmap) {
        QopBorderParams_t p = params;
        BorderLines lines(bitmap->width, bitmap->height);
        lines.attach(&p);
        QopBorders(bitmap, &p);
    };
}

// One line of agreement statistics per comparison, for the record.
void report(const std::string &name, const std::string &what)
{
    std::printf("agreement %-34s %s\n", name.c_str(), what.c_str());
}

// Hard edges: every GPU channel lies within 2 levels of the range of its CPU 3 x 3 neighbourhood
// (no edge moved by more than a pixel), and equals the CPU within 2 where that neighbourhood is
// flat (away from the edges).
struct EdgeAgreement {
    int awayMax = 0;
    int displacedMax = 0;
};

EdgeAgreement edgeAgreement(const TestBitmap &cpu, const TestBitmap &gpu)
{
    EdgeAgreement a;
    const int W = static_cast<int>(cpu.width()), H = static_cast<int>(cpu.height());
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            for (int c = 0; c < 3; ++c) {
                const auto channel = [c](const QopColor_t &p) { return c == 0 ? p.r : c == 1 ? p.g : p.b; };
                int lo = 255, hi = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= W || ny >= H)
                            continue;
                        const int v = channel(cpu.at(nx, ny));
                        lo = std::min(lo, v);
                        hi = std::max(hi, v);
                    }
                }
                const int g = channel(gpu.at(x, y));
                if (hi - lo <= 2)
                    a.awayMax = std::max(a.awayMax, std::abs(g - channel(cpu.at(x, y))));
                a.displacedMax = std::max({a.displacedMax, lo - g, g - hi});
            }
        }
    }
    return a;
}

::testing::AssertionResult edgesAgree(const GpuComparison &r, const std::string &name)
{
    if (r.glError != GL_NO_ERROR || r.state != QopGLStateOk)
        return ::testing::AssertionFailure() << name << ": GL error " << r.glError << ", state " << r.state;
    const EdgeAgreement a = edgeAgreement(r.cpu, r.gpu);
    std::ostringstream what;
    what << describe(r.diff) << "; away from edges max " << a.awayMax << ", beyond a 1-pixel shift " << a.displacedMax;
    report(name, what.str());
    if (a.awayMax <= 2 && a.displacedMax <= 2)
        return ::testing::AssertionSuccess();
    imagesAgree(r.cpu, r.gpu, Tolerance{2, -1, -1}, name); // dumps the images
    return ::testing::AssertionFailure() << name << ": " << what.str();
}

::testing::AssertionResult agreesWithin2(const GpuComparison &r, const std::string &name)
{
    report(name, describe(r.diff));
    return gpuAgreesWithCpu(r, Tolerance{2, -1, -1}, name);
}

TEST(QopGLBorders, VignetteAgreesInEveryModeAndShape)
{
    const TestBitmap input = makePhotoLike(240, 160);
    for (QopBlendMode_t mode : {QopBlendModeNormal, QopBlendModeOverlay, QopBlendModeMultiply}) {
        for (int shape = 0; shape < 4; ++shape) {
            for (bool stretch : {false, true}) {
                QopBorderParams_t p = borderParams(QopBorderStyleVignette);
                p.color = {30, 20, 90, 220};
                p.blendMode = mode;
                p.shapeMode = static_cast<QopBorderShapeMode_t>(shape);
                p.stretch = stretch;
                p.vignetteScale = stretch ? 0.55 : 110.0;
                p.dx = 0.1;
                p.dy = -0.2;
                QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, border(p));
                std::ostringstream name;
                name << "vignette mode " << mode << " shape " << shape << (stretch ? " stretched" : "");
                EXPECT_TRUE(agreesWithin2(result, name.str()));
                EXPECT_FALSE(result.cpu == input);
            }
        }
    }
}

// The centre moves by (W / 2) x dx whole pixels, W / 2 rounded down: on odd sizes that is not
// W x dx / 2. The shifts below round differently the two ways, and a steep falloff turns one
// pixel of shift into several levels.
TEST(QopGLBorders, VignetteCentresRoundAsTheCpuOnOddSizes)
{
    const TestBitmap input = makePhotoLike(241, 161);
    QopBorderParams_t p = borderParams(QopBorderStyleVignette);
    p.color = {30, 20, 90, 255};
    p.stretch = true;
    p.vignetteScale = 0.12;
    p.dx = 0.329;
    p.dy = 0.33;
    QOP_COMPARE_CPU_GPU_OR_SKIP(vignette, input, border(p));
    EXPECT_TRUE(agreesWithin2(vignette, "vignette, odd size"));

    std::vector<QopGradientColor_t> colours = {{{20, 40, 200, 255}, 0}, {{250, 200, 30, 255}, 100}};
    std::vector<QopGradientOpacity_t> opacities = {{1.0, 0}, {1.0, 100}};
    QopGradient_t gradient = {colours.data(), opacities.data(), colours.size(), opacities.size()};
    QopGradientShapeParams_t shape;
    QopGradientShapeParamsInit(&shape);
    shape.shapeMode = QopGradientShapeModeLinearVignette;
    shape.vignetteScale = 0.12;
    shape.dx = 0.329;
    shape.dy = 0.33;
    for (QopBlendMode_t mode : {QopBlendModeNormal, QopBlendModeOverlay}) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, [&](QopBitmap_t *b) {
            QopGradientApply(b, &shape, &gradient, mode, 1.0);
        });
        EXPECT_TRUE(agreesWithin2(result, mode == QopBlendModeNormal ? "gradient vignette, odd size"
                                                                    : "gradient vignette overlay, odd size"));
    }
}

TEST(QopGLBorders, InsetAndHardSideFramesAgreeUpToAPixelAtTheirEdges)
{
    const TestBitmap input = makePhotoLike(240, 160);
    struct Case {
        const char *name;
        QopBorderStyle_t style;
        void (*set)(QopBorderParams_t *);
    };
    const Case cases[] = {
        {"halftone", QopBorderStyleHalftone, [](QopBorderParams_t *p) { p->offset = 0.4; }},
        {"lines", QopBorderStyleLines, [](QopBorderParams_t *p) { p->dw = 1.5; p->linesScale = 0.5; }},
        {"smooth", QopBorderStyleSmooth, [](QopBorderParams_t *p) { p->offset = 6; }},
        {"fade", QopBorderStyleFade, [](QopBorderParams_t *p) { p->offset = 0.5; p->dw = 2; }},
        {"shadow", QopBorderStyleShadow, [](QopBorderParams_t *p) { p->shadowAngle = 35; p->dw = 2; }},
        {"rect", QopBorderStyleRect, [](QopBorderParams_t *p) { p->dw = 0.03; }},
        {"round", QopBorderStyleRound, [](QopBorderParams_t *p) { p->dw = 0.06; p->dwB = 2; p->rScale = 1.2; }},
        {"bulge", QopBorderStyleBulge, [](QopBorderParams_t *p) { p->dw = 0.05; p->offset = 0.6; }},
        {"torn", QopBorderStyleTorn, [](QopBorderParams_t *p) { p->dw = 0.03; p->amp = 0.01; p->seed = 5; }},
        {"torn2", QopBorderStyleTorn2, [](QopBorderParams_t *p) { p->dw = 0.04; p->amp = 0.02; p->seed = 8; }},
        {"pellar", QopBorderStylePellar, [](QopBorderParams_t *p) { p->seed = 3; }},
        {"rect translucent", QopBorderStyleRect,
         [](QopBorderParams_t *p) { p->dw = 0.03; p->color.a = 140; }},
    };
    for (const Case &c : cases) {
        QopBorderParams_t p = borderParams(c.style);
        c.set(&p);
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, border(p));
        EXPECT_TRUE(edgesAgree(result, c.name));
        EXPECT_FALSE(result.cpu == input) << c.name;
    }
}

// Grain mean and spread over a rectangle of the band, and the largest difference outside the
// band and the corners (solid frame and untouched photograph).
struct GrainStats {
    double cpuMean = 0, gpuMean = 0, cpuStd = 0, gpuStd = 0;
    int solidMax = 0;
};

GrainStats grainStats(const TestBitmap &cpu, const TestBitmap &gpu, int bandStart, int bandEnd)
{
    GrainStats s;
    const int W = static_cast<int>(cpu.width()), H = static_cast<int>(cpu.height());
    double sumC = 0, sumG = 0, sqC = 0, sqG = 0;
    size_t n = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const int distX = std::min(x, W - 1 - x), distY = std::min(y, H - 1 - y);
            const int dist = std::min(distX, distY);
            const bool corner = distX < bandEnd * 2 && distY < bandEnd * 2;
            const int c = cpu.at(x, y).r, g = gpu.at(x, y).r;
            if (corner)
                continue;
            if (dist >= bandStart && dist < bandEnd) {
                sumC += c;
                sumG += g;
                sqC += double(c) * c;
                sqG += double(g) * g;
                ++n;
            } else if (dist < bandStart - 1 || dist > bandEnd + 1) {
                s.solidMax = std::max(s.solidMax, std::abs(c - g));
            }
        }
    }
    s.cpuMean = sumC / n;
    s.gpuMean = sumG / n;
    s.cpuStd = std::sqrt(std::max(0.0, sqC / n - s.cpuMean * s.cpuMean));
    s.gpuStd = std::sqrt(std::max(0.0, sqG / n - s.gpuMean * s.gpuMean));
    return s;
}

TEST(QopGLBorders, RandomGrainAgreesByItsSolidPartsAndItsStatistics)
{
    TestBitmap input(300, 200);
    input.fill({128, 128, 128, 255});
    const double S = 500.0;
    struct Case {
        const char *name;
        QopBorderStyle_t style;
        void (*set)(QopBorderParams_t *);
        int bandStart, bandEnd;
    };
    const Case cases[] = {
        {"rough", QopBorderStyleRough, [](QopBorderParams_t *p) { p->offset = 4; }, 4,
         4 + static_cast<int>(S / 30.0)},
        {"viewfinder", QopBorderStyleViewfinder,
         [](QopBorderParams_t *p) { p->offsetL = p->offsetR = p->offsetT = p->offsetB = 10; }, 10,
         10 + static_cast<int>(S / 60.0)},
        {"hardrand flat lines", QopBorderStyleHardRand,
         [](QopBorderParams_t *p) { p->intensity = 0; p->offset = 5; p->seed = 77; }, 5,
         5 + static_cast<int>(S / 30.0)},
    };
    for (const Case &c : cases) {
        QopBorderParams_t p = borderParams(c.style);
        p.color = {255, 255, 255, 255};
        c.set(&p);
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, border(p));
        ASSERT_EQ(result.glError, static_cast<unsigned>(GL_NO_ERROR)) << c.name;
        const GrainStats s = grainStats(result.cpu, result.gpu, c.bandStart, c.bandEnd);
        char what[200];
        std::snprintf(what, sizeof what, "solid max %d; band mean %.2f / %.2f, std %.2f / %.2f (cpu / gpu)",
                      s.solidMax, s.cpuMean, s.gpuMean, s.cpuStd, s.gpuStd);
        report(c.name, what);
        EXPECT_LE(s.solidMax, 2) << c.name;
        EXPECT_NEAR(s.gpuMean, s.cpuMean, 2.0) << c.name;
        EXPECT_NEAR(s.gpuStd, s.cpuStd, 0.15 * s.cpuStd) << c.name;
        EXPECT_GT(s.cpuStd, 5.0) << c.name << ": the band holds grain";
        if (::testing::Test::HasFailure())
            imagesAgree(result.cpu, result.gpu, Tolerance{2, -1, -1}, c.name);
    }
}

// Random lines as well: the hard-random frame with amplitude and corner. The lines are the CPU's,
// sent through the lines texture, so the frame edge agrees up to a pixel where the grain does not
// lie (the solid margin outside it).
TEST(QopGLBorders, HardRandomLinesSurviveTheLinesTexture)
{
    TestBitmap input(300, 200);
    input.fill({0, 0, 0, 255});
    QopBorderParams_t p = borderParams(QopBorderStyleHardRand);
    p.color = {255, 255, 255, 255};
    p.intensity = 1.0;
    p.corner = 12;
    p.offset = 3;
    p.seed = 4;
    p.scale = 1000; // no falloff: a hard frame edge
    QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, border(p));
    EXPECT_TRUE(edgesAgree(result, "hardrand lines, hard edge"));
}

TEST(QopGLBorders, GradientAgreesForEveryShape)
{
    const TestBitmap input = makePhotoLike(240, 160);
    std::vector<QopGradientColor_t> colours = {{{20, 40, 200, 255}, 0}, {{250, 200, 30, 255}, 40},
                                               {{250, 30, 90, 255}, 100}};
    std::vector<QopGradientOpacity_t> opacities = {{1.0, 0}, {0.3, 60}, {0.9, 100}};
    QopGradient_t gradient = {colours.data(), opacities.data(), colours.size(), opacities.size()};
    // Every shape in every blend mode: the GPU blends the non-Normal modes in its own program,
    // and LinearVignette fades by the vignette in each of them.
    const struct {
        const char *name;
        QopGradientShapeMode_t shape;
    } shapes[] = {
        {"linear 30", QopGradientShapeModeLinear},
        {"radial", QopGradientShapeModeRadial},
        {"linear vignette", QopGradientShapeModeLinearVignette},
    };
    const struct {
        const char *name;
        QopBlendMode_t mode;
    } modes[] = {
        {"normal", QopBlendModeNormal}, {"overlay", QopBlendModeOverlay}, {"color", QopBlendModeColor},
        {"screen", QopBlendModeScreen}, {"darken", QopBlendModeDarken},   {"multiply", QopBlendModeMultiply},
    };
    for (const auto &s : shapes) {
        for (const auto &m : modes) {
            QopGradientShapeParams_t shape;
            QopGradientShapeParamsInit(&shape);
            shape.shapeMode = s.shape;
            shape.angle = 30.0 * 3.14159265358979 / 180.0;
            shape.scale = 0.7;
            shape.xCenter = 0.3;
            shape.vignetteScale = 0.6;
            shape.vignetteShape = QopBorderShapeModeMediumSharp;
            shape.dx = 0.1;
            QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, [&](QopBitmap_t *b) {
                QopGradientApply(b, &shape, &gradient, m.mode, 0.8);
            });
            EXPECT_TRUE(agreesWithin2(result, std::string("gradient ") + s.name + " " + m.name));
            EXPECT_FALSE(result.cpu == input);
        }
    }
}

TEST(QopGLBorders, RingFlareAgrees)
{
    const TestBitmap input = makePhotoLike(240, 160);
    const QopColor_t colour = {255, 220, 120, 200};
    QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, [&](QopBitmap_t *b) { QopRingFlare(b, &colour, 130, 70, 0.15, 0.3); });
    EXPECT_TRUE(agreesWithin2(result, "ring flare"));
    EXPECT_FALSE(result.cpu == input);
}

// Every flare: the dedicated programs and the fallback for all types in Normal and Overlay, plus
// the fallback's other blend modes. Square, so that Sinc's pixel and texture scales coincide.
TEST(QopGLBorders, FlaresAgreeThroughDedicatedAndFallbackPrograms)
{
    const TestBitmap input = makePhotoLike(180, 180);
    const QopColor_t colour = {255, 210, 150, 210};
    struct Case {
        QopFlareType_t type;
        QopBlendMode_t mode;
    };
    std::vector<Case> cases;
    for (int type = 0; type < 19; ++type)
        for (QopBlendMode_t mode : {QopBlendModeNormal, QopBlendModeOverlay})
            cases.push_back({static_cast<QopFlareType_t>(type), mode});
    for (QopBlendMode_t mode : {QopBlendModeColor, QopBlendModeScreen, QopBlendModeDarken, QopBlendModeMultiply}) {
        cases.push_back({QopFlareBlob2, mode});
        cases.push_back({QopFlareGaussianthing2, mode});
    }
    for (const Case &c : cases) {
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, [&](QopBitmap_t *b) {
            QopFlare(b, 0.8f, &colour, c.type, 0.1f, -0.15f, 1.1f, 0.9f, c.mode);
        });
        std::ostringstream name;
        name << "flare type " << c.type << " mode " << c.mode;
        if (c.type == QopFlareBlobflare) {
            // The CPU stops at the shape's box, where Blobflare is still a few levels strong; the
            // GPU pass has no box.
            report(name.str(), describe(result.diff));
            EXPECT_TRUE(gpuAgreesWithCpu(result, Tolerance{3, 2, -1}, name.str()));
        } else {
            EXPECT_TRUE(agreesWithin2(result, name.str()));
        }
    }
}

// Flat hard-random lines (amplitude and corner 0, as at effect intensity 0) have no range to
// scale: the GPU frame is still clean, not NaN.
TEST(QopGLBorders, FlatHardRandomLinesDrawACleanFrame)
{
    TestBitmap input(120, 80);
    input.fill({0, 0, 0, 255});
    QopBorderParams_t p = borderParams(QopBorderStyleHardRand);
    p.color = {255, 0, 0, 255};
    p.intensity = 0;
    p.offset = 6;
    QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, border(p));
    EXPECT_EQ(result.glError, static_cast<unsigned>(GL_NO_ERROR));
    for (size_t y = 0; y < 80; ++y)
        for (size_t x = 0; x < 5; ++x)
            ASSERT_EQ(result.gpu.at(x, y).r, 255) << x << ", " << y;
    EXPECT_EQ(result.gpu.at(60, 40).r, 0);
}

// Strips on images one pixel long or across (where a mapping by m - 1 would divide by zero) draw
// like the CPU walk and leave GL clean.
TEST(QopGLBorders, StripsOnTinyImagesAgreeAndRaiseNoError)
{
    for (const auto &size : {std::pair<size_t, size_t>{1, 1}, std::pair<size_t, size_t>{2, 7},
                             std::pair<size_t, size_t>{7, 1}}) {
        const TestBitmap input = makePhotoLike(size.first, size.second);
        for (QopBorderStyle_t style : {QopBorderStyleRect, QopBorderStyleRound, QopBorderStyleTorn,
                                       QopBorderStyleTorn2}) {
            QopBorderParams_t p = borderParams(style);
            p.dw = 0.9;
            p.amp = 1;
            p.noiseType = QopMPDLaplace;
            QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, border(p));
            EXPECT_EQ(result.glError, static_cast<unsigned>(GL_NO_ERROR));
            EXPECT_EQ(result.state, QopGLStateOk);
            if (style == QopBorderStyleRect) {
                EXPECT_TRUE(result.gpu == result.cpu) << size.first << " x " << size.second;
            }
        }
    }
}

// Side strips draw over the effect's current result: after a pass that swapped the textures (an
// overlay vignette) the frame lands on top of it, as on the CPU.
TEST(QopGLBorders, StripsDrawOverThePassesBeforeThem)
{
    const TestBitmap input = makePhotoLike(200, 140);
    QopBorderParams_t vignette = borderParams(QopBorderStyleVignette);
    vignette.blendMode = QopBlendModeOverlay;
    vignette.color = {0, 0, 0, 255};
    vignette.stretch = true;
    vignette.vignetteScale = 0.5;
    QopBorderParams_t rect = borderParams(QopBorderStyleRect);
    rect.dw = 0.03;
    QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, [&](QopBitmap_t *b) {
        border(vignette)(b);
        border(rect)(b);
    });
    EXPECT_TRUE(edgesAgree(result, "overlay vignette then rect"));
}

// A recipe of the corpus; a missing file fails the test rather than passing as an empty recipe.
std::string corpus(const std::string &relative)
{
    std::ifstream in(std::string(QLPL_RECIPE_DIR) + "/" + relative, std::ios::binary);
    EXPECT_TRUE(in) << "cannot read the corpus recipe " << relative;
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The corpus recipes that use the drawing processors run on the GPU as one effect.
TEST(QopGLBorders, DrawingRecipesRunOnTheGpu)
{
    const TestBitmap input = makePhotoLike(160, 120);
    // The gradient recipe (linear vignette, overlay) must agree; the others are reported.
    const struct {
        const char *file;
        bool mustAgree;
    } recipes[] = {
        {"processors/vignette.json", false},
        {"processors/flare.json", false},
        {"processors/gradient.json", true},
    };
    for (const auto &[file, mustAgree] : recipes) {
        const std::string text = corpus(file);
        bool ran = false;
        QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, [&](QopBitmap_t *b) {
            QopEffectParams_t params;
            QopEffectInitParams(&params);
            QopJSONEffect effect = QLPLLoadEffect(text.c_str());
            ran = QLPLRunEffect(effect, b, &params);
            QLPLUnloadEffect(&effect);
            EXPECT_TRUE(ran) << file << (b->glData ? " on the GPU" : " on the CPU");
        });
        EXPECT_EQ(result.glError, static_cast<unsigned>(GL_NO_ERROR)) << file;
        EXPECT_FALSE(result.gpu == input) << file;
        EXPECT_FALSE(result.cpu == input) << file;
        if (mustAgree)
            EXPECT_TRUE(agreesWithin2(result, file));
        else
            report(file, describe(result.diff));
    }
}

} // namespace
} // namespace qop_test
