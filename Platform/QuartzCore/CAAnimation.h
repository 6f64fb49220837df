#pragma once
// Explicit animations of layer properties, on the one clock (CACurrentMediaTime). A layer holds
// its animations by key; CAAnimationTick, run once per run-loop turn, starts them, ends them when
// the clock passes their end, and tells delegates. No delegate call happens inside the call that
// added or removed an animation: it waits for the next tick.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"
#include "QuartzCore/CAMediaTimingFunction.h"

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
    // Each cycle plays forwards, then backwards when set.
    bool autoreverses() const { return autoreverses_; }
    void setAutoreverses(bool autoreverses) { autoreverses_ = autoreverses; }
    // Cycles to play (fractions allowed); 0 plays one. HUGE_VALF plays for ever: such an
    // animation never ends by itself.
    float repeatCount() const { return repeatCount_; }
    void setRepeatCount(float count) { repeatCount_ = count; }

    // The eased fraction of the change shown at `time`: 0 before the start; at and after the end
    // the fraction the last cycle ends on (1, or 0 when it autoreverses).
    double progressAt(double time) const { return progressAtLocalTime(time - beginTime_); }
    // The same, `elapsed` seconds after the begin time (an animation inside a group).
    double progressAtLocalTime(double elapsed) const;
    // The whole play: every cycle, forwards and backwards.
    double activeDuration() const;
    double endTime() const { return beginTime_ + activeDuration(); }

private:
    double duration_ = 0;
    double beginTime_ = 0;
    bool autoreverses_ = false;
    float repeatCount_ = 0;
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

inline constexpr const char* kCAAnimationLinear = "linear";
inline constexpr const char* kCAAnimationDiscrete = "discrete";
inline constexpr const char* kCAAnimationPaced = "paced";
inline constexpr const char* kCAAnimationCubic = "cubic";
inline constexpr const char* kCAAnimationCubicPaced = "cubicPaced";

// Through a list of values. Key times are fractions of the duration, one per value; absent, or
// of another count, the values are spaced evenly. Between two key times the value is
// interpolated as a basic animation does (discrete: the earlier value holds until the next key
// time). The paced and cubic modes are drawn piecewise linear through the key times.
class CAKeyframeAnimation : public CAPropertyAnimation {
public:
    using CAPropertyAnimation::CAPropertyAnimation;
    static std::shared_ptr<CAKeyframeAnimation> animationWithKeyPath(std::string keyPath)
    {
        return NSObject::create<CAKeyframeAnimation>(&CAKeyframeAnimation::setKeyPath, std::move(keyPath));
    }

    const std::vector<Value>& values() const { return values_; }
    void setValues(std::vector<Value> values) { values_ = std::move(values); }
    const std::vector<double>& keyTimes() const { return keyTimes_; }
    void setKeyTimes(std::vector<double> keyTimes) { keyTimes_ = std::move(keyTimes); }
    const std::string& calculationMode() const { return calculationMode_; }
    void setCalculationMode(std::string mode) { calculationMode_ = std::move(mode); }

    // The two values around the fraction `t` of the duration and how far between them it lies
    // (0 to 1); nothing to show (no values) answers false.
    bool segmentAt(double t, std::size_t* first, std::size_t* second, double* between) const;

private:
    std::vector<Value> values_;
    std::vector<double> keyTimes_;
    std::string calculationMode_ = kCAAnimationLinear;
};

// Several animations played together on one layer; each child's begin time counts from the
// group's start, and nothing of a child shows past the group's duration.
class CAAnimationGroup : public CAAnimation {
public:
    using CAAnimation::CAAnimation;
    static std::shared_ptr<CAAnimationGroup> animation() { return NSObject::create<CAAnimationGroup>(); }

    const std::vector<std::shared_ptr<CAAnimation>>& animations() const { return animations_; }
    void setAnimations(std::vector<std::shared_ptr<CAAnimation>> animations) { animations_ = std::move(animations); }

private:
    std::vector<std::shared_ptr<CAAnimation>> animations_;
};

// Starts, ends and reports the animations of every layer; the run loop's animation stage calls it
// once a turn.
void CAAnimationTick();
// Whether any layer has an animation running or a report waiting (hosts keep drawing frames).
bool CAAnimationsPending();
