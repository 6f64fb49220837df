#include "Foundation/NSStringNumericCompare.h"

#include <gtest/gtest.h>

TEST(NSStringNumericCompareTest, DigitRunsCompareByValue)
{
    struct Row {
        const char* a;
        const char* b;
        NSComparisonResult expected;
    };
    const Row rows[] = {
        {"4.3", "5.0", NSOrderedAscending},
        {"10.0", "5.0", NSOrderedDescending},  // a character comparison would say ascending
        {"6.1", "6.0.2", NSOrderedDescending},
        {"5.0", "5.0", NSOrderedSame},
        {"5.0", "5.0.1", NSOrderedAscending},
        {"007", "7", NSOrderedSame},
        {"99999999999999999999", "100000000000000000000", NSOrderedAscending},  // past 64 bits
        {"a2", "a10", NSOrderedAscending},
        {"b1", "a9", NSOrderedDescending},
        {"", "0", NSOrderedAscending},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " vs " + row.b);
        EXPECT_EQ(NSStringCompareNumeric(row.a, row.b), row.expected);
        EXPECT_EQ(NSStringCompareNumeric(row.b, row.a), -row.expected);
    }
}
