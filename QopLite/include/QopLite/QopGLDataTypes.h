/* QopGLDataTypes.h: the plain types of the GPU library: the enumerations stored and passed by the
 * GL manager and GL instances, the quad vertex, and the 61 shader-program records held in the GPU
 * record. Record layouts are interface: every record starts with programID, continues with one
 * location per looked-up uniform or attribute (GLint values kept as GLuint, so -1 reads as
 * 0xFFFFFFFF) and ends with the slots every program shares. */
#pragma once

#include <GLES2/gl2.h>

#include <stdbool.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum QopGLRenderingMode {
    QopGLRenderingModeOverwriteOriginal = 0,
    QopGLRenderingModeDefault = 1,
    QopGLRenderingModeReadSourceWriteNone = 2,
    QopGLRenderingModeReadLastWriteNone = 3,
    QopGLRenderingModeReadLastWriteTarget = 4
} QopGLRenderingMode;

/* Multiplies the tile count of every pass. */
typedef enum QopGLDeviceGPUSpeed {
    QopGLDeviceGPUSpeedFast = 1,
    QopGLDeviceGPUSpeedMedium = 2,
    QopGLDeviceGPUSpeedSlow = 3
} QopGLDeviceGPUSpeed;

typedef enum QopGLImageOrientation {
    QopGLImageOrientationUp = 0,
    QopGLImageOrientationDown = 1,
    QopGLImageOrientationLeft = 2,
    QopGLImageOrientationRight = 3
} QopGLImageOrientation;

/* Client format of uploaded pixels; textures are always stored as GL_RGBA. */
typedef enum QopGLImagePixelFormat {
    QopGLImagePixelFormatRGBA = 6408,  /* GL_RGBA */
    QopGLImagePixelFormatBGRA = 32993  /* GL_BGRA */
} QopGLImagePixelFormat;

/* The GL blend state of one pass (see QopGLStartRender). */
typedef enum QopGLBlendMode {
    QopGLBlendModeNone = 0,
    QopGLBlendModeNormal = 1,
    QopGLBlendModeOverlay = 2,
    QopGLBlendModePremultipliedAlpha = 3,
    QopGLBlendModeDrawOver = 4,
    QopGLBlendModeDrawBehind = 5,
    QopGLBlendModeNoneDontClear = 6
} QopGLBlendMode;

/* The failure latch: once Failed, every pass returns without drawing until the next initialise. */
typedef enum QopGLState {
    QopGLStateOk = 0,
    QopGLStateFailed = 1
} QopGLState;

/* One corner of a quad: clip-space position, then texture coordinate. 20 bytes, no padding. */
typedef struct Vertex {
    float Position[3];
    float Tex[2];
} Vertex;

/* Slots every program record ends with. amountSlot is never looked up and stays 0. */
typedef struct QopGLSharedUniformsAndAttribs {
    GLuint positionSlot;  /* attribute "a_position" */
    GLuint texCoordSlot;  /* attribute "a_texCoord" */
    GLuint samplerSlot;   /* uniform "u_sampler" */
    GLuint amountSlot;
    GLuint blendModeSlot; /* uniform "u_blendMode" */
} QopGLSharedUniformsAndAttribs;
typedef QopGLSharedUniformsAndAttribs QopGLSharedUniformsAndAttribs_t;

/* Program records. Own slots are named after the uniform or attribute they hold, its prefix
 * dropped (the name looked up is given where it differs). */
typedef struct QopGLBitmapIdentityProgram {
    GLuint programID;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLBitmapIdentityProgram;
typedef QopGLBitmapIdentityProgram QopGLBitmapIdentityProgram_t;

typedef struct QopGLRGBToLABProgram {
    GLuint programID;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLRGBToLABProgram;
typedef QopGLRGBToLABProgram QopGLRGBToLABProgram_t;

typedef struct QopGLRedeyeProgram {
    GLuint programID;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLRedeyeProgram;
typedef QopGLRedeyeProgram QopGLRedeyeProgram_t;

typedef struct QopGLColorTransformProgram {
    GLuint programID;
    GLuint colorMatSlot;
    GLuint colorTransSlot;
    GLuint colorTransformAmountSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLColorTransformProgram;
typedef QopGLColorTransformProgram QopGLColorTransformProgram_t;

typedef struct QopGLColorTransformAndOverlayWithOriginalProgram {
    GLuint programID;
    GLuint colorMatSlot;
    GLuint colorTransSlot;
    GLuint colorTransformAmountSlot;
    GLuint overlayAmountSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLColorTransformAndOverlayWithOriginalProgram;
typedef QopGLColorTransformAndOverlayWithOriginalProgram QopGLColorTransformAndOverlayWithOriginalProgram_t;

typedef struct QopGLColorMapProgram {
    GLuint programID;
    GLuint colorMapSamplerSlot;
    GLuint colorMapAmountSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLColorMapProgram;
typedef QopGLColorMapProgram QopGLColorMapProgram_t;

typedef struct QopGLIntensityMapProgram {
    GLuint programID;
    GLuint colorMapSamplerSlot;
    GLuint colorMapAmountSlot;
    GLuint intensitySlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLIntensityMapProgram;
typedef QopGLIntensityMapProgram QopGLIntensityMapProgram_t;

typedef struct QopGLColorBlendColorProgram {
    GLuint programID;
    GLuint blendColorSlot;
    GLuint blendAmountSlot;
    GLuint blendColorAlphaSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLColorBlendColorProgram;
typedef QopGLColorBlendColorProgram QopGLColorBlendColorProgram_t;

typedef struct QopGLFlareProgram {
    GLuint programID;
    GLuint scaleDiffxSlot;
    GLuint scaleDiffySlot;
    GLuint onePlusDxTimesCenterCoordSlot;
    GLuint flareColorSlot;
    GLuint minEXPSlot;
    GLuint maxEXPSlot;
    GLuint aFSlot;
    GLuint flareAmountSlot;
    GLuint flareTypeSlot;
    GLuint blendModeSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLFlareProgram;
typedef QopGLFlareProgram QopGLFlareProgram_t;

typedef struct QopGLBitmapBlendProgram {
    GLuint programID;
    GLuint srcSamplerSlot;
    GLuint dstSamplerSlot; /* never looked up; stays 0 */
    GLuint srcAmountSlot;
    GLuint dstAmountSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLBitmapBlendProgram;
typedef QopGLBitmapBlendProgram QopGLBitmapBlendProgram_t;

typedef struct QopGLBitmapBlendOverlayProgram {
    GLuint programID;
    GLuint srcSamplerSlot;
    GLuint dstSamplerSlot; /* never looked up; stays 0 */
    GLuint factorSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLBitmapBlendOverlayProgram;
typedef QopGLBitmapBlendOverlayProgram QopGLBitmapBlendOverlayProgram_t;

typedef struct QopGLBorderVignetteProgram {
    GLuint programID;
    GLuint vignetteScaleSlot;
    GLuint widthSlot;
    GLuint heightSlot;
    GLuint blendModeSlot; /* "u_blend" */
    GLuint vignetteColorSlot;
    GLuint shouldStrecthSlot; /* "u_shouldStretch" */
    GLuint shapeModeSlot;
    GLuint dx_2Slot;
    GLuint dy_2Slot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLBorderVignetteProgram;
typedef QopGLBorderVignetteProgram QopGLBorderVignetteProgram_t;

typedef struct QopGLBorderThetaProgram {
    GLuint programID;
    GLuint dwSlot;
    GLuint rFactorSlot;
    GLuint widthSlot;
    GLuint heightSlot;
    GLuint borderStyleSlot;
    GLuint borderColorSlot;
    GLuint linesScaleSlot;
    GLuint dotScaleSlot;
    GLuint offsetLSlot;
    GLuint offsetRSlot;
    GLuint offsetTSlot;
    GLuint offsetBSlot;
    GLuint offsetXSlot;
    GLuint offsetYSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLBorderThetaProgram;
typedef QopGLBorderThetaProgram QopGLBorderThetaProgram_t;

typedef struct QopGLBorderSideProgram {
    GLuint programID;
    GLuint borderColorSlot;
    GLuint positionSlot;
    GLuint alphaSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLBorderSideProgram;
typedef QopGLBorderSideProgram QopGLBorderSideProgram_t;

typedef struct QopGLDotMatrixProgram {
    GLuint programID;
    GLuint dotSamplerSlot;
    GLuint positionSlot;
    GLuint pointSizeSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLDotMatrixProgram;
typedef QopGLDotMatrixProgram QopGLDotMatrixProgram_t;

typedef struct QopGLBasicDotsProgram {
    GLuint programID;
    GLuint dotSamplerSlot;
    GLuint positionSlot;
    GLuint pointSizeSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLBasicDotsProgram;
typedef QopGLBasicDotsProgram QopGLBasicDotsProgram_t;

typedef struct QopGLRingFlareProgram {
    GLuint programID;
    GLuint dr22Slot;
    GLuint dr12Slot;
    GLuint daaSlot;
    GLuint avgDSlot;
    GLuint bASlot;
    GLuint heightSlot;
    GLuint widthSlot;
    GLuint xCenterSlot;
    GLuint yCenterSlot;
    GLuint colorSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLRingFlareProgram;
typedef QopGLRingFlareProgram QopGLRingFlareProgram_t;

typedef struct QopGLLineProgram {
    GLuint programID;
    GLuint positionSlot;
    GLuint imagePosSlot;
    GLuint nHatxSlot;
    GLuint nHatySlot;
    GLuint x1Slot;
    GLuint y1Slot;
    GLuint x2Slot;
    GLuint y2Slot;
    GLuint rSlot;
    GLuint r2Slot;
    GLuint dAASlot;
    GLuint bASlot;
    GLuint r2AASlot;
    GLuint colorSlot;
    GLuint vLength2Slot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLLineProgram;
typedef QopGLLineProgram QopGLLineProgram_t;

typedef struct QopGLNoiseProgram {
    GLuint programID;
    GLuint randomSeedSlot;
    GLuint intensitySlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLNoiseProgram;
typedef QopGLNoiseProgram QopGLNoiseProgram_t;

typedef struct QopGLHardRandBorderProgram {
    GLuint programID;
    GLuint linesSamplerSlot;
    GLuint heightSlot;
    GLuint widthSlot;
    GLuint widthTexCoordMultSlot;
    GLuint heightTexCoordMultSlot;
    GLuint h2Slot;
    GLuint w2Slot;
    GLuint offsetSlot;
    GLuint dwSlot;
    GLuint colorSlot;
    GLuint scaleSlot;
    GLuint floatMultSlot;
    GLuint floatTransSlot;
    GLuint randomSeedSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLHardRandBorderProgram;
typedef QopGLHardRandBorderProgram QopGLHardRandBorderProgram_t;

typedef struct QopGLAutoEnhanceProgram {
    GLuint programID;
    GLuint mapFactorSamplerSlot;
    GLuint gainSlot;
    GLuint rScaleSlot;
    GLuint gScaleSlot;
    GLuint bScaleSlot;
    GLuint rMinSlot;
    GLuint gMinSlot;
    GLuint bMinSlot;
    GLuint floatMultSlot;
    GLuint floatTransSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLAutoEnhanceProgram;
typedef QopGLAutoEnhanceProgram QopGLAutoEnhanceProgram_t;

typedef struct QopGLLABToRGBProgram {
    GLuint programID;
    GLuint scaleASlot;
    GLuint scaleBSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLLABToRGBProgram;
typedef QopGLLABToRGBProgram QopGLLABToRGBProgram_t;

typedef struct QopGLBitmapDrawWithMaskProgram {
    GLuint programID;
    GLuint maskSamplerSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLBitmapDrawWithMaskProgram;
typedef QopGLBitmapDrawWithMaskProgram QopGLBitmapDrawWithMaskProgram_t;

typedef struct QopGLWhitenProgram {
    GLuint programID;
    GLuint maskSamplerSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLWhitenProgram;
typedef QopGLWhitenProgram QopGLWhitenProgram_t;

typedef struct QopGLDrawingProgram {
    GLuint programID;
    GLuint colorSlot;
    GLuint positionSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLDrawingProgram;
typedef QopGLDrawingProgram QopGLDrawingProgram_t;

typedef struct QopGLGrittyDotsProgram {
    GLuint programID;
    GLuint widthSlot;
    GLuint heightSlot;
    GLuint alphaSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLGrittyDotsProgram;
typedef QopGLGrittyDotsProgram QopGLGrittyDotsProgram_t;

typedef struct QopGLStilbrushSatBWProgram {
    GLuint programID;
    GLuint transitionWidthSlot;
    GLuint regionWidthSlot;
    GLuint weightsSlot;
    GLuint saturationModeSlot;
    GLuint alphaSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLStilbrushSatBWProgram;
typedef QopGLStilbrushSatBWProgram QopGLStilbrushSatBWProgram_t;

typedef struct QopGLSarnithClarityProgram {
    GLuint programID;
    GLuint avgImgSamplerSlot;
    GLuint effectedAvgImgSamplerSlot;
    GLuint gainSlot;
    GLuint sharpenAmountSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLSarnithClarityProgram;
typedef QopGLSarnithClarityProgram QopGLSarnithClarityProgram_t;

typedef struct QopGLGradientProgram {
    GLuint programID;
    GLuint widthSlot;
    GLuint heightSlot;
    GLuint scaleSlot;
    GLuint xCenterSlot;
    GLuint yCenterSlot;
    GLuint dx_2Slot;
    GLuint dy_2Slot;
    GLuint denomISlot;
    GLuint alphaBlendSlot;
    GLuint shapeModeSlot;
    GLuint vignetteShapeSlot;
    GLuint angleCosSlot;
    GLuint angleSinSlot;
    GLuint gradientMapSlot;
    GLuint blendModeSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLGradientProgram;
typedef QopGLGradientProgram QopGLGradientProgram_t;

typedef struct QopGLMaskLinearProgram {
    GLuint programID;
    GLuint centerPointSlot;
    GLuint sigmaR2Slot;
    GLuint widthSlot;
    GLuint heightSlot;
    GLuint normXSlot;
    GLuint normYSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLMaskLinearProgram;
typedef QopGLMaskLinearProgram QopGLMaskLinearProgram_t;

typedef struct QopGLMaskRadialProgram {
    GLuint programID;
    GLuint centerPointSlot;
    GLuint sigmaR2Slot;
    GLuint widthSlot;
    GLuint heightSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLMaskRadialProgram;
typedef QopGLMaskRadialProgram QopGLMaskRadialProgram_t;

typedef struct QopGLRedrawWithMaskProgram {
    GLuint programID;
    GLuint maskSamplerSlot;
    GLuint sourceSamplerSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLRedrawWithMaskProgram;
typedef QopGLRedrawWithMaskProgram QopGLRedrawWithMaskProgram_t;

typedef struct QopGLMaskDotsProgram {
    GLuint programID;
    GLuint positionSlot;
    GLuint pointSizeSlot;
    GLuint radiusSlot;
    GLuint widthSlot;
    GLuint heightSlot;
    GLuint alphaSlot;
    GLuint dEdgeSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLMaskDotsProgram;
typedef QopGLMaskDotsProgram QopGLMaskDotsProgram_t;

typedef struct QopGLColorSplashAutoProgram {
    GLuint programID;
    GLuint positionSlot;
    GLuint pointSizeSlot;
    GLuint radiusSlot;
    GLuint widthSlot;
    GLuint heightSlot;
    GLuint alphaSlot;
    GLuint dEdgeSlot;
    GLuint lSlot;
    GLuint aSlot;
    GLuint bSlot;
    GLuint sigmaCSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLColorSplashAutoProgram;
typedef QopGLColorSplashAutoProgram QopGLColorSplashAutoProgram_t;

typedef struct QopGLBoxBlurProgram {
    GLuint programID;
    GLuint texelStrideSlot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLBoxBlurProgram;
typedef QopGLBoxBlurProgram QopGLBoxBlurProgram_t;

typedef struct QopGLGaussianBlurProgram {
    GLuint programID;
    GLuint texelStrideSlot;
    GLuint weight0Slot;
    GLuint weight1Slot;
    GLuint weight2Slot;
    GLuint weight3Slot;
    GLuint weight4Slot;
    QopGLSharedUniformsAndAttribs_t sharedUnisAndAttribs;
} QopGLGaussianBlurProgram;
typedef QopGLGaussianBlurProgram QopGLGaussianBlurProgram_t;
/* The histogram record has no shared slots and no loader loads it. */
typedef struct QopGLHistogramProgram {
    GLuint programID;
    GLuint positionSlot;      /* "a_position" */
    GLuint pixelLocationSlot; /* "a_pixelLocation" */
    GLuint sizeSlot;          /* "u_size" */
    GLuint framebuffer;
    GLuint backingTexture;
} QopGLHistogramProgram;
typedef QopGLHistogramProgram QopGLHistogramProgram_t;

/* All program records of a GPU record, in their fixed order. */
typedef struct QopGLPrograms {
    GLuint program; /* never set */
    QopGLBitmapIdentityProgram_t bitmapIdentityProgram;
    QopGLColorTransformProgram_t colorTransformProgram;
    QopGLColorMapProgram_t colorMapProgram;
    QopGLFlareProgram_t flareBlobProgram;
    QopGLFlareProgram_t flareAngleGaussianProgram;
    QopGLFlareProgram_t flareGaussianThingProgram;
    QopGLFlareProgram_t flareGaussianThing2Program;
    QopGLBitmapBlendProgram_t bitmapBlendProgram;
    QopGLHistogramProgram_t histogramProgram;
    QopGLBorderVignetteProgram_t borderVignetteProgram;
    QopGLBorderThetaProgram_t borderThetaProgram;
    QopGLBorderSideProgram_t borderSideProgram;
    QopGLDotMatrixProgram_t dotMatrixProgram;
    QopGLRingFlareProgram_t ringFlareProgram;
    QopGLLineProgram_t lineProgram;
    QopGLNoiseProgram_t noiseProgram;
    QopGLBasicDotsProgram_t basicDotsProgram;
    QopGLHardRandBorderProgram_t hardRandProgram;
    QopGLAutoEnhanceProgram_t autoEnhanceProgram;
    QopGLRGBToLABProgram_t rgbToLabProgram;
    QopGLLABToRGBProgram_t labToRgbProgram;
    QopGLBitmapDrawWithMaskProgram_t bitmapDrawWithMaskProgram;
    QopGLWhitenProgram_t whitenProgram;
    QopGLRedeyeProgram_t redeyeProgram;
    QopGLDrawingProgram_t drawingProgram;
    QopGLBorderVignetteProgram_t borderVignetteOverlayProgram;
    QopGLFlareProgram_t flareBlobOverlayProgram;
    QopGLBitmapBlendOverlayProgram_t bitmapBlendOverlayProgram;
    QopGLColorTransformAndOverlayWithOriginalProgram_t colorTransformAndOverlayWithOriginalProgram;
    QopGLGrittyDotsProgram_t grittyDotsProgram;
    QopGLStilbrushSatBWProgram_t stilbrushSatBWProgram;
    QopGLSarnithClarityProgram_t sarnithClarityProgram;
    QopGLFlareProgram_t flareBlob2Program;
    QopGLFlareProgram_t flareBlob2OverlayProgram;
    QopGLFlareProgram_t flareCornerflaresProgram;
    QopGLFlareProgram_t flareCornerflaresOverlayProgram;
    QopGLFlareProgram_t flareGaussianThing3OverlayProgram;
    QopGLIntensityMapProgram_t intensityMapOverlayProgram;
    QopGLIntensityMapProgram_t intensityMapMultiplyProgram;
    QopGLBorderVignetteProgram_t borderVignetteMultiplyProgram;
    QopGLColorBlendColorProgram_t colorBlendColorProgram;
    QopGLStilbrushSatBWProgram_t stilbrushSatBWOverlayProgram;
    QopGLBitmapBlendOverlayProgram_t bitmapBlendOverlayReverseProgram;
    QopGLGradientProgram_t gradientProgram;
    QopGLGradientProgram_t gradientLinearVignetteProgram;
    QopGLGradientProgram_t gradientOverlayProgram;
    QopGLFlareProgram_t flareFallbackProgram;
    QopGLIntensityMapProgram_t intensityMapProgram;
    QopGLMaskLinearProgram_t maskLinearProgram;
    QopGLMaskRadialProgram_t maskRadialProgram;
    QopGLRedrawWithMaskProgram_t redrawWithMaskProgram;
    QopGLMaskDotsProgram_t maskDotsProgram;
    QopGLColorSplashAutoProgram_t colorSplashAutoProgram;
    QopGLBoxBlurProgram_t horizontalBoxBlur3Program;
    QopGLBoxBlurProgram_t verticalBoxBlur3Program;
    QopGLBoxBlurProgram_t horizontalBoxBlur5Program;
    QopGLBoxBlurProgram_t verticalBoxBlur5Program;
    QopGLBoxBlurProgram_t horizontalBoxBlur7Program;
    QopGLBoxBlurProgram_t verticalBoxBlur7Program;
    QopGLGaussianBlurProgram_t gaussianBlurHorizontalProgram;
    QopGLGaussianBlurProgram_t gaussianBlurVerticalProgram;
} QopGLPrograms;typedef QopGLPrograms QopGLPrograms_t;

/* Runs once on a freshly linked program: makes it current, stores its name in the record (program
 * points at the record, whose first field is programID), fills the shared slots and looks up the
 * record's own names. */
typedef void (*QopGLSetupFunction)(GLuint programID, void *program);

void QopGLSetupBitmapIdentityProgram(GLuint programID, void *program);
void QopGLSetupColorTransformProgram(GLuint programID, void *program);
void QopGLSetupColorMapProgram(GLuint programID, void *program);
void QopGLSetupFlareProgram(GLuint programID, void *program);
void QopGLSetupBitmapBlendProgram(GLuint programID, void *program);
void QopGlSetupHistogramProgram(GLuint programID, void *program);
void QopGlSetupBorderVignetteProgram(GLuint programID, void *program);
void QopGlSetupBorderThetaProgram(GLuint programID, void *program);
void QopGlSetupBorderSideProgram(GLuint programID, void *program);
void QopGlSetupDotMatrixProgram(GLuint programID, void *program);
void QopGlSetupRingFlareProgram(GLuint programID, void *program);
void QopGlSetupLineProgram(GLuint programID, void *program);
void QopGlSetupNoiseProgram(GLuint programID, void *program);
void QopGlSetupBasicDotsProgram(GLuint programID, void *program);
void QopGlSetupHardRandProgram(GLuint programID, void *program);
void QopGlSetupAutoEnhanceProgram(GLuint programID, void *program);
void QopGlSetupRGBToLABProgram(GLuint programID, void *program);
void QopGlSetupLABToRBGProgram(GLuint programID, void *program);
void QopGLSetupBitmapDrawWithMaskProgram(GLuint programID, void *program);
void QopGLSetupWhitenProgram(GLuint programID, void *program);
void QopGLSetupRedeyeProgram(GLuint programID, void *program);
void QopGLSetupDrawingProgram(GLuint programID, void *program);
void QopGLSetupBitmapBlendOverlayProgram(GLuint programID, void *program);
void QopGLSetupColorTransformAndOverlayWithOriginalProgram(GLuint programID, void *program);
void QopGLSetupGrittyDotsProgram(GLuint programID, void *program);
void QopGLSetupStilbrushSatBWProgram(GLuint programID, void *program);
void QopGLSetupSarnithClarityProgram(GLuint programID, void *program);
void QopGLSetupIntensityMapProgram(GLuint programID, void *program);
void QopGLSetupColorBlendColorProgram(GLuint programID, void *program);
void QopGLSetupGrandientProgram(GLuint programID, void *program);
void QopGLSetupMaskLinearProgram(GLuint programID, void *program);
void QopGLSetupMaskRadialProgram(GLuint programID, void *program);
void QopGLSetupRedrawWithMaskProgram(GLuint programID, void *program);
void QopGLSetupMaskDotsProgram(GLuint programID, void *program);
void QopGLSetupColorSplashAutoProgram(GLuint programID, void *program);
void QopGLSetupBoxBlurProgram(GLuint programID, void *program);
void QopGLSetupGaussianBlurProgram(GLuint programID, void *program);
#ifdef __cplusplus
}
#endif
