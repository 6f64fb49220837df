// GPU pass of the gradient map: the 1024-entry map goes up as a one-column texture and each
// fragment samples it at the entry the CPU would pick.
#include "QopLite/QopGLGradient.h"

#include "QopGLInternal.h"

#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cstdio>

namespace {

using qopgl::slot;

} // namespace

extern "C" {

GLuint createGradientTexture(QopGLData_t *glData, GLuint texIndex, const QopColor_t *gradMap, size_t mapLength)
{
    glActiveTexture(QopGLGetTextureEnumForIndex(static_cast<int>(texIndex)));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, static_cast<GLsizei>(mapLength), 0, GL_RGBA, GL_UNSIGNED_BYTE, gradMap);
    QopGLSetCurrentlyBoundTexture2DProperties(GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    glActiveTexture(GL_TEXTURE0);
    if (glData)
        QopGLFinishAndPauseExecutionIfNecessary(glData);
    return texture;
}

void QopGLAddGradient(QopBitmap_t *bitmap, const QopGradientShapeParams_t *shapeParams, const QopColor_t *gradMap,
                      size_t mapLength, QopBlendMode_t blendMode, double alphaBlend, float angleSin, float angleCos,
                      float denomI)
{
    if (!bitmap || !bitmap->glData || !shapeParams || !gradMap || mapLength == 0)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLGradientProgram_t *program;
    const char *fragmentShader;
    // Normal is GL's own blend over the result; every other mode, and the vignette fade with it,
    // is blended by the overlay program reading the image, as the CPU blends each pixel.
    const bool selfBlending = blendMode != QopBlendModeNormal;
    if (selfBlending) {
        program = &glData->glPrograms.gradientOverlayProgram;
        fragmentShader = GradientOverlayFragmentShader;
    } else {
        if (shapeParams->shapeMode == QopGradientShapeModeLinearVignette) {
            program = &glData->glPrograms.gradientLinearVignetteProgram;
            fragmentShader = GradientLinearVignetteFragmentShader;
        } else {
            program = &glData->glPrograms.gradientProgram;
            fragmentShader = GradientFragmentShader;
        }
    }
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGLSetupGrandientProgram, VertexShader, fragmentShader,
                                      glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    const int unit = QopGLClaimFreeTexture(glData);
    if (unit < 0) {
        std::printf("No free texture unit for the gradient map: the pass is skipped.\n");
        return;
    }
    GLuint mapTexture = createGradientTexture(glData, static_cast<GLuint>(unit), gradMap, mapLength);
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    glBindTexture(GL_TEXTURE_2D, mapTexture);
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData,
                     selfBlending ? QopGLBlendModeNone : QopGLBlendModeNormal);
    glUniform1f(slot(program->widthSlot), static_cast<float>(bitmap->width));
    glUniform1f(slot(program->heightSlot), static_cast<float>(bitmap->height));
    glUniform1f(slot(program->scaleSlot), static_cast<float>(shapeParams->scale));
    glUniform1f(slot(program->xCenterSlot), static_cast<float>(shapeParams->xCenter));
    glUniform1f(slot(program->yCenterSlot), static_cast<float>(shapeParams->yCenter));
    glUniform1f(slot(program->dx_2Slot), static_cast<float>(shapeParams->dx * 0.5));
    glUniform1f(slot(program->dy_2Slot), static_cast<float>(shapeParams->dy * 0.5));
    glUniform1f(slot(program->denomISlot), denomI);
    glUniform1f(slot(program->alphaBlendSlot), static_cast<float>(alphaBlend));
    glUniform1f(slot(program->angleCosSlot), angleCos);
    glUniform1f(slot(program->angleSinSlot), angleSin);
    glUniform1i(slot(program->shapeModeSlot), static_cast<int>(shapeParams->shapeMode));
    glUniform1i(slot(program->vignetteShapeSlot), static_cast<int>(shapeParams->vignetteShape));
    glUniform1i(slot(program->gradientMapSlot), unit);
    glUniform1i(slot(program->blendModeSlot), static_cast<int>(blendMode));
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, selfBlending);
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &mapTexture);
    glActiveTexture(GL_TEXTURE0);
    QopGLResetTextureToFree(glData, unit);
}

} // extern "C"
