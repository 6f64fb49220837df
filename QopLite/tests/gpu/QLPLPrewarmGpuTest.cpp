// Recipe warm-up: which programs each processor and legacy name loads, that a recipe loads each
// program once and a second warm-up compiles nothing, that a warmed recipe then renders without
// compiling, refusals (unknown names, missing keys, null record), and the failure latch.
#include "QopGLCallCounts.h"
#include "QopGLTestSupport.h"

#include "../QLPLTestSupport.h"
#include "QopLite/QLPL.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopGLShaders.h"
#include "QopLite/QopGLUtils.h"

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace qop_test {
namespace {

using qlpl_test::Tree;
using Slots = std::set<std::string>;

struct SlotName {
    const char *name;
    size_t offset;
};

#define SLOT(slot) SlotName{#slot, offsetof(QopGLPrograms, slot)}
const SlotName kSlots[] = {
    SLOT(bitmapIdentityProgram), SLOT(colorTransformProgram), SLOT(colorMapProgram), SLOT(flareBlobProgram),
    SLOT(flareAngleGaussianProgram), SLOT(flareGaussianThingProgram), SLOT(flareGaussianThing2Program),
    SLOT(bitmapBlendProgram), SLOT(histogramProgram), SLOT(borderVignetteProgram), SLOT(borderThetaProgram),
    SLOT(borderSideProgram), SLOT(dotMatrixProgram), SLOT(ringFlareProgram), SLOT(lineProgram), SLOT(noiseProgram),
    SLOT(basicDotsProgram), SLOT(hardRandProgram), SLOT(autoEnhanceProgram), SLOT(rgbToLabProgram),
    SLOT(labToRgbProgram), SLOT(bitmapDrawWithMaskProgram), SLOT(whitenProgram), SLOT(redeyeProgram),
    SLOT(drawingProgram), SLOT(borderVignetteOverlayProgram), SLOT(flareBlobOverlayProgram),
    SLOT(bitmapBlendOverlayProgram), SLOT(colorTransformAndOverlayWithOriginalProgram), SLOT(grittyDotsProgram),
    SLOT(stilbrushSatBWProgram), SLOT(sarnithClarityProgram), SLOT(flareBlob2Program),
    SLOT(flareBlob2OverlayProgram), SLOT(flareCornerflaresProgram), SLOT(flareCornerflaresOverlayProgram),
    SLOT(flareGaussianThing3OverlayProgram), SLOT(intensityMapOverlayProgram), SLOT(intensityMapMultiplyProgram),
    SLOT(borderVignetteMultiplyProgram), SLOT(colorBlendColorProgram), SLOT(stilbrushSatBWOverlayProgram),
    SLOT(bitmapBlendOverlayReverseProgram), SLOT(gradientProgram), SLOT(gradientLinearVignetteProgram),
    SLOT(gradientOverlayProgram), SLOT(flareFallbackProgram), SLOT(intensityMapProgram), SLOT(maskLinearProgram),
    SLOT(maskRadialProgram), SLOT(redrawWithMaskProgram), SLOT(maskDotsProgram), SLOT(colorSplashAutoProgram),
    SLOT(horizontalBoxBlur3Program), SLOT(verticalBoxBlur3Program), SLOT(horizontalBoxBlur5Program),
    SLOT(verticalBoxBlur5Program), SLOT(horizontalBoxBlur7Program), SLOT(verticalBoxBlur7Program),
    SLOT(gaussianBlurHorizontalProgram), SLOT(gaussianBlurVerticalProgram),
};
#undef SLOT
static_assert(sizeof kSlots / sizeof kSlots[0] == 61);

const Slots kConvolution = {"horizontalBoxBlur3Program", "verticalBoxBlur3Program", "horizontalBoxBlur5Program",
                            "verticalBoxBlur5Program",   "horizontalBoxBlur7Program", "verticalBoxBlur7Program",
                            "gaussianBlurHorizontalProgram", "gaussianBlurVerticalProgram"};

Slots with(Slots a, const Slots &b)
{
    a.insert(b.begin(), b.end());
    return a;
}

// The names of the program slots that hold a program.
Slots loadedSlots(QopGLData_t *glData)
{
    Slots loaded;
    for (const SlotName &slot : kSlots) {
        const GLuint *id =
            reinterpret_cast<const GLuint *>(reinterpret_cast<const unsigned char *>(&glData->glPrograms) + slot.offset);
        if (*id != 0)
            loaded.insert(slot.name);
    }
    return loaded;
}

Tree processorTree(const std::string &name, const std::string &parameters)
{
    return qlpl_test::parse(R"({"name": ")" + name + R"(", "parameters": )" + parameters + "}");
}

class QLPLPrewarmGpuTest : public GLTest {
protected:
    // Starts from a record with no program at all, so that what a warm-up loads is all there is.
    void clearPrograms()
    {
        QopGLDeleteAllShaders(gl());
        ASSERT_TRUE(loadedSlots(gl()).empty());
        resetGLCallCounts();
    }

    bool prewarmText(const std::string &recipe)
    {
        QopJSONEffect effect = QLPLLoadEffect(recipe.c_str());
        EXPECT_NE(effect, nullptr) << recipe;
        const bool ok = QLPLPrewarmEffect(effect, gl());
        QLPLUnloadEffect(&effect);
        return ok;
    }
};

struct ProcessorCase {
    const char *name;
    const char *parameters;
    Slots programs;
};

const std::vector<ProcessorCase> &processorCases()
{
    static const std::vector<ProcessorCase> cases = {
        {"original", "{}", {"bitmapIdentityProgram"}},
        // The automatic colour balance draws two colour-matrix passes.
        {"auto_colors_fade_max_color", R"({"color": {"r": 1, "g": 2, "b": 3, "a": 255}})", {"colorTransformProgram"}},
        {"histogramMapping", "{}", {"colorMapProgram"}},
        {"gamma", R"({"value": 1.2})", {"colorMapProgram"}},
        {"contrast", "{}", {"colorMapProgram"}},
        {"colorMatrixTransform", R"({"operations": []})", {"colorTransformProgram"}},
        {"noise", R"({"intensity": 0.2})", {"noiseProgram"}},
        {"vignette", R"({"blendMode": "multiply"})", {"borderVignetteMultiplyProgram"}},
        {"vignette", R"({"blendMode": "overlay"})", {"borderVignetteOverlayProgram"}},
        {"vignette", R"({"blendMode": "lighten"})", {"borderVignetteProgram"}},
        {"vignette", "{}", {"borderVignetteProgram"}},
        {"intensityMap", "{}", {"intensityMapProgram"}},
        {"intensityMap", R"({"blendMode": "overlay"})", {"intensityMapOverlayProgram"}},
        {"intensityMap", R"({"blendMode": "multiply"})", {"intensityMapMultiplyProgram"}},
        {"intensityMap", R"({"blendMode": "screen"})", {}},
        // The flare pass keeps its dedicated programs for Normal (and Overlay where it has an
        // overlay form); every other combination draws with the fallback program.
        {"flare", R"({"blendMode": "normal", "type": "blob"})", {"flareBlobProgram"}},
        {"flare", R"({"blendMode": "overlay", "type": "blob"})", {"flareBlobOverlayProgram"}},
        {"flare", R"({"blendMode": "multiply", "type": "blob"})", {"flareFallbackProgram"}},
        {"flare", R"({"blendMode": "overlay", "type": "blob2"})", {"flareBlob2OverlayProgram"}},
        {"flare", R"({"blendMode": "normal", "type": "cornerFlares"})", {"flareCornerflaresProgram"}},
        {"flare", R"({"blendMode": "overlay", "type": "cornerFlares"})", {"flareCornerflaresOverlayProgram"}},
        {"flare", R"({"blendMode": "normal", "type": "angleGaussian"})", {"flareAngleGaussianProgram"}},
        {"flare", R"({"blendMode": "overlay", "type": "angleGaussian"})", {"flareFallbackProgram"}},
        {"flare", R"({"blendMode": "normal", "type": "gaussianThing"})", {"flareGaussianThingProgram"}},
        {"flare", R"({"blendMode": "screen", "type": "gaussianThing2"})", {"flareFallbackProgram"}},
        {"flare", R"({"blendMode": "overlay", "type": "gaussianThing3"})", {"flareGaussianThing3OverlayProgram"}},
        {"flare", R"({"blendMode": "normal", "type": "gaussianThing3"})", {"flareFallbackProgram"}},
        {"flare", R"({"blendMode": "normal", "type": "sinc"})", {"flareFallbackProgram"}},
        {"blendWithColor", R"({"blendMode": "color"})", {"colorBlendColorProgram"}},
        {"blendWithColor", R"({"blendMode": "screen"})", {"colorMapProgram"}},
        {"sharpness", "{}", with(kConvolution, {"bitmapBlendProgram", "bitmapBlendOverlayReverseProgram"})},
        {"gradient", "{}", {"gradientProgram", "gradientOverlayProgram", "gradientLinearVignetteProgram"}},
        {"legacyProcessor", R"({"legacyName": "san_carmenBorder"})", {"borderSideProgram"}},
        {"legacyProcessor", R"({"legacyName": "purpleBorder"})", {"borderSideProgram", "borderVignetteProgram"}},
        {"legacyProcessor", R"({"legacyName": "solarBorder"})", {"hardRandProgram", "basicDotsProgram"}},
        {"legacyProcessor", R"({"legacyName": "orcaBorder"})",
         {"dotMatrixProgram", "borderThetaProgram", "lineProgram", "ringFlareProgram"}},
        {"legacyProcessor", R"({"legacyName": "chronoBorder"})",
         {"borderSideProgram", "dotMatrixProgram", "borderVignetteProgram", "hardRandProgram", "lineProgram"}},
        {"legacyProcessor", R"({"legacyName": "pellarBWBorder"})", {"borderSideProgram"}},
        {"legacyProcessor", R"({"legacyName": "ithacaFlare"})", {"flareAngleGaussianProgram"}},
        {"legacyProcessor", R"({"legacyName": "soft_focus"})", with(kConvolution, {"bitmapBlendProgram"})},
        {"legacyProcessor", R"({"legacyName": "san_carmenAutoColors"})", {"colorTransformProgram"}},
        // The fractal texture is laid on with the overlay blend.
        {"legacyProcessor", R"({"legacyName": "pellarTintypeDiamondSquare"})", {"bitmapBlendOverlayProgram"}},
        {"legacyProcessor", R"({"legacyName": "sarnithCinematicSBSat"})", {"stilbrushSatBWOverlayProgram"}},
        {"legacyProcessor", R"({"legacyName": "sarnithBWSBSat"})", {"stilbrushSatBWProgram"}},
        {"legacyProcessor", R"({"legacyName": "sarnithGrittyDots"})", {"grittyDotsProgram"}},
        // Clarity tone-maps through a colour map and greys its blurred averages with a matrix.
        {"legacyProcessor", R"({"legacyName": "clarityEnhance"})",
         with(kConvolution, {"sarnithClarityProgram", "colorMapProgram", "colorTransformProgram"})},
    };
    return cases;
}

TEST_F(QLPLPrewarmGpuTest, EachProcessorLoadsExactlyTheProgramsItMayDrawWith)
{
    for (const ProcessorCase &c : processorCases()) {
        SCOPED_TRACE(std::string(c.name) + " " + c.parameters);
        clearPrograms();
        const Tree processor = processorTree(c.name, c.parameters);
        ASSERT_TRUE(processor);
        EXPECT_TRUE(QLPLPrewarmProcessor(processor.get(), gl()));
        EXPECT_EQ(loadedSlots(gl()), c.programs);
        EXPECT_EQ(glCallCounts().createProgram, static_cast<long>(c.programs.size())) << "each program made once";

        resetGLCallCounts();
        EXPECT_TRUE(QLPLPrewarmProcessor(processor.get(), gl()));
        EXPECT_EQ(glCallCounts().createProgram, 0) << "a second warm-up compiles nothing";
    }
    EXPECT_EQ(gl()->state, QopGLStateOk);
    QOP_EXPECT_NO_GL_ERROR();
}

TEST_F(QLPLPrewarmGpuTest, EveryLegacyNameLoadsItsProgramsAndOthersAreRefused)
{
    for (const char *legacyName : qlpl_test::kLegacyNames) {
        SCOPED_TRACE(legacyName);
        clearPrograms();
        const Tree parameters = qlpl_test::parse(std::string(R"({"legacyName": ")") + legacyName + "\"}");
        EXPECT_TRUE(QLPLPrewarmLegacyProcessor(parameters.get(), gl()));
        EXPECT_FALSE(loadedSlots(gl()).empty());
        EXPECT_EQ(glCallCounts().createProgram, static_cast<long>(loadedSlots(gl()).size()));
    }

    // Matched exactly, like the runner; a missing or non-string name is refused as well.
    for (const char *parameters : {R"({"legacyName": "sepiaBorder"})", R"({"legacyName": "SoFt_focus"})",
                                   R"({"legacyName": 3})", "{}"}) {
        SCOPED_TRACE(parameters);
        clearPrograms();
        const Tree tree = qlpl_test::parse(parameters);
        EXPECT_FALSE(QLPLPrewarmLegacyProcessor(tree.get(), gl()));
        EXPECT_EQ(glCallCounts().createProgram, 0);
    }
    QOP_EXPECT_NO_GL_ERROR();
}

TEST_F(QLPLPrewarmGpuTest, RecipeLoadsEachProgramOnceAndASecondWarmUpCompilesNothing)
{
    // gamma, contrast and blendWithColor (screen) share the colour-map program; two sharpness
    // steps share the blur programs.
    const std::string recipe = R"({"identifier": "x", "processors": [
        {"name": "gamma", "parameters": {"value": 1.4}},
        {"name": "contrast", "parameters": {"value": 0.8}},
        {"name": "blendWithColor", "parameters": {"blendMode": "screen"}},
        {"name": "sharpness", "parameters": {"amount": 2, "alpha": 0.5}},
        {"name": "legacyProcessor", "parameters": {"legacyName": "soft_focus"}},
        {"name": "noise", "parameters": {"intensity": 0.1}}]})";
    clearPrograms();
    EXPECT_TRUE(prewarmText(recipe));
    const Slots expected = with(kConvolution, {"colorMapProgram", "bitmapBlendProgram",
                                               "bitmapBlendOverlayReverseProgram", "noiseProgram"});
    EXPECT_EQ(loadedSlots(gl()), expected);
    EXPECT_EQ(glCallCounts().createProgram, static_cast<long>(expected.size()));
    EXPECT_FALSE(gl()->isMakingGLCalls);

    const QopGLPrograms_t before = gl()->glPrograms;
    resetGLCallCounts();
    EXPECT_TRUE(prewarmText(recipe));
    EXPECT_EQ(glCallCounts().createProgram, 0);
    EXPECT_EQ(memcmp(&before, &gl()->glPrograms, sizeof before), 0) << "no record was set up again";

    // A program a group loader made is not made again by the warm-up either, and the other way.
    clearPrograms();
    ASSERT_TRUE(QopGLLoadColorMapAndTransformShaders(gl(), false));
    resetGLCallCounts();
    EXPECT_TRUE(prewarmText(qlpl_test::recipeWith("gamma", R"({"value": 2})")));
    EXPECT_EQ(glCallCounts().createProgram, 0);
    EXPECT_TRUE(prewarmText(qlpl_test::recipeWith("noise", R"({"intensity": 1})")));
    resetGLCallCounts();
    ASSERT_TRUE(QopGLLoadMiscellaneousShaders2(gl(), true));
    EXPECT_EQ(glCallCounts().createProgram, 2) << "noise was already warm: only basic dots and hard rand are made";
    QOP_EXPECT_NO_GL_ERROR();
}

// What a recipe draws with is warm: after the warm-up, running any recipe of the corpus on a GPU
// bitmap compiles nothing (a processor whose kernel is not yet in the library fails before it
// draws, and then has nothing to compile either).
TEST_F(QLPLPrewarmGpuTest, AWarmedRecipeRendersWithoutCompiling)
{
    std::vector<std::pair<std::string, std::string>> recipes;
    for (const char *dir : {"processors", "mixed"}) {
        for (const auto &entry : std::filesystem::directory_iterator(qlpl_test::corpusPath(dir))) {
            const std::string name = std::string(dir) + "/" + entry.path().filename().string();
            recipes.emplace_back(name, qlpl_test::readCorpus(name));
        }
    }
    ASSERT_GE(recipes.size(), 20u);
    // Where the program depends on a word of the recipe, and the legacy operations whose GPU
    // passes are not all in their row's name.
    const char *const kFlare = R"({"color": {"r": 250, "g": 200, "b": 100, "a": 200}, "dx": 0.1, "dy": 0.1,
                                   "dsx": 1, "dsy": 1, "fScale": 1, )";
    const std::pair<const char *, std::string> kMore[] = {
        {"flare", std::string(kFlare) + R"("blendMode": "overlay", "type": "blob"})"},
        {"flare", std::string(kFlare) + R"("blendMode": "normal", "type": "gaussianThing3"})"},
        {"flare", std::string(kFlare) + R"("blendMode": "overlay", "type": "angleGaussian"})"},
        {"flare", std::string(kFlare) + R"("blendMode": "normal", "type": "cornerFlares"})"},
        {"sharpness", R"({"amount": 3, "alpha": 0.5, "blendMode": "overlay"})"},
        {"intensityMap", R"({"histMap": {"r": )" + qlpl_test::mapArray([](int i) { return 255 - i; }) + R"(, "g": )" +
                             qlpl_test::mapArray([](int i) { return i; }) + R"(, "b": )" +
                             qlpl_test::mapArray([](int i) { return i / 2; }) + R"(}, "alpha": 0.5, "blendMode": "overlay"})"},
        {"legacyProcessor", R"({"legacyName": "san_carmenAutoColors"})"},
        {"legacyProcessor", R"({"legacyName": "soft_focus"})"},
        {"legacyProcessor", R"({"legacyName": "clarityEnhance"})"},
    };
    for (const auto &[name, parameters] : kMore)
        recipes.emplace_back(std::string(name) + " " + parameters, qlpl_test::recipeWith(name, parameters));
    // Every legacy name too: those whose operation is not yet in the library fail before drawing.
    for (const char *legacyName : qlpl_test::kLegacyNames) {
        const std::string parameters = std::string(R"({"legacyName": ")") + legacyName + "\"}";
        recipes.emplace_back(legacyName, qlpl_test::recipeWith("legacyProcessor", parameters));
    }

    const TestBitmap input = makePhotoLike(40, 32);
    int rendered = 0;
    for (const auto &[name, text] : recipes) {
        SCOPED_TRACE(name);
        reinitialise(QopGLDeviceGPUSpeedFast, QopGLRenderingModeDefault);
        EXPECT_TRUE(prewarmText(text));

        resetGLCallCounts();
        TestBitmap image = gpuBitmap(input);
        QopEffectParams_t params;
        QopEffectInitParams(&params);
        if (qlpl_test::runRecipe(text, image.get(), &params))
            ++rendered;
        EXPECT_EQ(glCallCounts().createProgram, 0) << "the run compiled a program the warm-up left cold";
    }
    // Most processors already draw on the GPU; a recipe whose kernel is not yet in the library
    // fails before drawing, and the count only grows as kernels land.
    EXPECT_GE(rendered, 20);
    QOP_EXPECT_NO_GL_ERROR();
}

// Control for the test above: without the warm-up the same kind of run does compile.
TEST_F(QLPLPrewarmGpuTest, AColdRecipeCompilesOnFirstUse)
{
    TestBitmap image = gpuBitmap(makePhotoLike(24, 16));
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    resetGLCallCounts();
    ASSERT_TRUE(qlpl_test::runRecipe(qlpl_test::readCorpus("processors/gamma.json"), image.get(), &params));
    EXPECT_EQ(glCallCounts().createProgram, 1);
}

TEST_F(QLPLPrewarmGpuTest, AutoColorsFadeMaxColorWarmsUpButDoesNotRun)
{
    const std::string recipe = qlpl_test::readCorpus("processors/auto_colors_fade_max_color.json");
    clearPrograms();
    EXPECT_TRUE(prewarmText(recipe));
    EXPECT_EQ(loadedSlots(gl()), Slots{"colorTransformProgram"});

    const TestBitmap input = makeHueWheel(12, 9);
    TestBitmap image = input;
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    EXPECT_FALSE(qlpl_test::runRecipe(recipe, image.get(), &params));
    EXPECT_TRUE(image == input);
}

// A refused processor loads nothing; a recipe stops at its first refused processor, and what the
// processors before it loaded stays loaded.
TEST_F(QLPLPrewarmGpuTest, RefusalsLoadNothingAndStopTheRecipe)
{
    const struct {
        const char *processor;
    } refused[] = {
        {R"({"name": "sepia", "parameters": {}})"},
        {R"({"name": "Gamma", "parameters": {}})"},
        {R"({"name": "gamma"})"},
        {R"({"name": "gamma", "parameters": []})"},
        {R"({"parameters": {}})"},
        {R"({"name": 7, "parameters": {}})"},
        {R"(["gamma", {}])"},
        // A flare needs its blend mode and a known type before it can choose its program.
        {R"({"name": "flare", "parameters": {"type": "blob"}})"},
        {R"({"name": "flare", "parameters": {"blendMode": "normal", "type": "lensflare"}})"},
        {R"({"name": "flare", "parameters": {"blendMode": "normal"}})"},
        {R"({"name": "legacyProcessor", "parameters": {"legacyName": "sepia"}})"},
    };
    for (const auto &c : refused) {
        SCOPED_TRACE(c.processor);
        clearPrograms();
        const Tree processor = qlpl_test::parse(c.processor);
        ASSERT_TRUE(processor);
        EXPECT_FALSE(QLPLPrewarmProcessor(processor.get(), gl()));
        EXPECT_TRUE(loadedSlots(gl()).empty());
        EXPECT_EQ(glCallCounts().createProgram, 0);
    }

    clearPrograms();
    EXPECT_FALSE(prewarmText(R"({"identifier": "x", "processors": [
        {"name": "gamma", "parameters": {"value": 1.4}},
        {"name": "sepia", "parameters": {}},
        {"name": "noise", "parameters": {"intensity": 0.1}}]})"));
    EXPECT_EQ(loadedSlots(gl()), Slots{"colorMapProgram"});

    clearPrograms();
    EXPECT_TRUE(prewarmText(R"({"identifier": "x", "processors": []})"));
    EXPECT_EQ(glCallCounts().createProgram, 0);

    // Roots the loader would refuse are refused here too, as are null arguments.
    for (const char *root : {R"({"identifier": 1, "processors": []})", R"({"identifier": "x", "processors": {}})",
                             R"([])"}) {
        const Tree tree = qlpl_test::parse(root);
        EXPECT_FALSE(QLPLPrewarmEffect(tree.get(), gl())) << root;
    }
    const Tree effect = qlpl_test::parse(qlpl_test::recipeWith("gamma", R"({"value": 1})"));
    const Tree processor = processorTree("gamma", "{}");
    EXPECT_FALSE(QLPLPrewarmEffect(nullptr, gl()));
    EXPECT_FALSE(QLPLPrewarmEffect(effect.get(), nullptr));
    EXPECT_FALSE(QLPLPrewarmProcessor(nullptr, gl()));
    EXPECT_FALSE(QLPLPrewarmProcessor(processor.get(), nullptr));
    EXPECT_EQ(glCallCounts().createProgram, 0);
    QOP_EXPECT_NO_GL_ERROR();
}

// Once a program could not be made, the warm-up makes nothing more and says so.
TEST_F(QLPLPrewarmGpuTest, FailureLatchStopsTheWarmUp)
{
    clearPrograms();
    QopGLColorMapProgram_t broken{};
    testing::internal::CaptureStdout();
    QopGLLoadShaderProgramIfNecessary(&broken.programID, QopGLSetupColorMapProgram, VertexShader,
                                      "#version 100\nvoid main() { gl_FragColor = undeclared; }\n", gl(), false);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(gl()->state, QopGLStateFailed);

    resetGLCallCounts();
    testing::internal::CaptureStdout();
    EXPECT_FALSE(prewarmText(qlpl_test::readCorpus("mixed/faded_frame.json")));
    const Tree processor = processorTree("noise", "{}");
    EXPECT_FALSE(QLPLPrewarmProcessor(processor.get(), gl()));
    const Tree intensityMap = processorTree("intensityMap", R"({"blendMode": "screen"})");
    EXPECT_FALSE(QLPLPrewarmProcessor(intensityMap.get(), gl())) << "even a processor with nothing to load";
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("GL Already failed somewhere, bailing."), std::string::npos);
    EXPECT_EQ(glCallCounts().createProgram, 0);
    EXPECT_TRUE(loadedSlots(gl()).empty());
}

// Warming draws an empty triangle list when an image is bound; neither that nor the load
// without an image leaves a GL error behind.
TEST_F(QLPLPrewarmGpuTest, WarmUpRaisesNoGLErrorWithOrWithoutAnImage)
{
    const std::string recipe = qlpl_test::readCorpus("mixed/faded_frame.json");
    clearPrograms();
    EXPECT_TRUE(prewarmText(recipe));
    QOP_EXPECT_NO_GL_ERROR();

    clearPrograms();
    TestBitmap image = gpuBitmap(makeRamp(8, 8));
    QopGLSetBitmap(image.get(), gl());
    EXPECT_TRUE(prewarmText(recipe));
    for (const ProcessorCase &c : processorCases()) {
        const Tree processor = processorTree(c.name, c.parameters);
        EXPECT_TRUE(QLPLPrewarmProcessor(processor.get(), gl())) << c.name;
    }
    QOP_EXPECT_NO_GL_ERROR();
}

} // namespace
} // namespace qop_test
