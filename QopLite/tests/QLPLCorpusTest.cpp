// The whole recipe corpus runs: every recipe under processors/, mixed/ and legacy/ (one per legacy
// name) succeeds with three seeds at intensities 0, 0.5 and 1, and gives the same image for the
// same seed.
#include "QLPLTestSupport.h"
#include "QopTestBitmap.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopLegacyBorders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

namespace {

std::vector<std::string> corpusRecipes()
{
    std::vector<std::string> names;
    for (const char *dir : {"processors", "mixed", "legacy"}) {
        for (const auto &entry : std::filesystem::directory_iterator(qlpl_test::corpusPath(dir))) {
            const std::string name = std::string(dir) + "/" + entry.path().filename().string();
            // The one processor the warm-up knows but the runner does not offer: refused by design.
            if (name != "processors/auto_colors_fade_max_color.json")
                names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

time_t fixedClock() { return 1700000000; }

TEST(QLPLCorpus, EveryRecipeRunsDeterministicallyPerSeed)
{
    QopLegacyBordersSetClock(fixedClock);
    const qop_test::TestBitmap photo = qop_test::makePhotoLike(96, 72);
    const std::vector<std::string> recipes = corpusRecipes();
    ASSERT_GE(recipes.size(), 38u + 16u);
    for (const std::string &name : recipes) {
        const std::string text = qlpl_test::readCorpus(name);
        for (uint32_t seed : {1u, 77u, 4242u}) {
            for (double intensity : {0.0, 0.5, 1.0}) {
                QopEffectParams_t params;
                QopEffectInitParams(&params);
                params.seed = seed;
                params.intensity = intensity;
                qop_test::TestBitmap first = photo, second = photo;
                EXPECT_TRUE(qlpl_test::runRecipe(text, first.get(), &params))
                    << name << " seed " << seed << " intensity " << intensity;
                EXPECT_TRUE(qlpl_test::runRecipe(text, second.get(), &params));
                EXPECT_TRUE(first == second) << name << " seed " << seed << " intensity " << intensity;
            }
        }
    }
    QopLegacyBordersSetClock(nullptr);
}

// Every legacy name of the runner's table has its recipe in the corpus.
TEST(QLPLCorpus, CoversEveryLegacyName)
{
    const qop_test::TestBitmap photo = qop_test::makePhotoLike(48, 36);
    for (const char *name : qlpl_test::kLegacyNames) {
        const std::string text = qlpl_test::readCorpus(std::string("legacy/") + name + ".json");
        ASSERT_NE(text.find(name), std::string::npos) << name;
        QopEffectParams_t params;
        QopEffectInitParams(&params);
        params.seed = 3;
        qop_test::TestBitmap bitmap = photo;
        EXPECT_TRUE(qlpl_test::runRecipe(text, bitmap.get(), &params)) << name;
        EXPECT_FALSE(bitmap == photo) << name << " changes the photo";
    }
}

} // namespace
