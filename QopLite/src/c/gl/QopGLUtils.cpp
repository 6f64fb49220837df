// Program groups, deletion, and the small GL helpers every pass uses.
#include "QopGLInternal.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cstddef>
#include <cstdint>

namespace {

// One program of a group: where its record lies in QopGLPrograms, its set-up, its two sources,
// and whether it follows the group's prewarm flag (false: never warmed).
struct ProgramEntry {
    size_t recordOffset;
    QopGLSetupFunction setup;
    const char *vertexSource;
    const char *fragmentSource;
    bool followsPrewarm;
};

// The record's programID is its first field, so the record and that field share one address.
GLuint *programSlot(QopGLData_t *glData, size_t recordOffset)
{
    return reinterpret_cast<GLuint *>(reinterpret_cast<unsigned char *>(&glData->glPrograms) + recordOffset);
}

constexpr ProgramEntry kIdentityShader[] = {
    {offsetof(QopGLPrograms, bitmapIdentityProgram), QopGLSetupBitmapIdentityProgram, VertexShader,
     BitmapIdentityFragmentShader, true},
};
constexpr ProgramEntry kBitmapBlendShaders[] = {
    {offsetof(QopGLPrograms, bitmapBlendProgram), QopGLSetupBitmapBlendProgram, VertexShader, BitmapBlendFragmentShader, true},
    {offsetof(QopGLPrograms, bitmapBlendOverlayProgram), QopGLSetupBitmapBlendOverlayProgram, VertexShader, BitmapBlendOverlayFragmentShader, true},
    {offsetof(QopGLPrograms, bitmapBlendOverlayReverseProgram), QopGLSetupBitmapBlendOverlayProgram, VertexShader, BitmapBlendOverlayReverseFragmentShader, true},
};
constexpr ProgramEntry kColorMapAndTransformShaders[] = {
    {offsetof(QopGLPrograms, colorTransformProgram), QopGLSetupColorTransformProgram, VertexShader, ColorTransformFragmentShader, true},
    {offsetof(QopGLPrograms, colorTransformAndOverlayWithOriginalProgram), QopGLSetupColorTransformAndOverlayWithOriginalProgram, VertexShader, ColorTransformAndOverlayWithOriginalFragmentShader, true},
    {offsetof(QopGLPrograms, colorMapProgram), QopGLSetupColorMapProgram, VertexShader, ColorMapFragmentShader, true},
    {offsetof(QopGLPrograms, colorBlendColorProgram), QopGLSetupColorBlendColorProgram, VertexShader, BitmapColorBlendColorFragmentShader, true},
};
constexpr ProgramEntry kIntensityMapShaders[] = {
    {offsetof(QopGLPrograms, intensityMapOverlayProgram), QopGLSetupIntensityMapProgram, VertexShader, IntensityMapOverlayFragmentShader, true},
    {offsetof(QopGLPrograms, intensityMapMultiplyProgram), QopGLSetupIntensityMapProgram, VertexShader, IntensityMapMultiplyFragmentShader, true},
    {offsetof(QopGLPrograms, intensityMapProgram), QopGLSetupIntensityMapProgram, VertexShader, IntensityMapFragmentShader, true},
};
constexpr ProgramEntry kEnhanceAndBlurShaders[] = {
    {offsetof(QopGLPrograms, autoEnhanceProgram), QopGlSetupAutoEnhanceProgram, VertexShader, AutoEnhanceFragmentShader, true},
    {offsetof(QopGLPrograms, horizontalBoxBlur3Program), QopGLSetupBoxBlurProgram, ConvolutionHorizontalBoxBlur3VertexShader, ConvolutionBoxBlur3FragmentShader, false},
    {offsetof(QopGLPrograms, horizontalBoxBlur5Program), QopGLSetupBoxBlurProgram, ConvolutionHorizontalBoxBlur5VertexShader, ConvolutionBoxBlur5FragmentShader, false},
    {offsetof(QopGLPrograms, horizontalBoxBlur7Program), QopGLSetupBoxBlurProgram, ConvolutionHorizontalBoxBlur7VertexShader, ConvolutionBoxBlur7FragmentShader, false},
    {offsetof(QopGLPrograms, verticalBoxBlur3Program), QopGLSetupBoxBlurProgram, ConvolutionVerticalBoxBlur3VertexShader, ConvolutionBoxBlur3FragmentShader, false},
    {offsetof(QopGLPrograms, verticalBoxBlur5Program), QopGLSetupBoxBlurProgram, ConvolutionVerticalBoxBlur5VertexShader, ConvolutionBoxBlur5FragmentShader, false},
    {offsetof(QopGLPrograms, verticalBoxBlur7Program), QopGLSetupBoxBlurProgram, ConvolutionVerticalBoxBlur7VertexShader, ConvolutionBoxBlur7FragmentShader, false},
    {offsetof(QopGLPrograms, sarnithClarityProgram), QopGLSetupSarnithClarityProgram, VertexShader, SarnithClarityFragmentShader, false},
    {offsetof(QopGLPrograms, gaussianBlurHorizontalProgram), QopGLSetupGaussianBlurProgram, ConvolutionHorizontalGaussian9VertexShader, ConvolutionGaussian9FragmentShader, false},
    {offsetof(QopGLPrograms, gaussianBlurVerticalProgram), QopGLSetupGaussianBlurProgram, ConvolutionVerticalGaussian9VertexShader, ConvolutionGaussian9FragmentShader, false},
};
constexpr ProgramEntry kLABShaders[] = {
    {offsetof(QopGLPrograms, labToRgbProgram), QopGlSetupLABToRBGProgram, VertexShader, LABToRGBFragmentShader, true},
    {offsetof(QopGLPrograms, rgbToLabProgram), QopGlSetupRGBToLABProgram, VertexShader, RGBToLABFragmentShader, true},
};
constexpr ProgramEntry kSpotAndDrawingToolShaders[] = {
    {offsetof(QopGLPrograms, drawingProgram), QopGLSetupDrawingProgram, DrawingVertexShader, DrawingFragmentShader, true},
    {offsetof(QopGLPrograms, bitmapDrawWithMaskProgram), QopGLSetupBitmapDrawWithMaskProgram, VertexShader, BitmapDrawWithMaskFragmentShader, true},
    {offsetof(QopGLPrograms, whitenProgram), QopGLSetupWhitenProgram, VertexShader, WhitenFragmentShader, true},
    {offsetof(QopGLPrograms, redeyeProgram), QopGLSetupRedeyeProgram, VertexShader, RedeyeFragmentShader, true},
};
constexpr ProgramEntry kFlareShaders1[] = {
    {offsetof(QopGLPrograms, flareBlobProgram), QopGLSetupFlareProgram, VertexShader, FlareBlobFragmentShader, true},
    {offsetof(QopGLPrograms, flareAngleGaussianProgram), QopGLSetupFlareProgram, VertexShader, FlareAngleGaussianFragmentShader, true},
    {offsetof(QopGLPrograms, flareGaussianThingProgram), QopGLSetupFlareProgram, VertexShader, FlareGaussianThingFragmentShader, true},
    {offsetof(QopGLPrograms, flareGaussianThing2Program), QopGLSetupFlareProgram, VertexShader, FlareGaussianThing2FragmentShader, true},
};
constexpr ProgramEntry kFlareShaders2[] = {
    {offsetof(QopGLPrograms, flareBlobOverlayProgram), QopGLSetupFlareProgram, VertexShader, FlareBlobOverlayFragmentShader, true},
    {offsetof(QopGLPrograms, flareBlob2Program), QopGLSetupFlareProgram, VertexShader, FlareBlob2FragmentShader, true},
    {offsetof(QopGLPrograms, flareBlob2OverlayProgram), QopGLSetupFlareProgram, VertexShader, FlareBlob2OverlayFragmentShader, true},
    {offsetof(QopGLPrograms, flareCornerflaresProgram), QopGLSetupFlareProgram, VertexShader, FlareCornerflaresFragmentShader, true},
};
constexpr ProgramEntry kFlareShaders3[] = {
    {offsetof(QopGLPrograms, flareCornerflaresOverlayProgram), QopGLSetupFlareProgram, VertexShader, FlareCornerflaresOverlayFragmentShader, true},
    {offsetof(QopGLPrograms, flareGaussianThing3OverlayProgram), QopGLSetupFlareProgram, VertexShader, FlareGaussianThing3OverlayFragmentShader, true},
    {offsetof(QopGLPrograms, flareFallbackProgram), QopGLSetupFlareProgram, VertexShader, FlareFragmentShader, true},
};
constexpr ProgramEntry kVignetteShaders[] = {
    {offsetof(QopGLPrograms, borderVignetteProgram), QopGlSetupBorderVignetteProgram, VertexShader, BordersVignetteFragmentShader, true},
    {offsetof(QopGLPrograms, borderVignetteOverlayProgram), QopGlSetupBorderVignetteProgram, VertexShader, BordersVignetteOverlayFragmentShader, true},
    {offsetof(QopGLPrograms, borderVignetteMultiplyProgram), QopGlSetupBorderVignetteProgram, VertexShader, BordersVignetteMultiplyFragmentShader, true},
};
constexpr ProgramEntry kBorderShaders[] = {
    {offsetof(QopGLPrograms, borderThetaProgram), QopGlSetupBorderThetaProgram, VertexShader, BordersThetaFragmentShader, true},
    {offsetof(QopGLPrograms, borderSideProgram), QopGlSetupBorderSideProgram, BorderSideVertexShader, BorderSideFragmentShader, true},
};
constexpr ProgramEntry kGradientShaders[] = {
    {offsetof(QopGLPrograms, gradientProgram), QopGLSetupGrandientProgram, VertexShader, GradientFragmentShader, true},
    {offsetof(QopGLPrograms, gradientOverlayProgram), QopGLSetupGrandientProgram, VertexShader, GradientOverlayFragmentShader, true},
    {offsetof(QopGLPrograms, gradientLinearVignetteProgram), QopGLSetupGrandientProgram, VertexShader, GradientLinearVignetteFragmentShader, true},
};
constexpr ProgramEntry kMiscellaneousShaders1[] = {
    {offsetof(QopGLPrograms, dotMatrixProgram), QopGlSetupDotMatrixProgram, DotMatrixVertexShader, DotMatrixFragmentShader, true},
    {offsetof(QopGLPrograms, ringFlareProgram), QopGlSetupRingFlareProgram, VertexShader, RingFlareFragmentShader, true},
    {offsetof(QopGLPrograms, lineProgram), QopGlSetupLineProgram, LineVertexShader, LineFragmentShader, true},
};
constexpr ProgramEntry kMiscellaneousShaders2[] = {
    {offsetof(QopGLPrograms, noiseProgram), QopGlSetupNoiseProgram, VertexShader, NoiseFragmentShader, true},
    {offsetof(QopGLPrograms, basicDotsProgram), QopGlSetupBasicDotsProgram, BasicDotsVertexShader, DotMatrixFragmentShader, true},
    {offsetof(QopGLPrograms, hardRandProgram), QopGlSetupHardRandProgram, VertexShader, BordersHardRandFragmentShader, true},
};
constexpr ProgramEntry kSarnithSpecificShaders1[] = {
    {offsetof(QopGLPrograms, stilbrushSatBWOverlayProgram), QopGLSetupStilbrushSatBWProgram, VertexShader, SarnithStilbrushSatBWOverlayShader, true},
    {offsetof(QopGLPrograms, grittyDotsProgram), QopGLSetupGrittyDotsProgram, VertexShader, SarnithGrittyDotsFragmentShader, true},
    {offsetof(QopGLPrograms, stilbrushSatBWProgram), QopGLSetupStilbrushSatBWProgram, VertexShader, SarnithStilbrushSatBWShader, true},
};
constexpr ProgramEntry kMaskShaders[] = {
    {offsetof(QopGLPrograms, maskLinearProgram), QopGLSetupMaskLinearProgram, VertexShader, MaskLinearFragmentShader, true},
    {offsetof(QopGLPrograms, maskRadialProgram), QopGLSetupMaskRadialProgram, VertexShader, MaskRadialFragmentShader, true},
};

// Every program slot of the record, for deletion (the histogram record is never loaded).
constexpr size_t kProgramSlots[] = {
    offsetof(QopGLPrograms, bitmapIdentityProgram),
    offsetof(QopGLPrograms, colorTransformProgram),
    offsetof(QopGLPrograms, colorMapProgram),
    offsetof(QopGLPrograms, flareBlobProgram),
    offsetof(QopGLPrograms, flareAngleGaussianProgram),
    offsetof(QopGLPrograms, flareGaussianThingProgram),
    offsetof(QopGLPrograms, flareGaussianThing2Program),
    offsetof(QopGLPrograms, bitmapBlendProgram),
    offsetof(QopGLPrograms, histogramProgram),
    offsetof(QopGLPrograms, borderVignetteProgram),
    offsetof(QopGLPrograms, borderThetaProgram),
    offsetof(QopGLPrograms, borderSideProgram),
    offsetof(QopGLPrograms, dotMatrixProgram),
    offsetof(QopGLPrograms, ringFlareProgram),
    offsetof(QopGLPrograms, lineProgram),
    offsetof(QopGLPrograms, noiseProgram),
    offsetof(QopGLPrograms, basicDotsProgram),
    offsetof(QopGLPrograms, hardRandProgram),
    offsetof(QopGLPrograms, autoEnhanceProgram),
    offsetof(QopGLPrograms, rgbToLabProgram),
    offsetof(QopGLPrograms, labToRgbProgram),
    offsetof(QopGLPrograms, bitmapDrawWithMaskProgram),
    offsetof(QopGLPrograms, whitenProgram),
    offsetof(QopGLPrograms, redeyeProgram),
    offsetof(QopGLPrograms, drawingProgram),
    offsetof(QopGLPrograms, borderVignetteOverlayProgram),
    offsetof(QopGLPrograms, flareBlobOverlayProgram),
    offsetof(QopGLPrograms, bitmapBlendOverlayProgram),
    offsetof(QopGLPrograms, colorTransformAndOverlayWithOriginalProgram),
    offsetof(QopGLPrograms, grittyDotsProgram),
    offsetof(QopGLPrograms, stilbrushSatBWProgram),
    offsetof(QopGLPrograms, sarnithClarityProgram),
    offsetof(QopGLPrograms, flareBlob2Program),
    offsetof(QopGLPrograms, flareBlob2OverlayProgram),
    offsetof(QopGLPrograms, flareCornerflaresProgram),
    offsetof(QopGLPrograms, flareCornerflaresOverlayProgram),
    offsetof(QopGLPrograms, flareGaussianThing3OverlayProgram),
    offsetof(QopGLPrograms, intensityMapOverlayProgram),
    offsetof(QopGLPrograms, intensityMapMultiplyProgram),
    offsetof(QopGLPrograms, borderVignetteMultiplyProgram),
    offsetof(QopGLPrograms, colorBlendColorProgram),
    offsetof(QopGLPrograms, stilbrushSatBWOverlayProgram),
    offsetof(QopGLPrograms, bitmapBlendOverlayReverseProgram),
    offsetof(QopGLPrograms, gradientProgram),
    offsetof(QopGLPrograms, gradientLinearVignetteProgram),
    offsetof(QopGLPrograms, gradientOverlayProgram),
    offsetof(QopGLPrograms, flareFallbackProgram),
    offsetof(QopGLPrograms, intensityMapProgram),
    offsetof(QopGLPrograms, maskLinearProgram),
    offsetof(QopGLPrograms, maskRadialProgram),
    offsetof(QopGLPrograms, redrawWithMaskProgram),
    offsetof(QopGLPrograms, maskDotsProgram),
    offsetof(QopGLPrograms, colorSplashAutoProgram),
    offsetof(QopGLPrograms, horizontalBoxBlur3Program),
    offsetof(QopGLPrograms, verticalBoxBlur3Program),
    offsetof(QopGLPrograms, horizontalBoxBlur5Program),
    offsetof(QopGLPrograms, verticalBoxBlur5Program),
    offsetof(QopGLPrograms, horizontalBoxBlur7Program),
    offsetof(QopGLPrograms, verticalBoxBlur7Program),
    offsetof(QopGLPrograms, gaussianBlurHorizontalProgram),
    offsetof(QopGLPrograms, gaussianBlurVerticalProgram),
};
// The record order is interface (the GL manager and instances store and pass these records).
static_assert(sizeof kProgramSlots / sizeof kProgramSlots[0] == 61, "QopGLPrograms holds 61 program records");
static_assert(sizeof(Vertex) == 20, "a quad vertex is 5 packed floats (stride 20)");
static_assert(offsetof(QopGLPrograms, gaussianBlurVerticalProgram) + sizeof(QopGLGaussianBlurProgram_t) ==
                  sizeof(QopGLPrograms),
              "the Gaussian vertical record closes QopGLPrograms");

template <size_t N>
bool loadGroup(QopGLData_t *glData, const ProgramEntry (&group)[N], bool prewarm)
{
    QopGLBeginGLActionsANDPauseExecutionIfNecessary(glData);
    for (const ProgramEntry &entry : group)
        QopGLLoadShaderProgramIfNecessary(programSlot(glData, entry.recordOffset), entry.setup, entry.vertexSource,
                                          entry.fragmentSource, glData, entry.followsPrewarm && prewarm);
    QopGLFinishAndPauseExecutionIfNecessary(glData);
    qopgl::endGLActions(glData);
    return glData->state == QopGLStateOk;
}

} // namespace

extern "C" {

bool QopGLLoadIdentityShader(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kIdentityShader, prewarm);
}

bool QopGLLoadBitmapBlendShaders(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kBitmapBlendShaders, prewarm);
}

bool QopGLLoadColorMapAndTransformShaders(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kColorMapAndTransformShaders, prewarm);
}

bool QopGLLoadIntensityMapShaders(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kIntensityMapShaders, prewarm);
}

bool QopGLLoadEnhanceAndBlurShaders(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kEnhanceAndBlurShaders, prewarm);
}

bool QopGLLoadLABShaders(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kLABShaders, prewarm);
}

bool QopGLLoadSpotAndDrawingToolShaders(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kSpotAndDrawingToolShaders, prewarm);
}

bool QopGLLoadFlareShaders1(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kFlareShaders1, prewarm);
}

bool QopGLLoadFlareShaders2(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kFlareShaders2, prewarm);
}

bool QopGLLoadFlareShaders3(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kFlareShaders3, prewarm);
}

bool QopGLLoadVignetteShaders(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kVignetteShaders, prewarm);
}

bool QopGLLoadBorderShaders(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kBorderShaders, prewarm);
}

bool QopGLLoadGradientShaders(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kGradientShaders, prewarm);
}

bool QopGLLoadMiscellaneousShaders1(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kMiscellaneousShaders1, prewarm);
}

bool QopGLLoadMiscellaneousShaders2(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kMiscellaneousShaders2, prewarm);
}

bool QopGLLoadSarnithSpecificShaders1(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kSarnithSpecificShaders1, prewarm);
}

bool QopGLLoadMaskShaders(QopGLData_t *glData, bool prewarm)
{
    return loadGroup(glData, kMaskShaders, prewarm);
}
bool QopGLHardLoadAllShaders(QopGLData_t *glData, bool prewarm)
{
    static constexpr QopGLPrewarmFunction kLoaders[] = {
        QopGLLoadIdentityShader,
        QopGLLoadBitmapBlendShaders,
        QopGLLoadColorMapAndTransformShaders,
        QopGLLoadIntensityMapShaders,
        QopGLLoadEnhanceAndBlurShaders,
        QopGLLoadLABShaders,
        QopGLLoadSpotAndDrawingToolShaders,
        QopGLLoadFlareShaders1,
        QopGLLoadFlareShaders2,
        QopGLLoadFlareShaders3,
        QopGLLoadVignetteShaders,
        QopGLLoadBorderShaders,
        QopGLLoadGradientShaders,
        QopGLLoadMiscellaneousShaders1,
        QopGLLoadMiscellaneousShaders2,
        QopGLLoadSarnithSpecificShaders1,
        QopGLLoadMaskShaders,
    };
    for (QopGLPrewarmFunction loader : kLoaders)
        loader(glData, prewarm);
    return glData->state == QopGLStateOk;
}

bool QopGLLoadAllShaders(QopGLData_t *glData, bool shouldPrewarm)
{
    struct timeval start, end;
    gettimeofday(&start, nullptr);
    const bool loaded = QopGLHardLoadAllShaders(glData, shouldPrewarm);
    gettimeofday(&end, nullptr);
    return loaded;
}

void QopGLDeleteAllShaders(QopGLData_t *glData)
{
    for (size_t offset : kProgramSlots)
        QopGLUnloadShaderProgramIfNecessary(programSlot(glData, offset));
}

void QopGLFillFloatColorWithQopColorVals(float floatColor[4], const QopColor_rgba *color)
{
    floatColor[0] = color->r / 255.0f;
    floatColor[1] = color->g / 255.0f;
    floatColor[2] = color->b / 255.0f;
    floatColor[3] = color->a / 255.0f;
}

void QopGLSetCurrentlyBoundTexture2DProperties(GLint min_filter, GLint mag_filter, GLint wrap_s, GLint wrap_t)
{
    QopGLSetCurrentlyBoundTexture2DWrapProperties(wrap_s, wrap_t);
    QopGLSetCurrentlyBoundTexture2DFilterProperties(min_filter, mag_filter);
}

void QopGLSetCurrentlyBoundTexture2DWrapProperties(GLint wrap_s, GLint wrap_t)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap_s);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap_t);
}

void QopGLSetCurrentlyBoundTexture2DFilterProperties(GLint min_filter, GLint mag_filter)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag_filter);
}

int timeval_subtract(struct timeval *result, const struct timeval *t2, const struct timeval *t1)
{
    // 32-bit microseconds, wrapping as the original arithmetic does (about 35 minutes either way)
    // but without signed overflow.
    const uint32_t t2us = static_cast<uint32_t>(t2->tv_sec) * 1000000u + static_cast<uint32_t>(t2->tv_usec);
    const uint32_t t1us = static_cast<uint32_t>(t1->tv_sec) * 1000000u + static_cast<uint32_t>(t1->tv_usec);
    const int32_t diff = static_cast<int32_t>(t2us - t1us);
    result->tv_sec = diff / 1000000;
    result->tv_usec = diff % 1000000;
    return diff < 0;
}

}
