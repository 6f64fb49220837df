// GPU colour-matrix passes: the 3 x 4 matrix alone, and overlaid on the original pixel.
#include "QopLite/QopGLColor.h"

#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

namespace {

// One None pass of a colour-matrix program: its matrix uniforms set, then extra() for the rest.
template <class Program, class Extra>
void colorMatrixPass(const float colorMat[12], QopGLData_t *glData, Program *program, QopGLSetupFunction setup,
                     const char *fragmentShader, Extra extra)
{
    QopGLLoadShaderProgramIfNecessary(&program->programID, setup, VertexShader, fragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    float multMat[9], transMat[3];
    populateGLMultAndTransMatrices(colorMat, multMat, transMat);
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    glUniformMatrix3fv(static_cast<GLint>(program->colorMatSlot), 1, GL_FALSE, multMat);
    glUniform3fv(static_cast<GLint>(program->colorTransSlot), 1, transMat);
    extra(program);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
}

} // namespace

extern "C" {

void populateGLMultAndTransMatrices(const float srcMat[12], float multMat[9], float transMat[3])
{
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            multMat[3 * column + row] = srcMat[4 * row + column];
    for (int row = 0; row < 3; ++row)
        transMat[row] = srcMat[4 * row + 3] / 255.0f;
}

void QopGLAddColorTransform(const float colorMat[12], QopGLData_t *glData)
{
    if (!colorMat || !glData)
        return;
    colorMatrixPass(colorMat, glData, &glData->glPrograms.colorTransformProgram, QopGLSetupColorTransformProgram,
                    ColorTransformFragmentShader, [](QopGLColorTransformProgram_t *) {});
}

void QopGLAddColorTransformAndOverlayWithOriginal(const float colorMat[12], QopGLData_t *glData, float overlayAmount)
{
    if (!colorMat || !glData)
        return;
    colorMatrixPass(colorMat, glData, &glData->glPrograms.colorTransformAndOverlayWithOriginalProgram,
                    QopGLSetupColorTransformAndOverlayWithOriginalProgram,
                    ColorTransformAndOverlayWithOriginalFragmentShader,
                    [overlayAmount](QopGLColorTransformAndOverlayWithOriginalProgram_t *program) {
                        glUniform1f(static_cast<GLint>(program->overlayAmountSlot), overlayAmount);
                    });
}

}
