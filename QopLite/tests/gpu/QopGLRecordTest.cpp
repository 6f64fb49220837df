// The GPU record: uploads and read-backs, tiling, rendering modes, texture names through commit
// and finish, nested effects, texture units, thumbnails, and teardown.
#include "QopGLCallCounts.h"
#include "QopGLTestSupport.h"

#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLUtils.h"

#include <GLES2/gl2ext.h>

#include <set>

namespace qop_test {
namespace {

using GLRecordTest = GLTest;

TEST_F(GLRecordTest, UploadThenReadBackGivesTheExactBytes)
{
    const struct {
        size_t width, height;
    } sizes[] = {{1, 1}, {3, 5}, {1024, 1025}};
    for (const auto &size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        const TestBitmap image = makeSeededNoise(size.width, size.height, 11, /*opaque=*/false);
        TestBitmap upload = image;
        QopGLSetBitmap(upload.get(), gl());
        TestBitmap back(size.width, size.height);
        QopGLGetBitmapFromFramebuffer(back.get(), gl());
        QOP_EXPECT_NO_GL_ERROR();
        EXPECT_TRUE(back == image);
        EXPECT_EQ(gl()->glImageData.width, size.width);
        EXPECT_EQ(gl()->glImageData.height, size.height);
    }
}

TEST_F(GLRecordTest, TileGridFollowsImageSizeAndSpeed)
{
    const struct {
        size_t width, height;
        QopGLDeviceGPUSpeed speed;
        long draws;
    } cases[] = {
        {1024, 1024, QopGLDeviceGPUSpeedFast, 1},   // 1,048,576 pixels: one quad
        {1024, 1025, QopGLDeviceGPUSpeedFast, 4},   // one pixel more: 2 x 2 tiles
        {1024, 1024, QopGLDeviceGPUSpeedMedium, 4}, // Medium: at least 2 x 2
        {1024, 1025, QopGLDeviceGPUSpeedMedium, 16},
        {3, 5, QopGLDeviceGPUSpeedSlow, 9},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " speed " << c.speed);
        reinitialise(c.speed, QopGLRenderingModeReadSourceWriteNone);
        TestBitmap image = gpuBitmap(makeRamp(c.width, c.height));
        QopGLCreateEffect(image.get());
        resetGLCallCounts();
        QopGLDrawCurrentBitmapIdentity(gl());
        EXPECT_EQ(glCallCounts().drawElements, c.draws);
        QopGLFinalizeEffect(image.get());
        QOP_EXPECT_NO_GL_ERROR();
    }
}

// A tiled pass must give the untiled pass's image exactly, alpha included (tiles fill the cleared
// target side by side; adding alpha onto the clear colour would make every tiled result opaque).
TEST_F(GLRecordTest, TiledPassesMatchUntiledPasses)
{
    const TestBitmap input = makeSeededNoise(37, 23, 5, /*opaque=*/false);
    TestBitmap results[2];
    const QopGLDeviceGPUSpeed speeds[2] = {QopGLDeviceGPUSpeedFast, QopGLDeviceGPUSpeedSlow};
    for (int i = 0; i < 2; ++i) {
        reinitialise(speeds[i], QopGLRenderingModeDefault);
        results[i] = gpuBitmap(input);
        QopGLCreateEffect(results[i].get());
        QopGLDrawCurrentBitmapIdentity(gl());
        addInvertPass(gl());
        QopGLFinalizeEffect(results[i].get());
        QOP_EXPECT_NO_GL_ERROR();
    }
    EXPECT_TRUE(results[0] == inverted(input));
    EXPECT_TRUE(results[1] == results[0]);
}

TEST_F(GLRecordTest, DefaultModeReadsTheResultIntoThePixels)
{
    const TestBitmap input = makeHueWheel(16, 9);
    TestBitmap image = gpuBitmap(input);
    QopGLCreateEffect(image.get());
    addInvertPass(gl());
    QopGLFinalizeEffect(image.get());
    EXPECT_TRUE(image == inverted(input));
    EXPECT_FALSE(gl()->isMakingGLCalls);
}

TEST_F(GLRecordTest, DefaultModeDrawsToTheRenderbufferWhenOneIsSet)
{
    const TestBitmap input = makeHueWheel(16, 9);
    GLuint renderbuffer = 0;
    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8_OES, 16, 9);
    QopGLSetRenderbuffer(gl(), renderbuffer, 16, 9);

    TestBitmap image = gpuBitmap(input);
    QopGLCreateEffect(image.get());
    addInvertPass(gl());
    QopGLFinalizeEffect(image.get());
    EXPECT_TRUE(image == input) << "with a renderbuffer the pixels are not read back";
    EXPECT_TRUE(readRenderbuffer(renderbuffer, 16, 9) == inverted(input));

    // Showing a texture presents it through the same finish step and leaves the result alone.
    const GLuint result = gl()->glRenderingObjects.readTexture;
    const GLuint source = gl()->glImageData.texID;
    QopGLShowTexture(gl(), source);
    EXPECT_TRUE(readRenderbuffer(renderbuffer, 16, 9) == input);
    EXPECT_EQ(gl()->glRenderingObjects.readTexture, result);
    EXPECT_FALSE(gl()->isMakingGLCalls);

    QopGLClearCurrentRenderbuffer(gl());
    const TestBitmap cleared = readRenderbuffer(renderbuffer, 16, 9);
    EXPECT_EQ(cleared.at(3, 4).r, 0);
    EXPECT_EQ(cleared.at(3, 4).a, 255);
    QopGLSetRenderbuffer(gl(), 0, 0, 0);
    glDeleteRenderbuffers(1, &renderbuffer);
}

TEST_F(GLRecordTest, DefaultModeWithoutPixelsReadsNothing)
{
    TestBitmap image = gpuBitmap(makeRamp(8, 8));
    QopGLSetBitmap(image.get(), gl());
    QopBitmap_t noPixels = {nullptr, 8, 8, gl()};
    QopGLCreateEffect(&noPixels);
    addInvertPass(gl());
    QopGLFinalizeEffect(&noPixels);
    QOP_EXPECT_NO_GL_ERROR();
}

// An effect that ran no pass must give back the image it was given, whatever the previous
// operation left attached to the framebuffer.
TEST_F(GLRecordTest, EmptyEffectLeavesTheImageUnchanged)
{
    TestBitmap first = gpuBitmap(makeHueWheel(12, 10));
    QopGLCreateEffect(first.get());
    addInvertPass(gl());
    QopGLFinalizeEffect(first.get());

    const TestBitmap input = makeCheckerboard(12, 10, 3);
    TestBitmap second = gpuBitmap(input);
    QopGLCreateEffect(second.get());
    QopGLFinalizeEffect(second.get());
    EXPECT_TRUE(second == input);
}

// A bracketed library function called inside an open effect must not discard the passes before it.
TEST_F(GLRecordTest, NestedEffectKeepsThePassesBeforeIt)
{
    const TestBitmap input = makeHueWheel(20, 14);
    TestBitmap image = gpuBitmap(input);
    QopGLCreateEffect(image.get());
    addInvertPass(gl());
    QopGLCreateEffect(image.get());
    QopGLDrawCurrentBitmapIdentity(gl());
    QopGLFinalizeEffect(image.get());
    EXPECT_TRUE(gl()->isMakingGLCalls) << "the outer effect is still open";
    EXPECT_TRUE(image == input) << "an inner finish reads nothing back";
    QopGLFinalizeEffect(image.get());
    EXPECT_TRUE(image == inverted(input));
    EXPECT_EQ(gl()->effectDepth, 0);
    EXPECT_FALSE(gl()->isMakingGLCalls);
}

TEST_F(GLRecordTest, OverwriteOriginalMakesTheResultTheSource)
{
    reinitialise(QopGLDeviceGPUSpeedFast, QopGLRenderingModeOverwriteOriginal);
    const TestBitmap input = makeHueWheel(10, 6);
    TestBitmap image = gpuBitmap(input);
    QopGLCreateEffect(image.get());
    addInvertPass(gl());
    const GLuint result = gl()->glRenderingObjects.readTexture;
    const GLuint oldSource = gl()->glImageData.texID;
    QopGLFinalizeEffect(image.get());

    const QopGLRenderingObjects_t &objects = gl()->glRenderingObjects;
    EXPECT_EQ(gl()->glImageData.texID, result) << "names are exchanged, not copied";
    EXPECT_EQ(objects.processedTexture1, oldSource);
    EXPECT_EQ(std::set<GLuint>({gl()->glImageData.texID, objects.processedTexture1, objects.processedTexture2}).size(),
              3u);
    TestBitmap source(10, 6);
    QopGLGetBitmapFromFramebuffer(source.get(), gl());
    EXPECT_TRUE(source == inverted(input));

    // The next effect starts from the new source and writes into a texture other than it.
    QopBitmap_t noPixels = {nullptr, 10, 6, gl()};
    QopGLCreateEffect(&noPixels);
    addInvertPass(gl());
    QopGLFinalizeEffect(&noPixels);
    QopGLGetBitmapFromFramebuffer(source.get(), gl());
    EXPECT_TRUE(source == input);
}

TEST_F(GLRecordTest, ReadSourceWriteNoneLeavesTheResultInTheReadTexture)
{
    reinitialise(QopGLDeviceGPUSpeedFast, QopGLRenderingModeReadSourceWriteNone);
    const TestBitmap input = makeHueWheel(10, 6);
    TestBitmap image = gpuBitmap(input);
    QopGLCreateEffect(image.get());
    addInvertPass(gl());
    QopGLFinalizeEffect(image.get());
    EXPECT_TRUE(image == input);
    TestBitmap last(10, 6);
    QopGLGetLastDrawnBitmap(last.get(), gl());
    EXPECT_TRUE(last == inverted(input));
}

// The ReadLast modes continue from the previous effect's result instead of the source (and start
// from the source when there is no previous result).
TEST_F(GLRecordTest, ReadLastModesContinueFromThePreviousResult)
{
    reinitialise(QopGLDeviceGPUSpeedFast, QopGLRenderingModeReadLastWriteTarget);
    const TestBitmap input = makePhotoLike(15, 11);
    TestBitmap image = gpuBitmap(input);
    QopGLCreateEffect(image.get());
    addInvertPass(gl());
    QopGLFinalizeEffect(image.get());
    EXPECT_TRUE(image == inverted(input)) << "ReadLastWriteTarget finishes as Default does";

    TestBitmap again = gpuBitmap(input);
    QopGLCreateEffect(again.get());
    addInvertPass(gl());
    QopGLFinalizeEffect(again.get());
    EXPECT_TRUE(again == input) << "the second inversion reads the first one's result";

    gl()->renderingMode = QopGLRenderingModeReadLastWriteNone;
    QopBitmap_t noPixels = {nullptr, 15, 11, gl()};
    QopGLCreateEffect(&noPixels);
    addInvertPass(gl());
    QopGLFinalizeEffect(&noPixels);
    EXPECT_TRUE(readTexture(gl()->glRenderingObjects.readTexture, 15, 11) == inverted(input));
}

TEST_F(GLRecordTest, CommitExchangesNamesAndCommittingTwiceSwapsBack)
{
    reinitialise(QopGLDeviceGPUSpeedFast, QopGLRenderingModeReadSourceWriteNone);
    const TestBitmap input = makeRamp(9, 7);
    TestBitmap image = gpuBitmap(input);
    QopGLCreateEffect(image.get());
    addInvertPass(gl());
    QopGLFinalizeEffect(image.get());

    const GLuint source = gl()->glImageData.texID;
    const GLuint result = gl()->glRenderingObjects.readTexture;
    TestBitmap back(9, 7);
    QopGLCommitContentsOfFramebuffer(gl());
    EXPECT_EQ(gl()->glImageData.texID, result);
    EXPECT_EQ(gl()->glRenderingObjects.readTexture, source);
    QopGLGetBitmapFromFramebuffer(back.get(), gl());
    EXPECT_TRUE(back == inverted(input));

    QopGLCommitContentsOfFramebuffer(gl());
    EXPECT_EQ(gl()->glImageData.texID, source);
    EXPECT_EQ(gl()->glRenderingObjects.readTexture, result);
    QopGLGetBitmapFromFramebuffer(back.get(), gl());
    EXPECT_TRUE(back == input);
    const QopGLRenderingObjects_t &objects = gl()->glRenderingObjects;
    EXPECT_EQ(std::set<GLuint>({gl()->glImageData.texID, objects.processedTexture1, objects.processedTexture2}).size(),
              3u);
}

// Committing when no pass has run (the source already is the result) must not alias the source
// with a processing texture.
TEST_F(GLRecordTest, CommitWithoutAPassKeepsThreeTextures)
{
    TestBitmap image = gpuBitmap(makeRamp(5, 5));
    QopGLCreateEffect(image.get());
    QopGLFinalizeEffect(image.get());
    QopGLCommitContentsOfFramebuffer(gl());
    const QopGLRenderingObjects_t &objects = gl()->glRenderingObjects;
    EXPECT_EQ(std::set<GLuint>({gl()->glImageData.texID, objects.processedTexture1, objects.processedTexture2}).size(),
              3u);
}

TEST_F(GLRecordTest, BlendingFirstPassNeverDrawsOverTheSource)
{
    const TestBitmap input = makeHueWheel(12, 8);
    TestBitmap image = gpuBitmap(input);
    QopGLCreateEffect(image.get());
    addRedWashPass(gl());
    QopGLFinalizeEffect(image.get());
    TestBitmap source(12, 8);
    QopGLGetBitmapFromFramebuffer(source.get(), gl());
    EXPECT_TRUE(source == input);
    EXPECT_NEAR(image.at(6, 4).r, (input.at(6, 4).r + 255) / 2.0, 1.0);
    EXPECT_NEAR(image.at(6, 4).g, input.at(6, 4).g / 2.0, 1.0);
}

// Primitives that draw over the result without a pass of their own must land in the effect even
// when the framebuffer was last left on the screen's renderbuffer.
TEST_F(GLRecordTest, DrawOverPreparationAttachesACopyOfTheSource)
{
    GLuint renderbuffer = 0;
    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8_OES, 6, 4);
    QopGLSetRenderbuffer(gl(), renderbuffer, 6, 4);
    const TestBitmap input = makeRamp(6, 4);
    TestBitmap image = gpuBitmap(input);
    QopGLCreateEffect(image.get());
    QopGLFinalizeEffect(image.get()); // leaves the renderbuffer attached

    QopGLCreateEffect(image.get());
    QopGLPrepareDrawOverCurrentResult(gl());
    GLint type = 0, name = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    EXPECT_EQ(type, GL_TEXTURE);
    EXPECT_EQ(static_cast<GLuint>(name), gl()->glRenderingObjects.readTexture);
    EXPECT_NE(gl()->glRenderingObjects.readTexture, gl()->glImageData.texID);
    EXPECT_TRUE(readTexture(gl()->glRenderingObjects.readTexture, 6, 4) == input);
    QopGLFinalizeEffect(image.get());
    QopGLSetRenderbuffer(gl(), 0, 0, 0);
    glDeleteRenderbuffers(1, &renderbuffer);
}

TEST_F(GLRecordTest, TextureUnitsAreClaimedFromTwoAndBoundsChecked)
{
    TestBitmap image = gpuBitmap(makeRamp(2, 2));
    QopGLCreateEffect(image.get());
    for (int expected = 2; expected < 8; ++expected)
        EXPECT_EQ(QopGLClaimFreeTexture(gl()), expected);
    EXPECT_EQ(QopGLClaimFreeTexture(gl()), -1);
    EXPECT_EQ(QopGLGetTextureEnumForIndex(-1), 0u);
    EXPECT_EQ(QopGLGetTextureEnumForIndex(8), 0u);
    EXPECT_EQ(QopGLGetTextureEnumForIndex(0), static_cast<GLenum>(GL_TEXTURE0));
    EXPECT_EQ(QopGLGetTextureEnumForIndex(7), static_cast<GLenum>(GL_TEXTURE7));
    QopGLResetTextureToFree(gl(), -1); // nothing outside the table is touched
    QopGLResetTextureToFree(gl(), 8);
    QopGLResetTextureToFree(gl(), 4);
    EXPECT_EQ(QopGLClaimFreeTexture(gl()), 4);
    QopGLFinalizeEffect(image.get());

    QopGLCreateEffect(image.get()); // every effect starts with units 2..7 free
    EXPECT_EQ(QopGLClaimFreeTexture(gl()), 2);
    QopGLFinalizeEffect(image.get());
}

TEST_F(GLRecordTest, ThumbnailFillsTheTargetAboutTheCentre)
{
    TestBitmap image(4, 2);
    const QopColor_t columns[4] = {{10, 0, 0, 255}, {20, 0, 0, 255}, {30, 0, 0, 255}, {40, 0, 0, 255}};
    for (size_t y = 0; y < 2; ++y)
        for (size_t x = 0; x < 4; ++x)
            image.at(x, y) = columns[x];
    QopGLSetBitmap(image.get(), gl());

    GLuint target = 0;
    glGenTextures(1, &target);
    glBindTexture(GL_TEXTURE_2D, target);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    QopGLDrawCurrentImageCenteredInTextureOfSize(gl(), target, 2, 2);
    const TestBitmap thumbnail = readTexture(target, 2, 2);
    glDeleteTextures(1, &target);
    for (size_t y = 0; y < 2; ++y) {
        EXPECT_EQ(thumbnail.at(0, y).r, 20);
        EXPECT_EQ(thumbnail.at(1, y).r, 30);
    }
}

TEST_F(GLRecordTest, SizeCheckRefusesEmptyAndOversizedImages)
{
    const float maximum = QopGLMaxImageDimension();
    ASSERT_GE(maximum, 2048.0f);
    EXPECT_TRUE(QopGLWillAcceptImageOfSize(1, 1));
    EXPECT_TRUE(QopGLWillAcceptImageOfSize(maximum, maximum));
    EXPECT_FALSE(QopGLWillAcceptImageOfSize(0, 10));
    EXPECT_FALSE(QopGLWillAcceptImageOfSize(10, 0));
    EXPECT_FALSE(QopGLWillAcceptImageOfSize(maximum + 1, 10));
    EXPECT_FALSE(QopGLWillAcceptImageOfSize(10, maximum + 1));
}

TEST_F(GLRecordTest, ScaledUploadResamplesTheImage)
{
    TestBitmap image(4, 4);
    image.fill({200, 100, 50, 255});
    QopGLSetBitmapWithSizeAndOptionToDeferObjectCreation(image.get(), 2, 2, gl(), true);
    EXPECT_EQ(gl()->glImageData.width, 2u);
    EXPECT_EQ(gl()->glImageData.height, 2u);
    TestBitmap back(2, 2);
    QopGLGetBitmapFromFramebuffer(back.get(), gl());
    EXPECT_EQ(back.at(1, 1).r, 200);
    EXPECT_EQ(back.at(0, 1).g, 100);

    // Neither the requested nor the bitmap's own size fits: nothing happens.
    TestBitmap empty;
    testing::internal::CaptureStdout();
    QopGLSetBitmapWithSizeAndOptionToDeferObjectCreation(empty.get(), 0, 0, gl(), true);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("cannot handle an image with dimensions 0 x 0"),
              std::string::npos);
    EXPECT_EQ(gl()->glImageData.width, 2u);
}

TEST_F(GLRecordTest, QuarterTurnOrientationsExchangeTheBitmapSize)
{
    const struct {
        QopGLImageOrientation orientation;
        size_t width, height;
    } cases[] = {{QopGLImageOrientationUp, 3, 5},
                 {QopGLImageOrientationLeft, 3, 5},
                 {QopGLImageOrientationDown, 5, 3},
                 {QopGLImageOrientationRight, 5, 3}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.orientation);
        QopGLSetBitmapFormat(gl(), c.orientation, QopGLImagePixelFormatRGBA);
        TestBitmap image = gpuBitmap(makeRamp(3, 5));
        QopGLCreateEffect(image.get());
        EXPECT_EQ(image.width(), c.width);
        EXPECT_EQ(image.height(), c.height);
        QopGLFinalizeEffect(image.get());
        QOP_EXPECT_NO_GL_ERROR();
    }
}

TEST_F(GLRecordTest, BracketedCallsInsideAnEffectKeepItMarkedAsMakingGLCalls)
{
    TestBitmap image = gpuBitmap(makeRamp(4, 4));
    QopGLCreateEffect(image.get());
    TestBitmap last(4, 4);
    QopGLGetLastDrawnBitmap(last.get(), gl());
    EXPECT_TRUE(gl()->isMakingGLCalls);
    QopGLFinalizeEffect(image.get());
    EXPECT_FALSE(gl()->isMakingGLCalls);
    QopGLGetLastDrawnBitmap(last.get(), gl());
    EXPECT_FALSE(gl()->isMakingGLCalls);
}

TEST_F(GLRecordTest, PrecreatedObjectsAndCopiesOfTheSource)
{
    const TestBitmap input = makeHueWheel(7, 5);
    TestBitmap pixels = input;
    GLuint texID = 0, proc1 = 0, proc2 = 0;
    QopGLCreateProcessingObjects(pixels.get(), &texID, &proc1, &proc2, gl());
    ASSERT_TRUE(texID && proc1 && proc2);
    QopGLSetBitmapWithPrecreatedObjects(texID, proc1, proc2, 7, 5, gl());

    QopBitmap_t noPixels = {nullptr, 7, 5, gl()};
    QopGLCreateEffect(&noPixels);
    addInvertPass(gl());
    QopGLFinalizeEffect(&noPixels);

    const GLuint copy = QopGLCreateCopyOfSourceTexture(gl());
    EXPECT_TRUE(readTexture(copy, 7, 5) == input);
    glDeleteTextures(1, &copy);

    QopGLDeleteProcessingObjects(texID, proc1, proc2, gl());
    EXPECT_EQ(gl()->glImageData.texID, 0u);
    EXPECT_EQ(gl()->glRenderingObjects.processedTexture1, 0u);
    EXPECT_EQ(gl()->glRenderingObjects.processedTexture2, 0u);
}

TEST_F(GLRecordTest, SetSourceTextureCopiesAnotherTextureIntoTheSource)
{
    TestBitmap image = gpuBitmap(makeRamp(6, 6));
    QopGLSetBitmap(image.get(), gl());
    const TestBitmap other = makeCheckerboard(3, 2, 1);
    TestBitmap otherPixels = other;
    GLuint texture = 0;
    QopGLCreateBitmapProcessingObjectOnly(otherPixels.get(), &texture, gl());
    QopGLSetSourceTexture(texture, 3, 2, gl());
    EXPECT_EQ(gl()->glImageData.width, 3u);
    TestBitmap back(3, 2);
    QopGLGetBitmapFromFramebuffer(back.get(), gl());
    EXPECT_TRUE(back == other);
    QopGLDeleteBitmapProcessingObjectOnly(texture, gl());
}

// The GL manager tears the record down and sets it up again within one process.
TEST_F(GLRecordTest, RecordSurvivesTeardownAndSetupAgain)
{
    const TestBitmap input = makePhotoLike(33, 21);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        TestBitmap image = gpuBitmap(input);
        QopGLCreateEffect(image.get());
        addInvertPass(gl());
        QopGLFinalizeEffect(image.get());
        EXPECT_TRUE(image == inverted(input));
        QopGLDestroy(gl());
        QOP_EXPECT_NO_GL_ERROR();
        ASSERT_TRUE(QopGLInitialize(gl(), QopGLDeviceGPUSpeedFast, QopGLRenderingModeDefault));
    }
}

} // namespace
} // namespace qop_test
