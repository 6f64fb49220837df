// The recipe runner on a GPU bitmap: a whole recipe is one GPU effect, and a recipe that fails
// part-way still closes it (an effect left open would keep the record marked busy for the
// background pause and make the next effect begin inside this one).
#include "QopGLTestSupport.h"

#include "QopLite/QLPL.h"
#include "QopLite/QopBitmap.h"

namespace qop_test {
namespace {

using QLPLGpuTest = GLTest;

bool runRecipeText(const char *text, QopBitmap_t *bitmap)
{
    QopEffectParams_t params;
    QopEffectInitParams(&params);
    QopJSONEffect effect = QLPLLoadEffect(text);
    EXPECT_NE(effect, nullptr) << text;
    const bool ok = QLPLRunEffect(effect, bitmap, &params);
    QLPLUnloadEffect(&effect);
    return ok;
}

TEST_F(QLPLGpuTest, EmptyRecipeIsOneEmptyEffect)
{
    const TestBitmap input = makeHueWheel(21, 13);
    TestBitmap image = gpuBitmap(input);
    EXPECT_TRUE(runRecipeText(R"({"identifier": "x", "processors": []})", image.get()));
    EXPECT_TRUE(image == input);
    EXPECT_EQ(gl()->effectDepth, 0);
    EXPECT_FALSE(gl()->isMakingGLCalls);
}

TEST_F(QLPLGpuTest, FailingRecipeClosesItsEffectAndKeepsTheEarlierPasses)
{
    const TestBitmap input = makeHueWheel(21, 13);
    TestBitmap image = gpuBitmap(input);
    EXPECT_FALSE(runRecipeText(
        R"({"identifier": "x", "processors": [{"name": "original", "parameters": {}}, {"name": "sepia", "parameters": {}}]})",
        image.get()));
    EXPECT_EQ(gl()->effectDepth, 0);
    EXPECT_FALSE(gl()->isMakingGLCalls);
    EXPECT_TRUE(image == input) << "the effect was finished and read back";

    // Inside an effect of the caller's, the failing recipe's bracket is balanced: the caller's
    // earlier pass survives and the caller's finish reads the result back.
    QopGLCreateEffect(image.get());
    addInvertPass(gl());
    EXPECT_FALSE(runRecipeText(R"({"identifier": "x", "processors": [{"name": "gamma", "parameters": {}}]})",
                               image.get()));
    EXPECT_EQ(gl()->effectDepth, 1);
    QopGLFinalizeEffect(image.get());
    EXPECT_EQ(gl()->effectDepth, 0);
    EXPECT_TRUE(image == inverted(input));

    // And the next recipe starts an effect of its own.
    EXPECT_TRUE(runRecipeText(R"({"identifier": "x", "processors": [{"name": "original", "parameters": {}}]})",
                              image.get()));
    EXPECT_EQ(gl()->effectDepth, 0);
    EXPECT_TRUE(image == inverted(input));
}

} // namespace
} // namespace qop_test
