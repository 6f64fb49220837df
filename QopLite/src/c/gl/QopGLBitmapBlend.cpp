// GPU passes that copy, redraw, composite and blend whole images.
#include "QopLite/QopGLBitmapBlend.h"

#include "QopGLInternal.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// A second texture of a pass, on a claimed unit.
struct PassTexture {
    int unit = -1;      // claimed unit; -1 when none was free
    GLint sampler = 0;  // the unit the program samples it from
    GLuint texture = 0; // uploaded for this pass (deleted afterwards); 0 when borrowed
};

bool claimUnit(QopGLData_t *glData, PassTexture *pass, const char *what)
{
    pass->unit = QopGLClaimFreeTexture(glData);
    if (pass->unit < 0) {
        std::printf("No free texture unit for %s: the pass is skipped.\n", what);
        return false;
    }
    pass->sampler = pass->unit;
    return true;
}

// The source of a two-image pass (see the header), once the pass is prepared: uploaded when the
// bitmap has pixels, else the effect's source image, read from unit 0 when the pass samples the
// source there anyway.
void bindSource(QopBitmap_t *srcBitmap, QopGLData_t *glData, PassTexture *pass)
{
    if (srcBitmap && srcBitmap->data) {
        pass->texture = createTextureFromBitmap(srcBitmap, pass->unit, glData);
    } else if (glData->glRenderingObjects.readTexture == glData->glImageData.texID &&
               glData->currentBlendMode == QopGLBlendModeNone) {
        pass->sampler = 0;
    } else {
        glActiveTexture(QopGLGetTextureEnumForIndex(pass->unit));
        glBindTexture(GL_TEXTURE_2D, glData->glImageData.texID);
    }
    glActiveTexture(GL_TEXTURE0);
}

void bindTexture(PassTexture *pass, GLuint texture)
{
    glActiveTexture(QopGLGetTextureEnumForIndex(pass->unit));
    glBindTexture(GL_TEXTURE_2D, texture);
    glActiveTexture(GL_TEXTURE0);
}

// Clears the unit's binding, deletes an uploaded texture and frees the unit.
void release(QopGLData_t *glData, PassTexture *pass)
{
    if (pass->unit < 0)
        return;
    glActiveTexture(QopGLGetTextureEnumForIndex(pass->unit));
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    if (pass->texture != 0)
        glDeleteTextures(1, &pass->texture);
    QopGLResetTextureToFree(glData, pass->unit);
    *pass = PassTexture{};
}

void setSampler(GLuint slot, GLint unit) { glUniform1i(static_cast<GLint>(slot), unit); }

// Loads quad into the array buffer (static usage) and records it as the current vertices.
void loadQuad(QopGLData_t *glData, const Vertex quad[4])
{
    glBindBuffer(GL_ARRAY_BUFFER, glData->glBuffers.vertexBufferFlipped);
    glBufferData(GL_ARRAY_BUFFER, sizeof(Vertex) * 4, quad, GL_STATIC_DRAW);
    std::memcpy(glData->currentVertices, quad, sizeof(Vertex) * 4);
}

// A clip-space quadrilateral showing the whole texture, in the standard vertex order.
void positionQuad(Vertex quad[4], QopBitmapCoord_t lowerRight, QopBitmapCoord_t upperRight, QopBitmapCoord_t upperLeft,
                  QopBitmapCoord_t lowerLeft)
{
    quad[0] = Vertex{{lowerRight.x, lowerRight.y, 0}, {1, 0}};
    quad[1] = Vertex{{upperRight.x, upperRight.y, 0}, {1, 1}};
    quad[2] = Vertex{{upperLeft.x, upperLeft.y, 0}, {0, 1}};
    quad[3] = Vertex{{lowerLeft.x, lowerLeft.y, 0}, {0, 0}};
}

QopGLBitmapIdentityProgram_t *identityProgram(QopGLData_t *glData)
{
    QopGLBitmapIdentityProgram_t *identity = &glData->glPrograms.bitmapIdentityProgram;
    QopGLLoadShaderProgramIfNecessary(&identity->programID, QopGLSetupBitmapIdentityProgram, VertexShader,
                                      BitmapIdentityFragmentShader, glData, false);
    return glData->state == QopGLStateFailed ? nullptr : identity;
}

// The composite passes share their shape: identity program, premultiplied-alpha blending over the
// current result, the source on its own unit; draw() issues the draws.
template <class Draw>
void compositePass(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap, Draw draw)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLBitmapIdentityProgram_t *identity = identityProgram(glData);
    if (!identity)
        return;
    PassTexture source;
    if (!claimUnit(glData, &source, "the composite source"))
        return;
    QopGLStartRender(identity->programID, &identity->sharedUnisAndAttribs, glData, QopGLBlendModePremultipliedAlpha);
    bindSource(srcBitmap, glData, &source);
    glUseProgram(identity->programID);
    setSampler(identity->sharedUnisAndAttribs.samplerSlot, source.sampler);
    draw(glData, identity);
    release(glData, &source);
    // The identity program samples unit 0 everywhere else.
    setSampler(identity->sharedUnisAndAttribs.samplerSlot, 0);
    glDisable(GL_BLEND);
}

// One None pass with the source on its own unit: the weighted and overlay blends.
template <class Program, class SetUniforms>
void twoImagePass(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap, Program *program, QopGLSetupFunction setup,
                  const char *fragmentShader, SetUniforms setUniforms)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLLoadShaderProgramIfNecessary(&program->programID, setup, VertexShader, fragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    PassTexture source;
    if (!claimUnit(glData, &source, "the blend source"))
        return;
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    bindSource(srcBitmap, glData, &source);
    setSampler(program->srcSamplerSlot, source.sampler);
    setUniforms(program);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
    release(glData, &source);
}

} // namespace

extern "C" {

void QopGLDrawCurrentBitmapIdentity(QopGLData_t *glData)
{
    if (!glData)
        return;
    QopGLBitmapIdentityProgram_t *identity = identityProgram(glData);
    if (!identity)
        return;
    glUseProgram(identity->programID);
    QopGLStartRender(identity->programID, &identity->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    QopGLFinishRender(&identity->sharedUnisAndAttribs, glData, 1, true);
}

void QopGLDrawCurrentBitmapWithResizeRect(QopGLData_t *glData, const QopBitmapResizeRect_t *resizeRect)
{
    if (!glData || !resizeRect)
        return;
    QopGLBitmapIdentityProgram_t *identity = identityProgram(glData);
    if (!identity)
        return;
    glUseProgram(identity->programID);
    QopGLStartRender(identity->programID, &identity->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    const Vertex quad[4] = {
        {{1, -1, 0}, {resizeRect->lowerRight.x, resizeRect->lowerRight.y}},
        {{1, 1, 0}, {resizeRect->upperRight.x, resizeRect->upperRight.y}},
        {{-1, 1, 0}, {resizeRect->upperLeft.x, resizeRect->upperLeft.y}},
        {{-1, -1, 0}, {resizeRect->lowerLeft.x, resizeRect->lowerLeft.y}},
    };
    loadQuad(glData, quad);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, glData->glImageData.texID);
    QopGLSetCurrentlyBoundTexture2DFilterProperties(GL_LINEAR, GL_LINEAR);
    QopGLFinishRender(&identity->sharedUnisAndAttribs, glData, 0, true);
    glBindTexture(GL_TEXTURE_2D, glData->glImageData.texID);
    QopGLSetCurrentlyBoundTexture2DFilterProperties(GL_NEAREST, GL_NEAREST);
    QopGLResetVertexBufferVertices(glData);
}

void QopGLBitmapComposite(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap)
{
    compositePass(bitmap, srcBitmap, [](QopGLData_t *glData, QopGLBitmapIdentityProgram_t *identity) {
        QopGLFinishRender(&identity->sharedUnisAndAttribs, glData, 1, false);
    });
}

void QopGLBitmapCompositeWithPosition(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap,
                                      const QopBitmapResizeRect_t *srcPosition)
{
    if (!srcPosition)
        return;
    compositePass(bitmap, srcBitmap, [srcPosition](QopGLData_t *glData, QopGLBitmapIdentityProgram_t *identity) {
        Vertex quad[4];
        positionQuad(quad, srcPosition->lowerRight, srcPosition->upperRight, srcPosition->upperLeft,
                     srcPosition->lowerLeft);
        loadQuad(glData, quad);
        QopGLFinishRender(&identity->sharedUnisAndAttribs, glData, 0, false);
        QopGLResetVertexBufferVertices(glData);
    });
}

void QopGLEffectBitmapCompositeWithPosition(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap,
                                            const QopBitmapResizeRect_t *srcPosition)
{
    QopGLCreateEffect(bitmap);
    QopGLBitmapCompositeWithPosition(bitmap, srcBitmap, srcPosition);
    QopGLFinalizeEffect(bitmap);
}

void QopGLBitmapCompositeWithPositionAndTiling(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap,
                                               const QopBitmapResizeRect_t *srcPosition, float tileX, float tileY)
{
    // Written so that NaN counts draw nothing too.
    if (!srcPosition || !(tileX > 0.0f) || !(tileY > 0.0f))
        return;
    compositePass(bitmap, srcBitmap, [&](QopGLData_t *glData, QopGLBitmapIdentityProgram_t *identity) {
        const float x0 = srcPosition->lowerLeft.x, y0 = srcPosition->lowerLeft.y;
        const float dx = (srcPosition->lowerRight.x - x0) / tileX, dy = (srcPosition->upperLeft.y - y0) / tileY;
        // 64-bit counters: a count beyond the int range must not overflow the loop.
        for (long long i = 0; static_cast<double>(i) < tileX; ++i) {
            for (long long j = 0; static_cast<double>(j) < tileY; ++j) {
                const float left = x0 + static_cast<float>(i) * dx, right = x0 + static_cast<float>(i + 1) * dx;
                const float bottom = y0 + static_cast<float>(j) * dy, top = y0 + static_cast<float>(j + 1) * dy;
                Vertex quad[4];
                positionQuad(quad, {right, bottom}, {right, top}, {left, top}, {left, bottom});
                loadQuad(glData, quad);
                QopGLFinishRender(&identity->sharedUnisAndAttribs, glData, 0, false);
            }
        }
        QopGLResetVertexBufferVertices(glData);
    });
}

void QopGLEffectBitmapCompositeWithPositionAndTiling(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap,
                                                     const QopBitmapResizeRect_t *srcPosition, float tileX,
                                                     float tileY)
{
    QopGLCreateEffect(bitmap);
    QopGLBitmapCompositeWithPositionAndTiling(bitmap, srcBitmap, srcPosition, tileX, tileY);
    QopGLFinalizeEffect(bitmap);
}

void QopGLBitmapBlendSeparate(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap, float dstAmount, float srcAmount)
{
    if (!bitmap || !bitmap->glData)
        return;
    twoImagePass(bitmap, srcBitmap, &bitmap->glData->glPrograms.bitmapBlendProgram, QopGLSetupBitmapBlendProgram,
                 BitmapBlendFragmentShader, [dstAmount, srcAmount](QopGLBitmapBlendProgram_t *program) {
                     glUniform1f(static_cast<GLint>(program->srcAmountSlot), srcAmount);
                     glUniform1f(static_cast<GLint>(program->dstAmountSlot), dstAmount);
                 });
}

void QopGLBitmapBlend(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap, float alpha, QopBlendMode_t blendMode)
{
    if (!bitmap || !bitmap->glData)
        return;
    if (blendMode == QopBlendModeNormal) {
        QopGLBitmapBlendSeparate(bitmap, srcBitmap, 1.0f - alpha, alpha);
        return;
    }
    twoImagePass(bitmap, srcBitmap, &bitmap->glData->glPrograms.bitmapBlendOverlayProgram,
                 QopGLSetupBitmapBlendOverlayProgram, BitmapBlendOverlayFragmentShader,
                 [alpha](QopGLBitmapBlendOverlayProgram_t *program) {
                     glUniform1f(static_cast<GLint>(program->factorSlot), alpha);
                 });
}

void QopGLBitmapBlendOverlayReverse(QopBitmap_t *bitmap, QopBitmap_t *srcBitmap, float alpha)
{
    if (!bitmap || !bitmap->glData)
        return;
    twoImagePass(bitmap, srcBitmap, &bitmap->glData->glPrograms.bitmapBlendOverlayReverseProgram,
                 QopGLSetupBitmapBlendOverlayProgram, BitmapBlendOverlayReverseFragmentShader,
                 [alpha](QopGLBitmapBlendOverlayProgram_t *program) {
                     glUniform1f(static_cast<GLint>(program->factorSlot), alpha);
                 });
}

void QopGLBitmapColorBlendColor(QopBitmap_t *bitmap, const QopColor_hsl *hslColor, float hslAlpha, float amount)
{
    if (!bitmap || !bitmap->glData || !hslColor)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLColorBlendColorProgram_t *program = &glData->glPrograms.colorBlendColorProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGLSetupColorBlendColorProgram, VertexShader,
                                      BitmapColorBlendColorFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    glUniform3f(static_cast<GLint>(program->blendColorSlot), hslColor->h, hslColor->s, hslColor->l);
    glUniform1f(static_cast<GLint>(program->blendAmountSlot), amount);
    glUniform1f(static_cast<GLint>(program->blendColorAlphaSlot), hslAlpha);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
}

GLuint createTextureFromBitmap(QopBitmap_t *bitmap, int texIndex, QopGLData_t *glData)
{
    if (!bitmap || !glData)
        return 0;
    glActiveTexture(QopGLGetTextureEnumForIndex(texIndex));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    QopGLSetCurrentlyBoundTexture2DProperties(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(bitmap->width), static_cast<GLsizei>(bitmap->height),
                 0, glData->glImageData.pixelFormat, GL_UNSIGNED_BYTE, bitmap->data);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    return texture;
}

GLuint createTextureFromMaskBitmap(const uint8_t *data, float width, float height, int texIndex)
{
    glActiveTexture(QopGLGetTextureEnumForIndex(texIndex));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    QopGLSetCurrentlyBoundTexture2DProperties(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, data);
    glFinish();
    return texture;
}

}

namespace {

// The masked draw: the mask on one unit (uploaded when maskBitmap is given, else maskID), the image
// on another, painted over the current result with coverage 1 - m.
void drawWithMask(QopBitmap_t *bitmap, const uint8_t *maskBitmap, GLuint maskID)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLBitmapDrawWithMaskProgram_t *program = &glData->glPrograms.bitmapDrawWithMaskProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGLSetupBitmapDrawWithMaskProgram, VertexShader,
                                      BitmapDrawWithMaskFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    PassTexture mask, image;
    if (!claimUnit(glData, &mask, "the mask") || !claimUnit(glData, &image, "the masked image")) {
        release(glData, &mask);
        return;
    }
    if (maskBitmap) {
        mask.texture = createTextureFromMaskBitmap(maskBitmap, static_cast<float>(bitmap->width),
                                                   static_cast<float>(bitmap->height), mask.unit);
        glActiveTexture(GL_TEXTURE0);
    } else {
        bindTexture(&mask, maskID);
    }
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNormal);
    bindSource(bitmap, glData, &image);
    glUseProgram(program->programID);
    setSampler(program->sharedUnisAndAttribs.samplerSlot, image.sampler);
    setSampler(program->maskSamplerSlot, mask.sampler);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, false);
    glDisable(GL_BLEND);
    release(glData, &image);
    if (!maskBitmap)
        mask.texture = 0; // the caller's
    release(glData, &mask);
}

} // namespace

extern "C" {

void QopGLDrawBitmapWithMask(QopBitmap_t *bitmap, const uint8_t *maskBitmap)
{
    if (!maskBitmap)
        return;
    drawWithMask(bitmap, maskBitmap, 0);
}

void QopGLDrawBitmapWithGLMask(QopBitmap_t *bitmap, GLuint maskID) { drawWithMask(bitmap, nullptr, maskID); }

void QopGLRedrawBitmapWithGLMask(QopBitmap_t *bitmap, GLuint maskID, GLuint texID, bool flip)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLRedrawWithMaskProgram_t *program = &glData->glPrograms.redrawWithMaskProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGLSetupRedrawWithMaskProgram, VertexShader,
                                      BitmapRedrawWithMaskFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    PassTexture mask, texture;
    if (!claimUnit(glData, &mask, "the mask") || !claimUnit(glData, &texture, "the processed image")) {
        release(glData, &mask);
        return;
    }
    bindTexture(&mask, maskID);
    bindTexture(&texture, texID);
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    setSampler(program->maskSamplerSlot, mask.sampler);
    setSampler(program->sharedUnisAndAttribs.samplerSlot, flip ? texture.sampler : 0);
    setSampler(program->sourceSamplerSlot, flip ? 0 : texture.sampler);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
    release(glData, &texture);
    release(glData, &mask);
}

void QopGLBitmapDrawExistingProcessedTextureWithMaskTexture(QopBitmap_t *bitmap, GLuint texID, GLuint maskID,
                                                            bool flip)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    qopgl::storeFlag(glData->isMakingGLCalls, true);
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    objects.readTexture = glData->glImageData.texID;
    // The other processing texture. A texID that is neither (a texture of the caller's own) still
    // needs a real target: texture 0 would leave the framebuffer incomplete and draw nothing.
    objects.writeTexture =
        texID == objects.processedTexture1 ? objects.processedTexture2 : objects.processedTexture1;
    QopGLRedrawBitmapWithGLMask(bitmap, maskID, texID, flip);
    QopBitmapEndGLEffectIfEnabled(bitmap);
}

}
