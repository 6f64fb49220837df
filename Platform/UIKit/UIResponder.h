#pragma once
// The responder chain: views, their controllers and the window pass events up by nextResponder.

#include "Foundation/NSObject.h"

#include <memory>

class UIResponder : public NSObject {
public:
    static constexpr bool NSDestroysOnMainQueue = true;
    using NSObject::NSObject;

    // Views answer their superview (their controller, once controllers exist); null at the top.
    virtual std::shared_ptr<UIResponder> nextResponder() const { return nullptr; }
};
