#include "UIKit/UIScrollView.h"

#include "Dispatch/DispatchRunLoop.h"
#include "QuartzCore/CABase.h"
#include "QuartzCore/CAMediaTimingFunction.h"
#include "UIKit/UIControl.h"
#include "UIKit/UIGestureConstants.h"
#include "UIKit/UIScrollViewRecognizers.h"
#include "UIKit/UITouchDelivery.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

// The scroll views in motion, stepped once a run-loop turn in the animation stage.
struct UIScrollViewMotions {
    static std::vector<std::weak_ptr<UIScrollView>>& moving()
    {
        static auto* views = new std::vector<std::weak_ptr<UIScrollView>>;
        return *views;
    }

    static void add(UIScrollView& view)
    {
        static std::once_flag installed;
        std::call_once(installed, [] { DispatchRunLoop::addObserver(DispatchRunLoopStage::Animation, tick); });
        auto& views = moving();
        auto self = view.weakSelf<UIScrollView>();
        for (const auto& w : views)
            if (!w.owner_before(self) && !self.owner_before(w)) return;
        views.push_back(self);
    }

    static void tick()
    {
        double now = CACurrentMediaTime();
        auto views = moving();
        for (const auto& weak : views)
            if (auto view = weak.lock()) view->stepMotion(now);
        std::erase_if(moving(), [](const auto& weak) {
            auto view = weak.lock();
            return !view || !view->motion_;
        });
    }
};

namespace {

CGPoint plus(CGPoint a, CGPoint b)
{
    return CGPointMake(a.x + b.x, a.y + b.y);
}

CGPoint minus(CGPoint a, CGPoint b)
{
    return CGPointMake(a.x - b.x, a.y - b.y);
}

CGPoint halfOf(CGSize size)
{
    return CGPointMake(size.width / 2, size.height / 2);
}

CGFloat between(CGFloat value, CGFloat low, CGFloat high)
{
    return std::max(low, std::min(value, high));
}

double eased(const char* curve, double progress)
{
    return CAMediaTimingFunction::functionWithName(curve)->valueAt(progress);
}

}  // namespace

UIScrollView::~UIScrollView() = default;

bool UIScrollView::initWithFrame(CGRect frame)
{
    if (!UIView::initWithFrame(frame)) return false;
    setClipsToBounds(true);
    auto me = self<UIScrollView>();
    auto delay = NSObject::create<UIScrollViewContentDelay>();
    delay->scrollView = me;
    contentDelay_ = delay;
    addGestureRecognizer(delay);
    auto pan = NSObject::create<UIScrollViewPan>();
    pan->scrollView = me;
    pan->addTarget(me, &UIScrollView::handlePan);
    pan_ = pan;
    addGestureRecognizer(pan);
    auto pinch = NSObject::create<UIScrollViewPinch>();
    pinch->scrollView = me;
    pinch->addTarget(me, &UIScrollView::handlePinch);
    pinch_ = pinch;
    addGestureRecognizer(pinch);
    return true;
}

void UIScrollView::setDecelerationRate(CGFloat rate)
{
    decelerationRate_ = between(rate, UIScrollViewDecelerationRateFast, UIScrollViewDecelerationRateNormal);
}

bool UIScrollView::touchesShouldCancelInContentView(UIView* view)
{
    return !dynamic_cast<UIControl*>(view);
}

// ---- Offsets ----

UIScrollView::Range UIScrollView::offsetRange(CGSize contentSize) const
{
    CGSize b = bounds().size;
    CGPoint low = CGPointMake(-contentInset_.left, -contentInset_.top);
    CGPoint high = CGPointMake(std::max(low.x, contentSize.width + contentInset_.right - b.width),
                               std::max(low.y, contentSize.height + contentInset_.bottom - b.height));
    return {low, high};
}

bool UIScrollView::canScrollHorizontally() const
{
    return alwaysBounceHorizontal_ ||
           contentSize_.width + contentInset_.left + contentInset_.right > bounds().size.width;
}

bool UIScrollView::canScrollVertically() const
{
    return alwaysBounceVertical_ ||
           contentSize_.height + contentInset_.top + contentInset_.bottom > bounds().size.height;
}

CGPoint UIScrollView::clampOffset(CGPoint offset, CGSize contentSize) const
{
    Range r = offsetRange(contentSize);
    return CGPointMake(between(offset.x, r.min.x, r.max.x), between(offset.y, r.min.y, r.max.y));
}

void UIScrollView::setContentSize(CGSize size)
{
    if (CGSizeEqualToSize(size, contentSize_)) return;
    willChangeValueForKey("contentSize");
    contentSize_ = size;
    didChangeValueForKey("contentSize");
}

void UIScrollView::willChangeGeometry(bool frame, bool origin)
{
    if (origin) willChangeValueForKey("contentOffset");
    if (frame) willChangeValueForKey("frame");
}

void UIScrollView::didChangeGeometry(bool frame, bool origin)
{
    if (origin) didChangeValueForKey("contentOffset");
    if (frame) didChangeValueForKey("frame");
}

void UIScrollView::setContentOffset(CGPoint offset)
{
    if (CGPointEqualToPoint(offset, contentOffset())) return;
    CGRect b = bounds();
    b.origin = offset;
    setBounds(b);
    setNeedsLayout();
    if (auto d = liveDelegate()) d->scrollViewDidScroll(this);
}

void UIScrollView::setContentOffset(CGPoint offset, bool animated)
{
    if (motion_ && motion_->kind == Motion::Kind::ScrollingAnimation) stopMotion();
    if (!animated) return setContentOffset(offset);
    if (CGPointEqualToPoint(offset, contentOffset())) return;
    stopMotion();
    Motion m{Motion::Kind::ScrollingAnimation};
    m.eased = true;
    m.duration = UIScrollViewAnimationDuration;
    m.from = contentOffset();
    m.to = offset;
    m.zoomFrom = m.zoomTo = zoomScale_;
    startMotion(m);
}

// ---- Dragging ----

void UIScrollView::trackingBegan(const UITouchSet& touches)
{
    tracking_ = true;
    if (motion_ && motion_->kind == Motion::Kind::Decelerating) {
        motion_.reset();
        stoppedByTouch_ = true;
    }
    if (stoppedByTouch_)
        for (const auto& touch : touches) UITouchDelivery::shared().withholdFromView(*touch);
}

void UIScrollView::trackingEnded()
{
    tracking_ = false;
    if (stoppedByTouch_) {
        stoppedByTouch_ = false;
        decelerating_ = false;
    }
}

bool UIScrollView::panMayBegin(const UITouchSet& touches)
{
    if (!scrollEnabled_ || !(canScrollHorizontally() || canScrollVertically())) return false;
    for (const auto& touch : touches) {
        UIView* content = touch->view().get();
        if (content == this || !UITouchDelivery::shared().viewHolds(*touch)) continue;
        if (!canCancelContentTouches_ || !touchesShouldCancelInContentView(content)) return false;
    }
    return true;
}

void UIScrollView::handlePan(UIPanGestureRecognizer* pan)
{
    auto keep = self<UIScrollView>();
    switch (pan->state()) {
    case UIGestureRecognizerStateBegan:
        stopMotion();
        stoppedByTouch_ = false;
        decelerating_ = false;
        dragging_ = true;
        dragOrigin_ = contentOffset();
        if (auto d = liveDelegate()) d->scrollViewWillBeginDragging(this);
        [[fallthrough]];
    case UIGestureRecognizerStateChanged: {
        CGPoint t = pan->translationInView(this);
        if (zooming_) {
            // The pinch places the content; the drag goes on from wherever it leaves it.
            dragOrigin_ = plus(contentOffset(), t);
            return;
        }
        Range r = offsetRange(contentSize_);
        auto follow = [&](CGFloat origin, CGFloat moved, CGFloat low, CGFloat high) {
            CGFloat raw = origin - moved;
            if (raw < low) return bounces_ ? low - (low - raw) / 2 : low;
            if (raw > high) return bounces_ ? high + (raw - high) / 2 : high;
            return raw;
        };
        CGPoint offset = contentOffset();
        if (canScrollHorizontally()) offset.x = follow(dragOrigin_.x, t.x, r.min.x, r.max.x);
        if (canScrollVertically()) offset.y = follow(dragOrigin_.y, t.y, r.min.y, r.max.y);
        setContentOffset(offset);
        break;
    }
    case UIGestureRecognizerStateEnded: endDragging(pan->velocityInView(this)); break;
    case UIGestureRecognizerStateCancelled: endDragging(CGPointZero); break;
    default: break;
    }
}

bool UIScrollView::scrollByWheel(CGPoint delta)
{
    if (!scrollEnabled_ || zooming_ || dragging_) return false;
    const bool scrollsX = canScrollHorizontally(), scrollsY = canScrollVertically();
    if (scrollsX && !scrollsY && delta.x == 0) delta = CGPointMake(delta.y, 0);
    if (scrollsY && !scrollsX && delta.y == 0) delta = CGPointMake(0, delta.x);
    const CGPoint from = contentOffset();
    const CGPoint to = clampOffset(CGPointMake(scrollsX ? from.x + delta.x : from.x, scrollsY ? from.y + delta.y : from.y),
                                   contentSize_);
    if (CGPointEqualToPoint(to, from)) return false;
    auto keep = self<UIScrollView>();
    stopMotion();
    decelerating_ = false;
    dragging_ = true;
    if (auto d = liveDelegate()) d->scrollViewWillBeginDragging(this);
    setContentOffset(to);
    endDragging(CGPointZero);
    return true;
}

void UIScrollView::endDragging(CGPoint fingerVelocity)
{
    bool scrollsX = canScrollHorizontally(), scrollsY = canScrollVertically();
    // The offset moves against the finger; points per millisecond.
    CGPoint v = CGPointMake(scrollsX ? -fingerVelocity.x / 1000 : 0, scrollsY ? -fingerVelocity.y / 1000 : 0);
    CGPoint offset = contentOffset();
    CGPoint inside = clampOffset(offset, contentSize_);
    bool outside = !CGPointEqualToPoint(inside, offset);
    CGPoint target = inside;
    if (!outside && pagingEnabled_) {
        CGSize page = bounds().size;
        auto snap = [](CGFloat at, CGFloat speed, CGFloat extent) {
            if (extent <= 0) return at;
            if (std::abs(speed) > UIScrollViewFlickSpeed)
                return CGFloat((speed > 0 ? std::floor(at / extent) + 1 : std::ceil(at / extent) - 1) * extent);
            return CGFloat(std::round(at / extent) * extent);
        };
        if (scrollsX) target.x = snap(offset.x, v.x, page.width);
        if (scrollsY) target.y = snap(offset.y, v.y, page.height);
        target = clampOffset(target, contentSize_);
    } else if (!outside) {
        double travel = 1 / -std::log(double(decelerationRate_));
        target =
            clampOffset(CGPointMake(CGFloat(offset.x + v.x * travel), CGFloat(offset.y + v.y * travel)), contentSize_);
    }
    CGPoint proposed = target;
    if (auto d = liveDelegate()) d->scrollViewWillEndDraggingWithVelocityTargetContentOffset(this, v, &target);
    dragging_ = false;
    bool decelerate = outside || std::abs(target.x - offset.x) >= 0.5f || std::abs(target.y - offset.y) >= 0.5f;
    decelerating_ = decelerate;
    if (auto d = liveDelegate()) d->scrollViewDidEndDraggingWillDecelerate(this, decelerate);
    if (!decelerate) return;
    if (auto d = liveDelegate()) d->scrollViewWillBeginDecelerating(this);
    if (!decelerating_) return;  // the delegate stopped it
    Motion m{Motion::Kind::Decelerating};
    // Back from past an edge: eased; otherwise at the rate, reaching the (possibly moved) target.
    m.eased = outside && CGPointEqualToPoint(target, proposed);
    m.duration = UIScrollViewBounceDuration;
    m.from = contentOffset();
    m.to = target;
    m.zoomFrom = m.zoomTo = zoomScale_;
    startMotion(m);
}

// ---- Motion ----

void UIScrollView::startMotion(Motion motion)
{
    motion.start = CACurrentMediaTime();
    motion.rate = decelerationRate_;
    motion.id = ++motions_;
    motion_ = motion;
    UIScrollViewMotions::add(*this);
}

void UIScrollView::stopMotion()
{
    if (!motion_) return;
    if (motion_->kind == Motion::Kind::Decelerating) decelerating_ = false;
    if (motion_->kind == Motion::Kind::Zooming) zooming_ = false;
    motion_.reset();
}

void UIScrollView::stepMotion(double now)
{
    if (!motion_) return;
    auto keep = self<UIScrollView>();
    Motion m = *motion_;
    CGPoint offset;
    CGFloat zoom = m.zoomTo;
    bool done;
    if (m.eased) {
        double p = m.duration > 0 ? std::clamp((now - m.start) / m.duration, 0.0, 1.0) : 1.0;
        double e = eased(m.kind == Motion::Kind::ScrollingAnimation ? kCAMediaTimingFunctionEaseInEaseOut
                                                                    : kCAMediaTimingFunctionEaseOut,
                         p);
        offset = CGPointMake(CGFloat(m.from.x + (m.to.x - m.from.x) * e), CGFloat(m.from.y + (m.to.y - m.from.y) * e));
        zoom = CGFloat(m.zoomFrom + (m.zoomTo - m.zoomFrom) * e);
        done = p >= 1;
    } else {
        // Speed v0 r^t: the distance covered by t ms is the whole way times 1 - r^t.
        double covered = 1 - std::pow(double(m.rate), (now - m.start) * 1000);
        offset = CGPointMake(CGFloat(m.from.x + (m.to.x - m.from.x) * covered),
                             CGFloat(m.from.y + (m.to.y - m.from.y) * covered));
        done = std::abs(m.to.x - offset.x) < 0.5f && std::abs(m.to.y - offset.y) < 0.5f;
    }
    if (done) offset = m.to, zoom = m.zoomTo;
    if (m.kind == Motion::Kind::Zooming) {
        if (UIView* view = zoomView()) applyZoomScale(*view, zoom);
        setContentOffset(offset);
        tellDidZoom();
    } else {
        setContentOffset(offset);
    }
    if (!done || !motion_ || motion_->id != m.id) return;  // a delegate may have started another
    motion_.reset();
    auto d = liveDelegate();
    switch (m.kind) {
    case Motion::Kind::Decelerating:
        decelerating_ = false;
        if (d) d->scrollViewDidEndDecelerating(this);
        break;
    case Motion::Kind::ScrollingAnimation:
        if (d) d->scrollViewDidEndScrollingAnimation(this);
        break;
    case Motion::Kind::Zooming:
        zooming_ = false;
        if (d) d->scrollViewDidEndZoomingWithViewAtScale(this, zoomView(), zoomScale_);
        break;
    }
}

// ---- Zooming ----

UIView* UIScrollView::zoomView()
{
    auto d = liveDelegate();
    return d ? d->viewForZoomingInScrollView(this) : nullptr;
}

void UIScrollView::applyZoomScale(UIView& view, CGFloat scale)
{
    CGPoint origin = view.frame().origin;
    view.setTransform(CGAffineTransformMakeScale(scale, scale));
    CGRect moved = view.frame();
    view.setCenter(plus(view.center(), minus(origin, moved.origin)));
    zoomScale_ = scale;
    setContentSize(view.frame().size);
}

CGPoint UIScrollView::contentPointAtScale(UIView& view, CGPoint point, CGFloat scale) const
{
    CGPoint origin = view.frame().origin, b = view.bounds().origin;
    return CGPointMake(origin.x + (point.x - b.x) * scale, origin.y + (point.y - b.y) * scale);
}

void UIScrollView::tellDidZoom()
{
    setNeedsLayout();
    if (auto d = liveDelegate()) d->scrollViewDidZoom(this);
}

void UIScrollView::setZoomScale(CGFloat scale)
{
    setZoomScale(scale, false);
}

void UIScrollView::setZoomScale(CGFloat scale, bool animated)
{
    UIView* view = zoomView();
    if (!view) return;
    scale = std::max(minimumZoomScale_, std::min(scale, maximumZoomScale_));
    CGSize b = bounds().size;
    // The content point at the centre of what is shown stays there.
    CGPoint centre = view->convertPointFromView(plus(contentOffset(), halfOf(b)), this);
    CGSize size = CGSizeMake(view->bounds().size.width * scale, view->bounds().size.height * scale);
    zoomTo(scale, clampOffset(minus(contentPointAtScale(*view, centre, scale), halfOf(b)), size), animated);
}

void UIScrollView::zoomToRect(CGRect rect, bool animated)
{
    UIView* view = zoomView();
    if (!view || rect.size.width <= 0 || rect.size.height <= 0) return;
    CGSize b = bounds().size;
    CGFloat scale = std::min(b.width / rect.size.width, b.height / rect.size.height);
    scale = std::max(minimumZoomScale_, std::min(scale, maximumZoomScale_));
    CGPoint centre = CGPointMake(CGRectGetMidX(rect), CGRectGetMidY(rect));
    CGSize size = CGSizeMake(view->bounds().size.width * scale, view->bounds().size.height * scale);
    zoomTo(scale, clampOffset(minus(contentPointAtScale(*view, centre, scale), halfOf(b)), size), animated);
}

void UIScrollView::zoomTo(CGFloat scale, CGPoint offset, bool animated)
{
    UIView* view = zoomView();
    if (!view) return;
    if (!animated) {
        if (motion_ && motion_->kind == Motion::Kind::Zooming) stopMotion();
        applyZoomScale(*view, scale);
        setContentOffset(offset);
        tellDidZoom();
        return;
    }
    if (scale == zoomScale_ && CGPointEqualToPoint(offset, contentOffset())) return;
    stopMotion();
    Motion m{Motion::Kind::Zooming};
    m.eased = true;
    m.duration = UIScrollViewAnimationDuration;
    m.from = contentOffset();
    m.to = offset;
    m.zoomFrom = zoomScale_;
    m.zoomTo = scale;
    startMotion(m);
}

bool UIScrollView::pinchMayBegin()
{
    return zoomView() && minimumZoomScale_ < maximumZoomScale_;
}

void UIScrollView::handlePinch(UIPinchGestureRecognizer* pinch)
{
    auto keep = self<UIScrollView>();
    UIView* view = zoomView();
    if (!view) return;
    switch (pinch->state()) {
    case UIGestureRecognizerStateBegan:
        stopMotion();
        zooming_ = true;
        pinchStartScale_ = zoomScale_;
        pinchAnchor_ = view->convertPointFromView(pinch->locationInView(this), this);
        if (auto d = liveDelegate()) d->scrollViewWillBeginZoomingWithView(this, view);
        [[fallthrough]];
    case UIGestureRecognizerStateChanged: {
        pinchOnScreen_ = minus(pinch->locationInView(this), contentOffset());
        CGFloat raw = pinchStartScale_ * pinch->scale(), scale = raw;
        // Past a limit only with bouncesZoom, and then by the square root of the overshoot.
        if (raw > maximumZoomScale_)
            scale = bouncesZoom_ ? maximumZoomScale_ * std::sqrt(raw / maximumZoomScale_) : maximumZoomScale_;
        else if (raw < minimumZoomScale_)
            scale = bouncesZoom_ ? minimumZoomScale_ * std::sqrt(raw / minimumZoomScale_) : minimumZoomScale_;
        applyZoomScale(*view, scale);
        setContentOffset(
            clampOffset(minus(contentPointAtScale(*view, pinchAnchor_, scale), pinchOnScreen_), contentSize_));
        tellDidZoom();
        break;
    }
    case UIGestureRecognizerStateEnded:
    case UIGestureRecognizerStateCancelled: {
        CGFloat target = std::max(minimumZoomScale_, std::min(zoomScale_, maximumZoomScale_));
        if (target == zoomScale_) {
            zooming_ = false;
            if (auto d = liveDelegate()) d->scrollViewDidEndZoomingWithViewAtScale(this, view, zoomScale_);
            break;
        }
        CGSize size = CGSizeMake(view->bounds().size.width * target, view->bounds().size.height * target);
        Motion m{Motion::Kind::Zooming};
        m.eased = true;
        m.duration = UIScrollViewBounceDuration;
        m.from = contentOffset();
        m.to = clampOffset(minus(contentPointAtScale(*view, pinchAnchor_, target), pinchOnScreen_), size);
        m.zoomFrom = zoomScale_;
        m.zoomTo = target;
        startMotion(m);
        break;
    }
    default: break;
    }
}
