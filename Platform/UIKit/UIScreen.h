#pragma once
// The screen, answered from the platform settings (size in points and scale), so that tests
// and hosts run as a phone or a tablet.

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

#include <memory>

class UIScreen : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<UIScreen> mainScreen();
    CGRect bounds() const;
    CGFloat scale() const;
};
