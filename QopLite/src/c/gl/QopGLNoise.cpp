// GPU noise pass: seeded monochrome grain.
#include "QopLite/QopGLColor.h"

#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cmath>

extern "C" {

void QopGLAddNoise(QopBitmap_t *bitmap, float intensity, uint32_t seed)
{
    if (!bitmap || !bitmap->glData)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLNoiseProgram_t *program = &glData->glPrograms.noiseProgram;
    QopGLLoadShaderProgramIfNecessary(&program->programID, QopGlSetupNoiseProgram, VertexShader, NoiseFragmentShader,
                                      glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    glUniform1f(static_cast<GLint>(program->randomSeedSlot), seed == 0 ? 1.0f : static_cast<float>(seed));
    // NaN adds nothing, as on the CPU, rather than whatever the driver makes of it.
    glUniform1f(static_cast<GLint>(program->intensitySlot), std::isnan(intensity) ? 0.0f : intensity);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
}

}
