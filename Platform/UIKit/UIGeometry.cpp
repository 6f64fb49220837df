#include "UIKit/UIGeometry.h"

#include <cstdio>

const UIEdgeInsets UIEdgeInsetsZero{0, 0, 0, 0};

bool UIEdgeInsetsEqualToEdgeInsets(UIEdgeInsets a, UIEdgeInsets b)
{
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

CGRect UIEdgeInsetsInsetRect(CGRect rect, UIEdgeInsets insets)
{
    rect.origin.x += insets.left;
    rect.origin.y += insets.top;
    rect.size.width -= insets.left + insets.right;
    rect.size.height -= insets.top + insets.bottom;
    return rect;
}

namespace {

std::string number(CGFloat v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", double(v));
    return buffer;
}

}  // namespace

std::string NSStringFromCGPoint(CGPoint p)
{
    return std::string("{") + number(p.x) + ", " + number(p.y) + "}";
}
std::string NSStringFromCGSize(CGSize s)
{
    return std::string("{") + number(s.width) + ", " + number(s.height) + "}";
}
std::string NSStringFromCGRect(CGRect r)
{
    return std::string("{") + NSStringFromCGPoint(r.origin) + ", " + NSStringFromCGSize(r.size) + "}";
}
