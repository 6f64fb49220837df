#pragma once
// UIKit's geometry additions: edge insets and the text forms of points, sizes and rectangles.

#include <string>

#include "CoreGraphics/CGGeometry.h"

struct UIEdgeInsets {
    CGFloat top = 0, left = 0, bottom = 0, right = 0;
};

extern const UIEdgeInsets UIEdgeInsetsZero;

inline UIEdgeInsets UIEdgeInsetsMake(CGFloat top, CGFloat left, CGFloat bottom, CGFloat right)
{
    return UIEdgeInsets{top, left, bottom, right};
}
bool UIEdgeInsetsEqualToEdgeInsets(UIEdgeInsets a, UIEdgeInsets b);
CGRect UIEdgeInsetsInsetRect(CGRect rect, UIEdgeInsets insets);

// "{x, y}", "{w, h}", "{{x, y}, {w, h}}" with the shortest exact decimal form of each float.
std::string NSStringFromCGPoint(CGPoint p);
std::string NSStringFromCGSize(CGSize s);
std::string NSStringFromCGRect(CGRect r);
