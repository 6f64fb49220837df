#include "Foundation/NSValue.h"

#include "Foundation/NSString.h"

#include <functional>
#include <vector>

namespace {

std::vector<CGFloat> components(const CGPoint& p)
{
    return {p.x, p.y};
}
std::vector<CGFloat> components(const CGSize& s)
{
    return {s.width, s.height};
}
std::vector<CGFloat> components(const CGRect& r)
{
    return {r.origin.x, r.origin.y, r.size.width, r.size.height};
}
std::vector<CGFloat> components(const CGAffineTransform& t)
{
    return {t.a, t.b, t.c, t.d, t.tx, t.ty};
}
std::vector<CGFloat> components(const CATransform3D& t)
{
    return {t.m11, t.m12, t.m13, t.m14, t.m21, t.m22, t.m23, t.m24,
            t.m31, t.m32, t.m33, t.m34, t.m41, t.m42, t.m43, t.m44};
}
std::vector<CGFloat> components(const NSRange& r)
{
    return {static_cast<CGFloat>(r.location), static_cast<CGFloat>(r.length)};
}

// Shortest text that reads back the same float, as the platform prints geometry ("1.5", "2").
std::string number(CGFloat f)
{
    return NSStringWithFormat("%g", static_cast<double>(f));
}

}  // namespace

std::shared_ptr<NSValue> NSValue::valueWithCGPoint(CGPoint point)
{
    return box(point);
}
std::shared_ptr<NSValue> NSValue::valueWithCGSize(CGSize size)
{
    return box(size);
}
std::shared_ptr<NSValue> NSValue::valueWithCGRect(CGRect rect)
{
    return box(rect);
}
std::shared_ptr<NSValue> NSValue::valueWithCGAffineTransform(CGAffineTransform transform)
{
    return box(transform);
}
std::shared_ptr<NSValue> NSValue::valueWithCATransform3D(CATransform3D transform)
{
    return box(transform);
}
std::shared_ptr<NSValue> NSValue::valueWithRange(NSRange range)
{
    return box(range);
}

bool NSValue::isEqual(const NSObject& other) const
{
    auto* value = dynamic_cast<const NSValue*>(&other);
    if (!value || value->type() != type()) return false;
    if (type() == Type::Range) return rangeValue() == value->rangeValue();
    auto mine = std::visit([](const auto& v) { return components(v); }, storage_);
    auto theirs = std::visit([](const auto& v) { return components(v); }, value->storage_);
    return mine == theirs;
}

std::size_t NSValue::hash() const
{
    std::size_t h = static_cast<std::size_t>(type());
    if (type() == Type::Range) return h * 31 + rangeValue().location * 7 + rangeValue().length;
    for (CGFloat c : std::visit([](const auto& v) { return components(v); }, storage_))
        h = h * 31 + std::hash<CGFloat>()(c);  // std::hash gives 0 and -0 one hash
    return h;
}

std::string NSValue::description() const
{
    switch (type()) {
    case Type::Point: {
        CGPoint p = CGPointValue();
        return "NSPoint: {" + number(p.x) + ", " + number(p.y) + "}";
    }
    case Type::Size: {
        CGSize s = CGSizeValue();
        return "NSSize: {" + number(s.width) + ", " + number(s.height) + "}";
    }
    case Type::Rect: {
        CGRect r = CGRectValue();
        return "NSRect: {{" + number(r.origin.x) + ", " + number(r.origin.y) + "}, {" + number(r.size.width) + ", " +
               number(r.size.height) + "}}";
    }
    case Type::AffineTransform:
    case Type::Transform3D: {
        std::string out = type() == Type::AffineTransform ? "CGAffineTransform: {" : "CATransform3D: {";
        auto c = std::visit([](const auto& v) { return components(v); }, storage_);
        for (size_t i = 0; i < c.size(); ++i) out += (i ? ", " : "") + number(c[i]);
        return out + "}";
    }
    case Type::Range: return NSStringWithFormat("NSRange: {%u, %u}", rangeValue().location, rangeValue().length);
    }
    return {};
}
