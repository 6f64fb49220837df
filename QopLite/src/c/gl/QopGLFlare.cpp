// GPU passes of the flares and the ring flare. The common Normal and Overlay flares have
// dedicated programs; every other type and blend mode goes through the fallback program, which
// evaluates all strengths and all blend modes and writes the finished pixel.
#include "QopLite/QopGLFlare.h"

#include "QopGLInternal.h"

#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cmath>

namespace {

using qopgl::slot;

struct FlareProgramChoice {
    QopGLFlareProgram_t *program;
    const char *fragmentShader;
    bool dedicated;
};

FlareProgramChoice chooseFlareProgram(QopGLPrograms_t &programs, QopBlendMode_t blendMode, QopFlareType_t type)
{
    const bool normal = blendMode == QopBlendModeNormal, overlay = blendMode == QopBlendModeOverlay;
    switch (type) {
    case QopFlareBlob:
        if (normal)
            return {&programs.flareBlobProgram, FlareBlobFragmentShader, true};
        if (overlay)
            return {&programs.flareBlobOverlayProgram, FlareBlobOverlayFragmentShader, true};
        break;
    case QopFlareAnglegaussian:
        if (normal)
            return {&programs.flareAngleGaussianProgram, FlareAngleGaussianFragmentShader, true};
        break;
    case QopFlareGaussianthing:
        if (normal)
            return {&programs.flareGaussianThingProgram, FlareGaussianThingFragmentShader, true};
        break;
    case QopFlareGaussianthing2:
        if (normal)
            return {&programs.flareGaussianThing2Program, FlareGaussianThing2FragmentShader, true};
        break;
    case QopFlareBlob2:
        if (normal)
            return {&programs.flareBlob2Program, FlareBlob2FragmentShader, true};
        if (overlay)
            return {&programs.flareBlob2OverlayProgram, FlareBlob2OverlayFragmentShader, true};
        break;
    case QopFlareCornerflares:
        if (normal)
            return {&programs.flareCornerflaresProgram, FlareCornerflaresFragmentShader, true};
        if (overlay)
            return {&programs.flareCornerflaresOverlayProgram, FlareCornerflaresOverlayFragmentShader, true};
        break;
    case QopFlareGaussianthing3:
        if (overlay)
            return {&programs.flareGaussianThing3OverlayProgram, FlareGaussianThing3OverlayFragmentShader, true};
        break;
    default:
        break;
    }
    return {&programs.flareFallbackProgram, FlareFragmentShader, false};
}

} // namespace

extern "C" {

void QopGLAddFlare(QopBlendMode_t blendMode, QopFlareType_t type, float scale, const QopColor_t *color, float dx,
                   float dy, float dsx, float dsy, QopGLData_t *glData)
{
    if (!glData || !color)
        return;
    const FlareProgramChoice choice = chooseFlareProgram(glData->glPrograms, blendMode, type);
    QopGLFlareProgram_t *program = choice.program;
    // Dedicated Normal programs give (colour, strength) for GL to blend; the others blend
    // themselves and are drawn into the other texture.
    const bool glBlends = blendMode == QopBlendModeNormal && choice.dedicated;
    float colour[4];
    if (!qopgl::startColourPass(glData, program, QopGLSetupFlareProgram, choice.fragmentShader, color,
                                glBlends ? QopGLBlendModeNormal : QopGLBlendModeNone, colour))
        return;
    if (!choice.dedicated) {
        glUniform1i(slot(program->flareTypeSlot), static_cast<int>(type));
        glUniform1i(slot(program->blendModeSlot), static_cast<int>(blendMode));
    }
    const bool sinc = type == QopFlareSinc;
    glUniform1f(slot(program->scaleDiffxSlot), sinc ? 2.0f / scale : 2.0f / scale / dsx);
    glUniform1f(slot(program->scaleDiffySlot), sinc ? 2.0f / scale : 2.0f / scale / dsy);
    glUniform2f(slot(program->onePlusDxTimesCenterCoordSlot), (dx + 1.0f) / 2.0f, (dy + 1.0f) / 2.0f);
    glUniform4fv(slot(program->flareColorSlot), 1, colour);
    glUniform1f(slot(program->minEXPSlot), logf(1.0f / (static_cast<float>(color->a) * 255.0f)));
    glUniform1f(slot(program->maxEXPSlot), 0.0f);
    glUniform1f(slot(program->aFSlot), color->a / 255.0f);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, !glBlends);
}

void QopGLAddRingFlare(QopBitmap_t *bitmap, const QopColor_t *color, float xCenter, float yCenter, float dr22,
                       float dr12, float daa, float avgD, float bA)
{
    if (!bitmap || !bitmap->glData || !color)
        return;
    QopGLData_t *glData = bitmap->glData;
    QopGLRingFlareProgram_t *program = &glData->glPrograms.ringFlareProgram;
    float colour[4];
    if (!qopgl::startColourPass(glData, program, QopGlSetupRingFlareProgram, RingFlareFragmentShader, color,
                                QopGLBlendModeNormal, colour))
        return;
    glUniform1f(slot(program->dr22Slot), dr22);
    glUniform1f(slot(program->dr12Slot), dr12);
    glUniform1f(slot(program->daaSlot), daa);
    glUniform1f(slot(program->avgDSlot), avgD);
    glUniform1f(slot(program->bASlot), bA);
    glUniform1f(slot(program->widthSlot), static_cast<float>(bitmap->width));
    glUniform1f(slot(program->heightSlot), static_cast<float>(bitmap->height));
    glUniform1f(slot(program->xCenterSlot), xCenter);
    glUniform1f(slot(program->yCenterSlot), yCenter);
    glUniform4fv(slot(program->colorSlot), 1, colour);
    QopGLFinishRender(&program->sharedUnisAndAttribs, glData, 1, false);
}

} // extern "C"
