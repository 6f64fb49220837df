// GPU passes of the automatic corrections: the L*a*b* conversions and the auto-enhance factor
// pass with its factor texture.
#include "QopLite/QopGLEnhance.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// The 256 factors as a 256 x 1 texture on unit texIndex: each factor's place in the table's range,
// a = (f - trans) x mult in 0..1, stored exactly as a 24-bit fraction (alpha the most significant
// byte, then blue, then green; red unused). The shader reads it back through the same two numbers.
// Returns 0 when the staging buffer cannot be made.
GLuint createmapFTexture(const float *mapF, float multiplier, float trans, int texIndex)
{
    uint8_t *staging = nullptr;
    if (!QopArrayBuild(reinterpret_cast<void **>(&staging), 256, 4))
        return 0;
    for (int i = 0; i < 256; ++i) {
        double a = (static_cast<double>(mapF[i]) - trans) * multiplier;
        a = a < 0.0 ? 0.0 : (a > 1.0 ? 1.0 : a);
        const uint32_t q = static_cast<uint32_t>(a * 16777215.0 + 0.5);
        staging[i * 4] = 0;
        staging[i * 4 + 1] = static_cast<uint8_t>(q & 0xFF);
        staging[i * 4 + 2] = static_cast<uint8_t>((q >> 8) & 0xFF);
        staging[i * 4 + 3] = static_cast<uint8_t>(q >> 16);
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glActiveTexture(QopGLGetTextureEnumForIndex(texIndex));
    glBindTexture(GL_TEXTURE_2D, texture);
    QopGLSetCurrentlyBoundTexture2DProperties(GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, staging);
    glActiveTexture(GL_TEXTURE0);
    QopArrayFree(reinterpret_cast<void **>(&staging));
    return texture;
}

} // namespace

extern "C" {

void QopGLConvertRGBTOLAB(QopBitmap_t *bitmap)
{
    QopGLData_t *glData = bitmap->glData;
    QopGLRGBToLABProgram_t *program = &glData->glPrograms.rgbToLabProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGlSetupRGBToLABProgram, VertexShader,
                                      RGBToLABFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
}

void QopGLConvertLABToRGB(QopBitmap_t *bitmap, float scaleA, float scaleB)
{
    QopGLData_t *glData = bitmap->glData;
    QopGLLABToRGBProgram_t *program = &glData->glPrograms.labToRgbProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGlSetupLABToRBGProgram, VertexShader,
                                      LABToRGBFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    glUniform1f(static_cast<GLint>(program->scaleASlot), scaleA);
    glUniform1f(static_cast<GLint>(program->scaleBSlot), scaleB);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
}

void QopGLAutoEnhance(QopBitmap_t *bitmap, float gain, float rScale, float gScale, float bScale, float rMin,
                      float gMin, float bMin, const float *mapF)
{
    QopGLData_t *glData = bitmap->glData;
    if (bitmap->width == 0 || bitmap->height == 0)
        return;
    QopGLAutoEnhanceProgram_t *program = &glData->glPrograms.autoEnhanceProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGlSetupAutoEnhanceProgram, VertexShader,
                                      AutoEnhanceFragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    float lo = std::numeric_limits<float>::infinity();
    float hi = 0.0f;
    for (int i = 0; i < 256; ++i) {
        lo = mapF[i] < lo ? mapF[i] : lo;
        hi = mapF[i] > hi ? mapF[i] : hi;
    }
    // A flat table has no range to spread over the texture: every factor is then floatTrans.
    const float floatMult = hi > lo ? 1.0f / (hi - lo) : 0.0f;
    const float floatTrans = lo;
    const int unit = QopGLClaimFreeTexture(glData);
    if (unit < 0) {
        std::fputs("QopGLAutoEnhance: no free texture unit\n", stderr);
        return;
    }
    const GLuint factors = createmapFTexture(mapF, floatMult, floatTrans, unit);
    if (factors == 0) {
        QopGLResetTextureToFree(glData, unit);
        return;
    }
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    glBindTexture(GL_TEXTURE_2D, factors);
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(static_cast<GLint>(program->mapFactorSamplerSlot), unit);
    glUniform1f(static_cast<GLint>(program->gainSlot), gain);
    glUniform1f(static_cast<GLint>(program->rMinSlot), rMin / 255.0f);
    glUniform1f(static_cast<GLint>(program->gMinSlot), gMin / 255.0f);
    glUniform1f(static_cast<GLint>(program->bMinSlot), bMin / 255.0f);
    glUniform1f(static_cast<GLint>(program->rScaleSlot), rScale);
    glUniform1f(static_cast<GLint>(program->gScaleSlot), gScale);
    glUniform1f(static_cast<GLint>(program->bScaleSlot), bScale);
    glUniform1f(static_cast<GLint>(program->floatMultSlot), floatMult);
    glUniform1f(static_cast<GLint>(program->floatTransSlot), floatTrans);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glDeleteTextures(1, &factors);
    QopGLResetTextureToFree(glData, unit);
}

}
