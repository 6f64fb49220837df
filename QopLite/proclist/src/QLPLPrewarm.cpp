// Warm-up of a recipe: compiles, ahead of the first render, the GPU programs its processors may
// draw with, so that the first run of an effect does not stall on the shader compiler. Every
// program goes into its own record of the GPU record through the GL library's load-once
// function, warmed, so a program already loaded (by a pass, a group loader or an earlier warm-up)
// is never compiled twice, and a record whose failure latch is set loads nothing.
#include "QLPLJSONValues.h"
#include "QopLite/QLPL.h"
#include "QopLite/QopGLData.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cstddef>

namespace {

// A program the warm-up may load: where its record lies in QopGLPrograms (the record starts with
// its programID), its set-up function and its vertex and fragment sources.
struct QLPLProgram {
    size_t recordOffset;
    QopGLSetupFunction setup;
    const char *vertexSource;
    const char *fragmentSource;
};

#define QLPL_PROGRAM(slot, setup, vertex, fragment) QLPLProgram{offsetof(QopGLPrograms, slot), setup, vertex, fragment}

constexpr QLPLProgram kBitmapIdentity = QLPL_PROGRAM(bitmapIdentityProgram, QopGLSetupBitmapIdentityProgram, VertexShader, BitmapIdentityFragmentShader);
constexpr QLPLProgram kColorMap = QLPL_PROGRAM(colorMapProgram, QopGLSetupColorMapProgram, VertexShader, ColorMapFragmentShader);
constexpr QLPLProgram kColorTransform = QLPL_PROGRAM(colorTransformProgram, QopGLSetupColorTransformProgram, VertexShader, ColorTransformFragmentShader);
constexpr QLPLProgram kColorBlendColor = QLPL_PROGRAM(colorBlendColorProgram, QopGLSetupColorBlendColorProgram, VertexShader, BitmapColorBlendColorFragmentShader);
constexpr QLPLProgram kNoise = QLPL_PROGRAM(noiseProgram, QopGlSetupNoiseProgram, VertexShader, NoiseFragmentShader);
constexpr QLPLProgram kBorderVignette = QLPL_PROGRAM(borderVignetteProgram, QopGlSetupBorderVignetteProgram, VertexShader, BordersVignetteFragmentShader);
constexpr QLPLProgram kBorderVignetteOverlay = QLPL_PROGRAM(borderVignetteOverlayProgram, QopGlSetupBorderVignetteProgram, VertexShader, BordersVignetteOverlayFragmentShader);
constexpr QLPLProgram kBorderVignetteMultiply = QLPL_PROGRAM(borderVignetteMultiplyProgram, QopGlSetupBorderVignetteProgram, VertexShader, BordersVignetteMultiplyFragmentShader);
constexpr QLPLProgram kIntensityMap = QLPL_PROGRAM(intensityMapProgram, QopGLSetupIntensityMapProgram, VertexShader, IntensityMapFragmentShader);
constexpr QLPLProgram kIntensityMapOverlay = QLPL_PROGRAM(intensityMapOverlayProgram, QopGLSetupIntensityMapProgram, VertexShader, IntensityMapOverlayFragmentShader);
constexpr QLPLProgram kIntensityMapMultiply = QLPL_PROGRAM(intensityMapMultiplyProgram, QopGLSetupIntensityMapProgram, VertexShader, IntensityMapMultiplyFragmentShader);
constexpr QLPLProgram kFlareFallback = QLPL_PROGRAM(flareFallbackProgram, QopGLSetupFlareProgram, VertexShader, FlareFragmentShader);
constexpr QLPLProgram kFlareBlob = QLPL_PROGRAM(flareBlobProgram, QopGLSetupFlareProgram, VertexShader, FlareBlobFragmentShader);
constexpr QLPLProgram kFlareBlobOverlay = QLPL_PROGRAM(flareBlobOverlayProgram, QopGLSetupFlareProgram, VertexShader, FlareBlobOverlayFragmentShader);
constexpr QLPLProgram kFlareBlob2 = QLPL_PROGRAM(flareBlob2Program, QopGLSetupFlareProgram, VertexShader, FlareBlob2FragmentShader);
constexpr QLPLProgram kFlareBlob2Overlay = QLPL_PROGRAM(flareBlob2OverlayProgram, QopGLSetupFlareProgram, VertexShader, FlareBlob2OverlayFragmentShader);
constexpr QLPLProgram kFlareCornerflares = QLPL_PROGRAM(flareCornerflaresProgram, QopGLSetupFlareProgram, VertexShader, FlareCornerflaresFragmentShader);
constexpr QLPLProgram kFlareCornerflaresOverlay = QLPL_PROGRAM(flareCornerflaresOverlayProgram, QopGLSetupFlareProgram, VertexShader, FlareCornerflaresOverlayFragmentShader);
constexpr QLPLProgram kFlareAngleGaussian = QLPL_PROGRAM(flareAngleGaussianProgram, QopGLSetupFlareProgram, VertexShader, FlareAngleGaussianFragmentShader);
constexpr QLPLProgram kFlareGaussianThing = QLPL_PROGRAM(flareGaussianThingProgram, QopGLSetupFlareProgram, VertexShader, FlareGaussianThingFragmentShader);
constexpr QLPLProgram kFlareGaussianThing2 = QLPL_PROGRAM(flareGaussianThing2Program, QopGLSetupFlareProgram, VertexShader, FlareGaussianThing2FragmentShader);
constexpr QLPLProgram kFlareGaussianThing3Overlay = QLPL_PROGRAM(flareGaussianThing3OverlayProgram, QopGLSetupFlareProgram, VertexShader, FlareGaussianThing3OverlayFragmentShader);
constexpr QLPLProgram kBitmapBlend = QLPL_PROGRAM(bitmapBlendProgram, QopGLSetupBitmapBlendProgram, VertexShader, BitmapBlendFragmentShader);
constexpr QLPLProgram kBitmapBlendOverlay = QLPL_PROGRAM(bitmapBlendOverlayProgram, QopGLSetupBitmapBlendOverlayProgram, VertexShader, BitmapBlendOverlayFragmentShader);
constexpr QLPLProgram kBitmapBlendOverlayReverse = QLPL_PROGRAM(bitmapBlendOverlayReverseProgram, QopGLSetupBitmapBlendOverlayProgram, VertexShader, BitmapBlendOverlayReverseFragmentShader);
constexpr QLPLProgram kGradient = QLPL_PROGRAM(gradientProgram, QopGLSetupGrandientProgram, VertexShader, GradientFragmentShader);
constexpr QLPLProgram kGradientOverlay = QLPL_PROGRAM(gradientOverlayProgram, QopGLSetupGrandientProgram, VertexShader, GradientOverlayFragmentShader);
constexpr QLPLProgram kGradientLinearVignette = QLPL_PROGRAM(gradientLinearVignetteProgram, QopGLSetupGrandientProgram, VertexShader, GradientLinearVignetteFragmentShader);
constexpr QLPLProgram kBorderSide = QLPL_PROGRAM(borderSideProgram, QopGlSetupBorderSideProgram, BorderSideVertexShader, BorderSideFragmentShader);
constexpr QLPLProgram kBorderTheta = QLPL_PROGRAM(borderThetaProgram, QopGlSetupBorderThetaProgram, VertexShader, BordersThetaFragmentShader);
constexpr QLPLProgram kDotMatrix = QLPL_PROGRAM(dotMatrixProgram, QopGlSetupDotMatrixProgram, DotMatrixVertexShader, DotMatrixFragmentShader);
constexpr QLPLProgram kHardRand = QLPL_PROGRAM(hardRandProgram, QopGlSetupHardRandProgram, VertexShader, BordersHardRandFragmentShader);
constexpr QLPLProgram kBasicDots = QLPL_PROGRAM(basicDotsProgram, QopGlSetupBasicDotsProgram, BasicDotsVertexShader, DotMatrixFragmentShader);
constexpr QLPLProgram kLine = QLPL_PROGRAM(lineProgram, QopGlSetupLineProgram, LineVertexShader, LineFragmentShader);
constexpr QLPLProgram kRingFlare = QLPL_PROGRAM(ringFlareProgram, QopGlSetupRingFlareProgram, VertexShader, RingFlareFragmentShader);
constexpr QLPLProgram kStilbrushSatBW = QLPL_PROGRAM(stilbrushSatBWProgram, QopGLSetupStilbrushSatBWProgram, VertexShader, SarnithStilbrushSatBWShader);
constexpr QLPLProgram kStilbrushSatBWOverlay = QLPL_PROGRAM(stilbrushSatBWOverlayProgram, QopGLSetupStilbrushSatBWProgram, VertexShader, SarnithStilbrushSatBWOverlayShader);
constexpr QLPLProgram kGrittyDots = QLPL_PROGRAM(grittyDotsProgram, QopGLSetupGrittyDotsProgram, VertexShader, SarnithGrittyDotsFragmentShader);
constexpr QLPLProgram kSarnithClarity = QLPL_PROGRAM(sarnithClarityProgram, QopGLSetupSarnithClarityProgram, VertexShader, SarnithClarityFragmentShader);

// The GPU blur: the 3-, 5- and 7-tap box passes and the 9-tap Gaussian pass, both directions.
constexpr QLPLProgram kConvolution[] = {
    QLPL_PROGRAM(horizontalBoxBlur3Program, QopGLSetupBoxBlurProgram, ConvolutionHorizontalBoxBlur3VertexShader, ConvolutionBoxBlur3FragmentShader),
    QLPL_PROGRAM(verticalBoxBlur3Program, QopGLSetupBoxBlurProgram, ConvolutionVerticalBoxBlur3VertexShader, ConvolutionBoxBlur3FragmentShader),
    QLPL_PROGRAM(horizontalBoxBlur5Program, QopGLSetupBoxBlurProgram, ConvolutionHorizontalBoxBlur5VertexShader, ConvolutionBoxBlur5FragmentShader),
    QLPL_PROGRAM(verticalBoxBlur5Program, QopGLSetupBoxBlurProgram, ConvolutionVerticalBoxBlur5VertexShader, ConvolutionBoxBlur5FragmentShader),
    QLPL_PROGRAM(horizontalBoxBlur7Program, QopGLSetupBoxBlurProgram, ConvolutionHorizontalBoxBlur7VertexShader, ConvolutionBoxBlur7FragmentShader),
    QLPL_PROGRAM(verticalBoxBlur7Program, QopGLSetupBoxBlurProgram, ConvolutionVerticalBoxBlur7VertexShader, ConvolutionBoxBlur7FragmentShader),
    QLPL_PROGRAM(gaussianBlurHorizontalProgram, QopGLSetupGaussianBlurProgram, ConvolutionHorizontalGaussian9VertexShader, ConvolutionGaussian9FragmentShader),
    QLPL_PROGRAM(gaussianBlurVerticalProgram, QopGLSetupGaussianBlurProgram, ConvolutionVerticalGaussian9VertexShader, ConvolutionGaussian9FragmentShader),
};

#undef QLPL_PROGRAM

void load(QopGLData_t *glData, const QLPLProgram &program)
{
    GLuint *slot = reinterpret_cast<GLuint *>(reinterpret_cast<unsigned char *>(&glData->glPrograms) +
                                              program.recordOffset);
    QopGLLoadShaderProgramIfNecessary(slot, program.setup, program.vertexSource, program.fragmentSource, glData, true);
}

bool stillOk(const QopGLData_t *glData) { return glData->state == QopGLStateOk; }

using QLPLLoader = void (*)(QopGLData_t *glData);

// A loader of one program, for the table rows that name a single program outside the groups.
template <const QLPLProgram &program>
void loadOne(QopGLData_t *glData)
{
    load(glData, program);
}

// Programs per legacy name: each row lists the loaders it runs, in order (unused places null).
struct QLPLLegacyPrewarm {
    const char *legacyName;
    QLPLLoader loaders[5];
};

// The automatic colour balance draws two colour-matrix passes, the fractal texture is laid on
// with the overlay blend, and clarity also tone-maps through a colour map and greys its blurred
// averages with a colour matrix: these rows warm what those operations draw with.
const QLPLLegacyPrewarm kLegacyPrewarm[] = {
    {"san_carmenBorder", {QLPLLoadSideAndDoubleSide}},
    {"tam_brewBorder", {QLPLLoadSideAndDoubleSide}},
    {"vexaBorder", {QLPLLoadSideAndDoubleSide, QLPLLoadDotMatrix}},
    {"singeBorder", {QLPLLoadTheta}},
    {"aquaBorder", {QLPLLoadSideAndDoubleSide}},
    {"threshBorder", {QLPLLoadSideAndDoubleSide}},
    {"edgewoodBorder", {QLPLLoadSideAndDoubleSide}},
    {"purpleBorder", {QLPLLoadSideAndDoubleSide, QLPLLoadVignette}},
    {"cherryBorder", {QLPLLoadSideAndDoubleSide, QLPLLoadDotMatrix}},
    {"cross_processBorder", {QLPLLoadSideAndDoubleSide}},
    {"fadedBorder", {QLPLLoadSideAndDoubleSide}},
    {"ithacaBorder", {QLPLLoadTheta}},
    {"sunburnBorder", {QLPLLoadTheta}},
    {"earthyBorder", {QLPLLoadSideAndDoubleSide, QLPLLoadHardRand}},
    {"solarBorder", {QLPLLoadHardRand, QLPLLoadBasicDots}},
    {"old_threshBorder", {QLPLLoadSideAndDoubleSide}},
    {"tova_quinbelBorder", {QLPLLoadSideAndDoubleSide, QLPLLoadDotMatrix}},
    {"brownieBorder", {QLPLLoadSideAndDoubleSide, QLPLLoadHardRand}},
    {"orcaBorder", {QLPLLoadDotMatrix, QLPLLoadTheta, QLPLLoadDrawLine, QLPLLoadRingFlare}},
    {"chronoBorder", {QLPLLoadSideAndDoubleSide, QLPLLoadDotMatrix, QLPLLoadVignette, QLPLLoadHardRand, QLPLLoadDrawLine}},
    {"titanBorder", {QLPLLoadDotMatrix, QLPLLoadTheta, QLPLLoadDrawLine}},
    {"cabanaBorder", {QLPLLoadSideAndDoubleSide, QLPLLoadDotMatrix, QLPLLoadDrawLine}},
    {"bordeauxBorder", {QLPLLoadDotMatrix, QLPLLoadDrawLine, QLPLLoadRingFlare}},
    {"covertBorder", {QLPLLoadDotMatrix, QLPLLoadTheta, QLPLLoadDrawLine}},
    {"ithacaFlare", {loadOne<kFlareAngleGaussian>}},
    {"sunburnFlare", {loadOne<kFlareGaussianThing2>}},
    {"soft_focus", {QLPLLoadConvolution, loadOne<kBitmapBlend>}},
    {"san_carmenAutoColors", {loadOne<kColorTransform>}},
    {"pellarBWBorder", {QLPLLoadSideAndDoubleSide}},
    {"pellarTintypeBorder", {QLPLLoadSideAndDoubleSide}},
    {"pellarTintypeColorMatrixTransform", {loadOne<kColorTransform>}},
    {"pellarTintypeDiamondSquare", {loadOne<kBitmapBlendOverlay>}},
    {"pellarVintageColorMatrixTransform", {loadOne<kColorTransform>}},
    {"sarnithGrittySBSat", {loadOne<kStilbrushSatBWOverlay>}},
    {"sarnithGrittyDots", {loadOne<kGrittyDots>}},
    {"sarnithBWSBSat", {loadOne<kStilbrushSatBW>}},
    {"sarnithCinematicSBSat", {loadOne<kStilbrushSatBWOverlay>}},
    {"clarityEnhance", {loadOne<kSarnithClarity>, QLPLLoadConvolution, loadOne<kColorMap>, loadOne<kColorTransform>}},
};
static_assert(sizeof kLegacyPrewarm / sizeof kLegacyPrewarm[0] == 38, "one row per legacy name");

// The flare pass's choice of program: a type with dedicated programs uses the plain one under
// Normal and the overlay one under Overlay where it has them (null: it has none for that mode);
// every other type and mode draws with the fallback program, which evaluates every shape.
struct QLPLFlarePrewarm {
    QopFlareType_t type;
    const QLPLProgram *normal;
    const QLPLProgram *overlay;
};

constexpr QLPLFlarePrewarm kFlarePrewarm[] = {
    {QopFlareBlob, &kFlareBlob, &kFlareBlobOverlay},
    {QopFlareAnglegaussian, &kFlareAngleGaussian, nullptr},
    {QopFlareGaussianthing, &kFlareGaussianThing, nullptr},
    {QopFlareGaussianthing2, &kFlareGaussianThing2, nullptr},
    {QopFlareBlob2, &kFlareBlob2, &kFlareBlob2Overlay},
    {QopFlareCornerflares, &kFlareCornerflares, &kFlareCornerflaresOverlay},
    {QopFlareGaussianthing3, nullptr, &kFlareGaussianThing3Overlay},
};

const QLPLProgram &flareProgram(QopFlareType_t type, QopBlendMode_t blendMode)
{
    for (const QLPLFlarePrewarm &row : kFlarePrewarm) {
        if (row.type != type)
            continue;
        const QLPLProgram *dedicated = blendMode == QopBlendModeNormal    ? row.normal
                                       : blendMode == QopBlendModeOverlay ? row.overlay
                                                                          : nullptr;
        return dedicated ? *dedicated : kFlareFallback;
    }
    return kFlareFallback;
}

QopBlendMode_t blendModeOf(yajl_val parameters)
{
    QopBlendMode_t blendMode;
    QLPLBlendModeFromBlendModeVal(QLPLObjectMember(parameters, "blendMode"), &blendMode);
    return blendMode;
}

bool isRecipeRoot(yajl_val root)
{
    return YAJL_IS_STRING(QLPLObjectMember(root, "identifier")) && YAJL_IS_ARRAY(QLPLObjectMember(root, "processors"));
}

using QLPLProcessorPrewarm = bool (*)(yajl_val parameters, QopGLData_t *glData);

// Processor names, matched exactly, and the warm-up of each: the thirteen names of the runner
// and "auto_colors_fade_max_color", which is warmed although the runner does not offer it.
struct QLPLProcessorPrewarmEntry {
    const char *name;
    QLPLProcessorPrewarm prewarm;
};

const QLPLProcessorPrewarmEntry kProcessorPrewarm[] = {
    {"original", [](yajl_val p, QopGLData_t *g) { return QLPLPrewarmOriginalProcessor(g, p); }},
    {"auto_colors_fade_max_color", [](yajl_val p, QopGLData_t *g) { return QLPLPrewarmAutoColorsFadeMaxProcessor(g, p); }},
    {"vignette", QLPLPrewarmVignetteProcessor},
    {"legacyProcessor", QLPLPrewarmLegacyProcessor},
    {"histogramMapping", QLPLPrewarmHistogramMappingProcessor},
    {"gamma", QLPLPrewarmGammaProcessor},
    {"colorMatrixTransform", [](yajl_val p, QopGLData_t *g) { return QLPLPrewarmColorMatrixTransformProcessor(g, p); }},
    {"intensityMap", QLPLPrewarmIntensityMapProcessor},
    {"flare", QLPLPrewarmFlareProcessor},
    {"contrast", QLPLPrewarmContrastProcessor},
    {"blendWithColor", QLPLPrewarmBlendWithColorProcessor},
    {"noise", [](yajl_val p, QopGLData_t *g) { return QLPLPrewarmNoiseProcessor(g, p); }},
    {"sharpness", QLPLPrewarmSharpnessProcessor},
    {"gradient", QLPLPrewarmGradientProcessor},
};

} // namespace

extern "C" {

void QLPLLoadSideAndDoubleSide(QopGLData_t *glData)
{
    if (glData)
        load(glData, kBorderSide);
}

void QLPLLoadDotMatrix(QopGLData_t *glData)
{
    if (glData)
        load(glData, kDotMatrix);
}

void QLPLLoadTheta(QopGLData_t *glData)
{
    if (glData)
        load(glData, kBorderTheta);
}

void QLPLLoadVignette(QopGLData_t *glData)
{
    if (glData)
        load(glData, kBorderVignette);
}

void QLPLLoadHardRand(QopGLData_t *glData)
{
    if (glData)
        load(glData, kHardRand);
}

void QLPLLoadBasicDots(QopGLData_t *glData)
{
    if (glData)
        load(glData, kBasicDots);
}

void QLPLLoadDrawLine(QopGLData_t *glData)
{
    if (glData)
        load(glData, kLine);
}

void QLPLLoadRingFlare(QopGLData_t *glData)
{
    if (glData)
        load(glData, kRingFlare);
}

void QLPLLoadConvolution(QopGLData_t *glData)
{
    if (!glData)
        return;
    for (const QLPLProgram &program : kConvolution)
        load(glData, program);
}

bool QLPLPrewarmOriginalProcessor(QopGLData_t *glData, yajl_val)
{
    if (!glData)
        return false;
    load(glData, kBitmapIdentity);
    return stillOk(glData);
}

bool QLPLPrewarmAutoColorsFadeMaxProcessor(QopGLData_t *glData, yajl_val)
{
    if (!glData)
        return false;
    load(glData, kColorTransform);
    return stillOk(glData);
}

bool QLPLPrewarmColorMatrixTransformProcessor(QopGLData_t *glData, yajl_val)
{
    if (!glData)
        return false;
    load(glData, kColorTransform);
    return stillOk(glData);
}

bool QLPLPrewarmNoiseProcessor(QopGLData_t *glData, yajl_val)
{
    if (!glData)
        return false;
    load(glData, kNoise);
    return stillOk(glData);
}

bool QLPLPrewarmHistogramMappingProcessor(yajl_val, QopGLData_t *glData)
{
    if (!glData)
        return false;
    load(glData, kColorMap);
    return stillOk(glData);
}

bool QLPLPrewarmGammaProcessor(yajl_val, QopGLData_t *glData)
{
    if (!glData)
        return false;
    load(glData, kColorMap);
    return stillOk(glData);
}

bool QLPLPrewarmContrastProcessor(yajl_val, QopGLData_t *glData)
{
    if (!glData)
        return false;
    load(glData, kColorMap);
    return stillOk(glData);
}

bool QLPLPrewarmVignetteProcessor(yajl_val parameters, QopGLData_t *glData)
{
    if (!glData)
        return false;
    switch (blendModeOf(parameters)) {
    case QopBlendModeMultiply:
        load(glData, kBorderVignetteMultiply);
        break;
    case QopBlendModeOverlay:
        load(glData, kBorderVignetteOverlay);
        break;
    default:
        load(glData, kBorderVignette);
        break;
    }
    return stillOk(glData);
}

bool QLPLPrewarmIntensityMapProcessor(yajl_val parameters, QopGLData_t *glData)
{
    if (!glData)
        return false;
    switch (blendModeOf(parameters)) {
    case QopBlendModeNormal:
        load(glData, kIntensityMap);
        break;
    case QopBlendModeOverlay:
        load(glData, kIntensityMapOverlay);
        break;
    case QopBlendModeMultiply:
        load(glData, kIntensityMapMultiply);
        break;
    default:
        // The GPU intensity map draws nothing in the other modes: there is nothing to warm.
        break;
    }
    return stillOk(glData);
}

bool QLPLPrewarmFlareProcessor(yajl_val parameters, QopGLData_t *glData)
{
    QopFlareType_t type;
    if (!glData || QLPLStringMember(parameters, "blendMode") == nullptr ||
        !QLPLFlareTypeFromFlareTypeVal(QLPLObjectMember(parameters, "type"), &type))
        return false;
    load(glData, flareProgram(type, blendModeOf(parameters)));
    return stillOk(glData);
}

bool QLPLPrewarmBlendWithColorProcessor(yajl_val parameters, QopGLData_t *glData)
{
    if (!glData)
        return false;
    load(glData, blendModeOf(parameters) == QopBlendModeColor ? kColorBlendColor : kColorMap);
    return stillOk(glData);
}

bool QLPLPrewarmSharpnessProcessor(yajl_val, QopGLData_t *glData)
{
    if (!glData)
        return false;
    QLPLLoadConvolution(glData);
    load(glData, kBitmapBlend);
    load(glData, kBitmapBlendOverlayReverse);
    return stillOk(glData);
}

bool QLPLPrewarmGradientProcessor(yajl_val, QopGLData_t *glData)
{
    if (!glData)
        return false;
    load(glData, kGradient);
    load(glData, kGradientOverlay);
    load(glData, kGradientLinearVignette);
    return stillOk(glData);
}

bool QLPLPrewarmLegacyProcessor(yajl_val parameters, QopGLData_t *glData)
{
    const char *legacyName = QLPLStringMember(parameters, "legacyName");
    if (!glData || legacyName == nullptr)
        return false;
    for (const QLPLLegacyPrewarm &row : kLegacyPrewarm) {
        if (!QLPLStringIs(legacyName, row.legacyName))
            continue;
        for (QLPLLoader loader : row.loaders) {
            if (loader)
                loader(glData);
        }
        return stillOk(glData);
    }
    return false;
}

bool QLPLPrewarmProcessor(yajl_val processor, QopGLData_t *glData)
{
    const char *name = QLPLStringMember(processor, "name");
    yajl_val parameters = QLPLObjectMember(processor, "parameters");
    if (name == nullptr || !YAJL_IS_OBJECT(parameters) || glData == nullptr)
        return false;
    for (const QLPLProcessorPrewarmEntry &entry : kProcessorPrewarm) {
        if (QLPLStringIs(name, entry.name))
            return entry.prewarm(parameters, glData);
    }
    return false;
}

bool QLPLPrewarmEffect(QopJSONEffect effect, QopGLData_t *glData)
{
    if (effect == nullptr || glData == nullptr || !isRecipeRoot(effect))
        return false;
    yajl_val processors = QLPLObjectMember(effect, "processors");
    for (size_t i = 0; i < processors->u.array.len; ++i) {
        if (!QLPLPrewarmProcessor(processors->u.array.values[i], glData))
            return false;
    }
    return true;
}

} // extern "C"
