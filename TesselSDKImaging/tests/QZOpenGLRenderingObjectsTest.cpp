// Rendering-objects sets sharing one pair of processing textures per size, and a GL instance's
// share of the record, on the manager's record in GL blocks.
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "TesselSDKImaging/QZOpenGLInstanceRenderingObjectsManager.h"
#include "TesselSDKImaging/QZOpenGLState.h"
#include "QopTestBitmap.h"

#include "Foundation/NSLogCapture.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"

using qz_test::runGL;
using RenderingObjects = std::shared_ptr<QZOpenGLInstanceRenderingObjects>;

namespace {

const uint8_t* pixelsOf(const qop_test::TestBitmap& bitmap)
{
    return reinterpret_cast<const uint8_t*>(bitmap.get()->data);
}

// The texture's pixels (width x height RGBA).
qop_test::TestBitmap readTexture(GLuint texture, size_t width, size_t height)
{
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    qop_test::TestBitmap out(width, height);
    glReadPixels(0, 0, GLsizei(width), GLsizei(height), GL_RGBA, GL_UNSIGNED_BYTE, out.get()->data);
    glBindFramebuffer(GL_FRAMEBUFFER, GLuint(previous));
    glDeleteFramebuffers(1, &framebuffer);
    return out;
}

}  // namespace

TEST_F(GLManagerTest, SetsOfOneSizeShareAPairAndCommitsMoveTheOldSourceIntoIt)
{
    auto objects = QZOpenGLInstanceRenderingObjectsManager::make();
    const qop_test::TestBitmap a = qop_test::makeRamp(16, 16), b = qop_test::makeCheckerboard(16, 16, 4);
    const qop_test::TestBitmap small = qop_test::makeRamp(8, 8);
    RenderingObjects first = QZOpenGLInstanceRenderingObjects::make(),
                     second = QZOpenGLInstanceRenderingObjects::make(),
                     other = QZOpenGLInstanceRenderingObjects::make();
    GLuint firstSource = 0, secondSource = 0, pair1 = 0, pair2 = 0;
    ASSERT_TRUE(runGL(manager_, [&] {
        QopGLData_t* record = manager_->glData();
        objects->setupRenderingObjects(first, pixelsOf(a), 16, 16, record);
        objects->setupRenderingObjects(second, pixelsOf(b), 16, 16, record);
        objects->setupRenderingObjects(other, pixelsOf(small), 8, 8, record);
        EXPECT_TRUE(readTexture(second->textureID(), 16, 16) == b);
        firstSource = first->textureID();
        secondSource = second->textureID();
        pair1 = first->processingTexture1();
        pair2 = first->processingTexture2();
        EXPECT_EQ(second->processingTexture1(), pair1) << "two sets of one size make two pairs";
        EXPECT_EQ(second->processingTexture2(), pair2);

        // The first set becomes current and an effect draws one pass: its result is in the pair.
        QopGLSetBitmapWithPrecreatedObjects(first->textureID(), first->processingTexture1(),
                                            first->processingTexture2(), 16, 16, record);
        QopBitmap_t target = {nullptr, 16, 16, record};
        QopGLCreateEffect(&target);
        QopGLDrawCurrentBitmapIdentity(record);
        QopGLFinalizeEffect(&target);
        ASSERT_EQ(record->glRenderingObjects.readTexture, pair1);
        objects->commitCurrentFramebufferToRenderingObjects(first, record);
        EXPECT_TRUE(readTexture(first->textureID(), 16, 16) == a) << "the committed result is not the set's source";
        EXPECT_EQ(record->glImageData.texID, first->textureID());
    }));
    EXPECT_EQ(objects->renderingObjectsDictionary().size(), 2u);
    EXPECT_NE(firstSource, secondSource);
    const auto& entry = objects->renderingObjectsDictionary().at({16.0f, 16.0f});
    EXPECT_EQ(entry.referencedByRenderingObjects.size(), 2u);
    EXPECT_EQ(first->textureID(), pair1) << "the result became the set's source";
    for (const RenderingObjects& set : {first, second}) {
        EXPECT_EQ(set->processingTexture1(), firstSource) << "the old source took the result's slot";
        EXPECT_EQ(set->processingTexture2(), pair2);
    }
    EXPECT_EQ(entry.processingTexture1, firstSource);
    EXPECT_EQ(entry.processingTexture2, pair2);
    EXPECT_NE(other->processingTexture1(), firstSource) << "a set of another size shares nothing";

    bool textures[5] = {};
    ASSERT_TRUE(runGL(manager_, [&] {
        QopGLData_t* record = manager_->glData();
        objects->removeRenderingObjects(first, record);
        textures[0] = glIsTexture(first->textureID());
        textures[1] = glIsTexture(secondSource) && glIsTexture(firstSource) && glIsTexture(pair2);
        objects->removeRenderingObjects(first, record);  // a second removal deletes nothing
        textures[2] = glIsTexture(secondSource) && glIsTexture(firstSource) && glIsTexture(pair2);
        objects->removeRenderingObjects(second, record);
        textures[3] = glIsTexture(secondSource) || glIsTexture(firstSource) || glIsTexture(pair2);
        objects->removeRenderingObjects(other, record);
        textures[4] = glIsTexture(other->textureID());
    }));
    EXPECT_FALSE(textures[0]) << "the removed set's source survived";
    EXPECT_TRUE(textures[1]) << "removing one set deleted what the other uses";
    EXPECT_TRUE(textures[2]) << "removing a set twice deleted what another uses";
    EXPECT_FALSE(textures[3]) << "the last set's removal left textures";
    EXPECT_FALSE(textures[4]);
    EXPECT_TRUE(objects->renderingObjectsDictionary().empty());
}

TEST_F(GLManagerTest, CommitOfAResultOutsideThePairIsLoggedAndChangesNoSlot)
{
    NSLogCapture log;
    auto objects = QZOpenGLInstanceRenderingObjectsManager::make();
    const qop_test::TestBitmap a = qop_test::makeRamp(16, 16);
    RenderingObjects set = QZOpenGLInstanceRenderingObjects::make();
    GLuint stray = 0, source = 0, pair1 = 0, pair2 = 0;
    ASSERT_TRUE(runGL(manager_, [&] {
        QopGLData_t* record = manager_->glData();
        objects->setupRenderingObjects(set, pixelsOf(a), 16, 16, record);
        source = set->textureID();
        pair1 = set->processingTexture1();
        pair2 = set->processingTexture2();
        QopGLCreateBitmapProcessingObjectOnly(const_cast<QopBitmap_t*>(a.get()), &stray, record);
        QopGLSetBitmapWithPrecreatedObjects(source, pair1, pair2, 16, 16, record);
        record->glRenderingObjects.readTexture = stray;
        objects->commitCurrentFramebufferToRenderingObjects(set, record);
        QopGLDeleteBitmapProcessingObjectOnly(source, record);
        objects->removeRenderingObjects(set, record);
    }));
    EXPECT_TRUE(
        log.contains("-[QZOpenGLInstanceRenderingObjectsManager commitCurrentFramebufferToRenderingObjects:gLData:] "
                     "If the current finalized texture is not processing texture 1 or 2, something went terribly "
                     "wrong."));
    EXPECT_EQ(set->textureID(), stray) << "the set's source still becomes the finalized texture";
    EXPECT_EQ(set->processingTexture1(), pair1);
    EXPECT_EQ(set->processingTexture2(), pair2);
}

TEST_F(GLManagerTest, StateCopiesTheRecordButNeverItsOffscreenFramebuffer)
{
    auto state = QZOpenGLState::make();
    GLuint recordFramebuffer = 0, sourceTexture = 0, processed1 = 0, processed2 = 0;
    bool deleted = false;
    QopGLRenderingObjects_t afterConfigure{};
    ASSERT_TRUE(runGL(manager_, [&] {
        QopGLData_t* record = manager_->glData();
        recordFramebuffer = record->glRenderingObjects.offscreenFramebuffer;
        const QopGLData_t saved = *record;

        state->glImageData = {7, 3, 2, QopGLImageOrientationUp, QopGLImagePixelFormatRGBA};
        state->renderingMode = QopGLRenderingModeOverwriteOriginal;
        state->glRenderingObjects = {recordFramebuffer + 100, 11, 12, 11, 12, 13, 3, 2};
        state->configureGLData(record);
        afterConfigure = record->glRenderingObjects;
        state->setWithGLData(record);

        // A fresh state keeps the record's framebuffer and its own mode; destroying deletes its textures.
        qop_test::TestBitmap image = qop_test::makeRamp(4, 4);
        QopGLCreateProcessingObjects(image.get(), &sourceTexture, &processed1, &processed2, record);
        state->setFreshFromGLData(record, QopGLRenderingModeDefault);
        state->glImageData.texID = sourceTexture;
        state->glRenderingObjects.processedTexture1 = processed1;
        state->glRenderingObjects.processedTexture2 = processed2;
        state->destroyAssociatedObjectsInGLData(record);
        deleted = !glIsTexture(sourceTexture) && !glIsTexture(processed1) && !glIsTexture(processed2);

        record->glImageData = saved.glImageData;
        record->renderingMode = saved.renderingMode;
        record->glRenderingObjects = saved.glRenderingObjects;
    }));
    EXPECT_EQ(afterConfigure.offscreenFramebuffer, recordFramebuffer);
    EXPECT_EQ(afterConfigure.processedTexture1, 11u);
    EXPECT_EQ(afterConfigure.renderbuffer, 13u);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(state->glRenderingObjects.offscreenFramebuffer, recordFramebuffer);
    EXPECT_EQ(state->glRenderingObjects.processedTexture1, 0u);
    EXPECT_EQ(state->glImageData.texID, 0u);
    EXPECT_EQ(state->renderingMode, QopGLRenderingModeDefault);
}
