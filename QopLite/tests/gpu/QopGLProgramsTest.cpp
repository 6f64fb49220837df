// Shader programs: every group and on-use program compiles and links, every looked-up name
// resolves, loading is cached, deletion and recompilation, the failure latch, and the helpers.
#include "QopGLCallCounts.h"
#include "QopGLTestSupport.h"

#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace qop_test {
namespace {

// The program contract: record, set-up, sources, whether it draws the image quad (and so uses
// a_texCoord and u_sampler), and its own names in record order (nullptr: never looked up).
struct ProgramContract {
    const char *name;
    size_t offset;
    size_t recordSize;
    QopGLSetupFunction setup;
    const char *vertexSource;
    const char *fragmentSource;
    bool drawsImageQuad;
    std::vector<const char *> ownNames;
};

const std::vector<ProgramContract> &programContracts()
{
    static const std::vector<ProgramContract> contracts = {
    {"bitmapIdentityProgram", offsetof(QopGLPrograms, bitmapIdentityProgram), sizeof(QopGLBitmapIdentityProgram_t), QopGLSetupBitmapIdentityProgram, VertexShader, BitmapIdentityFragmentShader, true, {}},
    {"colorTransformProgram", offsetof(QopGLPrograms, colorTransformProgram), sizeof(QopGLColorTransformProgram_t), QopGLSetupColorTransformProgram, VertexShader, ColorTransformFragmentShader, true, {"u_colorMat", "u_colorTrans", "u_colorTransformAmount"}},
    {"colorMapProgram", offsetof(QopGLPrograms, colorMapProgram), sizeof(QopGLColorMapProgram_t), QopGLSetupColorMapProgram, VertexShader, ColorMapFragmentShader, true, {"u_colorMapSampler", "u_colorMapAmount"}},
    {"flareBlobProgram", offsetof(QopGLPrograms, flareBlobProgram), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareBlobFragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"flareAngleGaussianProgram", offsetof(QopGLPrograms, flareAngleGaussianProgram), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareAngleGaussianFragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"flareGaussianThingProgram", offsetof(QopGLPrograms, flareGaussianThingProgram), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareGaussianThingFragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"flareGaussianThing2Program", offsetof(QopGLPrograms, flareGaussianThing2Program), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareGaussianThing2FragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"bitmapBlendProgram", offsetof(QopGLPrograms, bitmapBlendProgram), sizeof(QopGLBitmapBlendProgram_t), QopGLSetupBitmapBlendProgram, VertexShader, BitmapBlendFragmentShader, true, {"u_srcSampler", nullptr, "u_srcAmount", "u_dstAmount"}},
    {"borderVignetteProgram", offsetof(QopGLPrograms, borderVignetteProgram), sizeof(QopGLBorderVignetteProgram_t), QopGlSetupBorderVignetteProgram, VertexShader, BordersVignetteFragmentShader, true, {"u_vignetteScale", "u_width", "u_height", "u_blend", "u_vignetteColor", "u_shouldStretch", "u_shapeMode", "u_dx_2", "u_dy_2"}},
    {"borderThetaProgram", offsetof(QopGLPrograms, borderThetaProgram), sizeof(QopGLBorderThetaProgram_t), QopGlSetupBorderThetaProgram, VertexShader, BordersThetaFragmentShader, true, {"u_dw", "u_rFactor", "u_width", "u_height", "u_borderStyle", "u_borderColor", "u_linesScale", "u_dotScale", "u_offsetL", "u_offsetR", "u_offsetT", "u_offsetB", "u_offsetX", "u_offsetY"}},
    {"borderSideProgram", offsetof(QopGLPrograms, borderSideProgram), sizeof(QopGLBorderSideProgram_t), QopGlSetupBorderSideProgram, BorderSideVertexShader, BorderSideFragmentShader, false, {"u_borderColor", "a_position", "a_alpha"}},
    {"dotMatrixProgram", offsetof(QopGLPrograms, dotMatrixProgram), sizeof(QopGLDotMatrixProgram_t), QopGlSetupDotMatrixProgram, DotMatrixVertexShader, DotMatrixFragmentShader, false, {"u_dotSampler", "a_position", "u_pointSize"}},
    {"ringFlareProgram", offsetof(QopGLPrograms, ringFlareProgram), sizeof(QopGLRingFlareProgram_t), QopGlSetupRingFlareProgram, VertexShader, RingFlareFragmentShader, true, {"u_dr22", "u_dr12", "u_daa", "u_avgD", "u_bA", "u_height", "u_width", "u_xCenter", "u_yCenter", "u_color"}},
    {"lineProgram", offsetof(QopGLPrograms, lineProgram), sizeof(QopGLLineProgram_t), QopGlSetupLineProgram, LineVertexShader, LineFragmentShader, false, {"a_position", "a_imagePos", "u_nHatx", "u_nHaty", "u_x1", "u_y1", "u_x2", "u_y2", "u_r", "u_r2", "u_dAA", "u_bA", "u_r2AA", "u_color", "u_vLength2"}},
    {"noiseProgram", offsetof(QopGLPrograms, noiseProgram), sizeof(QopGLNoiseProgram_t), QopGlSetupNoiseProgram, VertexShader, NoiseFragmentShader, true, {"u_randomSeed", "u_intensity"}},
    {"basicDotsProgram", offsetof(QopGLPrograms, basicDotsProgram), sizeof(QopGLBasicDotsProgram_t), QopGlSetupBasicDotsProgram, BasicDotsVertexShader, DotMatrixFragmentShader, false, {"u_dotSampler", "a_position", "a_pointSize"}},
    {"hardRandProgram", offsetof(QopGLPrograms, hardRandProgram), sizeof(QopGLHardRandBorderProgram_t), QopGlSetupHardRandProgram, VertexShader, BordersHardRandFragmentShader, true, {"u_linesSampler", "u_height", "u_width", "u_widthTexCoordMult", "u_heightTexCoordMult", "u_h2", "u_w2", "u_offset", "u_dw", "u_color", "u_scale", "u_floatMult", "u_floatTrans", "u_randomSeed"}},
    {"autoEnhanceProgram", offsetof(QopGLPrograms, autoEnhanceProgram), sizeof(QopGLAutoEnhanceProgram_t), QopGlSetupAutoEnhanceProgram, VertexShader, AutoEnhanceFragmentShader, true, {"u_mapFactorSampler", "u_gain", "u_rScale", "u_gScale", "u_bScale", "u_rMin", "u_gMin", "u_bMin", "u_floatMult", "u_floatTrans"}},
    {"rgbToLabProgram", offsetof(QopGLPrograms, rgbToLabProgram), sizeof(QopGLRGBToLABProgram_t), QopGlSetupRGBToLABProgram, VertexShader, RGBToLABFragmentShader, true, {}},
    {"labToRgbProgram", offsetof(QopGLPrograms, labToRgbProgram), sizeof(QopGLLABToRGBProgram_t), QopGlSetupLABToRBGProgram, VertexShader, LABToRGBFragmentShader, true, {"u_scaleA", "u_scaleB"}},
    {"bitmapDrawWithMaskProgram", offsetof(QopGLPrograms, bitmapDrawWithMaskProgram), sizeof(QopGLBitmapDrawWithMaskProgram_t), QopGLSetupBitmapDrawWithMaskProgram, VertexShader, BitmapDrawWithMaskFragmentShader, true, {"u_maskSampler"}},
    {"whitenProgram", offsetof(QopGLPrograms, whitenProgram), sizeof(QopGLWhitenProgram_t), QopGLSetupWhitenProgram, VertexShader, WhitenFragmentShader, true, {"u_maskSampler"}},
    {"redeyeProgram", offsetof(QopGLPrograms, redeyeProgram), sizeof(QopGLRedeyeProgram_t), QopGLSetupRedeyeProgram, VertexShader, RedeyeFragmentShader, true, {}},
    {"drawingProgram", offsetof(QopGLPrograms, drawingProgram), sizeof(QopGLDrawingProgram_t), QopGLSetupDrawingProgram, DrawingVertexShader, DrawingFragmentShader, false, {"u_color", "a_position"}},
    {"borderVignetteOverlayProgram", offsetof(QopGLPrograms, borderVignetteOverlayProgram), sizeof(QopGLBorderVignetteProgram_t), QopGlSetupBorderVignetteProgram, VertexShader, BordersVignetteOverlayFragmentShader, true, {"u_vignetteScale", "u_width", "u_height", "u_blend", "u_vignetteColor", "u_shouldStretch", "u_shapeMode", "u_dx_2", "u_dy_2"}},
    {"flareBlobOverlayProgram", offsetof(QopGLPrograms, flareBlobOverlayProgram), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareBlobOverlayFragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"bitmapBlendOverlayProgram", offsetof(QopGLPrograms, bitmapBlendOverlayProgram), sizeof(QopGLBitmapBlendOverlayProgram_t), QopGLSetupBitmapBlendOverlayProgram, VertexShader, BitmapBlendOverlayFragmentShader, true, {"u_srcSampler", nullptr, "u_factor"}},
    {"colorTransformAndOverlayWithOriginalProgram", offsetof(QopGLPrograms, colorTransformAndOverlayWithOriginalProgram), sizeof(QopGLColorTransformAndOverlayWithOriginalProgram_t), QopGLSetupColorTransformAndOverlayWithOriginalProgram, VertexShader, ColorTransformAndOverlayWithOriginalFragmentShader, true, {"u_colorMat", "u_colorTrans", "u_colorTransformAmount", "u_overlayAmount"}},
    {"grittyDotsProgram", offsetof(QopGLPrograms, grittyDotsProgram), sizeof(QopGLGrittyDotsProgram_t), QopGLSetupGrittyDotsProgram, VertexShader, SarnithGrittyDotsFragmentShader, true, {"u_width", "u_height", "u_alpha"}},
    {"stilbrushSatBWProgram", offsetof(QopGLPrograms, stilbrushSatBWProgram), sizeof(QopGLStilbrushSatBWProgram_t), QopGLSetupStilbrushSatBWProgram, VertexShader, SarnithStilbrushSatBWShader, true, {"u_transitionWidth", "u_regionWidth", "u_weights", "u_saturationMode", "u_alpha"}},
    {"sarnithClarityProgram", offsetof(QopGLPrograms, sarnithClarityProgram), sizeof(QopGLSarnithClarityProgram_t), QopGLSetupSarnithClarityProgram, VertexShader, SarnithClarityFragmentShader, true, {"u_avgImgSampler", "u_effectedAvgImgSampler", "u_gain", "u_sharpenAmount"}},
    {"flareBlob2Program", offsetof(QopGLPrograms, flareBlob2Program), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareBlob2FragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"flareBlob2OverlayProgram", offsetof(QopGLPrograms, flareBlob2OverlayProgram), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareBlob2OverlayFragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"flareCornerflaresProgram", offsetof(QopGLPrograms, flareCornerflaresProgram), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareCornerflaresFragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"flareCornerflaresOverlayProgram", offsetof(QopGLPrograms, flareCornerflaresOverlayProgram), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareCornerflaresOverlayFragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"flareGaussianThing3OverlayProgram", offsetof(QopGLPrograms, flareGaussianThing3OverlayProgram), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareGaussianThing3OverlayFragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"intensityMapOverlayProgram", offsetof(QopGLPrograms, intensityMapOverlayProgram), sizeof(QopGLIntensityMapProgram_t), QopGLSetupIntensityMapProgram, VertexShader, IntensityMapOverlayFragmentShader, true, {"u_colorMapSampler", "u_colorMapAmount", "u_intensity"}},
    {"intensityMapMultiplyProgram", offsetof(QopGLPrograms, intensityMapMultiplyProgram), sizeof(QopGLIntensityMapProgram_t), QopGLSetupIntensityMapProgram, VertexShader, IntensityMapMultiplyFragmentShader, true, {"u_colorMapSampler", "u_colorMapAmount", "u_intensity"}},
    {"borderVignetteMultiplyProgram", offsetof(QopGLPrograms, borderVignetteMultiplyProgram), sizeof(QopGLBorderVignetteProgram_t), QopGlSetupBorderVignetteProgram, VertexShader, BordersVignetteMultiplyFragmentShader, true, {"u_vignetteScale", "u_width", "u_height", "u_blend", "u_vignetteColor", "u_shouldStretch", "u_shapeMode", "u_dx_2", "u_dy_2"}},
    {"colorBlendColorProgram", offsetof(QopGLPrograms, colorBlendColorProgram), sizeof(QopGLColorBlendColorProgram_t), QopGLSetupColorBlendColorProgram, VertexShader, BitmapColorBlendColorFragmentShader, true, {"u_blendColor", "u_blendAmount", "u_blendColorAlpha"}},
    {"stilbrushSatBWOverlayProgram", offsetof(QopGLPrograms, stilbrushSatBWOverlayProgram), sizeof(QopGLStilbrushSatBWProgram_t), QopGLSetupStilbrushSatBWProgram, VertexShader, SarnithStilbrushSatBWOverlayShader, true, {"u_transitionWidth", "u_regionWidth", "u_weights", "u_saturationMode", "u_alpha"}},
    {"bitmapBlendOverlayReverseProgram", offsetof(QopGLPrograms, bitmapBlendOverlayReverseProgram), sizeof(QopGLBitmapBlendOverlayProgram_t), QopGLSetupBitmapBlendOverlayProgram, VertexShader, BitmapBlendOverlayReverseFragmentShader, true, {"u_srcSampler", nullptr, "u_factor"}},
    {"gradientProgram", offsetof(QopGLPrograms, gradientProgram), sizeof(QopGLGradientProgram_t), QopGLSetupGrandientProgram, VertexShader, GradientFragmentShader, true, {"u_width", "u_height", "u_scale", "u_xCenter", "u_yCenter", "u_dx_2", "u_dy_2", "u_denomI", "u_alphaBlend", "u_shapeMode", "u_vignetteShape", "u_angleCos", "u_angleSin", "u_gradientMap", "u_blendMode"}},
    {"gradientLinearVignetteProgram", offsetof(QopGLPrograms, gradientLinearVignetteProgram), sizeof(QopGLGradientProgram_t), QopGLSetupGrandientProgram, VertexShader, GradientLinearVignetteFragmentShader, true, {"u_width", "u_height", "u_scale", "u_xCenter", "u_yCenter", "u_dx_2", "u_dy_2", "u_denomI", "u_alphaBlend", "u_shapeMode", "u_vignetteShape", "u_angleCos", "u_angleSin", "u_gradientMap", "u_blendMode"}},
    {"gradientOverlayProgram", offsetof(QopGLPrograms, gradientOverlayProgram), sizeof(QopGLGradientProgram_t), QopGLSetupGrandientProgram, VertexShader, GradientOverlayFragmentShader, true, {"u_width", "u_height", "u_scale", "u_xCenter", "u_yCenter", "u_dx_2", "u_dy_2", "u_denomI", "u_alphaBlend", "u_shapeMode", "u_vignetteShape", "u_angleCos", "u_angleSin", "u_gradientMap", "u_blendMode"}},
    {"flareFallbackProgram", offsetof(QopGLPrograms, flareFallbackProgram), sizeof(QopGLFlareProgram_t), QopGLSetupFlareProgram, VertexShader, FlareFragmentShader, true, {"u_scaleDiffx", "u_scaleDiffy", "u_onePlusDxTimesCenterCoord", "u_flareColor", "u_minEXP", "u_maxEXP", "u_aF", "u_flareAmount", "u_flareType", "u_blendMode"}},
    {"intensityMapProgram", offsetof(QopGLPrograms, intensityMapProgram), sizeof(QopGLIntensityMapProgram_t), QopGLSetupIntensityMapProgram, VertexShader, IntensityMapFragmentShader, true, {"u_colorMapSampler", "u_colorMapAmount", "u_intensity"}},
    {"maskLinearProgram", offsetof(QopGLPrograms, maskLinearProgram), sizeof(QopGLMaskLinearProgram_t), QopGLSetupMaskLinearProgram, VertexShader, MaskLinearFragmentShader, true, {"u_centerPoint", "u_sigmaR2", "u_width", "u_height", "u_normX", "u_normY"}},
    {"maskRadialProgram", offsetof(QopGLPrograms, maskRadialProgram), sizeof(QopGLMaskRadialProgram_t), QopGLSetupMaskRadialProgram, VertexShader, MaskRadialFragmentShader, true, {"u_centerPoint", "u_sigmaR2", "u_width", "u_height"}},
    {"redrawWithMaskProgram", offsetof(QopGLPrograms, redrawWithMaskProgram), sizeof(QopGLRedrawWithMaskProgram_t), QopGLSetupRedrawWithMaskProgram, VertexShader, BitmapRedrawWithMaskFragmentShader, true, {"u_maskSampler", "u_sourceSampler"}},
    {"maskDotsProgram", offsetof(QopGLPrograms, maskDotsProgram), sizeof(QopGLMaskDotsProgram_t), QopGLSetupMaskDotsProgram, MaskDotsVertexShader, MaskDotFragmentShader, false, {"a_position", "u_pointSize", "u_radius", "u_width", "u_height", "u_alpha", "u_dEdge"}},
    {"colorSplashAutoProgram", offsetof(QopGLPrograms, colorSplashAutoProgram), sizeof(QopGLColorSplashAutoProgram_t), QopGLSetupColorSplashAutoProgram, MaskDotsVertexShader, ColorSplashAutoFragmentShader, false, {"a_position", "u_pointSize", "u_radius", "u_width", "u_height", "u_alpha", "u_dEdge", "u_l", "u_a", "u_b", "u_sigmaC"}},
    {"horizontalBoxBlur3Program", offsetof(QopGLPrograms, horizontalBoxBlur3Program), sizeof(QopGLBoxBlurProgram_t), QopGLSetupBoxBlurProgram, ConvolutionHorizontalBoxBlur3VertexShader, ConvolutionBoxBlur3FragmentShader, true, {"u_texelStride"}},
    {"verticalBoxBlur3Program", offsetof(QopGLPrograms, verticalBoxBlur3Program), sizeof(QopGLBoxBlurProgram_t), QopGLSetupBoxBlurProgram, ConvolutionVerticalBoxBlur3VertexShader, ConvolutionBoxBlur3FragmentShader, true, {"u_texelStride"}},
    {"horizontalBoxBlur5Program", offsetof(QopGLPrograms, horizontalBoxBlur5Program), sizeof(QopGLBoxBlurProgram_t), QopGLSetupBoxBlurProgram, ConvolutionHorizontalBoxBlur5VertexShader, ConvolutionBoxBlur5FragmentShader, true, {"u_texelStride"}},
    {"verticalBoxBlur5Program", offsetof(QopGLPrograms, verticalBoxBlur5Program), sizeof(QopGLBoxBlurProgram_t), QopGLSetupBoxBlurProgram, ConvolutionVerticalBoxBlur5VertexShader, ConvolutionBoxBlur5FragmentShader, true, {"u_texelStride"}},
    {"horizontalBoxBlur7Program", offsetof(QopGLPrograms, horizontalBoxBlur7Program), sizeof(QopGLBoxBlurProgram_t), QopGLSetupBoxBlurProgram, ConvolutionHorizontalBoxBlur7VertexShader, ConvolutionBoxBlur7FragmentShader, true, {"u_texelStride"}},
    {"verticalBoxBlur7Program", offsetof(QopGLPrograms, verticalBoxBlur7Program), sizeof(QopGLBoxBlurProgram_t), QopGLSetupBoxBlurProgram, ConvolutionVerticalBoxBlur7VertexShader, ConvolutionBoxBlur7FragmentShader, true, {"u_texelStride"}},
    {"gaussianBlurHorizontalProgram", offsetof(QopGLPrograms, gaussianBlurHorizontalProgram), sizeof(QopGLGaussianBlurProgram_t), QopGLSetupGaussianBlurProgram, ConvolutionHorizontalGaussian9VertexShader, ConvolutionGaussian9FragmentShader, true, {"u_texelStride", "u_weight0", "u_weight1", "u_weight2", "u_weight3", "u_weight4"}},
    {"gaussianBlurVerticalProgram", offsetof(QopGLPrograms, gaussianBlurVerticalProgram), sizeof(QopGLGaussianBlurProgram_t), QopGLSetupGaussianBlurProgram, ConvolutionVerticalGaussian9VertexShader, ConvolutionGaussian9FragmentShader, true, {"u_texelStride", "u_weight0", "u_weight1", "u_weight2", "u_weight3", "u_weight4"}},    };
    return contracts;
}

// Uniforms the passes never set: a shader may leave them out.
bool neverSet(const std::string &name) { return name == "u_colorTransformAmount" || name == "u_colorMapAmount"; }

GLint locationOf(GLuint program, const char *name)
{
    return name[0] == 'a' ? glGetAttribLocation(program, name) : glGetUniformLocation(program, name);
}

// The record's slots as the GLuints they are.
std::vector<GLuint> slotsOf(QopGLData_t *glData, const ProgramContract &contract)
{
    std::vector<GLuint> slots(contract.recordSize / sizeof(GLuint));
    memcpy(slots.data(), reinterpret_cast<const unsigned char *>(&glData->glPrograms) + contract.offset,
           contract.recordSize);
    return slots;
}

GLuint *programSlotOf(QopGLData_t *glData, const ProgramContract &contract)
{
    return reinterpret_cast<GLuint *>(reinterpret_cast<unsigned char *>(&glData->glPrograms) + contract.offset);
}

constexpr QopGLPrewarmFunction kGroups[] = {
    QopGLLoadBitmapBlendShaders,   QopGLLoadColorMapAndTransformShaders, QopGLLoadIntensityMapShaders,
    QopGLLoadEnhanceAndBlurShaders, QopGLLoadLABShaders,                 QopGLLoadSpotAndDrawingToolShaders,
    QopGLLoadFlareShaders1,        QopGLLoadFlareShaders2,               QopGLLoadFlareShaders3,
    QopGLLoadVignetteShaders,      QopGLLoadBorderShaders,               QopGLLoadGradientShaders,
    QopGLLoadMiscellaneousShaders1, QopGLLoadMiscellaneousShaders2,      QopGLLoadSarnithSpecificShaders1,
    QopGLLoadMaskShaders,
};

using GLProgramsTest = GLTest;

TEST_F(GLProgramsTest, EveryProgramLinksAndEveryLookedUpNameResolves)
{
    for (QopGLPrewarmFunction group : kGroups)
        EXPECT_TRUE(group(gl(), true));
    // The on-use programs are loaded by their passes; here directly.
    for (const ProgramContract &contract : programContracts())
        QopGLLoadShaderProgramIfNecessary(programSlotOf(gl(), contract), contract.setup, contract.vertexSource,
                                          contract.fragmentSource, gl(), false);
    ASSERT_EQ(gl()->state, QopGLStateOk);
    QOP_EXPECT_NO_GL_ERROR();

    for (const ProgramContract &contract : programContracts()) {
        SCOPED_TRACE(contract.name);
        const std::vector<GLuint> slots = slotsOf(gl(), contract);
        ASSERT_EQ(slots.size(), 1 + contract.ownNames.size() + 5) << "record layout";
        const GLuint program = slots[0];
        ASSERT_NE(program, 0u);
        for (size_t i = 0; i < contract.ownNames.size(); ++i) {
            const char *name = contract.ownNames[i];
            if (!name) {
                EXPECT_EQ(slots[1 + i], 0u) << "slot " << i << " is never looked up";
                continue;
            }
            const GLint location = locationOf(program, name);
            EXPECT_EQ(slots[1 + i], static_cast<GLuint>(location)) << name << " went into another slot";
            if (!neverSet(name)) {
                EXPECT_NE(location, -1) << name << " is not declared (or not used) by the shader";
            }
        }
        const GLuint *shared = &slots[1 + contract.ownNames.size()];
        EXPECT_NE(static_cast<GLint>(shared[0]), -1) << "a_position";
        EXPECT_EQ(shared[0], static_cast<GLuint>(glGetAttribLocation(program, "a_position")));
        if (contract.drawsImageQuad) {
            EXPECT_NE(static_cast<GLint>(shared[1]), -1) << "a_texCoord";
            EXPECT_NE(static_cast<GLint>(shared[2]), -1) << "u_sampler";
        }
        EXPECT_EQ(shared[3], 0u) << "amountSlot is never looked up";
        EXPECT_EQ(shared[4], static_cast<GLuint>(glGetUniformLocation(program, "u_blendMode")));
    }
}

TEST_F(GLProgramsTest, LoadingAGroupTwiceCompilesNothingTheSecondTime)
{
    ASSERT_TRUE(QopGLLoadFlareShaders1(gl(), false));
    const QopGLPrograms_t before = gl()->glPrograms;
    resetGLCallCounts();
    ASSERT_TRUE(QopGLLoadFlareShaders1(gl(), true));
    EXPECT_EQ(glCallCounts().createProgram, 0);
    EXPECT_EQ(memcmp(&before, &gl()->glPrograms, sizeof before), 0);
    EXPECT_FALSE(gl()->isMakingGLCalls);
}

TEST_F(GLProgramsTest, DeletedProgramsAreRecompiledOnUseWithTheSameResult)
{
    const TestBitmap input = makePhotoLike(24, 16);
    TestBitmap first = gpuBitmap(input);
    QopGLCreateEffect(first.get());
    addInvertPass(gl());
    QopGLDrawCurrentBitmapIdentity(gl());
    QopGLFinalizeEffect(first.get());

    ASSERT_TRUE(QopGLHardLoadAllShaders(gl(), true));
    QopGLDeleteAllShaders(gl());
    for (const ProgramContract &contract : programContracts())
        EXPECT_EQ(*programSlotOf(gl(), contract), 0u) << contract.name;

    resetGLCallCounts();
    TestBitmap second = gpuBitmap(input);
    QopGLCreateEffect(second.get());
    addInvertPass(gl());
    QopGLDrawCurrentBitmapIdentity(gl());
    QopGLFinalizeEffect(second.get());
    EXPECT_EQ(glCallCounts().createProgram, 1) << "the identity program is compiled again on first use";
    EXPECT_NE(gl()->glPrograms.bitmapIdentityProgram.programID, 0u);
    EXPECT_TRUE(second == first);
    EXPECT_TRUE(second == inverted(input));
}

// A program that does not compile trips the latch; later passes draw nothing and effects finish
// with the passes that did run.
TEST_F(GLProgramsTest, BrokenProgramSetsTheFailureLatch)
{
    const TestBitmap input = makeHueWheel(10, 10);
    TestBitmap image = gpuBitmap(input);
    QopGLCreateEffect(image.get());
    addInvertPass(gl());

    QopGLColorMapProgram_t broken{};
    testing::internal::CaptureStdout();
    QopGLLoadShaderProgramIfNecessary(&broken.programID, QopGLSetupColorMapProgram, VertexShader,
                                      "#version 100\nvoid main() { gl_FragColor = undeclared; }\n", gl(), false);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("QopLite: Error loading shader program!"), std::string::npos);
    EXPECT_EQ(broken.programID, 0u);
    EXPECT_EQ(gl()->state, QopGLStateFailed);

    resetGLCallCounts();
    testing::internal::CaptureStdout();
    addInvertPass(gl());
    QopGLDrawCurrentBitmapIdentity(gl());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("GL Already failed somewhere, bailing."), std::string::npos);
    EXPECT_EQ(glCallCounts().drawElements, 0);
    QopGLFinalizeEffect(image.get());
    EXPECT_TRUE(image == inverted(input)) << "the image shows the pass that ran";
    EXPECT_FALSE(gl()->isMakingGLCalls);

    testing::internal::CaptureStdout();
    EXPECT_FALSE(QopGLLoadMaskShaders(gl(), false));
    EXPECT_FALSE(QopGLHardLoadAllShaders(gl(), false));
    testing::internal::GetCapturedStdout();
}

TEST_F(GLProgramsTest, CreateProgramAnswersZeroForCompileAndLinkFailures)
{
    testing::internal::CaptureStdout();
    resetGLCallCounts();
    EXPECT_EQ(createProgram(VertexShader, "#version 100\nvoid main() { syntax error }\n"), 0u);
    // Compiles, but the fragment stage reads a varying the vertex stage does not write.
    EXPECT_EQ(createProgram(VertexShader, "#version 100\nprecision mediump float;\nvarying vec4 v_missing;\n"
                                          "void main() { gl_FragColor = v_missing; }\n"),
              0u);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(glCallCounts().createProgram, 2);
    const GLuint good = createProgram(VertexShader, BitmapIdentityFragmentShader);
    EXPECT_NE(good, 0u);
    EXPECT_EQ(glIsProgram(good), GL_TRUE);
    glDeleteProgram(good);
}

TEST_F(GLProgramsTest, NullArgumentsLoadNothing)
{
    QopGLNoiseProgram_t noise{};
    testing::internal::CaptureStdout();
    QopGLLoadShaderProgramIfNecessary(&noise.programID, QopGlSetupNoiseProgram, nullptr, NoiseFragmentShader, gl(),
                                      false);
    QopGLLoadShaderProgramIfNecessary(nullptr, QopGlSetupNoiseProgram, VertexShader, NoiseFragmentShader, gl(), false);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("A null argument was passed"), std::string::npos);
    EXPECT_EQ(noise.programID, 0u);
    EXPECT_EQ(gl()->state, QopGLStateOk);
}

// Warm-up runs before any image is loaded (the GL manager queues it at start-up) and after.
TEST_F(GLProgramsTest, WarmUpRaisesNoErrorWithOrWithoutAnImage)
{
    EXPECT_TRUE(QopGLLoadAllShaders(gl(), true));
    QOP_EXPECT_NO_GL_ERROR();
    QopGLDeleteAllShaders(gl());
    TestBitmap image = gpuBitmap(makeRamp(8, 8));
    QopGLSetBitmap(image.get(), gl());
    EXPECT_TRUE(QopGLLoadAllShaders(gl(), true));
    QOP_EXPECT_NO_GL_ERROR();
}

TEST(GLUtilsTest, TimevalSubtract)
{
    const struct {
        timeval t2, t1;
        long seconds, microseconds;
        int negative;
    } cases[] = {
        {{5, 250}, {5, 250}, 0, 0, 0},
        {{7, 100}, {5, 900}, 1, 999200, 0},
        {{5, 900}, {7, 100}, -1, -999200, 1},
        {{0, 10}, {0, 20}, 0, -10, 1},
    };
    for (const auto &c : cases) {
        timeval result{-1, -1};
        EXPECT_EQ(timeval_subtract(&result, &c.t2, &c.t1), c.negative);
        EXPECT_EQ(result.tv_sec, c.seconds);
        EXPECT_EQ(result.tv_usec, c.microseconds);
    }
}

TEST(GLUtilsTest, FloatColourIsTheBytesOver255)
{
    const QopColor_rgba colour = {255, 0, 51, 102};
    float out[4] = {-1, -1, -1, -1};
    QopGLFillFloatColorWithQopColorVals(out, &colour);
    EXPECT_FLOAT_EQ(out[0], 1.0f);
    EXPECT_FLOAT_EQ(out[1], 0.0f);
    EXPECT_FLOAT_EQ(out[2], 0.2f);
    EXPECT_FLOAT_EQ(out[3], 0.4f);
}

} // namespace
} // namespace qop_test
