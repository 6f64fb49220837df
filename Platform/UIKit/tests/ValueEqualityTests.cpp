#include "CoreGraphics/CGObjectValue.h"
#include "CoreGraphics/CGPath.h"
#include "Foundation/NSValue.h"
#include "Foundation/Value.h"
#include "UIKit/UIColor.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace {

struct Pair {
    const char* name;
    Value a;
    Value b;
    bool equal;
};

std::vector<Pair> pairs()
{
    CGMutablePathRef path1 = CGPathCreateMutable();
    CGPathAddRect(path1, nullptr, CGRectMake(0, 0, 4, 4));
    CGMutablePathRef path2 = CGPathCreateMutable();
    CGPathAddRect(path2, nullptr, CGRectMake(0, 0, 4, 4));
    auto color = UIColor::colorWithRed(1, 0.5f, 0, 1);
    std::vector<Pair> table = {
        {"nil, nil", Value(), Value(), true},
        {"nil, null", Value(), Value::null(), false},
        {"null, null", Value::null(), Value::null(), true},
        {"YES, 1", true, 1, true},
        {"NO, 0.0", false, 0.0, true},
        {"YES, 2", true, 2, false},
        {"1, 1.0", 1, 1.0, true},
        {"1, 1.5", 1, 1.5, false},
        {"2^53 + 1, 2^53 as a real", (std::int64_t(1) << 53) + 1, 9007199254740992.0, false},
        {"0.0, -0.0", 0.0, -0.0, true},
        {"1, \"1\"", 1, "1", false},
        {"strings", "abc", std::string("abc"), true},
        {"strings differing", "abc", "abd", false},
        {"arrays of mixed numbers", Value::array({1, true, 2.0}), Value::array({1.0, 1, 2}), true},
        {"arrays of different length", Value::array({1}), Value::array({1, 1}), false},
        {"dictionaries", Value::dictionary({{"a", 1}, {"b", "x"}}), Value::dictionary({{"b", "x"}, {"a", 1.0}}), true},
        {"dictionaries differing", Value::dictionary({{"a", 1}}), Value::dictionary({{"a", 2}}), false},
        {"same colour twice", UIColor::colorWithWhite(1, 1), UIColor::whiteColor(), true},
        {"grey and RGB white", UIColor::colorWithRed(1, 1, 1, 1), UIColor::whiteColor(), false},
        {"colour with another alpha", color, color->colorWithAlphaComponent(0.5f), false},
        {"points", NSValue::valueWithCGPoint({1, 2}), NSValue::valueWithCGPoint({1, 2}), true},
        {"point and size of the same numbers", NSValue::valueWithCGPoint({1, 2}), NSValue::valueWithCGSize({1, 2}),
         false},
        {"rects", NSValue::valueWithCGRect(CGRectMake(0, -0.0f, 3, 4)),
         NSValue::valueWithCGRect(CGRectMake(0, 0, 3, 4)), true},
        {"transforms", NSValue::valueWithCGAffineTransform(CGAffineTransformMakeScale(2, 2)),
         NSValue::valueWithCGAffineTransform(CGAffineTransformMake(2, 0, 0, 2, 0, 0)), true},
        {"3-D transforms differing in perspective", NSValue::valueWithCATransform3D(CATransform3DIdentity),
         NSValue::valueWithCATransform3D([] {
             CATransform3D t;
             t.m34 = -1.0f / 500;
             return t;
         }()),
         false},
        {"ranges", NSValue::valueWithRange(NSMakeRange(2, 3)), NSValue::valueWithRange(NSMakeRange(2, 3)), true},
        {"wrapped colours", CGObjectValue::valueWithCGColor(color->CGColor()),
         CGObjectValue::valueWithCGColor(UIColor::colorWithRed(1, 0.5f, 0, 1)->CGColor()), true},
        {"wrapped equal paths", CGObjectValue::valueWithCGPath(path1), CGObjectValue::valueWithCGPath(path2), true},
        {"colour and its wrapped CGColor", color, CGObjectValue::valueWithCGColor(color->CGColor()), false},
    };
    CGPathRelease(path1);
    CGPathRelease(path2);
    return table;
}

TEST(ValueEqualityTest, PlatformEqualityAcrossKindsWithAgreeingHashes)
{
    for (const auto& p : pairs()) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(p.a == p.b, p.equal);
        EXPECT_EQ(p.b == p.a, p.equal);
        EXPECT_TRUE(p.a == p.a);
        if (p.equal) {
            EXPECT_EQ(p.a.hash(), p.b.hash());
        }
    }
}

TEST(ValueEqualityTest, EqualValuesAreOneKeyInAHashedSet)
{
    std::unordered_set<Value> keys = {1,
                                      1.0,
                                      true,
                                      NSValue::valueWithCGPoint({1, 2}),
                                      NSValue::valueWithCGPoint({1, 2}),
                                      UIColor::whiteColor(),
                                      UIColor::colorWithWhite(1, 1),
                                      "1"};
    EXPECT_EQ(keys.size(), 4u);
}

TEST(ValueEqualityTest, WrappedCGObjectsComeBackOnlyAsTheirOwnKind)
{
    auto color = UIColor::redColor();
    Value boxed = CGObjectValue::valueWithCGColor(color->CGColor());
    EXPECT_EQ(CGObjectValue::CGColorFromValue(boxed), color->CGColor());
    EXPECT_EQ(CGObjectValue::CGImageFromValue(boxed), nullptr);
    EXPECT_EQ(CGObjectValue::CGPathFromValue(Value(3)), nullptr);
    EXPECT_TRUE(CGObjectValue::valueWithCGImage(nullptr).isNil());
    EXPECT_EQ(NSValue::valueWithCGRect(CGRectMake(0, 0, 3, 4.5f))->description(), "NSRect: {{0, 0}, {3, 4.5}}");
    EXPECT_EQ(NSValue::valueWithCGSize({2, 3})->CGPointValue().x, 0);
}

}  // namespace
