#pragma once
// A boxed geometry value, so that points, sizes, rectangles, transforms (affine and 3-D, with its
// perspective term) and ranges can travel in a Value: animation from/to values, dictionaries,
// userInfo. Equal when the kinds and every component are equal (== on floats: 0 equals -0).

#include "CoreGraphics/CGAffineTransform.h"
#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSObject.h"
#include "QuartzCore/CATransform3D.h"

#include <memory>
#include <variant>

class NSValue : public NSObject {
public:
    enum class Type { Point, Size, Rect, AffineTransform, Transform3D, Range };

    using NSObject::NSObject;
    static std::shared_ptr<NSValue> valueWithCGPoint(CGPoint point);
    static std::shared_ptr<NSValue> valueWithCGSize(CGSize size);
    static std::shared_ptr<NSValue> valueWithCGRect(CGRect rect);
    static std::shared_ptr<NSValue> valueWithCGAffineTransform(CGAffineTransform transform);
    static std::shared_ptr<NSValue> valueWithCATransform3D(CATransform3D transform);
    static std::shared_ptr<NSValue> valueWithRange(NSRange range);

    Type type() const { return static_cast<Type>(storage_.index()); }
    // The value held, or a zero (identity for transforms) of the asked kind when it holds another.
    CGPoint CGPointValue() const { return get<CGPoint>(); }
    CGSize CGSizeValue() const { return get<CGSize>(); }
    CGRect CGRectValue() const { return get<CGRect>(); }
    CGAffineTransform CGAffineTransformValue() const { return get<CGAffineTransform>(); }
    CATransform3D CATransform3DValue() const { return get<CATransform3D>(); }
    NSRange rangeValue() const { return get<NSRange>(); }

    bool isEqual(const NSObject& other) const override;
    std::size_t hash() const override;
    // As the platform prints them: "NSPoint: {1, 2}", "NSRect: {{0, 0}, {3, 4}}", ...
    std::string description() const override;

private:
    using Storage = std::variant<CGPoint, CGSize, CGRect, CGAffineTransform, CATransform3D, NSRange>;

    template <class T>
    static std::shared_ptr<NSValue> box(T value)
    {
        return NSObject::create<NSValue>([&](NSValue& v) { v.storage_ = value; });
    }
    template <class T>
    T get() const
    {
        auto* p = std::get_if<T>(&storage_);
        return p ? *p : T{};
    }

    Storage storage_;
};
