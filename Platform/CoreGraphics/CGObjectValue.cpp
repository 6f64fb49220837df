#include "CoreGraphics/CGObjectValue.h"

#include <functional>

CGObjectValue::~CGObjectValue()
{
    if (auto* image = std::get_if<CGImageRef>(&ref_))
        CGImageRelease(*image);
    else if (auto* color = std::get_if<CGColorRef>(&ref_))
        CGColorRelease(*color);
    else if (auto* path = std::get_if<CGPathRef>(&ref_))
        CGPathRelease(*path);
}

Value CGObjectValue::hold(Ref ref)
{
    return Value(NSObject::create<CGObjectValue>([&](CGObjectValue& v) { v.ref_ = ref; }));
}

Value CGObjectValue::valueWithCGImage(CGImageRef image)
{
    return image ? hold(CGImageRetain(image)) : Value();
}

Value CGObjectValue::valueWithCGColor(CGColorRef color)
{
    return color ? hold(CGColorRetain(color)) : Value();
}

Value CGObjectValue::valueWithCGPath(CGPathRef path)
{
    return path ? hold(CGPathRetain(path)) : Value();
}

template <class T>
T CGObjectValue::from(const Value& value)
{
    auto holder = value.object<CGObjectValue>();
    if (!holder) return nullptr;
    auto* ref = std::get_if<T>(&holder->ref_);
    return ref ? *ref : nullptr;
}

CGImageRef CGObjectValue::CGImageFromValue(const Value& value)
{
    return from<CGImageRef>(value);
}
CGColorRef CGObjectValue::CGColorFromValue(const Value& value)
{
    return from<CGColorRef>(value);
}
CGPathRef CGObjectValue::CGPathFromValue(const Value& value)
{
    return from<CGPathRef>(value);
}

bool CGObjectValue::isEqual(const NSObject& other) const
{
    auto* o = dynamic_cast<const CGObjectValue*>(&other);
    if (!o || o->ref_.index() != ref_.index()) return false;
    if (auto* color = std::get_if<CGColorRef>(&ref_)) return CGColorEqualToColor(*color, std::get<CGColorRef>(o->ref_));
    if (auto* path = std::get_if<CGPathRef>(&ref_)) return CGPathEqualToPath(*path, std::get<CGPathRef>(o->ref_));
    return ref_ == o->ref_;
}

std::size_t CGObjectValue::hashOfColor(CGColorRef color)
{
    std::size_t count = CGColorGetNumberOfComponents(color);
    const CGFloat* c = CGColorGetComponents(color);
    std::size_t h = count;
    for (size_t i = 0; i < count; ++i) h = h * 31 + std::hash<CGFloat>()(c[i]);
    return h;
}

std::size_t CGObjectValue::hash() const
{
    if (auto* color = std::get_if<CGColorRef>(&ref_)) return hashOfColor(*color);
    if (auto* image = std::get_if<CGImageRef>(&ref_)) return std::hash<const void*>()(*image);
    return 7;  // paths: equal paths are rare keys, one bucket is enough
}
