// Every tone recipe of the corpus run on the GPU agrees with the same recipe on the CPU. Noise is
// the one tone step whose GPU grain is not the CPU's (only its strength must match): a recipe that
// ends in noise is compared pixel by pixel without it, and whole by its mean.
#include "QopGLTestSupport.h"
#include "QopGpuComparison.h"

#include "../QLPLTestSupport.h"
#include "QopLite/QopBitmap.h"

#include <cmath>
#include <cstdio>

namespace qop_test {
namespace {

struct ToneRecipe {
    const char *path;
    int tolerance; // levels: 1 for matrix and overlay steps, 2 with intensity maps or Color mode
};

constexpr ToneRecipe kToneRecipes[] = {
    {"processors/histogramMapping.json", 0},
    {"processors/gamma.json", 0},
    {"processors/contrast.json", 0},
    {"processors/colorMatrixTransform.json", 1},
    {"processors/colorMatrixTransform_hardSet.json", 1},
    {"processors/intensityMap.json", 2},
    {"processors/blendWithColor.json", 2},
    {"mixed/extra_keys.json", 0},
    {"mixed/warm_film.json", 2},
};

BitmapOperation recipeOperation(const std::string &text)
{
    return [text](QopBitmap_t *bitmap) {
        QopEffectParams_t params;
        QopEffectInitParams(&params);
        QopJSONEffect effect = QLPLLoadEffect(text.c_str());
        ASSERT_NE(effect, nullptr);
        EXPECT_TRUE(QLPLRunEffect(effect, bitmap, &params));
        QLPLUnloadEffect(&effect);
    };
}

// The recipe text without its noise step (the corpus writes it as the last processor).
std::string withoutNoise(const std::string &text)
{
    const size_t name = text.find("\"name\": \"noise\"");
    if (name == std::string::npos)
        return text;
    const size_t open = text.rfind('{', name);
    const size_t comma = text.rfind(',', open);
    const size_t end = text.find(']', name);
    return text.substr(0, comma) + "\n ]" + text.substr(end + 1);
}

using QLPLToneRecipesGpuTest = GLTest;

TEST_F(QLPLToneRecipesGpuTest, ToneRecipesAgreeWithTheCpu)
{
    const TestBitmap images[] = {makePhotoLike(167, 113), makeHueWheel(96, 72)};
    for (const ToneRecipe &recipe : kToneRecipes) {
        const std::string text = qlpl_test::readCorpus(recipe.path);
        ASSERT_FALSE(text.empty()) << recipe.path;
        const std::string comparable = withoutNoise(text);
        const bool hasNoise = comparable != text;
        for (const TestBitmap &image : images) {
            SCOPED_TRACE(recipe.path);
            GpuComparison result = compareCpuAndGpu(image, recipeOperation(comparable));
            ASSERT_TRUE(result.ran) << result.skipReason;
            std::printf("[agreement] recipe %-38s %s%s\n", recipe.path, describe(result.diff).c_str(),
                        hasNoise ? " (noise step left out)" : "");
            EXPECT_FALSE(result.cpu == image) << "the recipe changes the image";
            EXPECT_TRUE(gpuAgreesWithCpu(result, Tolerance{recipe.tolerance, -1, -1}, recipe.path));
            if (hasNoise) {
                GpuComparison whole = compareCpuAndGpu(image, recipeOperation(text));
                EXPECT_EQ(whole.glError, static_cast<unsigned>(GL_NO_ERROR));
                EXPECT_LE(std::fabs(whole.diff.meanSigned), 1.0) << "the grain moves the mean alike";
            }
        }
    }
}

TEST_F(QLPLToneRecipesGpuTest, NoiseRecipeKeepsTheMean)
{
    TestBitmap grey(128, 96);
    grey.fill(QopColor_t{120, 130, 140, 255});
    GpuComparison result = compareCpuAndGpu(grey, recipeOperation(qlpl_test::readCorpus("processors/noise.json")));
    ASSERT_TRUE(result.ran) << result.skipReason;
    EXPECT_EQ(result.glError, static_cast<unsigned>(GL_NO_ERROR));
    EXPECT_FALSE(result.gpu == grey) << "the GPU recipe adds grain";
    EXPECT_LE(std::fabs(result.diff.meanSigned), 1.0);
}

} // namespace
} // namespace qop_test
