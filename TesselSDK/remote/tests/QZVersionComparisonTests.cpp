#include <gtest/gtest.h>

#include <string>

#include "TesselSDK/remote/QZVersionComparison.h"

namespace {

TEST(QZVersionComparisonTest, OrdersVersionsByNumericRunsAndFoldedLetters)
{
    struct Case {
        std::string stored;
        std::string offered;
        int order;  // sign of the comparison
    };
    const std::string forty(40, '9');
    const Case cases[] = {
        {"", "1.0", -1},
        {"1.2", "1.10", -1},
        {"1.2", "1.2", 0},
        {"1.9", "1.10", -1},
        {"2.0", "2.0", 0},
        {"1.0a", "1.0A", 0},
        {"01.2", "1.2", 0},
        {"1.0", "1.0.0", -1},
        {"1.0b", "1.0a", 1},
        {"1." + forty, "1." + forty + "0", -1},  // a 40-digit run against a 41-digit one, no overflow
        {"1." + forty, "1." + forty, 0},
        {"1.0-beta", "1.0.beta", -1},  // other characters by code: '-' < '.'
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored + " vs " + c.offered);
        const int forward = QZCompareVersions(c.stored, c.offered);
        const int backward = QZCompareVersions(c.offered, c.stored);
        EXPECT_EQ((forward > 0) - (forward < 0), c.order);
        EXPECT_EQ((backward > 0) - (backward < 0), -c.order);
    }
}

}  // namespace
