#include "UIKit/UIViewAnimationState.h"

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchMainQueue.h"
#include "QuartzCore/CAMediaTimingFunction.h"

#include <algorithm>
#include <vector>

namespace {

// A block's property animation, marked with whether the block lets touches through.
class UIViewPropertyAnimation : public CABasicAnimation {
public:
    using CABasicAnimation::CABasicAnimation;
    bool allowsUserInteraction = false;
};

// The animations of one block: its completion runs once all have stopped.
class Group : public CAAnimationDelegate, public std::enable_shared_from_this<Group> {
public:
    std::function<void(bool)> completion;
    int pending = 0;
    bool closed = false;
    bool finished = true;

    void animationDidStopFinished(CAAnimation*, bool didFinish) override
    {
        finished = finished && didFinish;
        if (--pending == 0 && closed) complete();
    }

    void complete();
};

// Groups waiting for their animations: animations hold delegates weakly.
std::vector<std::shared_ptr<Group>>& liveGroups()
{
    static auto* groups = new std::vector<std::shared_ptr<Group>>;
    return *groups;
}

void Group::complete()
{
    auto keep = shared_from_this();
    auto& live = liveGroups();
    live.erase(std::remove(live.begin(), live.end(), keep), live.end());
    if (auto c = std::move(completion)) c(finished);
}

struct Block {
    double duration = 0;
    double delay = 0;
    std::shared_ptr<CAMediaTimingFunction> curve;
    UIViewAnimationOptions options = 0;
    std::shared_ptr<Group> group;  // null: changes apply without animation
    std::vector<std::shared_ptr<CALayer>> touched;
};

std::vector<Block>& blocks()
{
    static std::vector<Block> b;  // main thread only
    return b;
}

std::shared_ptr<CAMediaTimingFunction> curveFor(UIViewAnimationOptions options)
{
    switch ((options >> 16) & 3) {
    case 1: return CAMediaTimingFunction::functionWithName(kCAMediaTimingFunctionEaseIn);
    case 2: return CAMediaTimingFunction::functionWithName(kCAMediaTimingFunctionEaseOut);
    case 3: return CAMediaTimingFunction::functionWithName(kCAMediaTimingFunctionLinear);
    default: return CAMediaTimingFunction::functionWithName(kCAMediaTimingFunctionEaseInEaseOut);
    }
}

}  // namespace

void UIViewAnimationState::change(CALayer& layer, const char* key, const Value& to, const std::function<void()>& apply)
{
    auto& open = blocks();
    if (open.empty() || !open.back().group || open.back().duration <= 0) {
        layer.removeAnimationForKey(key);
        apply();
        return;
    }
    Block& block = open.back();
    double now = CACurrentMediaTime();
    Value from = layer.presentationValueForKeyPath(key, now);
    apply();
    if (from == to) {
        layer.removeAnimationForKey(key);
        return;
    }
    auto animation = NSObject::create<UIViewPropertyAnimation>(&UIViewPropertyAnimation::setKeyPath, std::string(key));
    animation->allowsUserInteraction = block.options & UIViewAnimationOptionAllowUserInteraction;
    animation->setFromValue(from);
    animation->setToValue(to);
    animation->setDuration(block.duration);
    animation->setBeginTime(now + block.delay);
    animation->setTimingFunction(block.curve);
    animation->setDelegate(block.group);
    ++block.group->pending;
    layer.addAnimation(animation, key);
    block.touched.push_back(layer.self<CALayer>());
}

void UIViewAnimationState::run(double duration, double delay, UIViewAnimationOptions options,
                               const std::function<void()>& animations, std::function<void(bool)> completion)
{
    DispatchMainQueue::requireMainThread("+[UIView animateWithDuration:delay:options:animations:completion:]");
    auto& open = blocks();
    Block block;
    block.duration = duration;
    block.delay = delay;
    block.options = options;
    block.curve = curveFor(options);
    // A nested block inherits the duration and curve unless it overrides them.
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        if (!it->group) continue;
        if (!(options & UIViewAnimationOptionOverrideInheritedDuration)) block.duration = it->duration;
        if (!(options & UIViewAnimationOptionOverrideInheritedCurve)) block.curve = it->curve;
        break;
    }
    auto group = std::make_shared<Group>();
    group->completion = std::move(completion);
    liveGroups().push_back(group);
    block.group = group;
    open.push_back(std::move(block));
    if (animations) animations();
    if (options & UIViewAnimationOptionLayoutSubviews) {
        auto touched = open.back().touched;
        for (const auto& layer : touched) layer->layoutIfNeeded();
    }
    open.pop_back();
    group->closed = true;
    if (group->pending == 0) {
        // Nothing animated: the completion still comes from a later turn.
        dispatch_async(dispatch_get_main_queue(), [group] { group->complete(); });
    }
}

void UIViewAnimationState::withoutAnimation(const std::function<void()>& changes)
{
    auto& open = blocks();
    open.push_back(Block{});
    if (changes) changes();
    open.pop_back();
}

bool UIViewAnimationState::isAnimatingWithoutInteraction(const CALayer& layer)
{
    double now = CACurrentMediaTime();
    for (const auto& key : layer.animationKeys()) {
        auto animation = std::dynamic_pointer_cast<UIViewPropertyAnimation>(layer.animationForKey(key));
        if (animation && !animation->allowsUserInteraction && now < animation->endTime()) return true;
    }
    return false;
}

void UIView::animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                 const std::function<void()>& animations, std::function<void(bool)> completion)
{
    UIViewAnimationState::run(duration, delay, options, animations, std::move(completion));
}

void UIView::animateWithDuration(double duration, const std::function<void()>& animations,
                                 std::function<void(bool)> completion)
{
    UIViewAnimationState::run(duration, 0, 0, animations, std::move(completion));
}

void UIView::performWithoutAnimation(const std::function<void()>& changes)
{
    UIViewAnimationState::withoutAnimation(changes);
}
