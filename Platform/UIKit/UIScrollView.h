#pragma once
// A view whose bounds origin (the content offset) scrolls over content of a given size, by
// dragging (its own pan recogniser), deceleration, paging and zooming (its own pinch).
//
// Dragging moves the offset with the finger: past an edge half as far with bounces, not at all
// without. An axis scrolls when its content with insets exceeds the bounds, or it always bounces.
// On release the offset decelerates on the clock in closed form: with release speed v0 (points
// per ms over the last 0.1 s) and rate r, the speed is v0 r^t (t in ms) and the resting offset
// start + v0 / -ln r, clamped to the content range; the delegate may move that target. The
// motion ends exactly there once less than half a point remains. A release past an edge eases
// back to it over 0.3 s; with paging the target is the nearest page, or on a flick (faster than
// 0.25 points per ms) the next page boundary in its direction.
//
// Content touches: with delaysContentTouches the content gets a touch-down after 0.15 s unless
// dragging began first (a touch lifted sooner gets began and ended together). Once the content
// has the touch and the finger moves past 10 points, canCancelContentTouches and
// touchesShouldCancelInContentView decide: cancel the content's touch and scroll, or leave it
// and do not. A touch-down while decelerating stops the motion: the content's recognisers still
// see that touch (isDecelerating reads YES until it lifts), its views do not.
//
// Zoom: the delegate's view for zooming gets the transform scale(zoomScale), keeping its frame's
// origin; the content size becomes its frame's size. A pinch zooms from its starting scale about
// the point between the fingers, past a limit only with bouncesZoom (damped), easing back on
// release. Every change of the offset tells the delegate (scrollViewDidScroll) and lays the view
// out again.
//
// Observers of the keys "contentOffset", "contentSize" and "frame" hear each real change before
// it is made (the values read then are the old ones) and after.

#include "Foundation/NSKeyValueObserving.h"
#include "UIKit/UIGeometry.h"
#include "UIKit/UIView.h"

#include <memory>
#include <optional>

class UIGestureRecognizer;
class UIPanGestureRecognizer;
class UIPinchGestureRecognizer;
class UIScrollView;

inline constexpr CGFloat UIScrollViewDecelerationRateNormal = 0.998f;
inline constexpr CGFloat UIScrollViewDecelerationRateFast = 0.99f;

// All optional. A drag tells, in this order: willBeginDragging, didScroll (every change),
// willEndDragging, didEndDragging, then when it decelerates willBeginDecelerating and
// didEndDecelerating.
class UIScrollViewDelegate {
public:
    virtual ~UIScrollViewDelegate() = default;
    virtual void scrollViewDidScroll(UIScrollView*) {}
    virtual void scrollViewWillBeginDragging(UIScrollView*) {}
    // `velocity` in points per millisecond of the offset; the delegate may move the target.
    virtual void scrollViewWillEndDraggingWithVelocityTargetContentOffset(UIScrollView*, CGPoint /*velocity*/,
                                                                          CGPoint* /*targetContentOffset*/)
    {
    }
    virtual void scrollViewDidEndDraggingWillDecelerate(UIScrollView*, bool /*decelerate*/) {}
    virtual void scrollViewWillBeginDecelerating(UIScrollView*) {}
    virtual void scrollViewDidEndDecelerating(UIScrollView*) {}
    virtual void scrollViewDidEndScrollingAnimation(UIScrollView*) {}
    // Null (and not implemented) means no zoom.
    virtual UIView* viewForZoomingInScrollView(UIScrollView*) { return nullptr; }
    virtual void scrollViewWillBeginZoomingWithView(UIScrollView*, UIView*) {}
    virtual void scrollViewDidZoom(UIScrollView*) {}
    virtual void scrollViewDidEndZoomingWithViewAtScale(UIScrollView*, UIView*, CGFloat /*scale*/) {}
};

class UIScrollView : public UIView, public NSKeyValueObservable {
public:
    using UIView::UIView;
    ~UIScrollView() override;
    bool initWithFrame(CGRect frame) override;

    std::weak_ptr<UIScrollViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<UIScrollViewDelegate> delegate) { delegate_ = std::move(delegate); }

    // ---- Scrolling ----
    CGPoint contentOffset() const { return bounds().origin; }
    void setContentOffset(CGPoint offset);
    // Animated: 0.3 s, the delegate told every frame, then scrollViewDidEndScrollingAnimation.
    void setContentOffset(CGPoint offset, bool animated);
    // A mouse wheel's or touchpad's scroll of `delta` points (positive: towards larger offsets),
    // as a drag of that length moves the content, with no touch: the delegate hears the drag begin,
    // the scroll and the drag end, with no deceleration and no bounce past an edge. A view that
    // scrolls along one axis only takes the other axis's scroll along it. Answers whether the
    // content could move that way (false: an enclosing scroll view may take it).
    bool scrollByWheel(CGPoint delta);
    CGSize contentSize() const { return contentSize_; }
    void setContentSize(CGSize size);
    // May be negative.
    UIEdgeInsets contentInset() const { return contentInset_; }
    void setContentInset(UIEdgeInsets insets) { contentInset_ = insets; }
    bool bounces() const { return bounces_; }
    void setBounces(bool bounces) { bounces_ = bounces; }
    bool alwaysBounceHorizontal() const { return alwaysBounceHorizontal_; }
    void setAlwaysBounceHorizontal(bool bounce) { alwaysBounceHorizontal_ = bounce; }
    bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
    void setAlwaysBounceVertical(bool bounce) { alwaysBounceVertical_ = bounce; }
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    // A page is the bounds' extent.
    bool isPagingEnabled() const { return pagingEnabled_; }
    void setPagingEnabled(bool paging) { pagingEnabled_ = paging; }
    // Stored only: no indicators are drawn.
    bool showsHorizontalScrollIndicator() const { return showsHorizontalScrollIndicator_; }
    void setShowsHorizontalScrollIndicator(bool shows) { showsHorizontalScrollIndicator_ = shows; }
    bool showsVerticalScrollIndicator() const { return showsVerticalScrollIndicator_; }
    void setShowsVerticalScrollIndicator(bool shows) { showsVerticalScrollIndicator_ = shows; }
    // Between the fast and the normal rate (clamped there).
    CGFloat decelerationRate() const { return decelerationRate_; }
    void setDecelerationRate(CGFloat rate);

    bool delaysContentTouches() const { return delaysContentTouches_; }
    void setDelaysContentTouches(bool delays) { delaysContentTouches_ = delays; }
    bool canCancelContentTouches() const { return canCancelContentTouches_; }
    void setCanCancelContentTouches(bool cancels) { canCancelContentTouches_ = cancels; }
    // Whether a drag may take a touch the content holds: NO for controls, YES otherwise.
    virtual bool touchesShouldCancelInContentView(UIView* view);

    // A finger is on the scroll view.
    bool isTracking() const { return tracking_; }
    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return decelerating_; }
    bool isZooming() const { return zooming_; }

    // ---- Zooming ----
    CGFloat zoomScale() const { return zoomScale_; }
    // Clamped to the limits, about the centre of what is shown; nothing without a view to zoom.
    void setZoomScale(CGFloat scale);
    // Animated: 0.3 s, scrollViewDidZoom every frame, then scrollViewDidEndZoomingWithViewAtScale.
    void setZoomScale(CGFloat scale, bool animated);
    CGFloat minimumZoomScale() const { return minimumZoomScale_; }
    void setMinimumZoomScale(CGFloat scale) { minimumZoomScale_ = scale; }
    CGFloat maximumZoomScale() const { return maximumZoomScale_; }
    void setMaximumZoomScale(CGFloat scale) { maximumZoomScale_ = scale; }
    // Shows `rect` (in the zoomed view's coordinates) as large as fits, centred.
    void zoomToRect(CGRect rect, bool animated);
    bool bouncesZoom() const { return bouncesZoom_; }
    void setBouncesZoom(bool bounces) { bouncesZoom_ = bounces; }

    const std::shared_ptr<UIPanGestureRecognizer>& panGestureRecognizer() const { return pan_; }
    const std::shared_ptr<UIPinchGestureRecognizer>& pinchGestureRecognizer() const { return pinch_; }

protected:
    void willChangeGeometry(bool frame, bool origin) override;
    void didChangeGeometry(bool frame, bool origin) override;
    // The offset moved into the content range the content size gives.
    CGPoint clampOffset(CGPoint offset, CGSize contentSize) const;

private:
    friend class UIScrollViewPan;
    friend class UIScrollViewPinch;
    friend class UIScrollViewContentDelay;
    friend struct UIScrollViewMotions;

    // One motion on the clock: a deceleration (closed form, at the rate) or an eased change of
    // offset and zoom.
    struct Motion {
        enum class Kind { Decelerating, ScrollingAnimation, Zooming } kind;
        bool eased = false;
        double start = 0;
        double duration = 0;
        CGFloat rate = UIScrollViewDecelerationRateNormal;
        CGPoint from{}, to{};
        CGFloat zoomFrom = 1, zoomTo = 1;
        unsigned long id = 0;
    };

    struct Range {
        CGPoint min, max;
    };
    Range offsetRange(CGSize contentSize) const;
    bool canScrollHorizontally() const;
    bool canScrollVertically() const;
    std::shared_ptr<UIScrollViewDelegate> liveDelegate() const { return delegate_.lock(); }
    UIView* zoomView();

    // From the recognisers.
    void trackingBegan(const UITouchSet& touches);
    void trackingEnded();
    bool panMayBegin(const UITouchSet& touches);
    void handlePan(UIPanGestureRecognizer* pan);
    void endDragging(CGPoint fingerVelocity);
    bool pinchMayBegin();
    void handlePinch(UIPinchGestureRecognizer* pinch);

    void startMotion(Motion motion);
    void stopMotion();
    void stepMotion(double now);
    // Transform, frame origin kept, content size; no delegate call.
    void applyZoomScale(UIView& view, CGFloat scale);
    // Where a point of the zoomed view lies in content coordinates at `scale`.
    CGPoint contentPointAtScale(UIView& view, CGPoint point, CGFloat scale) const;
    void zoomTo(CGFloat scale, CGPoint offset, bool animated);
    void tellDidZoom();

    std::weak_ptr<UIScrollViewDelegate> delegate_;
    CGSize contentSize_{};
    UIEdgeInsets contentInset_{};
    bool bounces_ = true;
    bool alwaysBounceHorizontal_ = false;
    bool alwaysBounceVertical_ = false;
    bool scrollEnabled_ = true;
    bool pagingEnabled_ = false;
    bool showsHorizontalScrollIndicator_ = true;
    bool showsVerticalScrollIndicator_ = true;
    CGFloat decelerationRate_ = UIScrollViewDecelerationRateNormal;
    bool delaysContentTouches_ = true;
    bool canCancelContentTouches_ = true;
    bool tracking_ = false;
    bool dragging_ = false;
    bool decelerating_ = false;
    bool stoppedByTouch_ = false;  // a deceleration stopped by a touch still down
    bool zooming_ = false;
    CGFloat zoomScale_ = 1;
    CGFloat minimumZoomScale_ = 1;
    CGFloat maximumZoomScale_ = 1;
    bool bouncesZoom_ = true;
    CGPoint dragOrigin_{};  // the offset the finger's translation counts from
    CGFloat pinchStartScale_ = 1;
    CGPoint pinchAnchor_{};    // the zoomed view's point between the fingers at the start
    CGPoint pinchOnScreen_{};  // where the fingers' centre is, relative to the offset
    std::optional<Motion> motion_;
    unsigned long motions_ = 0;
    std::shared_ptr<UIPanGestureRecognizer> pan_;
    std::shared_ptr<UIPinchGestureRecognizer> pinch_;
    std::shared_ptr<UIGestureRecognizer> contentDelay_;
};
