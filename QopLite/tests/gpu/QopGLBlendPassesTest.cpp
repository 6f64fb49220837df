// The GPU blends and composites: two-image blends against their CPU twins, and the composites,
// masked draws and resize quad against what they must draw.
#include "QopGLCallCounts.h"
#include "QopGLTestSupport.h"
#include "QopGpuComparison.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLColor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace qop_test {
namespace {

void report(const std::string &name, const ImageDiff &diff)
{
    std::printf("[agreement] %-40s %s\n", name.c_str(), describe(diff).c_str());
}

// A bitmap that stands for the effect's original image (no pixels).
QopBitmap_t originalStandIn(const TestBitmap &image)
{
    return QopBitmap_t{nullptr, image.width(), image.height(), nullptr};
}

struct Pair {
    const char *name;
    TestBitmap current, source;
};

std::vector<Pair> pairs()
{
    std::vector<Pair> list;
    list.push_back({"photo-like", makePhotoLike(173, 131, 7), makePhotoLike(173, 131, 99)});
    list.push_back({"noise", makeSeededNoise(96, 64, 1, true), makeSeededNoise(96, 64, 2, true)});
    list.push_back({"hue wheel over ramp", makeHueWheel(80, 80), makeRamp(80, 80)});
    return list;
}

using GLBlendPassesTest = GLTest;

void expectBlendTwinsAgree(Pair &pair)
{
    {
        QopBitmap_t *source = pair.source.get();
        const TestBitmap &sourceImage = pair.source;
        struct Case {
            std::string name;
            BitmapOperation operation;
        };
        const Case cases[] = {
            {"separate blend 0.35 / 0.8",
             [&](QopBitmap_t *b) { QopBitmapBlendBitmapSeparate(b, source, 0.35f, 0.8f); }},
            {"Normal blend 0.4",
             [&](QopBitmap_t *b) {
                 if (b->glData)
                     QopGLBitmapBlend(b, source, 0.4f, QopBlendModeNormal);
                 else
                     QopBitmapBlendBitmap(b, source, QopBlendModeNormal, 0.4f);
             }},
        };
        std::vector<Case> all(std::begin(cases), std::end(cases));
        for (float factor : {0.3f, 1.0f}) {
            // Overlay: the current image is the base layer.
            all.push_back({"overlay " + std::to_string(factor), [&, factor](QopBitmap_t *b) {
                               if (b->glData)
                                   QopGLBitmapBlend(b, source, factor, QopBlendModeOverlay);
                               else
                                   QopBitmapBlendBitmap(b, source, QopBlendModeOverlay, factor);
                           }});
            // Reverse overlay: the source is the base layer.
            all.push_back({"reverse overlay " + std::to_string(factor), [&, factor](QopBitmap_t *b) {
                               if (b->glData) {
                                   QopGLBitmapBlendOverlayReverse(b, source, factor);
                                   return;
                               }
                               TestBitmap base = sourceImage;
                               QopBitmapBlendBitmap(base.get(), b, QopBlendModeOverlay, factor);
                               std::memcpy(b->data, base.data(), 4 * base.pixelCount());
                           }});
        }
        for (const Case &c : all) {
            const std::string name = c.name + " on " + pair.name;
            SCOPED_TRACE(name);
            GpuComparison result = compareCpuAndGpu(pair.current, c.operation);
            ASSERT_TRUE(result.ran) << result.skipReason;
            report(name, result.diff);
            EXPECT_TRUE(gpuAgreesWithCpu(result, Tolerance{1, -1, -1}, name));
        }
    }
}

TEST_F(GLBlendPassesTest, TwoImageBlendsAgreeWithTheirCpuTwins)
{
    for (Pair &pair : pairs())
        expectBlendTwinsAgree(pair);
}

TEST_F(GLBlendPassesTest, TwoImageBlendsAgreeWithTheirCpuTwinsOnPhotos)
{
    Pair pair{"coffee.png over its mirror image", {}, {}};
    QOP_LOAD_PHOTO_OR_SKIP("coffee.png", pair.current);
    pair.source = pair.current;
    for (size_t y = 0; y < pair.source.height(); ++y)
        for (size_t x = 0; x < pair.source.width(); ++x)
            pair.source.at(x, y) = pair.current.at(pair.current.width() - 1 - x, y);
    expectBlendTwinsAgree(pair);
}

// A source without pixels stands for the original: after an inversion, blending half of it back
// gives the mean of the inverted and the original image; as the first pass, the original itself.
TEST_F(GLBlendPassesTest, ASourceWithoutPixelsIsTheOriginalImage)
{
    const TestBitmap input = makePhotoLike(90, 70);
    QopBitmap_t standIn = originalStandIn(input);
    TestBitmap expected = inverted(input);
    QopBitmapBlendBitmapSeparate(expected.get(), const_cast<QopBitmap_t *>(input.get()), 0.5f, 0.5f);
    const TestBitmap afterInvert = runOnGpu(gl(), input, [&](QopBitmap_t *b) {
        addInvertPass(b->glData);
        QopGLBitmapBlendSeparate(b, &standIn, 0.5f, 0.5f);
    });
    EXPECT_TRUE(imagesAgree(expected, afterInvert, Tolerance{1, -1, -1}, "inverted blended with the original"));
    const TestBitmap firstPass =
        runOnGpu(gl(), input, [&](QopBitmap_t *b) { QopGLBitmapBlendSeparate(b, &standIn, 0.5f, 0.5f); });
    EXPECT_TRUE(imagesAgree(input, firstPass, Tolerance{1, -1, -1}, "original blended with itself"));
}

TEST_F(GLBlendPassesTest, NormalBlendEndsAtTheCurrentImageAndTheSource)
{
    const TestBitmap current = makeHueWheel(50, 40), source = makeSeededNoise(50, 40, 8, true);
    TestBitmap src = source;
    EXPECT_TRUE(runOnGpu(gl(), current, [&](QopBitmap_t *b) {
                    QopGLBitmapBlend(b, src.get(), 0.0f, QopBlendModeNormal);
                }) == current);
    EXPECT_TRUE(runOnGpu(gl(), current, [&](QopBitmap_t *b) {
                    QopGLBitmapBlend(b, src.get(), 1.0f, QopBlendModeNormal);
                }) == source);
}

TEST_F(GLBlendPassesTest, CompositeDrawsTheSourceOverAndLeavesTheOriginalAlone)
{
    const TestBitmap current = makePhotoLike(64, 48);
    TestBitmap transparent(64, 48);
    transparent.fill(QopColor_t{0, 0, 0, 0});
    TestBitmap opaque = makeRamp(64, 48);
    EXPECT_TRUE(runOnGpu(gl(), current, [&](QopBitmap_t *b) { QopGLBitmapComposite(b, transparent.get()); }) ==
                current);

    TestBitmap sourceAfter;
    const TestBitmap covered = runOnGpu(gl(), current, [&](QopBitmap_t *b) {
        QopGLBitmapComposite(b, opaque.get());
        sourceAfter = readTexture(gl()->glImageData.texID, 64, 48);
    });
    EXPECT_TRUE(imagesAgree(opaque, covered, Tolerance{}, "opaque composite"));
    EXPECT_TRUE(imagesAgree(current, sourceAfter, Tolerance{}, "source texture after a first-pass composite", true));
}

// Clip-space rectangle of the left half of the image, bottom to top.
QopBitmapResizeRect_t leftHalf()
{
    return QopBitmapResizeRect_t{{-1, -1}, {0, -1}, {0, 1}, {-1, 1}};
}

TEST_F(GLBlendPassesTest, TiledCompositeDrawsWholeTilesWhileTheCountLasts)
{
    const size_t w = 40, h = 20;
    const TestBitmap current = makeSeededNoise(w, h, 4, true);
    TestBitmap source(4, 4);
    source.fill(QopColor_t{10, 200, 30, 255});
    const QopBitmapResizeRect_t rect = leftHalf();

    const TestBitmap quad = runOnGpu(
        gl(), current, [&](QopBitmap_t *b) { QopGLBitmapCompositeWithPosition(b, source.get(), &rect); });
    const TestBitmap oneTile = runOnGpu(gl(), current, [&](QopBitmap_t *b) {
        QopGLBitmapCompositeWithPositionAndTiling(b, source.get(), &rect, 1.0f, 1.0f);
    });
    EXPECT_TRUE(imagesAgree(quad, oneTile, Tolerance{}, "one tile is the quadrilateral composite"));
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x)
            ASSERT_EQ(std::memcmp(&quad.at(x, y), x < w / 2 ? &source.at(0, 0) : &current.at(x, y), 4), 0)
                << x << "," << y;

    // 2.5 columns of a fifth of the width each: three whole tiles, reaching 0.2 past the middle.
    long draws = 0;
    const TestBitmap tiled = runOnGpu(gl(), current, [&](QopBitmap_t *b) {
        QopGLDrawCurrentBitmapIdentity(b->glData); // the source copied out of the way beforehand
        resetGLCallCounts();
        QopGLBitmapCompositeWithPositionAndTiling(b, source.get(), &rect, 2.5f, 1.0f);
        draws = glCallCounts().drawElements;
    });
    EXPECT_EQ(draws, 3);
    const size_t reach = w / 2 + w / 10; // clip x 0.2
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x)
            ASSERT_EQ(std::memcmp(&tiled.at(x, y), x < reach ? &source.at(0, 0) : &current.at(x, y), 4), 0)
                << x << "," << y;

    for (float count : {0.0f, -1.0f, NAN}) {
        EXPECT_TRUE(runOnGpu(gl(), current, [&](QopBitmap_t *b) {
                        QopGLBitmapCompositeWithPositionAndTiling(b, source.get(), &rect, count, 1.0f);
                    }) == current);
    }
}

// A mask texture of one value everywhere (the value is in alpha).
TestBitmap flatMask(size_t w, size_t h, uint8_t value)
{
    TestBitmap mask(w, h);
    mask.fill(QopColor_t{0, 0, 0, value});
    return mask;
}

TEST_F(GLBlendPassesTest, MaskedRedrawShowsTheTextureWhereTheMaskIsSet)
{
    const size_t w = 48, h = 36;
    const TestBitmap original = makePhotoLike(w, h);
    TestBitmap processed = makeSeededNoise(w, h, 6, true);
    TestBitmap midpoint = original;
    QopBitmapBlendBitmapSeparate(midpoint.get(), processed.get(), 0.5f, 0.5f);
    struct Case {
        uint8_t mask;
        bool flip;
        const TestBitmap *expected;
        int tolerance;
    };
    const Case cases[] = {
        {0, false, &original, 0}, {255, false, &processed, 0}, {0, true, &processed, 0},
        {255, true, &original, 0}, {128, false, &midpoint, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.mask) + (c.flip ? " flipped" : ""));
        const TestBitmap maskImage = flatMask(w, h, c.mask);
        const TestBitmap result = runOnGpu(gl(), original, [&](QopBitmap_t *b) {
            GLuint mask = createTextureFromMaskBitmap(reinterpret_cast<const uint8_t *>(maskImage.data()), float(w),
                                                      float(h), 2);
            GLuint texture = createTextureFromBitmap(processed.get(), 3, gl());
            glActiveTexture(GL_TEXTURE0);
            QopGLRedrawBitmapWithGLMask(b, mask, texture, c.flip);
            glDeleteTextures(1, &mask);
            glDeleteTextures(1, &texture);
        });
        EXPECT_TRUE(imagesAgree(*c.expected, result, Tolerance{c.tolerance, -1, -1}, "masked redraw"));
    }
}

// Finishing a masked effect whose processed image is in a texture of the caller's own (neither
// processing texture) still draws: the original where the mask is clear, the texture where set.
TEST_F(GLBlendPassesTest, FinishingAMaskedEffectFromAnOwnTextureDraws)
{
    const size_t w = 32, h = 24;
    const TestBitmap original = makePhotoLike(w, h);
    TestBitmap processed = makeSeededNoise(w, h, 9, true);
    TestBitmap maskImage = flatMask(w, h, 0);
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w / 2; ++x)
            maskImage.at(x, y).a = 255;
    for (bool ownTexture : {true, false}) {
        SCOPED_TRACE(ownTexture ? "own texture" : "processing texture");
        TestBitmap bitmap = original;
        bitmap.get()->glData = gl();
        QopGLCreateEffect(bitmap.get());
        GLuint mask = createTextureFromMaskBitmap(reinterpret_cast<const uint8_t *>(maskImage.data()), float(w),
                                                  float(h), 2);
        GLuint texture = 0;
        if (ownTexture) {
            texture = createTextureFromBitmap(processed.get(), 3, gl());
        } else {
            // The processor's way: the processed image rendered into processedTexture1.
            texture = gl()->glRenderingObjects.processedTexture1;
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_2D, texture);
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, GLsizei(w), GLsizei(h), GL_RGBA, GL_UNSIGNED_BYTE,
                            processed.data());
        }
        glActiveTexture(GL_TEXTURE0);
        QopGLBitmapDrawExistingProcessedTextureWithMaskTexture(bitmap.get(), texture, mask, false);
        bitmap.get()->glData = nullptr;
        glDeleteTextures(1, &mask);
        if (ownTexture)
            glDeleteTextures(1, &texture);
        for (size_t y = 0; y < h; ++y)
            for (size_t x = 0; x < w; ++x)
                ASSERT_EQ(std::memcmp(&bitmap.at(x, y), x < w / 2 ? &processed.at(x, y) : &original.at(x, y), 4), 0)
                    << x << "," << y;
    }
}

TEST_F(GLBlendPassesTest, MaskedDrawPaintsTheImageWhereTheMaskIsClear)
{
    const size_t w = 30, h = 20;
    const TestBitmap original = makePhotoLike(w, h);
    TestBitmap maskImage = flatMask(w, h, 0);
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w / 2; ++x)
            maskImage.at(x, y).a = 255;
    const TestBitmap flipped = inverted(original);
    for (bool glMask : {false, true}) {
        SCOPED_TRACE(glMask ? "GL mask" : "CPU mask");
        const TestBitmap result = runOnGpu(gl(), original, [&](QopBitmap_t *b) {
            addInvertPass(b->glData);
            const uint8_t *bytes = reinterpret_cast<const uint8_t *>(maskImage.data());
            if (!glMask) {
                QopGLDrawBitmapWithMask(b, bytes);
                return;
            }
            GLuint mask = createTextureFromMaskBitmap(bytes, float(w), float(h), 2);
            glActiveTexture(GL_TEXTURE0);
            QopGLDrawBitmapWithGLMask(b, mask);
            glDeleteTextures(1, &mask);
        });
        for (size_t y = 0; y < h; ++y)
            for (size_t x = 0; x < w; ++x)
                ASSERT_EQ(std::memcmp(&result.at(x, y), x < w / 2 ? &flipped.at(x, y) : &original.at(x, y), 3), 0)
                    << x << "," << y;
        for (int unit = 2; unit < 8; ++unit)
            EXPECT_EQ(gl()->freeTextures[unit], 0) << "unit " << unit << " freed";
    }
}

// Bilinear sampling of the CPU image at texture coordinates (s, t), clamped to the edge.
float bilinearAt(const TestBitmap &image, float s, float t, int channel)
{
    const float u = s * float(image.width()) - 0.5f, v = t * float(image.height()) - 0.5f;
    const float u0 = std::floor(u), v0 = std::floor(v);
    const float fu = u - u0, fv = v - v0;
    auto at = [&](float x, float y) {
        const long cx = std::clamp(long(x), 0L, long(image.width()) - 1);
        const long cy = std::clamp(long(y), 0L, long(image.height()) - 1);
        return float(reinterpret_cast<const uint8_t *>(&image.at(size_t(cx), size_t(cy)))[channel]);
    };
    return at(u0, v0) * (1 - fu) * (1 - fv) + at(u0 + 1, v0) * fu * (1 - fv) + at(u0, v0 + 1) * (1 - fu) * fv +
           at(u0 + 1, v0 + 1) * fu * fv;
}

TEST_F(GLBlendPassesTest, ResizeRectCropsAndStretchesTheSource)
{
    const size_t w = 64, h = 48;
    const TestBitmap input = makePhotoLike(w, h);
    const QopBitmapResizeRect_t identity{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    EXPECT_TRUE(runOnGpu(gl(), input, [&](QopBitmap_t *b) {
                    QopGLDrawCurrentBitmapWithResizeRect(b->glData, &identity);
                }) == input);

    const QopBitmapResizeRect_t quarter{{0.25f, 0.25f}, {0.75f, 0.25f}, {0.75f, 0.75f}, {0.25f, 0.75f}};
    const TestBitmap enlarged =
        runOnGpu(gl(), input, [&](QopBitmap_t *b) { QopGLDrawCurrentBitmapWithResizeRect(b->glData, &quarter); });
    TestBitmap expected = input;
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                const float s = 0.25f + 0.5f * (float(x) + 0.5f) / float(w);
                const float t = 0.25f + 0.5f * (float(y) + 0.5f) / float(h);
                reinterpret_cast<uint8_t *>(&expected.at(x, y))[c] =
                    uint8_t(std::lround(bilinearAt(input, s, t, c)));
            }
    report("resize to the central quarter", compareImages(*expected.get(), *enlarged.get()));
    EXPECT_TRUE(imagesAgree(expected, enlarged, Tolerance{2, -1, -1}, "central quarter enlarged"));
}

// Every pass of this library, as a table: with a failed record each returns without drawing, and
// with no texture unit free the passes that need one draw nothing and take none.
std::vector<std::pair<const char *, BitmapOperation>> everyPass(QopBitmap_t *source, const uint8_t *mask)
{
    static const float matrix[12] = {0.5f, 0.2f, 0.1f, 10, 0.1f, 0.6f, 0.1f, 0, 0.2f, 0.1f, 0.5f, -5};
    static const float weights[6] = {0.48f, 0.63f, 0.4f, 0.6f, 0.2f, 0.84f};
    static const QopBitmapResizeRect_t quad{{-1, -1}, {0, -1}, {0, 1}, {-1, 1}};
    static const QopBitmapResizeRect_t crop{{0.25f, 0.25f}, {0.75f, 0.25f}, {0.75f, 0.75f}, {0.25f, 0.75f}};
    static const QopColor_hsl hsl{0.1f, 0.8f, 0.5f};
    static QopHistMap_t map = [] {
        QopHistMap_t m;
        for (int i = 0; i < 256; ++i)
            m.r[i] = m.g[i] = m.b[i] = uint8_t(255 - i);
        return m;
    }();
    return {
        {"resize", [](QopBitmap_t *b) { QopGLDrawCurrentBitmapWithResizeRect(b->glData, &crop); }},
        {"composite", [=](QopBitmap_t *b) { QopGLBitmapComposite(b, source); }},
        {"composite into a quad", [=](QopBitmap_t *b) { QopGLBitmapCompositeWithPosition(b, source, &quad); }},
        {"tiled composite",
         [=](QopBitmap_t *b) { QopGLBitmapCompositeWithPositionAndTiling(b, source, &quad, 2, 2); }},
        {"separate blend", [=](QopBitmap_t *b) { QopGLBitmapBlendSeparate(b, source, 0.5f, 0.5f); }},
        {"overlay blend", [=](QopBitmap_t *b) { QopGLBitmapBlend(b, source, 0.5f, QopBlendModeOverlay); }},
        {"reverse overlay", [=](QopBitmap_t *b) { QopGLBitmapBlendOverlayReverse(b, source, 0.5f); }},
        {"colour blend", [](QopBitmap_t *b) { QopGLBitmapColorBlendColor(b, &hsl, 1.0f, 0.7f); }},
        {"masked draw", [=](QopBitmap_t *b) { QopGLDrawBitmapWithMask(b, mask); }},
        {"colour matrix", [](QopBitmap_t *b) { QopGLAddColorTransform(matrix, b->glData); }},
        {"colour matrix overlay", [](QopBitmap_t *b) { QopGLAddColorTransformAndOverlayWithOriginal(matrix, b->glData, 1); }},
        {"colour map", [](QopBitmap_t *b) { QopGLAddColorMap(&map, b->glData); }},
        {"intensity map", [](QopBitmap_t *b) { QopGLAddIntensityMap(&map, QopBlendModeOverlay, 1.0, b->glData); }},
        {"noise", [](QopBitmap_t *b) { QopGLAddNoise(b, 0.3f, 5); }},
        {"gritty dots", [](QopBitmap_t *b) { QopGLGrittyDots(b, 1.0f); }},
        {"selective BW",
         [](QopBitmap_t *b) { QopGLStilbrushSatBW(b, weights, 5, 60, false, 1.0f, QopBlendModeNormal); }},
    };
}

TEST_F(GLBlendPassesTest, PassesDrawNothingOnAFailedRecordOrWithoutATextureUnit)
{
    const size_t w = 24, h = 16;
    const TestBitmap input = makePhotoLike(w, h);
    TestBitmap source = makeSeededNoise(w, h, 3, true);
    const TestBitmap mask = flatMask(w, h, 0);
    for (const auto &[name, pass] : everyPass(source.get(), reinterpret_cast<const uint8_t *>(mask.data()))) {
        SCOPED_TRACE(name);
        // (The masked draw paints the bitmap's own pixels back over themselves here.)
        if (std::string(name) != "masked draw") {
            EXPECT_FALSE(runOnGpu(gl(), input, pass) == input) << "the pass draws on a sound record";
        }
        const TestBitmap failed = runOnGpu(gl(), input, [&](QopBitmap_t *b) {
            gl()->state = QopGLStateFailed;
            pass(b);
            gl()->state = QopGLStateOk;
        });
        EXPECT_TRUE(failed == input);
        QOP_EXPECT_NO_GL_ERROR();
    }
    // Every unit taken: the two-image passes, the lookup tables and the masked draws skip.
    const char *needUnits[] = {"composite", "composite into a quad", "tiled composite", "separate blend",
                               "overlay blend", "reverse overlay", "masked draw", "colour map",
                               "intensity map", "gritty dots"};
    for (const auto &[name, pass] : everyPass(source.get(), reinterpret_cast<const uint8_t *>(mask.data()))) {
        if (std::find_if(std::begin(needUnits), std::end(needUnits),
                         [&](const char *n) { return std::string(n) == name; }) == std::end(needUnits))
            continue;
        SCOPED_TRACE(name);
        testing::internal::CaptureStdout();
        const TestBitmap starved = runOnGpu(gl(), input, [&](QopBitmap_t *b) {
            while (QopGLClaimFreeTexture(gl()) >= 0) {
            }
            pass(b);
            for (int unit = 2; unit < 8; ++unit)
                EXPECT_EQ(gl()->freeTextures[unit], 1);
            for (int unit = 2; unit < 8; ++unit)
                QopGLResetTextureToFree(gl(), unit);
        });
        EXPECT_NE(testing::internal::GetCapturedStdout().find("No free texture unit"), std::string::npos);
        EXPECT_TRUE(starved == input);
        QOP_EXPECT_NO_GL_ERROR();
    }
}

} // namespace
} // namespace qop_test
