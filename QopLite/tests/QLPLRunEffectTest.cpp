// Loading and running recipes: the root and processor checks, that each immediate processor
// hands its kernel the arguments the recipe and the effect intensity call for, the intensity-0
// identities, the border flag and partial failure.
#include "QLPLTestSupport.h"
#include "QopImageCompare.h"
#include "QopTestBitmap.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopAutoColors.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopColorMatrix.h"
#include "QopLite/QopConvolution.h"
#include "QopLite/QopEnhance.h"
#include "QopLite/QopHistogram.h"
#include "QopLite/QopNoise.h"

#include "../proclist/src/QLPLProcessorArgs.h"

#include <gtest/gtest.h>

#include <functional>

using qlpl_test::mapArray;
using qlpl_test::parse;
using qlpl_test::recipeWith;
using qlpl_test::runRecipe;
using qop_test::TestBitmap;

namespace {

QopEffectParams_t paramsAt(double intensity, uint32_t seed = 1234, bool border = true)
{
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    params.intensity = intensity;
    params.seed = seed;
    params.border = border;
    return params;
}

TestBitmap photo() { return qop_test::makePhotoLike(40, 28); }

const std::string kCurveMap = R"({"r": )" + mapArray([](int i) { return 255 - i; }) + R"(, "g": )" +
                              mapArray([](int i) { return i < 128 ? i * 2 : 255; }) + R"(, "b": )" +
                              mapArray([](int i) { return i / 3; }) + "}";

QopHistMap_t curveMap()
{
    QopHistMap_t map;
    for (int i = 0; i < 256; ++i) {
        map.r[i] = static_cast<uint8_t>(255 - i);
        map.g[i] = static_cast<uint8_t>(i < 128 ? i * 2 : 255);
        map.b[i] = static_cast<uint8_t>(i / 3);
    }
    return map;
}

TEST(QLPLLoadEffect, RefusesTextsThatAreNotRecipes)
{
    struct Case {
        std::string text;
        const char *why;
    };
    const Case cases[] = {
        {qlpl_test::readCorpus("malformed/not_json.json"), "unterminated document"},
        {qlpl_test::readCorpus("malformed/trailing_garbage.json"), "a second document after the first"},
        {qlpl_test::readCorpus("malformed/identifier_number.json"), "identifier is a number"},
        {qlpl_test::readCorpus("malformed/no_processors.json"), "no processors"},
        {qlpl_test::readCorpus("malformed/processors_object.json"), "processors is an object"},
        {qlpl_test::readCorpus("malformed/root_array.json"), "root is an array"},
        {qlpl_test::readCorpus("malformed/deep_nesting.json"), "nesting past the limit"},
        {"", "empty text"},
        {"null", "null root"},
    };
    for (const Case &c : cases) {
        QopJSONEffect effect = QLPLLoadEffect(c.text.c_str());
        EXPECT_EQ(effect, nullptr) << c.why;
        QLPLUnloadEffect(&effect);
    }
    EXPECT_EQ(QLPLLoadEffect(nullptr), nullptr);

    // Nesting up to the limit still loads; brackets inside strings do not count.
    std::string deep = R"({"identifier": "[[[[", "processors": [], "x": )";
    deep += std::string(QLPL_MAX_NESTING - 1, '[') + std::string(QLPL_MAX_NESTING - 1, ']') + "}";
    QopJSONEffect effect = QLPLLoadEffect(deep.c_str());
    EXPECT_NE(effect, nullptr);
    QLPLUnloadEffect(&effect);
    EXPECT_EQ(effect, nullptr);
    QLPLUnloadEffect(nullptr);

    // Comments are allowed, and a quote inside one hides no brackets from the nesting limit.
    const std::string commented = "// a \"quoted\" note\n/* \" */ {\"identifier\": \"x\", \"processors\": []}";
    effect = QLPLLoadEffect(commented.c_str());
    EXPECT_NE(effect, nullptr);
    QLPLUnloadEffect(&effect);
    for (const char *opening : {"/* \" */ ", "// \"\n"}) {
        const std::string hidden = std::string(opening) + R"({"identifier": "x", "processors": [)" +
                                   std::string(QLPL_MAX_NESTING, '[') + std::string(QLPL_MAX_NESTING, ']') + "]}";
        EXPECT_EQ(QLPLLoadEffect(hidden.c_str()), nullptr) << opening;
    }
}

TEST(QLPLRunEffect, RefusesNullArgumentsAndTreesThatAreNotRecipes)
{
    TestBitmap bitmap = photo();
    QopEffectParams_t params = paramsAt(1.0);
    QopJSONEffect effect = QLPLLoadEffect(R"({"identifier": "x", "processors": []})");
    ASSERT_NE(effect, nullptr);
    EXPECT_TRUE(QLPLRunEffect(effect, bitmap.get(), &params));
    EXPECT_FALSE(QLPLRunEffect(nullptr, bitmap.get(), &params));
    EXPECT_FALSE(QLPLRunEffect(effect, nullptr, &params));
    EXPECT_FALSE(QLPLRunEffect(effect, bitmap.get(), nullptr));
    QLPLUnloadEffect(&effect);

    // A tree parsed by someone else is checked again by Run.
    auto notRecipe = parse(qlpl_test::readCorpus("malformed/identifier_number.json"));
    ASSERT_TRUE(notRecipe);
    EXPECT_FALSE(QLPLRunEffect(notRecipe.get(), bitmap.get(), &params));
}

// Recipes that load but fail when run, and leave a bitmap they fail on at their first processor
// unchanged.
TEST(QLPLRunEffect, FailsMalformedProcessorsWithoutTouchingTheBitmap)
{
    const char *files[] = {
        "malformed/no_parameters.json",   "malformed/color_a_256.json",         "malformed/color_fraction.json",
        "malformed/map_255_entries.json", "malformed/hardSet_11_entries.json",  "malformed/unknown_operation.json",
        "malformed/gamma_value_string.json", "malformed/unknown_legacy_name.json", "malformed/unknown_flare_type.json",
        "malformed/unknown_scaling.json", "malformed/gradient_one_stop.json",  "malformed/gradient_no_opacities.json",
    };
    for (const char *file : files) {
        TestBitmap bitmap = photo();
        const TestBitmap before = bitmap;
        QopEffectParams_t params = paramsAt(1.0);
        const std::string text = qlpl_test::readCorpus(file);
        QopJSONEffect effect = QLPLLoadEffect(text.c_str());
        ASSERT_NE(effect, nullptr) << file;
        EXPECT_FALSE(QLPLRunEffect(effect, bitmap.get(), &params)) << file;
        EXPECT_TRUE(bitmap == before) << file;
        QLPLUnloadEffect(&effect);
    }

    // Processor objects the dispatcher refuses.
    TestBitmap bitmap = photo();
    QopEffectParams_t params = paramsAt(1.0);
    for (const char *processor : {R"({"name": "gamma", "parameters": []})", R"({"name": 3, "parameters": {}})",
                                  R"({"parameters": {"value": 1}})", R"(["gamma", {"value": 1}])",
                                  R"({"name": "Gamma", "parameters": {"value": 1}})",
                                  R"({"name": "auto_colors_fade_max_color", "parameters": {"color": {"r": 1, "g": 1, "b": 1, "a": 1}}})"}) {
        auto tree = parse(processor);
        EXPECT_FALSE(QLPLRunProcessor(tree.get(), bitmap.get(), &params)) << processor;
    }
}

// Each immediate processor at intensity 0.6 does what the kernel does with the arguments derived
// from the recipe: a wrong scaling of the intensity shows as a different image.
TEST(QLPLRunEffect, ImmediateProcessorsHandTheirKernelsTheDerivedArguments)
{
    const float t = 0.6f;
    struct Case {
        const char *name;
        std::string parameters;
        std::function<void(QopBitmap_t *)> expected;
    };
    const Case cases[] = {
        {"original", "{}", [](QopBitmap_t *) {}},
        {"histogramMapping", R"({"histMap": )" + kCurveMap + "}",
         [](QopBitmap_t *b) {
             QopHistMap_t map = curveMap();
             QopHistMapFade(&map, 0.6);
             QopBitmapHistogramTransform(b, &map);
         }},
        {"gamma", R"({"value": 2.2})", [t](QopBitmap_t *b) { QopBitmapGamma(b, t * 2.2f + (1.0f - t)); }},
        {"contrast", R"({"value": 1.8})", [t](QopBitmap_t *b) { QopBitmapContrastCurve(b, t * 1.8f + (1.0f - t)); }},
        {"colorMatrixTransform",
         R"({"operations": [{"operation": "brightness", "value": 1.3}, {"operation": "contrast", "value": 1.5},
                            {"operation": "saturation", "value": 0.2}]})",
         [t](QopBitmap_t *b) {
             QopColorMatrix_t m;
             QopColorMatrixSetIdentity(m);
             QopColorMatrixBrightness(m, t * 1.3f + (1.0f - t));
             QopColorMatrixContrast(m, (t * 1.5f + (1.0f - t)) - 1.0f);
             QopColorMatrixAdjSaturation(m, t * 0.2f + (1.0f - t));
             QopBitmapColorMatrixTransform(b, m);
         }},
        {"intensityMap", R"({"histMap": )" + kCurveMap + R"(, "blendMode": "overlay", "alpha": 0.7})",
         [](QopBitmap_t *b) {
             QopHistMap_t map = curveMap();
             QopHistMapFade(&map, 0.6);
             QopBitmapIntensityMap(b, &map, QopBlendModeOverlay, 0.7 * 0.6);
         }},
        {"blendWithColor", R"({"color": {"r": 200, "g": 30, "b": 90, "a": 180}, "blendMode": "color", "alpha": 0.9})",
         [](QopBitmap_t *b) {
             const QopColor_t c{200, 30, 90, 180};
             QopBitmapBlendWithColor(b, &c, QopBlendModeColor, static_cast<float>(0.9 * 0.6));
         }},
        {"blendWithColor", R"({"color": {"r": 200, "g": 30, "b": 90, "a": 180}, "alpha": 0.9})",
         [](QopBitmap_t *b) {
             const QopColor_t c{200, 30, 90, 180};
             QopBitmapBlendWithColor(b, &c, QopBlendModeNormal, static_cast<float>(0.9 * 0.6));
         }},
        {"noise", R"({"intensity": 0.3})",
         [](QopBitmap_t *b) { QopBitmapAddNoise(b, static_cast<float>(0.3 * 0.6), 1234); }},
    };
    for (const Case &c : cases) {
        TestBitmap expected = photo();
        c.expected(expected.get());
        TestBitmap actual = photo();
        QopEffectParams_t params = paramsAt(0.6);
        ASSERT_TRUE(runRecipe(recipeWith(c.name, c.parameters), actual.get(), &params)) << c.name;
        EXPECT_TRUE(qop_test::imagesAgree(expected, actual, {}, std::string("qlpl_") + c.name, true)) << c.name;
    }
    // The noise processor changes the picture (so the comparison above is not of two no-ops).
    TestBitmap noisy = photo();
    QopEffectParams_t params = paramsAt(0.6);
    ASSERT_TRUE(runRecipe(recipeWith("noise", R"({"intensity": 0.3})"), noisy.get(), &params));
    EXPECT_FALSE(noisy == photo());
}

// At intensity 0 every immediate processor hands its kernel the identity argument: the image
// stays as it was (the contrast curve's identity still maps 255 to 254, by its own definition).
TEST(QLPLRunEffect, IntensityZeroGivesTheIdentityArguments)
{
    struct Case {
        const char *name;
        std::string parameters;
        std::function<void(QopBitmap_t *)> expected;
    };
    const auto unchanged = [](QopBitmap_t *) {};
    const Case cases[] = {
        {"gamma", R"({"value": 2.5})", unchanged},
        {"contrast", R"({"value": 3})", [](QopBitmap_t *b) { QopBitmapContrastCurve(b, 1.0f); }},
        {"histogramMapping", R"({"histMap": )" + kCurveMap + "}", unchanged},
        {"intensityMap", R"({"histMap": )" + kCurveMap + R"(, "alpha": 1})", unchanged},
        {"colorMatrixTransform",
         R"({"operations": [{"operation": "saturation", "value": 0},
                            {"operation": "hardSet", "entries": [0.3, 0.59, 0.11, 10, 0.3, 0.59, 0.11, 0, 0.3, 0.59, 0.11, 0], "gain": 2}]})",
         unchanged},
        {"colorMatrixTransform",
         R"({"operations": [{"operation": "contrast", "value": 2}, {"operation": "brightness", "value": 0.5}]})", unchanged},
        {"blendWithColor", R"({"color": {"r": 255, "g": 0, "b": 0, "a": 255}, "alpha": 1})", unchanged},
    };
    for (const Case &c : cases) {
        TestBitmap expected = photo();
        c.expected(expected.get());
        TestBitmap bitmap = photo();
        QopEffectParams_t params = paramsAt(0.0);
        ASSERT_TRUE(runRecipe(recipeWith(c.name, c.parameters), bitmap.get(), &params)) << c.name;
        EXPECT_TRUE(qop_test::imagesAgree(expected, bitmap, {}, std::string("qlpl_zero_") + c.name, true)) << c.name;
    }
}

TEST(QLPLColorMatrixOperations, HardSetReplacesTheMatrixFadedTowardIdentity)
{
    const char *entries = "[0.3, 0.59, 0.11, 10, 0.2, 0.5, 0.1, 0, 0.1, 0.4, 0.6, -5]";
    auto withGain = parse(std::string(R"([{"operation": "saturation", "value": 0.1}, {"operation": "hardSet", "entries": )") +
                          entries + R"(, "gain": 2}])");
    auto noGain = parse(std::string(R"([{"operation": "hardSet", "entries": )") + entries + "}]");
    const double e[12] = {0.3, 0.59, 0.11, 10, 0.2, 0.5, 0.1, 0, 0.1, 0.4, 0.6, -5};

    QopEffectParams_t params = paramsAt(0.6);
    QopColorMatrix_t m;
    ASSERT_TRUE(QLPLColorMatrixFromOperationsVal(withGain.get(), &params, m));
    for (int j = 0; j < 12; ++j) {
        const double diagonal = (j == 0 || j == 5 || j == 10) ? 1.0 - 0.6f : 0.0;
        EXPECT_FLOAT_EQ(m[j], static_cast<float>(e[j] * 2 * 0.6f + diagonal)) << j;
    }
    ASSERT_TRUE(QLPLColorMatrixFromOperationsVal(noGain.get(), &params, m));
    EXPECT_FLOAT_EQ(m[1], static_cast<float>(0.59 * 0.6f)) << "no gain reads as 1.0";

    params = paramsAt(0.0);
    ASSERT_TRUE(QLPLColorMatrixFromOperationsVal(withGain.get(), &params, m));
    QopColorMatrix_t identity;
    QopColorMatrixSetIdentity(identity);
    for (int j = 0; j < 12; ++j)
        EXPECT_EQ(m[j], identity[j]) << j;

    auto empty = parse("[]");
    ASSERT_TRUE(QLPLColorMatrixFromOperationsVal(empty.get(), &params, m));
    for (int j = 0; j < 12; ++j)
        EXPECT_EQ(m[j], identity[j]) << j;

    for (const char *refused : {R"([{"operation": "brightness"}])", R"([{"operation": "hardSet", "entries": [1, 2]}])",
                                R"([{"operation": "hardSet", "entries": [1,0,0,0,0,1,0,0,0,1,0,"x"]}])",
                                R"([{"value": 1}])", R"([{"operation": "gamma", "value": 1}])",
                                R"([{"operation": "hardSet", "entries": [3e38,0,0,0,0,1,0,0,0,1,0,0], "gain": 10}])"}) {
        auto tree = parse(refused);
        params = paramsAt(1.0);
        EXPECT_FALSE(QLPLColorMatrixFromOperationsVal(tree.get(), &params, m)) << refused;
    }
}

TEST(QLPLFlareArguments, AlphaFollowsTheIntensityAndStaysWithinAByte)
{
    auto parameters = parse(R"({"color": {"r": 255, "g": 200, "b": 100, "a": 200}, "blendMode": "overlay",
                                "type": "blob", "dx": 0.1, "dy": -0.2, "dsx": 1.5, "dsy": 0.5, "fScale": 2})");
    struct Case {
        double intensity;
        int alpha;
    };
    for (const Case c : {Case{1.0, 200}, Case{0.5, 100}, Case{0.0, 0}, Case{2.0, 255}, Case{-1.0, 0}}) {
        QopEffectParams_t params = paramsAt(c.intensity);
        QLPLFlareArgs args;
        ASSERT_TRUE(QLPLFlareArgsFromParameters(parameters.get(), &params, &args));
        EXPECT_EQ(args.color.a, c.alpha) << "intensity " << c.intensity;
        EXPECT_EQ(args.color.r, 255);
        EXPECT_EQ(args.type, QopFlareBlob);
        EXPECT_EQ(args.blendMode, QopBlendModeOverlay);
        EXPECT_EQ(args.dy, -0.2f);
        EXPECT_EQ(args.dsx, 1.5f);
        EXPECT_EQ(args.fScale, 2.0f);
    }
    // Every key is required, the blend mode included (though any word in it reads as normal).
    auto noBlend = parse(R"({"color": {"r": 1, "g": 1, "b": 1, "a": 1}, "type": "blob", "dx": 0, "dy": 0,
                             "dsx": 1, "dsy": 1, "fScale": 1})");
    QopEffectParams_t params = paramsAt(1.0);
    QLPLFlareArgs args;
    EXPECT_FALSE(QLPLFlareArgsFromParameters(noBlend.get(), &params, &args));
}

TEST(QLPLNoiseIntensity, ScalesByTheEffectAndClampsBeforeTheKernelConvertsIt)
{
    float out = 0;
    ASSERT_TRUE(QLPLNoiseIntensity(0.5, 0.6, &out));
    EXPECT_EQ(out, static_cast<float>(0.5 * 0.6));
    ASSERT_TRUE(QLPLNoiseIntensity(1e300, 1.0, &out));
    EXPECT_EQ(out, static_cast<float>(kQLPLMaxNoiseIntensity));
    ASSERT_TRUE(QLPLNoiseIntensity(-1e300, 2.0, &out));
    EXPECT_EQ(out, static_cast<float>(-kQLPLMaxNoiseIntensity));
    EXPECT_LT(kQLPLMaxNoiseIntensity * 255.0, 2147483647.0);

    // Through the runner, on a bitmap: a huge intensity saturates instead of overflowing.
    TestBitmap bitmap = photo();
    QopEffectParams_t params = paramsAt(1.0);
    EXPECT_TRUE(runRecipe(recipeWith("noise", R"({"intensity": 1e300})"), bitmap.get(), &params));
}

TEST(QLPLGradientArguments, ReadTheShapeAndScaleTheAlpha)
{
    const std::string text = qlpl_test::readCorpus("processors/gradient.json");
    auto recipe = parse(text);
    ASSERT_TRUE(recipe);
    yajl_val parameters = recipe->u.object.values[1]->u.array.values[0]->u.object.values[1];
    QopBitmap_t bitmap{nullptr, 200, 100, nullptr};
    QopEffectParams_t params = paramsAt(0.5);
    QLPLGradientArgs args;
    ASSERT_TRUE(QLPLGradientArgsFromParameters(parameters, &bitmap, &params, &args));
    EXPECT_EQ(args.gradient.colorLength, 2u);
    EXPECT_EQ(args.gradient.opacityLength, 2u);
    EXPECT_EQ(args.shape.shapeMode, QopGradientShapeModeLinearVignette);
    EXPECT_DOUBLE_EQ(args.alphaBlend, 0.7 * 0.5);
    EXPECT_EQ(args.blendMode, QopBlendModeOverlay);
    EXPECT_FLOAT_EQ(static_cast<float>(args.shape.angle), 30.0f * 3.14159265f / 180.0f);
    // The vignette shape is read at intensity 1 without the pad, whatever the effect intensity.
    EXPECT_DOUBLE_EQ(args.shape.vignetteScale, 0.8);
    QopGradientFree(&args.gradient);
}

TEST(QLPLLegacyProcessor, GatedBordersSucceedWithoutDrawingWhenTheBorderFlagIsOff)
{
    const char *gated[] = {"san_carmenBorder", "tam_brewBorder", "vexaBorder", "singeBorder", "aquaBorder",
                           "threshBorder", "edgewoodBorder", "purpleBorder", "cherryBorder", "cross_processBorder",
                           "fadedBorder", "ithacaBorder", "sunburnBorder", "earthyBorder", "solarBorder",
                           "old_threshBorder", "tova_quinbelBorder", "brownieBorder", "orcaBorder", "chronoBorder",
                           "titanBorder", "cabanaBorder", "bordeauxBorder", "covertBorder"};
    for (const char *name : gated) {
        TestBitmap bitmap = photo();
        QopEffectParams_t params = paramsAt(1.0, 7, false);
        EXPECT_TRUE(runRecipe(recipeWith("legacyProcessor", std::string(R"({"legacyName": ")") + name + "\"}"),
                              bitmap.get(), &params))
            << name;
        EXPECT_TRUE(bitmap == photo()) << name;
    }
    // The pellar borders are not gated: with the flag off they still draw.
    TestBitmap bitmap = photo();
    QopEffectParams_t params = paramsAt(1.0, 7, false);
    EXPECT_TRUE(runRecipe(recipeWith("legacyProcessor", R"({"legacyName": "pellarBWBorder"})"), bitmap.get(), &params));
    EXPECT_FALSE(bitmap == photo());
    EXPECT_FALSE(runRecipe(recipeWith("legacyProcessor", R"({"legacyName": "san_carmen"})"), bitmap.get(), &params));
    EXPECT_FALSE(runRecipe(recipeWith("legacyProcessor", R"({"legacyName": 3})"), bitmap.get(), &params));
}

// The filter and correction processors hand their kernels the derived arguments (alpha scaled by
// the intensity; the warm white point of the legacy auto colours).
TEST(QLPLRunEffect, FilterAndCorrectionProcessorsRunTheirKernels)
{
    using Kernel = std::function<void(QopBitmap_t *)>;
    struct Case {
        std::string recipe;
        Kernel kernel;
    };
    const QopColor_t warm = {251, 233, 194, 255};
    const Case cases[] = {
        {qlpl_test::readCorpus("processors/sharpness.json"),
         [](QopBitmap_t *b) { QopConvolutionProcessorSharpenAndBlendWithOriginal(b, 1.5f, 0.6f * 0.7f, QopBlendModeOverlay); }},
        {recipeWith("legacyProcessor", R"({"legacyName": "soft_focus"})"), QopConvolutionEffectSoftFocus},
        {recipeWith("legacyProcessor", R"({"legacyName": "clarityEnhance"})"), QopLocalContrastEnhanceProcessor},
        {recipeWith("legacyProcessor", R"({"legacyName": "san_carmenAutoColors"})"),
         [&](QopBitmap_t *b) { QopAutoColorsFadeMaxColor(b, 0.7, &warm); }},
    };
    for (const Case &c : cases) {
        TestBitmap expected = photo();
        c.kernel(expected.get());
        ASSERT_FALSE(expected == photo()) << c.recipe;
        TestBitmap bitmap = photo();
        QopEffectParams_t params = paramsAt(0.7);
        EXPECT_TRUE(runRecipe(c.recipe, bitmap.get(), &params)) << c.recipe;
        EXPECT_TRUE(qop_test::imagesAgree(expected, bitmap, {}, "qlpl_filter", true)) << c.recipe;
    }
    TestBitmap expected = photo();
    const QopColor_t color = {200, 180, 250, 255};
    QopAutoColorsFadeMaxColor(expected.get(), 0.7, &color);
    TestBitmap bitmap = photo();
    QopEffectParams_t params = paramsAt(0.7);
    auto autoColors = parse(R"({"color": {"r": 200, "g": 180, "b": 250, "a": 255}})");
    EXPECT_TRUE(QLPLRunAutoColorsFadeMaxProcessor(autoColors.get(), bitmap.get(), &params));
    EXPECT_TRUE(bitmap == expected);
}

TEST(QLPLRunEffect, KeepsWhatRanBeforeTheFailingProcessor)
{
    TestBitmap expected = photo();
    QopBitmapGamma(expected.get(), 1.2f);
    TestBitmap bitmap = photo();
    QopEffectParams_t params = paramsAt(1.0);
    EXPECT_FALSE(runRecipe(qlpl_test::readCorpus("malformed/unknown_processor.json"), bitmap.get(), &params));
    EXPECT_TRUE(qop_test::imagesAgree(expected, bitmap, {}, "qlpl_partial", true));
}

TEST(QLPLRunEffect, RunsTheCorpusMixesAndLeavesTheTreeUnchanged)
{
    struct Case {
        const char *file;
        bool runs;
    };
    for (const Case c : {Case{"mixed/warm_film.json", true}, Case{"mixed/empty.json", true},
                         Case{"mixed/extra_keys.json", true}, Case{"mixed/faded_frame.json", true},
                         Case{"processors/colorMatrixTransform_hardSet.json", true}}) {
        const std::string text = qlpl_test::readCorpus(c.file);
        QopJSONEffect effect = QLPLLoadEffect(text.c_str());
        ASSERT_NE(effect, nullptr) << c.file;
        TestBitmap first = photo(), second = photo();
        QopEffectParams_t params = paramsAt(0.8, 99);
        EXPECT_EQ(QLPLRunEffect(effect, first.get(), &params), c.runs) << c.file;
        EXPECT_EQ(QLPLRunEffect(effect, second.get(), &params), c.runs) << c.file;
        EXPECT_TRUE(first == second) << c.file << ": a second run of the same tree must give the same image";
        QLPLUnloadEffect(&effect);
    }
}

} // namespace
