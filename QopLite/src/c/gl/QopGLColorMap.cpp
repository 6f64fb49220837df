// GPU lookup-table passes: the per-channel colour map and the intensity map.
#include "QopLite/QopGLColor.h"

#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cstdio>

namespace {

// One None pass of a program that reads the table from a map texture on a claimed unit.
template <class Program, class Extra>
void mapPass(const QopHistMap_t *map, QopGLData_t *glData, Program *program, QopGLSetupFunction setup,
             const char *fragmentShader, Extra extra)
{
    QopGLLoadShaderProgramIfNecessary(&program->programID, setup, VertexShader, fragmentShader, glData, false);
    if (glData->state == QopGLStateFailed)
        return;
    const int unit = QopGLClaimFreeTexture(glData);
    if (unit < 0) {
        std::printf("No free texture unit for the lookup table: the pass is skipped.\n");
        return;
    }
    GLuint mapTexture = createColorMapTexture(map->r, map->g, map->b, glData, static_cast<GLuint>(unit));
    glUseProgram(program->programID);
    QopGLStartRender(program->programID, &program->sharedUnisAndAttribs, glData, QopGLBlendModeNone);
    glUniform1i(static_cast<GLint>(program->colorMapSamplerSlot), unit);
    extra(program);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, true);
    glActiveTexture(QopGLGetTextureEnumForIndex(unit));
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &mapTexture);
    glActiveTexture(GL_TEXTURE0);
    QopGLResetTextureToFree(glData, unit);
}

} // namespace

extern "C" {

GLuint createColorMapTexture(const uint8_t *red, const uint8_t *green, const uint8_t *blue, QopGLData_t *glData,
                             GLuint texIndex)
{
    uint8_t texels[256][4];
    for (int i = 0; i < 256; ++i) {
        texels[i][0] = red[i];
        texels[i][1] = green[i];
        texels[i][2] = blue[i];
        texels[i][3] = 0;
    }
    glActiveTexture(QopGLGetTextureEnumForIndex(static_cast<int>(texIndex)));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    QopGLSetCurrentlyBoundTexture2DProperties(GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glActiveTexture(GL_TEXTURE0);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    return texture;
}

void QopGLAddColorMap(const QopHistMap_t *map, QopGLData_t *glData)
{
    if (!map || !glData)
        return;
    mapPass(map, glData, &glData->glPrograms.colorMapProgram, QopGLSetupColorMapProgram, ColorMapFragmentShader,
            [](QopGLColorMapProgram_t *) {});
}

void QopGLAddIntensityMap(const QopHistMap_t *map, QopBlendMode_t blendMode, double alpha, QopGLData_t *glData)
{
    if (!map || !glData)
        return;
    QopGLIntensityMapProgram_t *program;
    const char *fragmentShader;
    switch (blendMode) {
    case QopBlendModeNormal:
        program = &glData->glPrograms.intensityMapProgram;
        fragmentShader = IntensityMapFragmentShader;
        break;
    case QopBlendModeOverlay:
        program = &glData->glPrograms.intensityMapOverlayProgram;
        fragmentShader = IntensityMapOverlayFragmentShader;
        break;
    case QopBlendModeMultiply:
        program = &glData->glPrograms.intensityMapMultiplyProgram;
        fragmentShader = IntensityMapMultiplyFragmentShader;
        break;
    default:
        std::printf("The blend mode you're trying to use isn't implemented in GL yet in QopGLAddIntensityMap.\n");
        return;
    }
    const float intensity = static_cast<float>(alpha);
    mapPass(map, glData, program, QopGLSetupIntensityMapProgram, fragmentShader,
            [intensity](QopGLIntensityMapProgram_t *p) {
                glUniform1f(static_cast<GLint>(p->intensitySlot), intensity);
            });
}

}
