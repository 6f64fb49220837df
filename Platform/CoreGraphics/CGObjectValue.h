#pragma once
// Images, colours and paths travelling in a Value (layer contents, animated colours, shadow
// paths): an NSObject that holds one reference to the CG object. Colours compare by colour space
// and components, paths by their elements, images by identity.

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGImage.h"
#include "CoreGraphics/CGPath.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <variant>

class CGObjectValue : public NSObject {
public:
    using NSObject::NSObject;
    ~CGObjectValue() override;

    // Nil for a null reference.
    static Value valueWithCGImage(CGImageRef image);
    static Value valueWithCGColor(CGColorRef color);
    static Value valueWithCGPath(CGPathRef path);

    // The held object when the value holds one of that kind, else null. Owned by the value.
    static CGImageRef CGImageFromValue(const Value& value);
    static CGColorRef CGColorFromValue(const Value& value);
    static CGPathRef CGPathFromValue(const Value& value);

    bool isEqual(const NSObject& other) const override;
    std::size_t hash() const override;
    // One hash for colours that CGColorEqualToColor finds equal (UIColor uses it too).
    static std::size_t hashOfColor(CGColorRef color);

private:
    using Ref = std::variant<std::monostate, CGImageRef, CGColorRef, CGPathRef>;
    static Value hold(Ref ref);
    template <class T>
    static T from(const Value& value);

    Ref ref_;
};
