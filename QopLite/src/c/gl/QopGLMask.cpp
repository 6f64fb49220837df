// GPU masks of the brush and focus tools: mask textures, the radial and linear focus fills, and
// brush dots drawn as point sprites. Each call lends the mask the record's write target and image
// size for its one pass and then puts back what it found - the read texture included, so a mask
// painted inside an open effect leaves the effect's ping-pong pair intact (the pass's swap would
// otherwise leave readTexture naming processedTexture1 whatever it held before).
#include "QopLite/QopGLMask.h"

#include "QopLite/QopColor.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include "QopGLInternal.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Where the dot's falloff ends, in half-radii beyond sigmaR (as the CPU dab).
constexpr float kEdgeFactor = 0.8599719915971991f;

// The record's target, read/write pair and image size while a mask borrows them.
struct SavedTarget {
    GLuint readTexture;
    GLuint writeTexture;
    GLuint width;
    GLuint height;
};

SavedTarget lendTargetToMask(QopGLData_t *glData, GLuint maskID, int width, int height)
{
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    const SavedTarget saved{objects.readTexture, objects.writeTexture, glData->glImageData.width,
                            glData->glImageData.height};
    objects.writeTexture = maskID;
    glData->glImageData.width = static_cast<GLuint>(width);
    glData->glImageData.height = static_cast<GLuint>(height);
    return saved;
}

void restoreTarget(QopGLData_t *glData, const SavedTarget &saved)
{
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    objects.readTexture = saved.readTexture;
    objects.writeTexture = saved.writeTexture;
    glData->glImageData.width = saved.width;
    glData->glImageData.height = saved.height;
    assert((objects.writeTexture == 0 || objects.writeTexture != objects.readTexture) &&
           "a mask call must leave the read and write textures apart");
}

bool maskArgumentsUsable(GLuint maskID, int width, int height) { return maskID != 0 && width > 0 && height > 0; }

// One full-mask pass of a focus program; uniforms() sets the program's own values.
template <class Program, class Uniforms>
void fillMask(GLuint maskID, int width, int height, QopGLData_t *glData, Program *program, QopGLSetupFunction setup,
              const char *fragmentShader, Uniforms uniforms)
{
    if (!glData)
        return;
    QopGLLoadShaderProgramIfNecessary(&program->programID, setup, VertexShader, fragmentShader, glData, false);
    if (glData->state == QopGLStateFailed || !maskArgumentsUsable(maskID, width, height))
        return;
    qopgl::openBracket(glData);
    const SavedTarget saved = lendTargetToMask(glData, maskID, width, height);
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    uniforms(program);
    glUniform1f(static_cast<GLint>(program->widthSlot), static_cast<float>(width));
    glUniform1f(static_cast<GLint>(program->heightSlot), static_cast<float>(height));
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
    restoreTarget(glData, saved);
    qopgl::closeBracket(glData);
}

} // namespace

extern "C" {

void QopGLMaskCreate(GLuint *maskID, int sizeX, int sizeY, QopGLData_t *glData)
{
    if (!maskID)
        return;
    *maskID = 0;
    if (!glData || sizeX <= 0 || sizeY <= 0 ||
        !QopGLWillAcceptImageOfSize(static_cast<float>(sizeX), static_cast<float>(sizeY)))
        return;
    qopgl::openBracket(glData);
    const int unit = QopGLClaimFreeTexture(glData);
    if (unit < 0) {
        std::printf("No free texture unit for a new mask: none is made.\n");
        qopgl::closeBracket(glData);
        return;
    }
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    QopGLSetCurrentlyBoundTexture2DProperties(GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, sizeX, sizeY, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    QopGLResetTextureToFree(glData, unit);
    // Brushes paint into a new mask as into an empty one, so it must start empty: GL leaves the
    // contents of storage made without data undefined.
    QopGLRenderingObjects_t &objects = glData->glRenderingObjects;
    glBindFramebuffer(GL_FRAMEBUFFER, objects.offscreenFramebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, objects.readTexture, 0);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    *maskID = texture;
    qopgl::closeBracket(glData);
}

void QopGLMaskDestroy(GLuint maskID)
{
    if (maskID != 0)
        glDeleteTextures(1, &maskID);
}

void QopGLMaskFillRadial(GLuint maskID, int width, int height, double posX, double posY, double sigmaR,
                         QopGLData_t *glData)
{
    if (!glData)
        return;
    fillMask(maskID, width, height, glData, &glData->glPrograms.maskRadialProgram, QopGLSetupMaskRadialProgram,
             MaskRadialFragmentShader, [&](QopGLMaskRadialProgram_t *program) {
                 glUniform2f(static_cast<GLint>(program->centerPointSlot), static_cast<float>(posX),
                             static_cast<float>(posY));
                 glUniform1f(static_cast<GLint>(program->sigmaR2Slot), static_cast<float>(sigmaR * sigmaR));
             });
}

void QopGLMaskFillLinear(GLuint maskID, int width, int height, double posX, double posY, double sigmaR, double angle,
                         QopGLData_t *glData)
{
    if (!glData)
        return;
    fillMask(maskID, width, height, glData, &glData->glPrograms.maskLinearProgram, QopGLSetupMaskLinearProgram,
             MaskLinearFragmentShader, [&](QopGLMaskLinearProgram_t *program) {
                 glUniform2f(static_cast<GLint>(program->centerPointSlot), static_cast<float>(posX),
                             static_cast<float>(posY));
                 glUniform1f(static_cast<GLint>(program->sigmaR2Slot), static_cast<float>(sigmaR * sigmaR));
                 glUniform1f(static_cast<GLint>(program->normXSlot), static_cast<float>(-std::sin(angle)));
                 glUniform1f(static_cast<GLint>(program->normYSlot), static_cast<float>(std::cos(angle)));
             });
}

void QopGLMaskAddPoints(GLuint maskID, int width, int height, float *positions, int positionsLength, float sigmaR,
                        float sigmaC, float alpha, QopGLMaskType type, const QopColor_rgba *color, bool erase,
                        QopGLData_t *glData)
{
    if (!glData)
        return;
    // Both dot programs share their leading slots (position, point size, radius, width, height,
    // alpha, edge) in one order; the splash program adds the colour.
    QopGLMaskDotsProgram_t *dots = &glData->glPrograms.maskDotsProgram;
    QopGLColorSplashAutoProgram_t *splash = &glData->glPrograms.colorSplashAutoProgram;
    GLuint programID;
    switch (type) {
    case QopGLMaskTypeNormal:
        QopGLLoadShaderProgramIfNecessary(&dots->programID, QopGLSetupMaskDotsProgram, MaskDotsVertexShader,
                                          MaskDotFragmentShader, glData, false);
        programID = dots->programID;
        break;
    case QopGLMaskTypeSplash:
        QopGLLoadShaderProgramIfNecessary(&splash->programID, QopGLSetupColorSplashAutoProgram, MaskDotsVertexShader,
                                          ColorSplashAutoFragmentShader, glData, false);
        programID = splash->programID;
        break;
    default:
        // A programming error of the caller, but not worth the process: nothing is drawn.
        std::printf("Error, invalid GL Mask Type\n");
        return;
    }
    if (glData->state == QopGLStateFailed)
        return;
    const int count = positionsLength / 2;
    if (!positions || count < 1 || !maskArgumentsUsable(maskID, width, height) ||
        (type == QopGLMaskTypeSplash && !color))
        return;

    const bool isSplash = type == QopGLMaskTypeSplash;
    QopGLSharedUniformsAndAttribs_t *shared = isSplash ? &splash->sharedUnisAndAttribs : &dots->sharedUnisAndAttribs;
    const GLint positionSlot = static_cast<GLint>(isSplash ? splash->positionSlot : dots->positionSlot);
    qopgl::openBracket(glData);
    const SavedTarget saved = lendTargetToMask(glData, maskID, width, height);
    glUseProgram(programID);
    QopGLStartRender(programID, shared, glData, QopGLBlendModeNoneDontClear);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(erase ? GL_ZERO : GL_ONE, GL_ONE_MINUS_SRC_ALPHA);

    // The caller's relative positions become clip space in a copy of our own.
    std::vector<float> clip(static_cast<size_t>(count) * 2);
    for (size_t i = 0; i < clip.size(); ++i)
        clip[i] = positions[i] * 2.0f - 1.0f;
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glEnableVertexAttribArray(static_cast<GLuint>(positionSlot));
    glVertexAttribPointer(static_cast<GLuint>(positionSlot), 2, GL_FLOAT, GL_FALSE, 0, clip.data());

    const float h = sigmaR / 2.0f;
    const float R = h * kEdgeFactor + sigmaR;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, glData->glImageData.texID);
    if (isSplash) {
        glUniform1f(static_cast<GLint>(splash->pointSizeSlot), std::ceil(2.0f * R));
        glUniform1f(static_cast<GLint>(splash->radiusSlot), sigmaR);
        glUniform1f(static_cast<GLint>(splash->widthSlot), static_cast<float>(width));
        glUniform1f(static_cast<GLint>(splash->heightSlot), static_cast<float>(height));
        glUniform1f(static_cast<GLint>(splash->alphaSlot), alpha);
        glUniform1f(static_cast<GLint>(splash->dEdgeSlot), h);
        double l, a, b;
        QopColorRGB2LABDoublesWithCbrtMapping(color, &l, &a, &b);
        glUniform1f(static_cast<GLint>(splash->lSlot), static_cast<float>(l));
        glUniform1f(static_cast<GLint>(splash->aSlot), static_cast<float>(a));
        glUniform1f(static_cast<GLint>(splash->bSlot), static_cast<float>(b));
        glUniform1f(static_cast<GLint>(splash->sigmaCSlot), sigmaC);
    } else {
        glUniform1f(static_cast<GLint>(dots->pointSizeSlot), std::ceil(2.0f * R));
        glUniform1f(static_cast<GLint>(dots->radiusSlot), sigmaR);
        glUniform1f(static_cast<GLint>(dots->widthSlot), static_cast<float>(width));
        glUniform1f(static_cast<GLint>(dots->heightSlot), static_cast<float>(height));
        glUniform1f(static_cast<GLint>(dots->alphaSlot), alpha);
        glUniform1f(static_cast<GLint>(dots->dEdgeSlot), h);
    }
    glDrawArrays(GL_POINTS, 0, count);
    QopGLFinishAndPauseExecutionIfNecessary(glData);

    // The client array dies with this call: no later draw may find it enabled.
    glDisableVertexAttribArray(static_cast<GLuint>(positionSlot));
    restoreTarget(glData, saved);
    glDisable(GL_BLEND);
    glBindFramebuffer(GL_FRAMEBUFFER, glData->glRenderingObjects.offscreenFramebuffer);
    glBindBuffer(GL_ARRAY_BUFFER, glData->glBuffers.vertexBufferFlipped);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, glData->glBuffers.indexBuffer);
    qopgl::closeBracket(glData);
}

void QopGLSetMaskActive(GLuint maskID, int width, int height, GLuint *cachedWriteTex, int *cachedWidth,
                        int *cachedHeight, QopGLData_t *glData)
{
    if (!glData || !cachedWriteTex || !cachedWidth || !cachedHeight)
        return;
    *cachedWriteTex = glData->glRenderingObjects.writeTexture;
    *cachedWidth = static_cast<int>(glData->glImageData.width);
    *cachedHeight = static_cast<int>(glData->glImageData.height);
    glData->glRenderingObjects.writeTexture = maskID;
    glData->glImageData.width = static_cast<GLuint>(width);
    glData->glImageData.height = static_cast<GLuint>(height);
}

void QopGLUnsetMaskActive(GLuint cachedWriteTex, int cachedWidth, int cachedHeight, QopGLData_t *glData)
{
    if (!glData)
        return;
    glData->glRenderingObjects.writeTexture = cachedWriteTex;
    glData->glImageData.width = static_cast<GLuint>(cachedWidth);
    glData->glImageData.height = static_cast<GLuint>(cachedHeight);
}

}
