// Set-up of the shader-program records: each function makes its freshly linked program current,
// stores its name, fills the shared slots and looks up the record's own names in the fixed order
// (a name the program does not use yields -1, which GL ignores when set).
#include "QopLite/QopGLDataTypes.h"

namespace {

GLuint uniform(GLuint programID, const char *name)
{
    return static_cast<GLuint>(glGetUniformLocation(programID, name));
}

GLuint attribute(GLuint programID, const char *name)
{
    return static_cast<GLuint>(glGetAttribLocation(programID, name));
}

void beginSetup(GLuint programID, GLuint *programSlot, QopGLSharedUniformsAndAttribs_t *shared)
{
    glUseProgram(programID);
    *programSlot = programID;
    shared->positionSlot = attribute(programID, "a_position");
    shared->texCoordSlot = attribute(programID, "a_texCoord");
    shared->samplerSlot = uniform(programID, "u_sampler");
    shared->blendModeSlot = uniform(programID, "u_blendMode");
}

} // namespace

extern "C" {

void QopGLSetupBitmapIdentityProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLBitmapIdentityProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
}

void QopGlSetupRGBToLABProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLRGBToLABProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
}

void QopGLSetupRedeyeProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLRedeyeProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
}

void QopGLSetupColorTransformProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLColorTransformProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->colorMatSlot = uniform(programID, "u_colorMat");
    record->colorTransSlot = uniform(programID, "u_colorTrans");
    record->colorTransformAmountSlot = uniform(programID, "u_colorTransformAmount");
}

void QopGLSetupColorTransformAndOverlayWithOriginalProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLColorTransformAndOverlayWithOriginalProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->colorMatSlot = uniform(programID, "u_colorMat");
    record->colorTransSlot = uniform(programID, "u_colorTrans");
    record->colorTransformAmountSlot = uniform(programID, "u_colorTransformAmount");
    record->overlayAmountSlot = uniform(programID, "u_overlayAmount");
}

void QopGLSetupColorMapProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLColorMapProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->colorMapSamplerSlot = uniform(programID, "u_colorMapSampler");
    record->colorMapAmountSlot = uniform(programID, "u_colorMapAmount");
}

void QopGLSetupIntensityMapProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLIntensityMapProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->colorMapSamplerSlot = uniform(programID, "u_colorMapSampler");
    record->colorMapAmountSlot = uniform(programID, "u_colorMapAmount");
    record->intensitySlot = uniform(programID, "u_intensity");
}

void QopGLSetupColorBlendColorProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLColorBlendColorProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->blendColorSlot = uniform(programID, "u_blendColor");
    record->blendAmountSlot = uniform(programID, "u_blendAmount");
    record->blendColorAlphaSlot = uniform(programID, "u_blendColorAlpha");
}

void QopGLSetupFlareProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLFlareProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->scaleDiffxSlot = uniform(programID, "u_scaleDiffx");
    record->scaleDiffySlot = uniform(programID, "u_scaleDiffy");
    record->onePlusDxTimesCenterCoordSlot = uniform(programID, "u_onePlusDxTimesCenterCoord");
    record->flareColorSlot = uniform(programID, "u_flareColor");
    record->minEXPSlot = uniform(programID, "u_minEXP");
    record->maxEXPSlot = uniform(programID, "u_maxEXP");
    record->aFSlot = uniform(programID, "u_aF");
    record->flareAmountSlot = uniform(programID, "u_flareAmount");
    record->flareTypeSlot = uniform(programID, "u_flareType");
    record->blendModeSlot = uniform(programID, "u_blendMode");
}

void QopGLSetupBitmapBlendProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLBitmapBlendProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->srcSamplerSlot = uniform(programID, "u_srcSampler");
    record->srcAmountSlot = uniform(programID, "u_srcAmount");
    record->dstAmountSlot = uniform(programID, "u_dstAmount");
}

void QopGLSetupBitmapBlendOverlayProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLBitmapBlendOverlayProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->srcSamplerSlot = uniform(programID, "u_srcSampler");
    record->factorSlot = uniform(programID, "u_factor");
}

void QopGlSetupBorderVignetteProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLBorderVignetteProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->widthSlot = uniform(programID, "u_width");
    record->heightSlot = uniform(programID, "u_height");
    record->vignetteScaleSlot = uniform(programID, "u_vignetteScale");
    record->vignetteColorSlot = uniform(programID, "u_vignetteColor");
    record->blendModeSlot = uniform(programID, "u_blend");
    record->dx_2Slot = uniform(programID, "u_dx_2");
    record->dy_2Slot = uniform(programID, "u_dy_2");
    record->shouldStrecthSlot = uniform(programID, "u_shouldStretch");
    record->shapeModeSlot = uniform(programID, "u_shapeMode");
}

void QopGlSetupBorderThetaProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLBorderThetaProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->dwSlot = uniform(programID, "u_dw");
    record->rFactorSlot = uniform(programID, "u_rFactor");
    record->widthSlot = uniform(programID, "u_width");
    record->heightSlot = uniform(programID, "u_height");
    record->borderStyleSlot = uniform(programID, "u_borderStyle");
    record->borderColorSlot = uniform(programID, "u_borderColor");
    record->linesScaleSlot = uniform(programID, "u_linesScale");
    record->dotScaleSlot = uniform(programID, "u_dotScale");
    record->offsetLSlot = uniform(programID, "u_offsetL");
    record->offsetRSlot = uniform(programID, "u_offsetR");
    record->offsetTSlot = uniform(programID, "u_offsetT");
    record->offsetBSlot = uniform(programID, "u_offsetB");
    record->offsetXSlot = uniform(programID, "u_offsetX");
    record->offsetYSlot = uniform(programID, "u_offsetY");
}

void QopGlSetupBorderSideProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLBorderSideProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->positionSlot = attribute(programID, "a_position");
    record->alphaSlot = attribute(programID, "a_alpha");
    record->borderColorSlot = uniform(programID, "u_borderColor");
}

void QopGlSetupDotMatrixProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLDotMatrixProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->positionSlot = attribute(programID, "a_position");
    record->pointSizeSlot = uniform(programID, "u_pointSize");
    record->dotSamplerSlot = uniform(programID, "u_dotSampler");
}

void QopGlSetupBasicDotsProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLBasicDotsProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->positionSlot = attribute(programID, "a_position");
    record->pointSizeSlot = attribute(programID, "a_pointSize");
    record->dotSamplerSlot = uniform(programID, "u_dotSampler");
}

void QopGlSetupRingFlareProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLRingFlareProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->dr22Slot = uniform(programID, "u_dr22");
    record->dr12Slot = uniform(programID, "u_dr12");
    record->daaSlot = uniform(programID, "u_daa");
    record->avgDSlot = uniform(programID, "u_avgD");
    record->bASlot = uniform(programID, "u_bA");
    record->heightSlot = uniform(programID, "u_height");
    record->widthSlot = uniform(programID, "u_width");
    record->yCenterSlot = uniform(programID, "u_yCenter");
    record->xCenterSlot = uniform(programID, "u_xCenter");
    record->colorSlot = uniform(programID, "u_color");
}

void QopGlSetupLineProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLLineProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->positionSlot = attribute(programID, "a_position");
    record->imagePosSlot = attribute(programID, "a_imagePos");
    record->nHatxSlot = uniform(programID, "u_nHatx");
    record->nHatySlot = uniform(programID, "u_nHaty");
    record->x1Slot = uniform(programID, "u_x1");
    record->y1Slot = uniform(programID, "u_y1");
    record->x2Slot = uniform(programID, "u_x2");
    record->y2Slot = uniform(programID, "u_y2");
    record->rSlot = uniform(programID, "u_r");
    record->r2Slot = uniform(programID, "u_r2");
    record->dAASlot = uniform(programID, "u_dAA");
    record->bASlot = uniform(programID, "u_bA");
    record->r2AASlot = uniform(programID, "u_r2AA");
    record->colorSlot = uniform(programID, "u_color");
    record->vLength2Slot = uniform(programID, "u_vLength2");
}

void QopGlSetupNoiseProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLNoiseProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->randomSeedSlot = uniform(programID, "u_randomSeed");
    record->intensitySlot = uniform(programID, "u_intensity");
}

void QopGlSetupHardRandProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLHardRandBorderProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->linesSamplerSlot = uniform(programID, "u_linesSampler");
    record->heightSlot = uniform(programID, "u_height");
    record->widthSlot = uniform(programID, "u_width");
    record->widthTexCoordMultSlot = uniform(programID, "u_widthTexCoordMult");
    record->heightTexCoordMultSlot = uniform(programID, "u_heightTexCoordMult");
    record->h2Slot = uniform(programID, "u_h2");
    record->w2Slot = uniform(programID, "u_w2");
    record->offsetSlot = uniform(programID, "u_offset");
    record->dwSlot = uniform(programID, "u_dw");
    record->colorSlot = uniform(programID, "u_color");
    record->scaleSlot = uniform(programID, "u_scale");
    record->floatMultSlot = uniform(programID, "u_floatMult");
    record->floatTransSlot = uniform(programID, "u_floatTrans");
    record->randomSeedSlot = uniform(programID, "u_randomSeed");
}

void QopGlSetupAutoEnhanceProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLAutoEnhanceProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->mapFactorSamplerSlot = uniform(programID, "u_mapFactorSampler");
    record->gainSlot = uniform(programID, "u_gain");
    record->rScaleSlot = uniform(programID, "u_rScale");
    record->gScaleSlot = uniform(programID, "u_gScale");
    record->bScaleSlot = uniform(programID, "u_bScale");
    record->rMinSlot = uniform(programID, "u_rMin");
    record->gMinSlot = uniform(programID, "u_gMin");
    record->bMinSlot = uniform(programID, "u_bMin");
    record->floatMultSlot = uniform(programID, "u_floatMult");
    record->floatTransSlot = uniform(programID, "u_floatTrans");
}

void QopGlSetupLABToRBGProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLLABToRGBProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->scaleASlot = uniform(programID, "u_scaleA");
    record->scaleBSlot = uniform(programID, "u_scaleB");
}

void QopGLSetupBitmapDrawWithMaskProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLBitmapDrawWithMaskProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->maskSamplerSlot = uniform(programID, "u_maskSampler");
}

void QopGLSetupWhitenProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLWhitenProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->maskSamplerSlot = uniform(programID, "u_maskSampler");
}

void QopGLSetupDrawingProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLDrawingProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->positionSlot = attribute(programID, "a_position");
    record->colorSlot = uniform(programID, "u_color");
}

void QopGLSetupGrittyDotsProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLGrittyDotsProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->widthSlot = uniform(programID, "u_width");
    record->heightSlot = uniform(programID, "u_height");
    record->alphaSlot = uniform(programID, "u_alpha");
}

void QopGLSetupStilbrushSatBWProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLStilbrushSatBWProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->transitionWidthSlot = uniform(programID, "u_transitionWidth");
    record->regionWidthSlot = uniform(programID, "u_regionWidth");
    record->weightsSlot = uniform(programID, "u_weights");
    record->saturationModeSlot = uniform(programID, "u_saturationMode");
    record->alphaSlot = uniform(programID, "u_alpha");
}

void QopGLSetupSarnithClarityProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLSarnithClarityProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->avgImgSamplerSlot = uniform(programID, "u_avgImgSampler");
    record->effectedAvgImgSamplerSlot = uniform(programID, "u_effectedAvgImgSampler");
    record->gainSlot = uniform(programID, "u_gain");
    record->sharpenAmountSlot = uniform(programID, "u_sharpenAmount");
}

void QopGLSetupGrandientProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLGradientProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->widthSlot = uniform(programID, "u_width");
    record->heightSlot = uniform(programID, "u_height");
    record->scaleSlot = uniform(programID, "u_scale");
    record->xCenterSlot = uniform(programID, "u_xCenter");
    record->yCenterSlot = uniform(programID, "u_yCenter");
    record->dx_2Slot = uniform(programID, "u_dx_2");
    record->dy_2Slot = uniform(programID, "u_dy_2");
    record->denomISlot = uniform(programID, "u_denomI");
    record->alphaBlendSlot = uniform(programID, "u_alphaBlend");
    record->vignetteShapeSlot = uniform(programID, "u_vignetteShape");
    record->shapeModeSlot = uniform(programID, "u_shapeMode");
    record->angleCosSlot = uniform(programID, "u_angleCos");
    record->angleSinSlot = uniform(programID, "u_angleSin");
    record->gradientMapSlot = uniform(programID, "u_gradientMap");
    record->blendModeSlot = uniform(programID, "u_blendMode");
}

void QopGLSetupMaskLinearProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLMaskLinearProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->centerPointSlot = uniform(programID, "u_centerPoint");
    record->sigmaR2Slot = uniform(programID, "u_sigmaR2");
    record->widthSlot = uniform(programID, "u_width");
    record->heightSlot = uniform(programID, "u_height");
    record->normXSlot = uniform(programID, "u_normX");
    record->normYSlot = uniform(programID, "u_normY");
}

void QopGLSetupMaskRadialProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLMaskRadialProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->centerPointSlot = uniform(programID, "u_centerPoint");
    record->sigmaR2Slot = uniform(programID, "u_sigmaR2");
    record->widthSlot = uniform(programID, "u_width");
    record->heightSlot = uniform(programID, "u_height");
}

void QopGLSetupRedrawWithMaskProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLRedrawWithMaskProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->maskSamplerSlot = uniform(programID, "u_maskSampler");
    record->sourceSamplerSlot = uniform(programID, "u_sourceSampler");
}

void QopGLSetupMaskDotsProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLMaskDotsProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->positionSlot = attribute(programID, "a_position");
    record->pointSizeSlot = uniform(programID, "u_pointSize");
    record->radiusSlot = uniform(programID, "u_radius");
    record->widthSlot = uniform(programID, "u_width");
    record->heightSlot = uniform(programID, "u_height");
    record->alphaSlot = uniform(programID, "u_alpha");
    record->dEdgeSlot = uniform(programID, "u_dEdge");
}

void QopGLSetupColorSplashAutoProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLColorSplashAutoProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->positionSlot = attribute(programID, "a_position");
    record->pointSizeSlot = uniform(programID, "u_pointSize");
    record->radiusSlot = uniform(programID, "u_radius");
    record->widthSlot = uniform(programID, "u_width");
    record->heightSlot = uniform(programID, "u_height");
    record->alphaSlot = uniform(programID, "u_alpha");
    record->dEdgeSlot = uniform(programID, "u_dEdge");
    record->lSlot = uniform(programID, "u_l");
    record->aSlot = uniform(programID, "u_a");
    record->bSlot = uniform(programID, "u_b");
    record->sigmaCSlot = uniform(programID, "u_sigmaC");
}

void QopGLSetupBoxBlurProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLBoxBlurProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->texelStrideSlot = uniform(programID, "u_texelStride");
}

void QopGLSetupGaussianBlurProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLGaussianBlurProgram_t *>(program);
    beginSetup(programID, &record->programID, &record->sharedUnisAndAttribs);
    record->texelStrideSlot = uniform(programID, "u_texelStride");
    record->weight0Slot = uniform(programID, "u_weight0");
    record->weight1Slot = uniform(programID, "u_weight1");
    record->weight2Slot = uniform(programID, "u_weight2");
    record->weight3Slot = uniform(programID, "u_weight3");
    record->weight4Slot = uniform(programID, "u_weight4");
}
void QopGlSetupHistogramProgram(GLuint programID, void *program)
{
    auto *record = static_cast<QopGLHistogramProgram_t *>(program);
    glUseProgram(programID);
    record->programID = programID;
    record->positionSlot = attribute(programID, "a_position");
    record->pixelLocationSlot = attribute(programID, "a_pixelLocation");
    record->sizeSlot = uniform(programID, "u_size");
    record->framebuffer = 0;
    record->backingTexture = 0;
}

}
