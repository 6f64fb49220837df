// GPU passes of the legacy recipe effects: gritty dots and the selective black and white.
#include "QopLite/QopGLColor.h"

#include "QopLite/QopGL.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cstdio>

extern "C" {

void QopGLGrittyDots(QopBitmap_t *bitmap, float dotAlpha)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLGrittyDotsProgram_t *program = &glData->glPrograms.grittyDotsProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGLSetupGrittyDotsProgram, VertexShader,
                                      SarnithGrittyDotsFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    // The dots overlay white on the pixel beneath, so the program reads the current result while
    // blending over it. Sampling the texture being drawn into is undefined in GL, so the result is
    // copied first: the copy is drawn over while the previous result is read.
    const int unit = QopGLClaimFreeTexture(glData);
    if (unit < 0) {
        std::printf("No free texture unit for the gritty dots: the pass is skipped.\n");
        return;
    }
    const GLuint previous = glData->glRenderingObjects.readTexture;
    QopGLDrawCurrentBitmapIdentity(glData);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNormal);
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    glBindTexture(GL_TEXTURE_2D, previous);
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(static_cast<GLint>(program->sharedUnisAndAttribs.samplerSlot), unit);
    glUniform1f(static_cast<GLint>(program->widthSlot), static_cast<float>(glData->glImageData.width));
    glUniform1f(static_cast<GLint>(program->heightSlot), static_cast<float>(glData->glImageData.height));
    glUniform1f(static_cast<GLint>(program->alphaSlot), dotAlpha);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, false);
    glDisable(GL_BLEND);
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    QopGLResetTextureToFree(glData, unit);
}

void QopGLStilbrushSatBW(QopBitmap_t *bitmap, const float weights[6], float transitionWidth, float regionWidth,
                         bool saturationMode, float alpha, QopBlendMode_t blendMode)
{
    if (!bitmap || !bitmap->glData || !weights)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLStilbrushSatBWProgram_t *program;
    const char *fragmentShader;
    if (blendMode == QopBlendModeNormal) {
        program = &glData->glPrograms.stilbrushSatBWProgram;
        fragmentShader = SarnithStilbrushSatBWShader;
    } else if (blendMode == QopBlendModeOverlay) {
        program = &glData->glPrograms.stilbrushSatBWOverlayProgram;
        fragmentShader = SarnithStilbrushSatBWOverlayShader;
    } else {
        return;
    }
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGLSetupStilbrushSatBWProgram, VertexShader,
                                      fragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    glUniform1f(static_cast<GLint>(program->transitionWidthSlot), transitionWidth);
    glUniform1f(static_cast<GLint>(program->regionWidthSlot), regionWidth);
    glUniform1fv(static_cast<GLint>(program->weightsSlot), 6, weights);
    glUniform1i(static_cast<GLint>(program->saturationModeSlot), saturationMode ? 1 : 0);
    glUniform1f(static_cast<GLint>(program->alphaSlot), alpha);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
}

}
