#include "QuartzCore/CALayer.h"

#include "CoreGraphics/CGObjectValue.h"
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSValue.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

namespace {

// Answers whether the slot changed.
template <class Ref, class Retain, class Release>
bool replaceRetained(Ref& slot, Ref value, Retain retain, Release release)
{
    if (slot == value) return false;
    if (value) retain(value);
    if (slot) release(slot);
    slot = value;
    return true;
}

std::atomic<std::uint64_t>& changesSoFar()
{
    static std::atomic<std::uint64_t> count{0};
    return count;
}

std::atomic<std::uint64_t>& layoutVisitsSoFar()
{
    static std::atomic<std::uint64_t> count{0};
    return count;
}

// Layers with animations running or reports waiting; the tick walks them.
struct AnimationRegistry {
    std::vector<std::weak_ptr<CALayer>> layers;
    struct Report {
        std::shared_ptr<CAAnimation> animation;
        bool started;  // a start report, else a stop report with `finished`
        bool finished;
    };
    std::vector<Report> reports;
};

AnimationRegistry& registry()
{
    static auto* r = new AnimationRegistry;
    return *r;
}

void enroll(const std::shared_ptr<CALayer>& layer)
{
    // Animations are ticked once a turn, in the run loop's animation stage.
    static std::once_flag installed;
    std::call_once(installed, [] { DispatchRunLoop::addObserver(DispatchRunLoopStage::Animation, CAAnimationTick); });
    auto& layers = registry().layers;
    for (const auto& w : layers)
        if (w.lock() == layer) return;
    layers.push_back(layer);
}

}  // namespace

std::uint64_t CALayerChangesSoFar()
{
    return changesSoFar().load(std::memory_order_acquire);
}

std::uint64_t CALayerLayoutVisitsSoFar()
{
    return layoutVisitsSoFar().load(std::memory_order_relaxed);
}

void CALayerNoteChangeFromAnyThread()
{
    changesSoFar().fetch_add(1, std::memory_order_acq_rel);
    // A host asleep until the main queue has work wakes to composite a frame made elsewhere.
    if (!DispatchMainQueue::isMainThread()) dispatch_async(dispatch_get_main_queue(), [] {});
}

void CALayer::noteChange()
{
    ++changeCount_;
    CALayerNoteChangeFromAnyThread();
}

CALayer::~CALayer()
{
    if (backgroundColor_) CGColorRelease(backgroundColor_);
    if (borderColor_) CGColorRelease(borderColor_);
    if (shadowColor_) CGColorRelease(shadowColor_);
    if (contents_) CGImageRelease(contents_);
    if (backingImage_) CGImageRelease(backingImage_);
    if (shadowPath_) CGPathRelease(shadowPath_);
}

void CALayer::setBounds(CGRect bounds)
{
    bool resized = bounds.size.width != bounds_.size.width || bounds.size.height != bounds_.size.height;
    if (!resized && sameValue(bounds.origin, bounds_.origin)) return;
    bounds_ = bounds;
    if (resized) {
        needsLayout_ = true;
        noteLayoutPending();
    }
    noteChange();
}

void CALayer::setBackgroundColor(CGColorRef color)
{
    if (replaceRetained(backgroundColor_, color, CGColorRetain, CGColorRelease)) noteChange();
}
void CALayer::setBorderColor(CGColorRef color)
{
    if (replaceRetained(borderColor_, color, CGColorRetain, CGColorRelease)) noteChange();
}
void CALayer::setShadowColor(CGColorRef color)
{
    if (replaceRetained(shadowColor_, color, CGColorRetain, CGColorRelease)) noteChange();
}
void CALayer::setContents(CGImageRef image)
{
    if (replaceRetained(contents_, image, CGImageRetain, CGImageRelease)) noteChange();
}
void CALayer::setShadowPath(CGPathRef path)
{
    // Always a change: a mutable path may have been changed in place.
    replaceRetained(shadowPath_, path, CGPathRetain, CGPathRelease);
    noteChange();
}
void CALayer::setMask(std::shared_ptr<CALayer> mask)
{
    if (mask) mask->removeFromSuperlayer();
    if (mask == mask_) return;
    mask_ = std::move(mask);
    noteChange();
}

// ---- Geometry ----

CGAffineTransform CALayer::transformToSuperlayer() const
{
    // p -> position + A (p - origin - anchor * size), as CG transforms (first listed acts first).
    CGAffineTransform toAnchor =
        CGAffineTransformMakeTranslation(-(bounds_.origin.x + anchorPoint_.x * bounds_.size.width),
                                         -(bounds_.origin.y + anchorPoint_.y * bounds_.size.height));
    CGAffineTransform t = CGAffineTransformConcat(toAnchor, affineTransform());
    return CGAffineTransformConcat(t, CGAffineTransformMakeTranslation(position_.x, position_.y));
}

CGRect CALayer::frame() const
{
    CGRect local = CGRectMake(bounds_.origin.x, bounds_.origin.y, bounds_.size.width, bounds_.size.height);
    return CGRectApplyAffineTransform(local, transformToSuperlayer());
}

void CALayer::setFrame(CGRect frame)
{
    CGRect bounds;
    CGPoint position;
    geometryForFrame(frame, &bounds, &position);
    setBounds(bounds);
    assign(position_, position);
}

void CALayer::geometryForFrame(CGRect frame, CGRect* bounds, CGPoint* position) const
{
    CGRect r = CGRectStandardize(frame);
    CGAffineTransform a = affineTransform();
    CGSize size = r.size;
    if (!CGAffineTransformIsIdentity(a)) {
        // The frame is the bounding box of the transformed bounds: undo the transform's scale and
        // quarter turns on the size (a quarter turn swaps width and height).
        CGAffineTransform inverse = CGAffineTransformInvert(a);
        CGRect back = CGRectApplyAffineTransform(CGRectMake(0, 0, r.size.width, r.size.height), inverse);
        size = back.size;
    }
    *bounds = CGRectMake(bounds_.origin.x, bounds_.origin.y, size.width, size.height);
    *position = CGPointMake(r.origin.x + anchorPoint_.x * r.size.width, r.origin.y + anchorPoint_.y * r.size.height);
}

namespace {

// Transform from a layer's coordinates to the root's, through every ancestor.
CGAffineTransform toRoot(const CALayer* layer)
{
    CGAffineTransform t = CGAffineTransformIdentity;
    for (const CALayer* l = layer; l; l = l->superlayer().get()) {
        if (!l->superlayer()) break;  // the root's own placement is not part of its coordinates
        t = CGAffineTransformConcat(t, l->transformToSuperlayer());
    }
    return t;
}

}  // namespace

CGPoint CALayer::convertPointToLayer(CGPoint p, const CALayer* layer) const
{
    CGPoint inRoot = CGPointApplyAffineTransform(p, toRoot(this));
    if (!layer) return inRoot;
    return CGPointApplyAffineTransform(inRoot, CGAffineTransformInvert(toRoot(layer)));
}

CGPoint CALayer::convertPointFromLayer(CGPoint p, const CALayer* layer) const
{
    CGPoint inRoot = layer ? CGPointApplyAffineTransform(p, toRoot(layer)) : p;
    return CGPointApplyAffineTransform(inRoot, CGAffineTransformInvert(toRoot(this)));
}

CGRect CALayer::convertRectToLayer(CGRect r, const CALayer* layer) const
{
    CGAffineTransform t = toRoot(this);
    if (layer) t = CGAffineTransformConcat(t, CGAffineTransformInvert(toRoot(layer)));
    return CGRectApplyAffineTransform(r, t);
}

CGRect CALayer::convertRectFromLayer(CGRect r, const CALayer* layer) const
{
    CGAffineTransform t = layer ? toRoot(layer) : CGAffineTransformIdentity;
    t = CGAffineTransformConcat(t, CGAffineTransformInvert(toRoot(this)));
    return CGRectApplyAffineTransform(r, t);
}

// ---- Tree ----

void CALayer::detachFromSuperlayer()
{
    auto parent = superlayer_.lock();
    if (!parent) return;
    auto& siblings = parent->sublayers_;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [&](const auto& l) { return l.get() == this; }),
                   siblings.end());
    superlayer_.reset();
    parent->noteChange();
    noteChange();
}

void CALayer::addSublayer(const std::shared_ptr<CALayer>& layer)
{
    insertSublayerAtIndex(layer, SIZE_MAX);
}

void CALayer::insertSublayerAtIndex(const std::shared_ptr<CALayer>& layer, size_t index)
{
    if (!layer || layer.get() == this || isDescendantOfLayer(layer.get())) return;
    auto keep = layer;  // detaching may drop the last other reference
    keep->detachFromSuperlayer();
    index = std::min(index, sublayers_.size());
    sublayers_.insert(sublayers_.begin() + static_cast<std::ptrdiff_t>(index), keep);
    keep->superlayer_ = self<CALayer>();
    if (keep->needsLayout_ || keep->sublayerNeedsLayout_) keep->noteLayoutPending();
    keep->noteChange();
    noteChange();
}

void CALayer::insertSublayerBelow(const std::shared_ptr<CALayer>& layer, const CALayer* sibling)
{
    auto it = std::find_if(sublayers_.begin(), sublayers_.end(), [&](const auto& l) { return l.get() == sibling; });
    if (it == sublayers_.end()) return insertSublayerAtIndex(layer, 0);
    size_t index = static_cast<size_t>(it - sublayers_.begin());
    if (layer && layer->superlayer().get() == this) {
        auto pos = std::find(sublayers_.begin(), sublayers_.end(), layer) - sublayers_.begin();
        if (static_cast<size_t>(pos) < index) --index;
    }
    insertSublayerAtIndex(layer, index);
}

void CALayer::insertSublayerAbove(const std::shared_ptr<CALayer>& layer, const CALayer* sibling)
{
    auto it = std::find_if(sublayers_.begin(), sublayers_.end(), [&](const auto& l) { return l.get() == sibling; });
    if (it == sublayers_.end()) return addSublayer(layer);
    size_t index = static_cast<size_t>(it - sublayers_.begin()) + 1;
    if (layer && layer->superlayer().get() == this) {
        auto pos = std::find(sublayers_.begin(), sublayers_.end(), layer) - sublayers_.begin();
        if (static_cast<size_t>(pos) < index) --index;
    }
    insertSublayerAtIndex(layer, index);
}

void CALayer::removeFromSuperlayer()
{
    auto keep = self<CALayer>();
    detachFromSuperlayer();
}

bool CALayer::isDescendantOfLayer(const CALayer* layer) const
{
    for (auto l = superlayer(); l; l = l->superlayer())
        if (l.get() == layer) return true;
    return false;
}

// ---- Drawing and layout ----

void CALayer::display()
{
    needsDisplay_ = false;
    noteChange();
    if (backingImage_) {
        CGImageRelease(backingImage_);
        backingImage_ = nullptr;
    }
    size_t w = static_cast<size_t>(std::ceil(bounds_.size.width * contentsScale_));
    size_t h = static_cast<size_t>(std::ceil(bounds_.size.height * contentsScale_));
    if (w == 0 || h == 0) return;
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(nullptr, w, h, 8, 0, space, kCGImageAlphaPremultipliedLast);
    CGColorSpaceRelease(space);
    if (!context) return;
    // The bounds in points, y down, as a UIKit image context is.
    CGContextTranslateCTM(context, 0, CGFloat(h));
    CGContextScaleCTM(context, contentsScale_, -contentsScale_);
    CGContextSetShadowBaseSpace(context, contentsScale_, true);
    CGContextTranslateCTM(context, -bounds_.origin.x, -bounds_.origin.y);
    drawInContext(context);
    // A layer whose drawing left every pixel clear keeps no image.
    const auto* bytes = static_cast<const uint8_t*>(CGBitmapContextGetData(context));
    size_t stride = CGBitmapContextGetBytesPerRow(context);
    bool drewSomething = false;
    for (size_t y = 0; y < h && !drewSomething; ++y)
        for (size_t x = 0; x < w; ++x)
            if (bytes[y * stride + x * 4 + 3] != 0) {
                drewSomething = true;
                break;
            }
    if (drewSomething) backingImage_ = CGBitmapContextCreateImage(context);
    CGContextRelease(context);
}

void CALayer::displayIfNeeded()
{
    if (needsDisplay_) display();
}

void CALayer::drawInContext(CGContextRef context)
{
    if (auto d = delegate_.lock()) d->drawLayerInContext(this, context);
}

void CALayer::noteLayoutPending()
{
    // Always up to the root: a pass now under way has cleared the marks of the path it is on.
    for (auto up = superlayer_.lock(); up; up = up->superlayer_.lock()) up->sublayerNeedsLayout_ = true;
}

void CALayer::layoutIfNeeded()
{
    layoutVisitsSoFar().fetch_add(1, std::memory_order_relaxed);
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSublayers();
    }
    // Cleared before the walk, so that a layer marked by a sublayer's layout marks it again.
    if (!sublayerNeedsLayout_) return;
    sublayerNeedsLayout_ = false;
    auto children = sublayers_;
    for (const auto& l : children)
        if (l->needsLayout_ || l->sublayerNeedsLayout_) l->layoutIfNeeded();
}

void CALayer::layoutSublayers()
{
    if (auto d = delegate_.lock()) d->layoutSublayersOfLayer(this);
}

void CALayer::drawOwnContent(CGContextRef, double) {}

// ---- Animation ----

void CALayer::addAnimation(const std::shared_ptr<CAAnimation>& animation, const std::string& key)
{
    DispatchMainQueue::requireMainThread("-[CALayer addAnimation:forKey:]");
    if (!animation) return;
    if (!key.empty()) removeAnimationForKey(key);
    if (animation->beginTime() == 0) animation->setBeginTime(CACurrentMediaTime());
    if (auto basic = std::dynamic_pointer_cast<CABasicAnimation>(animation)) {
        // Missing ends are filled now: from what is drawn, to the model value.
        double now = CACurrentMediaTime();
        if (basic->fromValue().isNil()) basic->setFromValue(presentationValueForKeyPath(basic->keyPath(), now));
        if (basic->toValue().isNil()) basic->setToValue(valueForKeyPath(basic->keyPath()));
    }
    animations_.push_back({key, animation, false});
    noteChange();
    enroll(self<CALayer>());
}

std::shared_ptr<CAAnimation> CALayer::animationForKey(const std::string& key) const
{
    for (const auto& a : animations_)
        if (!key.empty() && a.key == key) return a.animation;
    return nullptr;
}

std::vector<std::string> CALayer::animationKeys() const
{
    std::vector<std::string> keys;
    for (const auto& a : animations_)
        if (!a.key.empty()) keys.push_back(a.key);
    return keys;
}

void CALayer::finishAnimation(RunningAnimation running, bool finished)
{
    auto& reports = registry().reports;
    if (!running.started) reports.push_back({running.animation, true, false});
    reports.push_back({running.animation, false, finished});
}

void CALayer::removeAnimationForKey(const std::string& key)
{
    if (key.empty()) return;
    for (auto it = animations_.begin(); it != animations_.end(); ++it)
        if (it->key == key) {
            RunningAnimation removed = std::move(*it);
            animations_.erase(it);
            noteChange();
            finishAnimation(std::move(removed), false);
            return;
        }
}

void CALayer::removeAllAnimations()
{
    auto removed = std::move(animations_);
    animations_.clear();
    if (!removed.empty()) noteChange();
    for (auto& r : removed) finishAnimation(std::move(r), false);
}

void CAAnimationTick()
{
    auto& r = registry();
    double now = CACurrentMediaTime();
    std::vector<std::shared_ptr<CALayer>> layers;
    for (const auto& w : r.layers)
        if (auto l = w.lock()) layers.push_back(l);
    r.layers.clear();
    for (const auto& layer : layers) {
        for (auto it = layer->animations_.begin(); it != layer->animations_.end();) {
            if (!it->started && now >= it->animation->beginTime()) {
                it->started = true;
                r.reports.push_back({it->animation, true, false});
            }
            if (!it->ended && now >= it->animation->endTime()) {
                r.reports.push_back({it->animation, false, true});
                layer->noteChange();
                if (it->animation->isRemovedOnCompletion()) {
                    it = layer->animations_.erase(it);
                    continue;
                }
                it->ended = true;  // kept after its end: it reports once
            }
            ++it;
        }
        bool running =
            std::any_of(layer->animations_.begin(), layer->animations_.end(), [](const auto& a) { return !a.ended; });
        if (running) r.layers.push_back(layer);
    }
    // Reports run last: a delegate may add or remove animations.
    auto reports = std::move(r.reports);
    r.reports.clear();
    for (const auto& report : reports) {
        auto delegate = report.animation->delegate().lock();
        if (!delegate) continue;
        if (report.started)
            delegate->animationDidStart(report.animation.get());
        else
            delegate->animationDidStopFinished(report.animation.get(), report.finished);
    }
}

bool CAAnimationsPending()
{
    auto& r = registry();
    if (!r.reports.empty()) return true;
    return std::any_of(r.layers.begin(), r.layers.end(), [](const auto& w) { return !w.expired(); });
}

// ---- Values by key path ----

namespace {

struct RGBA {
    CGFloat r = 0, g = 0, b = 0, a = 0;
};

RGBA rgbaOf(CGColorRef color)
{
    RGBA c;
    size_t n = CGColorGetNumberOfComponents(color);
    const CGFloat* v = CGColorGetComponents(color);
    if (n == 2)
        c = {v[0], v[0], v[0], v[1]};
    else if (n >= 4)
        c = {v[0], v[1], v[2], v[3]};
    return c;
}

double lerp(double a, double b, double t)
{
    return a + (b - a) * t;
}

CGRect lerpRect(CGRect a, CGRect b, double t)
{
    return CGRectMake(lerp(a.origin.x, b.origin.x, t), lerp(a.origin.y, b.origin.y, t),
                      lerp(a.size.width, b.size.width, t), lerp(a.size.height, b.size.height, t));
}

// The value `t` of the way from `from` to `to`; values that cannot be mixed switch at the end.
Value interpolate(const Value& from, const Value& to, double t)
{
    if (from.isNumber() && to.isNumber()) return lerp(from.doubleValue(), to.doubleValue(), t);
    auto a = from.object<NSValue>(), b = to.object<NSValue>();
    if (a && b && a->type() == b->type()) {
        switch (a->type()) {
        case NSValue::Type::Point: {
            CGPoint p = a->CGPointValue(), q = b->CGPointValue();
            return NSValue::valueWithCGPoint(CGPointMake(lerp(p.x, q.x, t), lerp(p.y, q.y, t)));
        }
        case NSValue::Type::Size: {
            CGSize p = a->CGSizeValue(), q = b->CGSizeValue();
            return NSValue::valueWithCGSize(CGSizeMake(lerp(p.width, q.width, t), lerp(p.height, q.height, t)));
        }
        case NSValue::Type::Rect: return NSValue::valueWithCGRect(lerpRect(a->CGRectValue(), b->CGRectValue(), t));
        case NSValue::Type::Transform3D:
        case NSValue::Type::AffineTransform: {
            CATransform3D p = a->type() == NSValue::Type::Transform3D
                                  ? a->CATransform3DValue()
                                  : CATransform3DMakeAffineTransform(a->CGAffineTransformValue());
            CATransform3D q = b->type() == NSValue::Type::Transform3D
                                  ? b->CATransform3DValue()
                                  : CATransform3DMakeAffineTransform(b->CGAffineTransformValue());
            CATransform3D r;
            const CGFloat* pp = &p.m11;
            const CGFloat* qq = &q.m11;
            CGFloat* rr = &r.m11;
            for (int i = 0; i < 16; ++i) rr[i] = static_cast<CGFloat>(lerp(pp[i], qq[i], t));
            return NSValue::valueWithCATransform3D(r);
        }
        case NSValue::Type::Range: return t < 1 ? from : to;
        }
    }
    CGColorRef c1 = CGObjectValue::CGColorFromValue(from), c2 = CGObjectValue::CGColorFromValue(to);
    if (c1 && c2) {
        RGBA p = rgbaOf(c1), q = rgbaOf(c2);
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGFloat comps[4] = {static_cast<CGFloat>(lerp(p.r, q.r, t)), static_cast<CGFloat>(lerp(p.g, q.g, t)),
                            static_cast<CGFloat>(lerp(p.b, q.b, t)), static_cast<CGFloat>(lerp(p.a, q.a, t))};
        CGColorRef mixed = CGColorCreate(space, comps);
        CGColorSpaceRelease(space);
        Value v = CGObjectValue::valueWithCGColor(mixed);
        CGColorRelease(mixed);
        return v;
    }
    return t < 1 ? from : to;
}

}  // namespace

Value CALayer::valueForKeyPath(const std::string& keyPath) const
{
    if (keyPath == "position") return NSValue::valueWithCGPoint(position_);
    if (keyPath == "bounds") return NSValue::valueWithCGRect(bounds_);
    if (keyPath == "bounds.size") return NSValue::valueWithCGSize(bounds_.size);
    if (keyPath == "anchorPoint") return NSValue::valueWithCGPoint(anchorPoint_);
    if (keyPath == "transform") return NSValue::valueWithCATransform3D(transform_);
    if (keyPath == "opacity") return opacity_;
    if (keyPath == "zPosition") return zPosition_;
    if (keyPath == "cornerRadius") return cornerRadius_;
    if (keyPath == "borderWidth") return borderWidth_;
    if (keyPath == "shadowOpacity") return shadowOpacity_;
    if (keyPath == "shadowRadius") return shadowRadius_;
    if (keyPath == "hidden") return hidden_;
    if (keyPath == "backgroundColor") return CGObjectValue::valueWithCGColor(backgroundColor_);
    if (keyPath == "borderColor") return CGObjectValue::valueWithCGColor(borderColor_);
    if (keyPath == "shadowColor") return CGObjectValue::valueWithCGColor(shadowColor_);
    if (keyPath == "contents") {
        CGImageRef image = copyContents();
        Value v = CGObjectValue::valueWithCGImage(image);
        CGImageRelease(image);
        return v;
    }
    return {};
}

namespace {

// What a property animation shows of `keyPath` after `elapsed` seconds of its own time; nil
// when it animates another property (a group answers through its children).
Value animatedValue(const CAAnimation& animation, const std::string& keyPath, double elapsed)
{
    if (auto group = dynamic_cast<const CAAnimationGroup*>(&animation)) {
        Value value;
        // Nothing of a child shows past the group's own duration.
        const double clipped = std::min(elapsed, group->effectiveDuration());
        for (const auto& child : group->animations()) {
            if (!child) continue;
            Value v = animatedValue(*child, keyPath, clipped - child->beginTime());
            if (!v.isNil()) value = std::move(v);
        }
        return value;
    }
    if (auto basic = dynamic_cast<const CABasicAnimation*>(&animation)) {
        if (basic->keyPath() != keyPath) return {};
        // "contents" is drawn as a cross-fade by the renderer; its value switches at the end.
        return interpolate(basic->fromValue(), basic->toValue(), basic->progressAtLocalTime(elapsed));
    }
    if (auto frames = dynamic_cast<const CAKeyframeAnimation*>(&animation)) {
        if (frames->keyPath() != keyPath) return {};
        std::size_t a = 0, b = 0;
        double between = 0;
        if (!frames->segmentAt(frames->progressAtLocalTime(elapsed), &a, &b, &between)) return {};
        return interpolate(frames->values()[a], frames->values()[b], between);
    }
    return {};
}

}  // namespace

Value CALayer::presentationValueForKeyPath(const std::string& keyPath, double time) const
{
    Value value = valueForKeyPath(keyPath);
    for (const auto& running : animations_) {
        const std::string& fill = running.animation->fillMode();
        if (running.ended && fill != kCAFillModeForwards && fill != kCAFillModeBoth) continue;
        Value v = animatedValue(*running.animation, keyPath, std::max(0.0, time - running.animation->beginTime()));
        if (!v.isNil()) value = std::move(v);
    }
    return value;
}

void CALayer::copyValuesTo(CALayer& other, double time) const
{
    auto point = [&](const char* key) {
        return presentationValueForKeyPath(key, time).object<NSValue>()->CGPointValue();
    };
    other.bounds_ = presentationValueForKeyPath("bounds", time).object<NSValue>()->CGRectValue();
    other.position_ = point("position");
    other.anchorPoint_ = anchorPoint_;
    other.transform_ = presentationValueForKeyPath("transform", time).object<NSValue>()->CATransform3DValue();
    other.zPosition_ = presentationValueForKeyPath("zPosition", time).floatValue();
    other.opacity_ = presentationValueForKeyPath("opacity", time).floatValue();
    other.cornerRadius_ = presentationValueForKeyPath("cornerRadius", time).floatValue();
    other.borderWidth_ = presentationValueForKeyPath("borderWidth", time).floatValue();
    other.shadowOpacity_ = presentationValueForKeyPath("shadowOpacity", time).floatValue();
    other.shadowRadius_ = presentationValueForKeyPath("shadowRadius", time).floatValue();
    other.hidden_ = hidden_;
    other.opaque_ = opaque_;
    other.masksToBounds_ = masksToBounds_;
    other.shadowOffset_ = shadowOffset_;
    other.contentsGravity_ = contentsGravity_;
    other.contentsScale_ = contentsScale_;
    other.setBackgroundColor(CGObjectValue::CGColorFromValue(presentationValueForKeyPath("backgroundColor", time)));
    other.setBorderColor(CGObjectValue::CGColorFromValue(presentationValueForKeyPath("borderColor", time)));
    other.setShadowColor(CGObjectValue::CGColorFromValue(presentationValueForKeyPath("shadowColor", time)));
    other.setContents(CGObjectValue::CGImageFromValue(presentationValueForKeyPath("contents", time)));
    other.setShadowPath(shadowPath_);
}

std::shared_ptr<CALayer> CALayer::makePresentationCopy() const
{
    return CALayer::layer();
}

std::shared_ptr<CALayer> CALayer::presentationLayer() const
{
    auto copy = makePresentationCopy();
    copyValuesTo(*copy, CACurrentMediaTime());
    return copy;
}
