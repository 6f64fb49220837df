// The corpus recipes of the drawing processors ("vignette", "flare", "gradient") run on the CPU
// and draw what their kernels draw with the arguments read from the recipe.
#include "QLPLTestSupport.h"
#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopAlloc.h"
#include "QopLite/QopBitmap.h"
#include "QopLite/QopFlare.h"
#include "QopLite/QopGradientMap.h"

#include "../proclist/src/QLPLProcessorArgs.h"

#include <gtest/gtest.h>

using qop_test::TestBitmap;

namespace {

QopEffectParams_t paramsAt(double intensity)
{
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    params.intensity = intensity;
    params.seed = 77;
    return params;
}

// The first processor's parameters of a corpus recipe.
yajl_val firstParameters(const qlpl_test::Tree &tree)
{
    const char *processorsPath[] = {"processors", nullptr};
    yajl_val processors = yajl_tree_get(tree.get(), processorsPath, yajl_t_array);
    const char *parametersPath[] = {"parameters", nullptr};
    return yajl_tree_get(processors->u.array.values[0], parametersPath, yajl_t_object);
}

} // namespace

TEST(QLPLDrawingRecipes, FlareAndGradientRecipesDrawTheirKernelsResult)
{
    for (double intensity : {1.0, 0.6}) {
        const TestBitmap input = qop_test::makePhotoLike(120, 80);
        QopEffectParams_t params = paramsAt(intensity);

        const std::string flareText = qlpl_test::readCorpus("processors/flare.json");
        auto flareTree = qlpl_test::parse(flareText);
        ASSERT_TRUE(flareTree);
        QLPLFlareArgs flare;
        ASSERT_TRUE(QLPLFlareArgsFromParameters(firstParameters(flareTree), &params, &flare));
        TestBitmap expected = input;
        QopFlare(expected.get(), flare.fScale, &flare.color, flare.type, flare.dx, flare.dy, flare.dsx, flare.dsy,
                 flare.blendMode);
        ASSERT_FALSE(expected == input);
        TestBitmap actual = input;
        EXPECT_TRUE(qlpl_test::runRecipe(flareText, actual.get(), &params));
        EXPECT_TRUE(actual == expected) << "flare at " << intensity;

        const std::string gradientText = qlpl_test::readCorpus("processors/gradient.json");
        auto gradientTree = qlpl_test::parse(gradientText);
        ASSERT_TRUE(gradientTree);
        QLPLGradientArgs gradient;
        ASSERT_TRUE(QLPLGradientArgsFromParameters(firstParameters(gradientTree), input.get(), &params, &gradient));
        expected = input;
        QopGradientApply(expected.get(), &gradient.shape, &gradient.gradient, gradient.blendMode, gradient.alphaBlend);
        QopGradientFree(&gradient.gradient);
        ASSERT_FALSE(expected == input);
        actual = input;
        EXPECT_TRUE(qlpl_test::runRecipe(gradientText, actual.get(), &params));
        EXPECT_TRUE(actual == expected) << "gradient at " << intensity;
    }
}

// The corpus vignette (multiply, dark colour) darkens the corners and leaves the middle.
TEST(QLPLDrawingRecipes, VignetteRecipeDarkensTheCorners)
{
    TestBitmap input(120, 80);
    input.fill({200, 200, 200, 255});
    TestBitmap actual = input;
    QopEffectParams_t params = paramsAt(1.0);
    EXPECT_TRUE(qlpl_test::runRecipe(qlpl_test::readCorpus("processors/vignette.json"), actual.get(), &params));
    EXPECT_LT(actual.at(0, 0).r, 100);
    EXPECT_LT(actual.at(119, 79).r, 100);
    // The centre is shifted by (0.1, -0.05) of the half sizes.
    EXPECT_EQ(actual.at(66, 38).r, 200);
}
