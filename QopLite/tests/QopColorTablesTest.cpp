// The fixed colour tables, recomputed from their rules (in double, rounded once to float), and
// the caller-side table builders that must reproduce them bit for bit.
#include "QopLite/QopColor.h"
#include "QopLite/QopColorTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

double srgbToLinearRule(int i)
{
    double x = i / 255.0;
    return x <= 0.04045 ? 100.0 * x / 12.92 : 100.0 * std::pow((x + 0.055) / 1.055, 2.4);
}

double linearToSRGBRule(int i)
{
    double x = i / 1023.0;
    return x <= 0.0031308 ? 12.92 * x : 1.055 * std::pow(x, 1.0 / 2.4) - 0.055;
}

} // namespace

TEST(QopColorTables, EveryEntryFollowsItsRule)
{
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(QopSRGBToLinearTable[i], float(srgbToLinearRule(i))) << i;
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(QopCubeRootTable[i], float(std::cbrt(i / 1023.0))) << i;
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(QopLinearToSRGBTable[i], float(linearToSRGBRule(i))) << i;
    EXPECT_EQ(sizeof(QopSRGBToLinearTable) + sizeof(QopCubeRootTable) + sizeof(QopLinearToSRGBTable), 9216u);
}

TEST(QopColorTables, EndsAndKneesAreContinuous)
{
    EXPECT_EQ(QopSRGBToLinearTable[0], 0.0f);
    EXPECT_EQ(QopSRGBToLinearTable[255], 100.0f);
    EXPECT_EQ(QopCubeRootTable[0], 0.0f);
    EXPECT_EQ(QopCubeRootTable[1023], 1.0f);
    EXPECT_EQ(QopLinearToSRGBTable[0], 0.0f);
    EXPECT_FLOAT_EQ(QopLinearToSRGBTable[1023], 1.0f);
    // Both curves are increasing, and neither jumps at the switch between its two pieces: a
    // wrong constant in either piece would show up as a step here.
    for (int i = 1; i < 256; ++i) {
        ASSERT_GT(QopSRGBToLinearTable[i], QopSRGBToLinearTable[i - 1]) << i;
        ASSERT_LT(QopSRGBToLinearTable[i] - QopSRGBToLinearTable[i - 1], 0.9f) << i;
    }
    for (int i = 1; i < 1024; ++i) {
        ASSERT_GT(QopLinearToSRGBTable[i], QopLinearToSRGBTable[i - 1]) << i;
        ASSERT_GT(QopCubeRootTable[i], QopCubeRootTable[i - 1]) << i;
    }
    // The two sRGB curves invert each other: entry 1023 x linear(i)/100 maps back near i.
    for (int i = 0; i < 256; i += 15) {
        int j = int(QopSRGBToLinearTable[i] / 100.0f * 1023.0f + 0.5f);
        EXPECT_NEAR(QopLinearToSRGBTable[j] * 255.0f, float(i), 1.0f) << i;
    }
}

TEST(QopColorTables, CallerTablesEqualTheFixedOnes)
{
    float mapping[256], cbrt[1024];
    QopColorRGB2LABInitMapping(mapping);
    QopColorRGB2LABInitMappingCbrt(cbrt);
    EXPECT_EQ(std::memcmp(mapping, QopSRGBToLinearTable, sizeof(mapping)), 0);
    EXPECT_EQ(std::memcmp(cbrt, QopCubeRootTable, sizeof(cbrt)), 0);
}
