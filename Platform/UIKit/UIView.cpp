#include "UIKit/UIView.h"

#include "CoreGraphics/CGObjectValue.h"
#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSValue.h"
#include "Foundation/PlatformSettings.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIRunLoop.h"
#include "UIKit/UIViewAnimationState.h"
#include "UIKit/UIWindow.h"

#include <algorithm>
#include <cmath>

namespace {

void requireMain(const char* what)
{
    DispatchMainQueue::requireMainThread(what);
}

}  // namespace

const char* UIViewContentModeGravity(UIViewContentMode mode)
{
    switch (mode) {
    case UIViewContentModeScaleAspectFit: return kCAGravityResizeAspect;
    case UIViewContentModeScaleAspectFill: return kCAGravityResizeAspectFill;
    case UIViewContentModeCenter: return kCAGravityCenter;
    case UIViewContentModeTop: return kCAGravityTop;
    case UIViewContentModeBottom: return kCAGravityBottom;
    case UIViewContentModeLeft: return kCAGravityLeft;
    case UIViewContentModeRight: return kCAGravityRight;
    case UIViewContentModeTopLeft: return kCAGravityTopLeft;
    case UIViewContentModeTopRight: return kCAGravityTopRight;
    case UIViewContentModeBottomLeft: return kCAGravityBottomLeft;
    case UIViewContentModeBottomRight: return kCAGravityBottomRight;
    default: return kCAGravityResize;
    }
}

UIView::~UIView()
{
    // Subviews outliving this view (held elsewhere) forget it.
    for (const auto& v : subviews_) v->superview_.reset();
}

void UIView::didConstruct()
{
    UIKitInstallRunLoopStages();
    layer_ = makeLayer();
    layer_->setDelegate(std::static_pointer_cast<CALayerDelegate>(self<UIView>()));
    layer_->setContentsScale(PlatformSettings::screenScale());
    layer_->setNeedsDisplay();  // drawn when first shown
}

bool UIView::initWithFrame(CGRect frame)
{
    layer_->setFrame(frame);
    return true;
}

// ---- Geometry ----

void UIView::changeLayerValue(const char* key, const Value& to, const std::function<void()>& apply)
{
    requireMain("-[UIView set...]");
    UIViewAnimationState::change(*layer_, key, to, apply);
}

void UIView::setFrame(CGRect frame)
{
    CGSize old = bounds().size;
    CGRect newBounds;
    CGPoint newPosition;
    layer_->geometryForFrame(frame, &newBounds, &newPosition);
    const bool frameChanges = !CGPointEqualToPoint(newPosition, center()) || !CGSizeEqualToSize(newBounds.size, old);
    const bool originChanges = !CGPointEqualToPoint(newBounds.origin, bounds().origin);
    if (frameChanges || originChanges) willChangeGeometry(frameChanges, originChanges);
    changeLayerValue("position", NSValue::valueWithCGPoint(newPosition), [&] { layer_->setPosition(newPosition); });
    changeLayerValue("bounds", NSValue::valueWithCGRect(newBounds), [&] { layer_->setBounds(newBounds); });
    boundsSizeChanged(old);
    if (frameChanges || originChanges) didChangeGeometry(frameChanges, originChanges);
}

void UIView::setBounds(CGRect bounds)
{
    CGSize old = this->bounds().size;
    const bool frameChanges = !CGSizeEqualToSize(bounds.size, old);
    const bool originChanges = !CGPointEqualToPoint(bounds.origin, this->bounds().origin);
    if (frameChanges || originChanges) willChangeGeometry(frameChanges, originChanges);
    changeLayerValue("bounds", NSValue::valueWithCGRect(bounds), [&] { layer_->setBounds(bounds); });
    boundsSizeChanged(old);
    if (frameChanges || originChanges) didChangeGeometry(frameChanges, originChanges);
}

void UIView::setCenter(CGPoint center)
{
    const bool changes = !CGPointEqualToPoint(center, this->center());
    if (changes) willChangeGeometry(true, false);
    changeLayerValue("position", NSValue::valueWithCGPoint(center), [&] { layer_->setPosition(center); });
    if (changes) didChangeGeometry(true, false);
}

void UIView::setTransform(CGAffineTransform transform)
{
    const bool changes = !CGAffineTransformEqualToTransform(transform, this->transform());
    if (changes) willChangeGeometry(true, false);
    CATransform3D t = CATransform3DMakeAffineTransform(transform);
    changeLayerValue("transform", NSValue::valueWithCATransform3D(t), [&] { layer_->setTransform(t); });
    if (changes) didChangeGeometry(true, false);
}

void UIView::boundsSizeChanged(CGSize old)
{
    CGSize now = bounds().size;
    if (now.width == old.width && now.height == old.height) return;
    if (autoresizesSubviews_) resizeSubviews(old);
    setNeedsLayout();
    if (contentMode_ == UIViewContentModeRedraw) setNeedsDisplay();
    didChangeBoundsSize();
}

namespace {

// Shares the change of one axis among the flexible parts (margin, size, margin) in proportion to
// their extents, or equally when all are zero.
void share(CGFloat delta, CGFloat& lead, bool flexLead, CGFloat& size, bool flexSize, CGFloat& trail, bool flexTrail)
{
    int count = int(flexLead) + int(flexSize) + int(flexTrail);
    if (count == 0 || delta == 0) return;
    CGFloat total = (flexLead ? lead : 0) + (flexSize ? size : 0) + (flexTrail ? trail : 0);
    auto part = [&](bool flex, CGFloat extent) {
        if (!flex) return CGFloat(0);
        return total != 0 ? delta * extent / total : delta / CGFloat(count);
    };
    CGFloat dl = part(flexLead, lead), ds = part(flexSize, size), dt = part(flexTrail, trail);
    lead += dl, size += ds, trail += dt;
}

}  // namespace

void UIView::resizeSubviews(CGSize old)
{
    CGSize now = bounds().size;
    for (const auto& v : subviews_) {
        UIViewAutoresizing m = v->autoresizingMask_;
        if (m == UIViewAutoresizingNone) continue;
        CGRect f = v->frame();
        CGFloat left = f.origin.x, width = f.size.width, right = old.width - f.origin.x - f.size.width;
        CGFloat top = f.origin.y, height = f.size.height, bottom = old.height - f.origin.y - f.size.height;
        share(now.width - old.width, left, m & UIViewAutoresizingFlexibleLeftMargin, width,
              m & UIViewAutoresizingFlexibleWidth, right, m & UIViewAutoresizingFlexibleRightMargin);
        share(now.height - old.height, top, m & UIViewAutoresizingFlexibleTopMargin, height,
              m & UIViewAutoresizingFlexibleHeight, bottom, m & UIViewAutoresizingFlexibleBottomMargin);
        // A transformed subview changes through its centre and bounds size (setFrame does so).
        v->setFrame(CGRectMake(left, top, width, height));
    }
}

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const
{
    return layer_->convertPointToLayer(point, view ? view->layer_.get() : nullptr);
}
CGPoint UIView::convertPointFromView(CGPoint point, const UIView* view) const
{
    return layer_->convertPointFromLayer(point, view ? view->layer_.get() : nullptr);
}
CGRect UIView::convertRectToView(CGRect rect, const UIView* view) const
{
    return layer_->convertRectToLayer(rect, view ? view->layer_.get() : nullptr);
}
CGRect UIView::convertRectFromView(CGRect rect, const UIView* view) const
{
    return layer_->convertRectFromLayer(rect, view ? view->layer_.get() : nullptr);
}

// ---- Tree ----

std::shared_ptr<UIWindow> UIView::window() const
{
    std::shared_ptr<const UIView> v = self<const UIView>();
    while (v) {
        if (auto w = std::dynamic_pointer_cast<const UIWindow>(v)) return std::const_pointer_cast<UIWindow>(w);
        v = v->superview();
    }
    return nullptr;
}

void UIView::notifyMovedToWindow(UIWindow* window)
{
    willMoveToWindow(window);
    auto children = subviews_;
    for (const auto& v : children) v->notifyMovedToWindow(window);
    didMoveToWindow();
}

void UIView::placeSubview(const std::shared_ptr<UIView>& view, size_t index)
{
    requireMain("-[UIView addSubview:]");
    if (!view || view.get() == this || isDescendantOfView(view.get())) return;
    auto keep = view;
    auto oldParent = keep->superview();
    auto oldWindow = keep->window();
    // A first responder leaving its window resigns (a move inside the same window keeps it).
    if (oldWindow && oldWindow != window()) oldWindow->resignFirstResponderInside(*keep);
    if (oldParent.get() == this) {
        auto it = std::find(subviews_.begin(), subviews_.end(), keep);
        size_t from = static_cast<size_t>(it - subviews_.begin());
        subviews_.erase(it);
        if (from < index) --index;
    } else {
        keep->willMoveToSuperview(this);
        if (oldParent) {
            oldParent->willRemoveSubview(keep.get());
            auto& siblings = oldParent->subviews_;
            siblings.erase(std::find(siblings.begin(), siblings.end(), keep));
        }
    }
    index = std::min(index, subviews_.size());
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), keep);
    keep->superview_ = self<UIView>();
    // The layer goes just below the next subview's layer, or above the previous one's.
    if (index + 1 < subviews_.size())
        layer_->insertSublayerBelow(keep->layer_, subviews_[index + 1]->layer_.get());
    else if (index > 0)
        layer_->insertSublayerAbove(keep->layer_, subviews_[index - 1]->layer_.get());
    else
        layer_->addSublayer(keep->layer_);
    if (oldParent.get() != this) {
        auto newWindow = window();
        if (newWindow != oldWindow) keep->notifyMovedToWindow(newWindow.get());
        keep->didMoveToSuperview();
        didAddSubview(keep.get());
    }
}

void UIView::addSubview(const std::shared_ptr<UIView>& view)
{
    placeSubview(view, SIZE_MAX);
}

void UIView::insertSubviewAtIndex(const std::shared_ptr<UIView>& view, NSInteger index)
{
    placeSubview(view, index < 0 ? 0 : static_cast<size_t>(index));
}

void UIView::insertSubviewBelowSubview(const std::shared_ptr<UIView>& view, const UIView* sibling)
{
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [&](const auto& v) { return v.get() == sibling; });
    placeSubview(view, it == subviews_.end() ? 0 : static_cast<size_t>(it - subviews_.begin()));
}

void UIView::insertSubviewAboveSubview(const std::shared_ptr<UIView>& view, const UIView* sibling)
{
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [&](const auto& v) { return v.get() == sibling; });
    placeSubview(view, it == subviews_.end() ? SIZE_MAX : static_cast<size_t>(it - subviews_.begin()) + 1);
}

void UIView::bringSubviewToFront(const UIView* view)
{
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [&](const auto& v) { return v.get() == view; });
    if (it != subviews_.end()) placeSubview(*it, SIZE_MAX);
}

void UIView::sendSubviewToBack(const UIView* view)
{
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [&](const auto& v) { return v.get() == view; });
    if (it != subviews_.end()) placeSubview(*it, 0);
}

void UIView::removeFromSuperview()
{
    requireMain("-[UIView removeFromSuperview]");
    auto parent = superview();
    if (!parent) return;
    auto keep = self<UIView>();
    auto oldWindow = window();
    bool hadWindow = oldWindow != nullptr;
    if (oldWindow) oldWindow->resignFirstResponderInside(*this);
    parent->willRemoveSubview(this);
    willMoveToSuperview(nullptr);
    if (hadWindow) willMoveToWindow(nullptr);
    auto& siblings = parent->subviews_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), keep));
    superview_.reset();
    layer_->removeFromSuperlayer();
    if (hadWindow) {
        auto children = subviews_;
        for (const auto& v : children) v->notifyMovedToWindow(nullptr);
        didMoveToWindow();
    }
    didMoveToSuperview();
}

bool UIView::endEditing(bool force)
{
    requireMain("-[UIView endEditing:]");
    auto window = this->window();
    if (!window) return true;
    auto responder = window->firstResponder();
    auto responderView = std::dynamic_pointer_cast<UIView>(responder);
    if (!responderView || !responderView->isDescendantOfView(this)) return true;
    if (force) {
        window->resignFirstResponderInside(*responderView);
        return true;
    }
    return responder->resignFirstResponder();
}

bool UIView::isDescendantOfView(const UIView* view) const
{
    for (const UIView* v = this; v; v = v->superview().get())
        if (v == view) return true;
    return false;
}

std::shared_ptr<UIView> UIView::viewWithTag(NSInteger tag)
{
    if (tag_ == tag) return self<UIView>();
    for (const auto& v : subviews_)
        if (auto found = v->viewWithTag(tag)) return found;
    return nullptr;
}

// ---- Layout ----

void UIView::setNeedsLayout()
{
    layer_->setNeedsLayout();
}

void UIView::layoutIfNeeded()
{
    requireMain("-[UIView layoutIfNeeded]");
    UIView* top = this;
    for (UIView* v = this; v; v = v->superview().get())
        if (v->layer_->needsLayout()) top = v;
    top->layer_->layoutIfNeeded();
}

void UIView::layoutSublayersOfLayer(CALayer*)
{
    layoutSubviews();
}

void UIView::sizeToFit()
{
    CGRect f = frame();
    CGSize size = sizeThatFits(bounds().size);
    setBounds(CGRectMake(bounds().origin.x, bounds().origin.y, size.width, size.height));
    CGRect moved = frame();
    setCenter(CGPointMake(center().x + f.origin.x - moved.origin.x, center().y + f.origin.y - moved.origin.y));
}

// ---- Appearance ----

void UIView::setBackgroundColor(std::shared_ptr<UIColor> color)
{
    backgroundColor_ = color;
    changeLayerValue("backgroundColor", CGObjectValue::valueWithCGColor(color ? color->CGColor() : nullptr),
                     [&] { layer_->setBackgroundColor(color ? color->CGColor() : nullptr); });
}

void UIView::setAlpha(CGFloat alpha)
{
    changeLayerValue("opacity", Value(alpha), [&] { layer_->setOpacity(alpha); });
}

void UIView::setContentMode(UIViewContentMode mode)
{
    contentMode_ = mode;
    layer_->setContentsGravity(UIViewContentModeGravity(mode));
}

// ---- Drawing ----

void UIView::drawRect(CGRect)
{
    drawsNothing_ = true;
}

void UIView::setNeedsDisplay()
{
    drawsNothing_ = false;
    layer_->setNeedsDisplay();
}

void UIView::drawLayerInContext(CALayer*, CGContextRef context)
{
    if (drawsNothing_) return;
    UIGraphicsPushContext(context);
    drawRect(bounds());
    UIGraphicsPopContext();
}

// ---- Touches ----

void UIView::addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer)
{
    requireMain("-[UIView addGestureRecognizer:]");
    if (!recognizer) return;
    auto keep = recognizer;
    if (auto old = recognizer->view()) {
        if (old.get() == this) return;
        old->removeGestureRecognizer(recognizer.get());
    }
    gestureRecognizers_.push_back(keep);
    keep->view_ = self<UIView>();
}

void UIView::removeGestureRecognizer(const UIGestureRecognizer* recognizer)
{
    requireMain("-[UIView removeGestureRecognizer:]");
    auto it = std::find_if(gestureRecognizers_.begin(), gestureRecognizers_.end(),
                           [&](const auto& r) { return r.get() == recognizer; });
    if (it == gestureRecognizers_.end()) return;
    auto keep = *it;
    gestureRecognizers_.erase(it);
    keep->view_.reset();
    keep->touches_.clear();
    keep->resetNow();
}

// ---- Hit testing ----

std::shared_ptr<UIView> UIView::hitTest(CGPoint point, const UIEvent* event)
{
    if (isHidden() || alpha() < 0.01f || !userInteractionEnabled_) return nullptr;
    if (UIViewAnimationState::isAnimatingWithoutInteraction(*layer_)) return nullptr;
    if (!pointInside(point, event)) return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        auto sub = *it;
        if (auto hit = sub->hitTest(sub->convertPointFromView(point, this), event)) return hit;
    }
    return self<UIView>();
}

bool UIView::pointInside(CGPoint point, const UIEvent*) const
{
    return CGRectContainsPoint(bounds(), point);
}
