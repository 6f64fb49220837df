#pragma once
// Explicit animations of layer properties, on the one clock (CACurrentMediaTime). A layer holds
// its animations by key; CAAnimationTick, run once per run-loop turn, starts them, ends them when
// the clock passes their end, and tells delegates. No delegate call happens inside the call that
// added or removed an animation: it waits for the next tick.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"
#include "QuartzCore/CAMediaTimingFunction.h"

#include <functional>
#include <memory>
#include <string>

class CAAnimation;

// Optional methods: both are no-ops unless overridden.
class CAAnimationDelegate {
public:
    virtual ~CAAnimationDelegate() = default;
    virtual void animationDidStart(CAAnimation*) {}
    virtual void animationDidStopFinished(CAAnimation*, bool /*finished*/) {}
};

inline constexpr const char* kCAFillModeRemoved = "removed";
inline constexpr const char* kCAFillModeForwards = "forwards";
inline constexpr const char* kCAFillModeBackwards = "backwards";
inline constexpr const char* kCAFillModeBoth = "both";

class CAAnimation : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<CAAnimation> animation() { return NSObject::create<CAAnimation>(); }

    // 0 means the platform's default of 0.25 s.
    double duration() const { return duration_; }
    void setDuration(double seconds) { duration_ = seconds; }
    double effectiveDuration() const { return duration_ > 0 ? duration_ : 0.25; }
    // On the layer's clock; 0 means "when added".
    double beginTime() const { return beginTime_; }
    void setBeginTime(double time) { beginTime_ = time; }
    // Null means linear.
    const std::shared_ptr<CAMediaTimingFunction>& timingFunction() const { return timingFunction_; }
    void setTimingFunction(std::shared_ptr<CAMediaTimingFunction> f) { timingFunction_ = std::move(f); }
    bool isRemovedOnCompletion() const { return removedOnCompletion_; }
    void setRemovedOnCompletion(bool removed) { removedOnCompletion_ = removed; }
    const std::string& fillMode() const { return fillMode_; }
    void setFillMode(std::string mode) { fillMode_ = std::move(mode); }
    std::weak_ptr<CAAnimationDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<CAAnimationDelegate> delegate) { delegate_ = std::move(delegate); }

    // The eased fraction of the change shown at `time`: 0 before the start, 1 at and after the end.
    double progressAt(double time) const;
    double endTime() const { return beginTime_ + effectiveDuration(); }

private:
    double duration_ = 0;
    double beginTime_ = 0;
    std::shared_ptr<CAMediaTimingFunction> timingFunction_;
    bool removedOnCompletion_ = true;
    std::string fillMode_ = kCAFillModeRemoved;
    std::weak_ptr<CAAnimationDelegate> delegate_;
};

class CAPropertyAnimation : public CAAnimation {
public:
    using CAAnimation::CAAnimation;
    const std::string& keyPath() const { return keyPath_; }
    void setKeyPath(std::string keyPath) { keyPath_ = std::move(keyPath); }

private:
    std::string keyPath_;
};

// From one value to another: Values holding numbers, NSValues (points, sizes, rects, transforms)
// or CGObjectValue colours and images. A missing from value starts at the presentation value
// when added; a missing to value ends at the model value.
class CABasicAnimation : public CAPropertyAnimation {
public:
    using CAPropertyAnimation::CAPropertyAnimation;
    static std::shared_ptr<CABasicAnimation> animationWithKeyPath(std::string keyPath)
    {
        return NSObject::create<CABasicAnimation>(&CABasicAnimation::setKeyPath, std::move(keyPath));
    }

    const Value& fromValue() const { return fromValue_; }
    void setFromValue(Value v) { fromValue_ = std::move(v); }
    const Value& toValue() const { return toValue_; }
    void setToValue(Value v) { toValue_ = std::move(v); }

private:
    Value fromValue_;
    Value toValue_;
};

// Starts, ends and reports the animations of every layer; the run loop's animation stage calls it
// once a turn.
void CAAnimationTick();
// Whether any layer has an animation running or a report waiting (hosts keep drawing frames).
bool CAAnimationsPending();
