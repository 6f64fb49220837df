// The GPU record and effect passes: set-up, uploads, read-backs, effect begin and finish, pass
// preparation and tiled drawing, texture units and the pause protocol.
#include "QopGLInternal.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cassert>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// The identity mapping: clip-space corners with the image's texture coordinates.
constexpr Vertex kStandardQuad[4] = {
    {{1, -1, 0}, {1, 0}},
    {{1, 1, 0}, {1, 1}},
    {{-1, 1, 0}, {0, 1}},
    {{-1, -1, 0}, {0, 0}},
};

// The same corners with the texture turned a quarter (orientations Down and Right).
constexpr Vertex kQuarterTurnQuad[4] = {
    {{1, -1, 0}, {0, 0}},
    {{1, 1, 0}, {1, 0}},
    {{-1, 1, 0}, {1, 1}},
    {{-1, -1, 0}, {0, 1}},
};

constexpr GLubyte kQuadIndices[6] = {0, 1, 2, 2, 3, 0};

constexpr GLenum kTextureUnits[8] = {GL_TEXTURE0, GL_TEXTURE1, GL_TEXTURE2, GL_TEXTURE3,
                                     GL_TEXTURE4, GL_TEXTURE5, GL_TEXTURE6, GL_TEXTURE7};

// One tile row or column per started 1,048,577 pixels.
constexpr uint32_t kPixelsPerTileStep = 1048577u;

void loadQuad(QopGLData_t *glData, const Vertex quad[4], GLenum usage)
{
    glBindBuffer(GL_ARRAY_BUFFER, glData->glBuffers.vertexBufferFlipped);
    glBufferData(GL_ARRAY_BUFFER, sizeof(Vertex) * 4, quad, usage);
}

void resetFreeTextures(QopGLData_t *glData)
{
    static constexpr int kReserved[8] = {1, 1, 0, 0, 0, 0, 0, 0};
    memcpy(glData->freeTextures, kReserved, sizeof kReserved);
}

// Binds a new texture on the active unit with clamp-to-edge wrapping and the given filter.
GLuint generateTexture(GLint filter)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    QopGLSetCurrentlyBoundTexture2DProperties(filter, filter, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    return texture;
}

// (Re)allocates the texture bound to GL_TEXTURE_2D: internal format always RGBA.
void specifyTexture(GLsizei width, GLsizei height, GLenum clientFormat, const void *pixels)
{
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, clientFormat, GL_UNSIGNED_BYTE, pixels);
}

void bindFramebuffer(QopGLData_t *glData)
{
    if (glData->glRenderingObjects.offscreenFramebuffer == 0)
        glGenFramebuffers(1, &glData->glRenderingObjects.offscreenFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, glData->glRenderingObjects.offscreenFramebuffer);
}

void attachTexture(QopGLData_t *glData, GLuint texture)
{
    bindFramebuffer(glData);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
}

// Reads width x height RGBA bytes of a texture (row 0 first, as uploaded) into pixels.
void readTexturePixels(QopGLData_t *glData, GLuint texture, GLsizei width, GLsizei height, void *pixels)
{
    attachTexture(glData, texture);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
}

bool identityProgramReady(QopGLData_t *glData)
{
    QopGLBitmapIdentityProgram_t *identity = &glData->glPrograms.bitmapIdentityProgram;
    QopGLLoadShaderProgramIfNecessary(&identity->programID, QopGLSetupBitmapIdentityProgram, VertexShader,
                                      BitmapIdentityFragmentShader, glData, false);
    return glData->state == QopGLStateOk;
}

// Draws the quad in the array buffer once with the identity program, sampling unit 0.
void drawIdentityQuadOnce(QopGLData_t *glData)
{
    QopGLBitmapIdentityProgram_t *identity = &glData->glPrograms.bitmapIdentityProgram;
    glUseProgram(identity->programID);
    glBindBuffer(GL_ARRAY_BUFFER, glData->glBuffers.vertexBufferFlipped);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, glData->glBuffers.indexBuffer);
    QopGLConfigureVertexArraysforDraw(&identity->sharedUnisAndAttribs);
    glUniform1i(static_cast<GLint>(identity->sharedUnisAndAttribs.samplerSlot), 0);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, nullptr);
}

void allocateProcessingTexture(QopGLData_t *glData, GLuint *texture, GLsizei width, GLsizei height)
{
    glActiveTexture(GL_TEXTURE0);
    if (*texture == 0)
        *texture = generateTexture(GL_NEAREST);
    else
        glBindTexture(GL_TEXTURE_2D, *texture);
    specifyTexture(width, height, GL_RGBA, nullptr);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
}

GLuint createBitmapTexture(QopBitmap_t *bitmap, QopGLData_t *glData)
{
    glActiveTexture(GL_TEXTURE0);
    GLuint texture = generateTexture(GL_NEAREST);
    specifyTexture(static_cast<GLsizei>(bitmap->width), static_cast<GLsizei>(bitmap->height),
                   glData->glImageData.pixelFormat, bitmap->data);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    return texture;
}

void createFramebuffersAndTexturesForMultipass(GLsizei width, GLsizei height, QopGLData_t *glData)
{
    allocateProcessingTexture(glData, &glData->glRenderingObjects.processedTexture1, width, height);
    allocateProcessingTexture(glData, &glData->glRenderingObjects.processedTexture2, width, height);
    attachTexture(glData, glData->glRenderingObjects.processedTexture1);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
}

// The finish step of the rendering mode: where the effect's result goes.
void presentResult(QopBitmap_t *bitmap, QopGLData_t *glData)
{
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    QopGLImageData_t &image = glData->glImageData;
    switch (glData->renderingMode) {
    case QopGLRenderingModeOverwriteOriginal:
        if (objects.readTexture != image.texID) {
            const GLuint oldSource = image.texID;
            image.texID = objects.readTexture;
            objects.processedTexture1 = oldSource;
            objects.processedTexture2 = objects.writeTexture;
        }
        break;
    case QopGLRenderingModeDefault:
    case QopGLRenderingModeReadLastWriteTarget:
        if (objects.renderbuffer != 0) {
            bindFramebuffer(glData);
            glBindRenderbuffer(GL_RENDERBUFFER, objects.renderbuffer);
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, objects.renderbuffer);
            glActiveTexture(GL_TEXTURE0);
            glBindTexture(GL_TEXTURE_2D, objects.readTexture);
            glDisable(GL_BLEND);
            glClear(GL_COLOR_BUFFER_BIT);
            glViewport(0, 0, static_cast<GLsizei>(objects.renderbufferWidth),
                       static_cast<GLsizei>(objects.renderbufferHeight));
            if (glData->state == QopGLStateOk && glData->glPrograms.bitmapIdentityProgram.programID != 0)
                drawIdentityQuadOnce(glData);
        } else if (bitmap->data) {
            const size_t imagePixels = static_cast<size_t>(image.width) * image.height;
            if (bitmap->width * bitmap->height < imagePixels) {
                printf("QopLite: the bitmap (%zu x %zu) cannot hold the %u x %u result; it is left unchanged.\n",
                       bitmap->width, bitmap->height, image.width, image.height);
                break;
            }
            // The result is read from readTexture itself: the attachment may be anything the
            // previous operation left (the on-screen renderbuffer, a stale processing texture),
            // and an effect that ran no pass has its result in the source.
            readTexturePixels(glData, objects.readTexture, static_cast<GLsizei>(image.width),
                        static_cast<GLsizei>(image.height), bitmap->data);
        }
        break;
    case QopGLRenderingModeReadSourceWriteNone:
    case QopGLRenderingModeReadLastWriteNone:
        break;
    }
}

void finishGLActions(QopGLData_t *glData)
{
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    qopgl::endGLActions(glData);
}

// The quarter-turn redraw of orientations Down and Right at the start of an effect.
void redrawQuarterTurned(QopBitmap_t *bitmap, QopGLData_t *glData)
{
    loadQuad(glData, kQuarterTurnQuad, GL_STATIC_DRAW);
    bitmap->width = glData->glImageData.height;
    bitmap->height = glData->glImageData.width;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, glData->glImageData.texID);
    QopGLSetCurrentlyBoundTexture2DFilterProperties(GL_LINEAR, GL_LINEAR);
    QopGLDrawCurrentBitmapIdentity(glData);
    QopGLResetVertexBufferVertices(glData);
}

} // namespace

namespace qopgl {

void endGLActions(QopGLData_t *glData)
{
    if (glData->effectDepth == 0)
        storeFlag(glData->isMakingGLCalls, false);
}

void openBracket(QopGLData_t *glData) { QopGLBeginGLActionsANDPauseExecutionIfNecessary(glData); }

void closeBracket(QopGLData_t *glData) { finishGLActions(glData); }

} // namespace qopgl

using qopgl::closeBracket;
using qopgl::openBracket;

extern "C" {

bool QopGLInitialize(QopGLData_t *glData, QopGLDeviceGPUSpeed gpuSpeed, QopGLRenderingMode renderingMode)
{
    memset(glData, 0, sizeof *glData);
    glData->glImageData.pixelFormat = QopGLImagePixelFormatRGBA;
    QopGLPauseExecutionIfNecessary(glData);
    qopgl::storeFlag(glData->isMakingGLCalls, true);
    qopgl::storeFlag(glData->shouldPauseGLRendering, false);
    qopgl::storeFlag(glData->hasPausedGLRendering, false);
    glData->gpuSpeed = gpuSpeed;
    glData->renderingMode = renderingMode;

    glGenFramebuffers(1, &glData->glRenderingObjects.offscreenFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, glData->glRenderingObjects.offscreenFramebuffer);

    glGenBuffers(1, &glData->glBuffers.vertexBufferFlipped);
    QopGLResetVertexBufferVertices(glData);
    glGenBuffers(1, &glData->glBuffers.indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, glData->glBuffers.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof kQuadIndices, kQuadIndices, GL_STATIC_DRAW);
    QopGLFinishAndPauseExecutionIfNecessary(glData);

    resetFreeTextures(glData);
    glClearColor(0, 0, 0, 1);
    if (!QopGLLoadIdentityShader(glData, false)) {
        printf("QopLite: Error: One or more shader programs failed to compile in the GL initialize function.\n");
        QopGLDeleteAllShaders(glData);
        return false;
    }
    return true;
}

void QopGLDestroy(QopGLData_t *glData)
{
    openBracket(glData);
    glUseProgram(0);
    QopGLDeleteAllShaders(glData);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &glData->glBuffers.vertexBufferFlipped);
    glDeleteBuffers(1, &glData->glBuffers.indexBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &glData->glRenderingObjects.offscreenFramebuffer);
    for (GLenum unit : {GL_TEXTURE0, GL_TEXTURE1}) {
        glActiveTexture(unit);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glActiveTexture(GL_TEXTURE0);
    glDeleteTextures(1, &glData->glRenderingObjects.processedTexture1);
    glDeleteTextures(1, &glData->glRenderingObjects.processedTexture2);
    glDeleteTextures(1, &glData->glImageData.texID);
    closeBracket(glData);
}

bool QopGLWillAcceptImageOfSize(float width, float height)
{
    const float maximum = QopGLMaxImageDimension();
    return width > 0 && height > 0 && width <= maximum && height <= maximum;
}

float QopGLMaxImageDimension(void)
{
    GLint maximum = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maximum);
    return static_cast<float>(maximum);
}

void QopGLSetRenderbuffer(QopGLData_t *glData, GLuint renderBuffer, float width, float height)
{
    glData->glRenderingObjects.renderbuffer = renderBuffer;
    glData->glRenderingObjects.renderbufferWidth = width;
    glData->glRenderingObjects.renderbufferHeight = height;
}

void QopGLSetBitmapFormat(QopGLData_t *glData, QopGLImageOrientation orientation, QopGLImagePixelFormat format)
{
    glData->glImageData.orientation = orientation;
    glData->glImageData.pixelFormat = format;
}

void QopGLSetBitmap(QopBitmap_t *bitmap, QopGLData_t *glData)
{
    QopGLSetBitmapWithOptionToDeferObjectCreation(bitmap, glData, true);
}

void QopGLSetBitmapWithOptionToDeferObjectCreation(QopBitmap_t *bitmap, QopGLData_t *glData,
                                                   bool createFramebuffersAndTextures)
{
    openBracket(glData);
    QopGLImageData_t &image = glData->glImageData;
    glActiveTexture(GL_TEXTURE0);
    if (image.texID == 0)
        image.texID = generateTexture(GL_NEAREST);
    else
        glBindTexture(GL_TEXTURE_2D, image.texID);
    const GLsizei width = static_cast<GLsizei>(bitmap->width);
    const GLsizei height = static_cast<GLsizei>(bitmap->height);
    specifyTexture(width, height, image.pixelFormat, bitmap->data);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    if (image.width != static_cast<GLuint>(width) || image.height != static_cast<GLuint>(height)) {
        image.width = static_cast<GLuint>(width);
        image.height = static_cast<GLuint>(height);
        if (createFramebuffersAndTextures)
            createFramebuffersAndTexturesForMultipass(width, height, glData);
    }
    closeBracket(glData);
}

void QopGLSetBitmapWithSizeAndOptionToDeferObjectCreation(QopBitmap_t *bitmap, float width, float height,
                                                          QopGLData_t *glData, bool createFramebuffersAndTextures)
{
    if (!QopGLWillAcceptImageOfSize(width, height) &&
        !QopGLWillAcceptImageOfSize(static_cast<float>(bitmap->width), static_cast<float>(bitmap->height))) {
        printf("QopLite cannot handle an image with dimensions %d x %d, even for resizing purposes.\n",
               static_cast<int>(width), static_cast<int>(height));
        return;
    }
    const GLsizei newWidth = static_cast<GLsizei>(width);
    const GLsizei newHeight = static_cast<GLsizei>(height);
    if (static_cast<size_t>(newWidth) == bitmap->width && static_cast<size_t>(newHeight) == bitmap->height) {
        QopGLSetBitmapWithOptionToDeferObjectCreation(bitmap, glData, createFramebuffersAndTextures);
        return;
    }
    openBracket(glData);
    QopGLImageData_t &image = glData->glImageData;
    glActiveTexture(GL_TEXTURE0);
    if (image.texID == 0)
        image.texID = generateTexture(GL_NEAREST);
    else
        glBindTexture(GL_TEXTURE_2D, image.texID);
    specifyTexture(newWidth, newHeight, image.pixelFormat, nullptr);
    QopGLFinishAndPauseExecutionIfNecessary(glData);

    GLuint temporary = generateTexture(GL_LINEAR);
    specifyTexture(static_cast<GLsizei>(bitmap->width), static_cast<GLsizei>(bitmap->height), image.pixelFormat,
                   bitmap->data);
    QopGLFinishAndPauseExecutionIfNecessary(glData);

    attachTexture(glData, image.texID);
    QopGLFinishAndPauseExecutionIfNecessary(glData);

    const bool sizeChanged = image.width != static_cast<GLuint>(newWidth) || image.height != static_cast<GLuint>(newHeight);
    image.width = static_cast<GLuint>(newWidth);
    image.height = static_cast<GLuint>(newHeight);

    if (identityProgramReady(glData)) {
        QopGLBitmapIdentityProgram_t *identity = &glData->glPrograms.bitmapIdentityProgram;
        glUseProgram(identity->programID);
        glDisable(GL_BLEND);
        glClear(GL_COLOR_BUFFER_BIT);
        glViewport(0, 0, newWidth, newHeight);
        glData->currentBlendMode = QopGLBlendModeNone;
        glBindBuffer(GL_ARRAY_BUFFER, glData->glBuffers.vertexBufferFlipped);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, glData->glBuffers.indexBuffer);
        QopGLConfigureVertexArraysforDraw(&identity->sharedUnisAndAttribs);
        glUniform1i(static_cast<GLint>(identity->sharedUnisAndAttribs.samplerSlot), 0);
        QopGLFinishRender(&identity->sharedUnisAndAttribs, glData, 1, false);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &temporary);
    if (sizeChanged && createFramebuffersAndTextures)
        createFramebuffersAndTexturesForMultipass(newWidth, newHeight, glData);
    closeBracket(glData);
}

void QopGLCreateProcessingFramebuffersAndTexturesForCurrentImage(QopGLData_t *glData)
{
    openBracket(glData);
    createFramebuffersAndTexturesForMultipass(static_cast<GLsizei>(glData->glImageData.width),
                                              static_cast<GLsizei>(glData->glImageData.height), glData);
    closeBracket(glData);
}

void QopGLCreateBitmapProcessingObjectOnly(QopBitmap_t *bitmap, GLuint *texID, QopGLData_t *glData)
{
    openBracket(glData);
    *texID = createBitmapTexture(bitmap, glData);
    closeBracket(glData);
}

void QopGLCreateProcessingObjects(QopBitmap_t *bitmap, GLuint *texID, GLuint *processingTexture1,
                                  GLuint *processingTexture2, QopGLData_t *glData)
{
    openBracket(glData);
    *texID = createBitmapTexture(bitmap, glData);
    *processingTexture1 = 0;
    *processingTexture2 = 0;
    allocateProcessingTexture(glData, processingTexture1, static_cast<GLsizei>(bitmap->width),
                              static_cast<GLsizei>(bitmap->height));
    allocateProcessingTexture(glData, processingTexture2, static_cast<GLsizei>(bitmap->width),
                              static_cast<GLsizei>(bitmap->height));
    closeBracket(glData);
}

void QopGLSetBitmapWithPrecreatedObjects(GLuint texID, GLuint procTex1, GLuint procTex2, GLuint width, GLuint height,
                                         QopGLData_t *glData)
{
    openBracket(glData);
    glData->glImageData.texID = texID;
    glData->glImageData.width = width;
    glData->glImageData.height = height;
    glData->glRenderingObjects.processedTexture1 = procTex1;
    glData->glRenderingObjects.processedTexture2 = procTex2;
    attachTexture(glData, procTex1);
    closeBracket(glData);
}

void QopGLDeleteBitmapProcessingObjectOnly(GLuint texID, QopGLData_t *glData)
{
    QopGLDeleteProcessingObjects(texID, 0, 0, glData);
}

void QopGLDeleteProcessingObjects(GLuint texID, GLuint procTex1, GLuint procTex2, QopGLData_t *glData)
{
    openBracket(glData);
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    for (GLuint texture : {texID, procTex1, procTex2}) {
        if (texture == 0)
            continue;
        glDeleteTextures(1, &texture);
        for (GLuint *slot : {&glData->glImageData.texID, &objects.processedTexture1, &objects.processedTexture2,
                             &objects.readTexture, &objects.writeTexture})
            if (*slot == texture)
                *slot = 0;
    }
    closeBracket(glData);
}

GLuint QopGLCreateCopyOfSourceTexture(QopGLData_t *glData)
{
    glFinish();
    openBracket(glData);
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    glActiveTexture(GL_TEXTURE0);
    GLuint copy = generateTexture(GL_NEAREST);
    specifyTexture(static_cast<GLsizei>(glData->glImageData.width), static_cast<GLsizei>(glData->glImageData.height),
                   GL_RGBA, nullptr);
    attachTexture(glData, copy);
    objects.readTexture = glData->glImageData.texID;
    objects.writeTexture = copy;
    QopGLDrawCurrentBitmapIdentity(glData);
    objects.readTexture = glData->glImageData.texID;
    objects.writeTexture = objects.processedTexture1;
    closeBracket(glData);
    return copy;
}

void QopGLSetSourceTexture(GLuint sourceTexture, GLuint width, GLuint height, QopGLData_t *glData)
{
    glFinish();
    openBracket(glData);
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    QopGLImageData_t &image = glData->glImageData;
    image.width = width;
    image.height = height;
    glActiveTexture(GL_TEXTURE0);
    for (GLuint *texture : {&objects.processedTexture1, &objects.processedTexture2, &image.texID}) {
        if (*texture == 0) {
            if (texture != &image.texID)
                continue;
            *texture = generateTexture(GL_NEAREST);
        } else {
            glBindTexture(GL_TEXTURE_2D, *texture);
        }
        specifyTexture(static_cast<GLsizei>(width), static_cast<GLsizei>(height), image.pixelFormat, nullptr);
    }
    objects.readTexture = sourceTexture;
    objects.writeTexture = image.texID;
    QopGLDrawCurrentBitmapIdentity(glData);
    objects.readTexture = image.texID;
    objects.writeTexture = objects.processedTexture1;
    closeBracket(glData);
}

void QopGLSetBitmapBilinearSampling(QopGLData_t *glData, bool bilinearSample)
{
    openBracket(glData);
    const GLint filter = bilinearSample ? GL_LINEAR : GL_NEAREST;
    glActiveTexture(GL_TEXTURE0);
    for (GLuint texture : {glData->glRenderingObjects.processedTexture1, glData->glRenderingObjects.processedTexture2,
                           glData->glImageData.texID}) {
        if (texture == 0)
            continue;
        glBindTexture(GL_TEXTURE_2D, texture);
        QopGLSetCurrentlyBoundTexture2DFilterProperties(filter, filter);
    }
    closeBracket(glData);
}

void QopGLSetDestinationImageSizeAndClear(QopGLData_t *glData, float width, float height)
{
    openBracket(glData);
    createFramebuffersAndTexturesForMultipass(static_cast<GLsizei>(width), static_cast<GLsizei>(height), glData);
    glData->glImageData.width = static_cast<GLuint>(width);
    glData->glImageData.height = static_cast<GLuint>(height);
    closeBracket(glData);
}

void QopGLSetOriginalImageSizeAndClear(QopGLData_t *glData, float width, float height)
{
    openBracket(glData);
    glActiveTexture(GL_TEXTURE0);
    if (glData->glImageData.texID == 0)
        glData->glImageData.texID = generateTexture(GL_NEAREST);
    else
        glBindTexture(GL_TEXTURE_2D, glData->glImageData.texID);
    specifyTexture(static_cast<GLsizei>(width), static_cast<GLsizei>(height), glData->glImageData.pixelFormat, nullptr);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    closeBracket(glData);
}

void QopGLGetBitmapFromFramebuffer(QopBitmap_t *bitmap, QopGLData_t *glData)
{
    if (!bitmap->data)
        return;
    openBracket(glData);
    readTexturePixels(glData, glData->glImageData.texID, static_cast<GLsizei>(bitmap->width),
                static_cast<GLsizei>(bitmap->height), bitmap->data);
    closeBracket(glData);
}

void QopGLGetLastDrawnBitmap(QopBitmap_t *bitmap, QopGLData_t *glData)
{
    if (!bitmap->data)
        return;
    openBracket(glData);
    readTexturePixels(glData, glData->glRenderingObjects.readTexture, static_cast<GLsizei>(bitmap->width),
                static_cast<GLsizei>(bitmap->height), bitmap->data);
    closeBracket(glData);
}

void QopGLCommitContentsOfFramebuffer(QopGLData_t *glData)
{
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    QopGLImageData_t &image = glData->glImageData;
    // When no pass has run the source already is the result; exchanging it with itself would put
    // the source's name into a processing slot and lose that processing texture.
    if (objects.readTexture == image.texID)
        return;
    const GLuint oldSource = image.texID;
    image.texID = objects.readTexture;
    if (objects.readTexture == objects.processedTexture2)
        objects.processedTexture2 = oldSource;
    else
        objects.processedTexture1 = oldSource;
    objects.readTexture = oldSource;
}

void QopGLShowTexture(QopGLData_t *glData, GLuint texture)
{
    const GLuint saved = glData->glRenderingObjects.readTexture;
    glData->glRenderingObjects.readTexture = texture;
    QopBitmap_t bitmap = {nullptr, 0, 0, glData};
    presentResult(&bitmap, glData);
    finishGLActions(glData);
    glData->glRenderingObjects.readTexture = saved;
}

void QopGLClearCurrentRenderbuffer(QopGLData_t *glData)
{
    // Without a renderbuffer the framebuffer would be left with no attachment and the clear
    // rejected; there is nothing on screen to clear.
    if (glData->glRenderingObjects.renderbuffer == 0)
        return;
    openBracket(glData);
    bindFramebuffer(glData);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              glData->glRenderingObjects.renderbuffer);
    glClear(GL_COLOR_BUFFER_BIT);
    closeBracket(glData);
}

void QopGLDrawCurrentImageCenteredInTextureOfSize(QopGLData_t *glData, GLuint textureID, float newWidth,
                                                  float newHeight)
{
    openBracket(glData);
    attachTexture(glData, textureID);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, glData->glImageData.texID);
    if (identityProgramReady(glData)) {
        glUseProgram(glData->glPrograms.bitmapIdentityProgram.programID);
        glDisable(GL_BLEND);
        glClear(GL_COLOR_BUFFER_BIT);
        glViewport(0, 0, static_cast<GLsizei>(newWidth), static_cast<GLsizei>(newHeight));
        const float imageWidth = static_cast<float>(glData->glImageData.width);
        const float imageHeight = static_cast<float>(glData->glImageData.height);
        float visibleWidth = imageWidth;
        float visibleHeight = imageHeight;
        if (newWidth / newHeight > imageWidth / imageHeight)
            visibleHeight = static_cast<float>(static_cast<int>(newHeight * imageWidth / newWidth));
        else
            visibleWidth = static_cast<float>(static_cast<int>(newWidth * imageHeight / newHeight));
        const float a = (1 - visibleWidth / imageWidth) / 2;
        const float b = (1 - visibleHeight / imageHeight) / 2;
        const Vertex quad[4] = {
            {{1, -1, 0}, {1 - a, b}},
            {{1, 1, 0}, {1 - a, 1 - b}},
            {{-1, 1, 0}, {a, 1 - b}},
            {{-1, -1, 0}, {a, b}},
        };
        loadQuad(glData, quad, GL_STREAM_DRAW);
        drawIdentityQuadOnce(glData);
        QopGLResetVertexBufferVertices(glData);
    }
    closeBracket(glData);
}

void QopGLCreateEffect(QopBitmap_t *bitmap)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    if (glData->effectDepth > 0) {
        ++glData->effectDepth;
        return;
    }
    glData->effectDepth = 1;
    resetFreeTextures(glData);
    QopGLBeginGLActionsANDPauseExecutionIfNecessary(glData);
    if (bitmap->data)
        QopGLSetBitmapWithOptionToDeferObjectCreation(bitmap, glData, true);
    bindFramebuffer(glData);
    glActiveTexture(GL_TEXTURE0);
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    // The ReadLast modes continue from the previous effect's result; with none yet (a fresh
    // record) they start from the source like the others instead of sampling texture 0.
    const bool readLast = glData->renderingMode == QopGLRenderingModeReadLastWriteNone ||
                          glData->renderingMode == QopGLRenderingModeReadLastWriteTarget;
    if (!readLast || objects.readTexture == 0 || objects.writeTexture == 0) {
        objects.readTexture = glData->glImageData.texID;
        objects.writeTexture = objects.processedTexture1;
    }
    switch (glData->glImageData.orientation) {
    case QopGLImageOrientationUp:
        glBindTexture(GL_TEXTURE_2D, glData->glImageData.texID);
        QopGLSetCurrentlyBoundTexture2DFilterProperties(GL_NEAREST, GL_NEAREST);
        break;
    case QopGLImageOrientationLeft:
        QopGLResetVertexBufferVertices(glData);
        break;
    case QopGLImageOrientationDown:
    case QopGLImageOrientationRight:
        redrawQuarterTurned(bitmap, glData);
        break;
    }
}

void QopGLFinalizeEffect(QopBitmap_t *bitmap)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    if (glData->effectDepth > 1) {
        --glData->effectDepth;
        return;
    }
    glData->effectDepth = 0;
    presentResult(bitmap, glData);
    finishGLActions(glData);
}

void QopGLStartRender(GLuint programID, QopGLSharedUniformsAndAttribs_t *sharedUnisAndAttribs, QopGLData_t *glData,
                      QopGLBlendMode blendMode)
{
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    glData->currentBlendMode = blendMode;
    if (blendMode == QopGLBlendModeNone || blendMode == QopGLBlendModeNoneDontClear) {
        assert(objects.writeTexture != 0 && objects.writeTexture != objects.readTexture &&
               "a pass must not render into the texture it samples");
        glDisable(GL_BLEND);
        attachTexture(glData, objects.writeTexture);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, objects.readTexture);
        if (blendMode == QopGLBlendModeNone)
            glClear(GL_COLOR_BUFFER_BIT);
    } else {
        QopGLPrepareDrawOverCurrentResult(glData);
        glData->currentBlendMode = blendMode;
        glUseProgram(programID);
        assert((glData->state == QopGLStateFailed || objects.readTexture != glData->glImageData.texID) &&
               "the source is never drawn over");
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        switch (blendMode) {
        case QopGLBlendModeNormal:
            glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
            break;
        case QopGLBlendModeOverlay:
            glBlendFuncSeparate(GL_DST_COLOR, GL_SRC_ALPHA, GL_ZERO, GL_ONE);
            break;
        case QopGLBlendModePremultipliedAlpha:
            glBlendFuncSeparate(GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
            break;
        case QopGLBlendModeDrawOver:
            glBlendFunc(GL_SRC_ALPHA, GL_SRC_ALPHA);
            break;
        case QopGLBlendModeDrawBehind:
            glBlendFunc(GL_ONE_MINUS_DST_ALPHA, GL_DST_ALPHA);
            break;
        default:
            break;
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, glData->glBuffers.vertexBufferFlipped);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, glData->glBuffers.indexBuffer);
    glViewport(0, 0, static_cast<GLsizei>(glData->glImageData.width), static_cast<GLsizei>(glData->glImageData.height));
    QopGLConfigureVertexArraysforDraw(sharedUnisAndAttribs);
    if (sharedUnisAndAttribs)
        glUniform1i(static_cast<GLint>(sharedUnisAndAttribs->samplerSlot), 0);
}

void QopGLPrepareDrawOverCurrentResult(QopGLData_t *glData)
{
    if (glData->glRenderingObjects.readTexture == glData->glImageData.texID) {
        const QopGLBlendMode blendMode = glData->currentBlendMode;
        QopGLDrawCurrentBitmapIdentity(glData);
        glData->currentBlendMode = blendMode;
    }
    // Draw over the result itself, whatever the last operation left attached.
    attachTexture(glData, glData->glRenderingObjects.readTexture);
}

void QopGLFinishRender(QopGLSharedUniformsAndAttribs_t *sharedUnisAndAttribs, QopGLData_t *glData, int tilingConst,
                       bool swapBuffers)
{
    (void)sharedUnisAndAttribs;
    const uint32_t pixels = glData->glImageData.width * glData->glImageData.height;
    const uint32_t tiles = static_cast<uint32_t>(tilingConst) * (pixels / kPixelsPerTileStep + 1) *
                           static_cast<uint32_t>(glData->gpuSpeed);
    if (tiles <= 1) {
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, nullptr);
        QopGLFinishAndPauseExecutionIfNecessary(glData);
    } else {
        const bool additive = glData->currentBlendMode == QopGLBlendModeNone;
        if (additive) {
            // The tiles fill the cleared target side by side. Colour adds onto the cleared black;
            // alpha is taken from the pass itself, as an untiled pass would leave it (adding it to
            // the clear alpha of 1 would make every tiled result opaque).
            glEnable(GL_BLEND);
            glBlendFuncSeparate(GL_ONE, GL_ONE, GL_ONE, GL_ZERO);
            glBlendEquation(GL_FUNC_ADD);
        }
        // Shared tile edges come from one expression, so neighbouring tiles meet exactly and the
        // rasteriser covers every pixel once.
        const auto edge = [tiles](uint32_t k) { return 2.0f * static_cast<float>(k) / static_cast<float>(tiles) - 1.0f; };
        const auto coord = [tiles](uint32_t k) { return static_cast<float>(k) / static_cast<float>(tiles); };
        for (uint32_t i = 0; i < tiles; ++i) {
            for (uint32_t j = 0; j < tiles; ++j) {
                const Vertex tile[4] = {
                    {{edge(i + 1), edge(j), 0}, {coord(i + 1), coord(j)}},
                    {{edge(i + 1), edge(j + 1), 0}, {coord(i + 1), coord(j + 1)}},
                    {{edge(i), edge(j + 1), 0}, {coord(i), coord(j + 1)}},
                    {{edge(i), edge(j), 0}, {coord(i), coord(j)}},
                };
                loadQuad(glData, tile, GL_STREAM_DRAW);
                glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, nullptr);
                QopGLFinishAndPauseExecutionIfNecessary(glData);
            }
        }
        if (additive)
            glDisable(GL_BLEND);
        QopGLResetVertexBufferVertices(glData);
    }
    if (swapBuffers)
        QopGLSwapRenderBuffers(glData);
}

void QopGLSwapRenderBuffers(QopGLData_t *glData)
{
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    if (objects.writeTexture == objects.processedTexture2) {
        objects.writeTexture = objects.processedTexture1;
        objects.readTexture = objects.processedTexture2;
    } else {
        objects.writeTexture = objects.processedTexture2;
        objects.readTexture = objects.processedTexture1;
    }
}

void QopGLResetVertexBufferVertices(QopGLData_t *glData)
{
    loadQuad(glData, kStandardQuad, GL_STATIC_DRAW);
    memcpy(glData->currentVertices, kStandardQuad, sizeof kStandardQuad);
}

void QopGLConfigureVertexArraysforDraw(const QopGLSharedUniformsAndAttribs_t *sharedUnisAndAttribs)
{
    if (!sharedUnisAndAttribs)
        return;
    // A program that does not use an attribute has slot -1 (stored as 0xFFFFFFFF); GL would
    // reject it as an index.
    const GLint position = static_cast<GLint>(sharedUnisAndAttribs->positionSlot);
    const GLint texCoord = static_cast<GLint>(sharedUnisAndAttribs->texCoordSlot);
    if (position >= 0) {
        glEnableVertexAttribArray(static_cast<GLuint>(position));
        glVertexAttribPointer(static_cast<GLuint>(position), 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                              reinterpret_cast<const void *>(offsetof(Vertex, Position)));
    }
    if (texCoord >= 0) {
        glEnableVertexAttribArray(static_cast<GLuint>(texCoord));
        glVertexAttribPointer(static_cast<GLuint>(texCoord), 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                              reinterpret_cast<const void *>(offsetof(Vertex, Tex)));
    }
}

int QopGLClaimFreeTexture(QopGLData_t *glData)
{
    for (int index = 0; index < 8; ++index) {
        if (glData->freeTextures[index] == 0) {
            glData->freeTextures[index] = 1;
            return index;
        }
    }
    return -1;
}

GLenum QopGLGetTextureEnumForIndex(int index)
{
    if (index < 0 || index >= 8)
        return 0;
    return kTextureUnits[index];
}

void QopGLResetTextureToFree(QopGLData_t *glData, int texIndex)
{
    if (texIndex < 0 || texIndex >= 8)
        return;
    glData->freeTextures[texIndex] = 0;
}

void QopGLPauseExecutionIfNecessary(QopGLData_t *glData)
{
    if (!qopgl::loadFlag(glData->shouldPauseGLRendering))
        return;
    while (qopgl::loadFlag(glData->shouldPauseGLRendering)) {
        qopgl::storeFlag(glData->hasPausedGLRendering, true);
        usleep(10);
    }
    qopgl::storeFlag(glData->hasPausedGLRendering, false);
}

void QopGLBeginGLActionsANDPauseExecutionIfNecessary(QopGLData_t *glData)
{
    QopGLPauseExecutionIfNecessary(glData);
    qopgl::storeFlag(glData->isMakingGLCalls, true);
}

void QopGLFinishAndPauseExecutionIfNecessary(QopGLData_t *glData)
{
    glFinish();
    QopGLPauseExecutionIfNecessary(glData);
}

}
