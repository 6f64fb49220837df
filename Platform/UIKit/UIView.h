#pragma once
// Views: a rectangle of the screen with its layer, in a tree. Geometry lives in the layer (centre
// = position, bounds, transform, alpha = opacity, hidden, clipsToBounds = masksToBounds); the
// subviews' layers are sublayers of this view's layer, in the same order (the layer may also hold
// layers of its own). Main thread only: calls that change the tree, layout, display or animations
// stop the process with a message when made elsewhere.
//
// Layout: a change of the bounds' size resizes the subviews at once by their autoresizing masks
// and marks the view; layoutSubviews runs in the next run-loop turn, or in layoutIfNeeded.
// Display: drawRect draws a backing image at the screen scale when the view is first shown, then
// after setNeedsDisplay (or a size change with content mode redraw); a view that draws nothing
// keeps no image.

#include "CoreGraphics/CGAffineTransform.h"
#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObjCRuntime.h"
#include "QuartzCore/CALayer.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIResponder.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class UIEvent;
class UIGestureRecognizer;
class UIWindow;

using UIViewAutoresizing = NSUInteger;
inline constexpr UIViewAutoresizing UIViewAutoresizingNone = 0;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleLeftMargin = 1 << 0;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleWidth = 1 << 1;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleRightMargin = 1 << 2;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleTopMargin = 1 << 3;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleHeight = 1 << 4;
inline constexpr UIViewAutoresizing UIViewAutoresizingFlexibleBottomMargin = 1 << 5;

enum UIViewContentMode : NSInteger {
    UIViewContentModeScaleToFill = 0,
    UIViewContentModeScaleAspectFit = 1,
    UIViewContentModeScaleAspectFill = 2,
    UIViewContentModeRedraw = 3,
    UIViewContentModeCenter = 4,
    UIViewContentModeTop = 5,
    UIViewContentModeBottom = 6,
    UIViewContentModeLeft = 7,
    UIViewContentModeRight = 8,
    UIViewContentModeTopLeft = 9,
    UIViewContentModeTopRight = 10,
    UIViewContentModeBottomLeft = 11,
    UIViewContentModeBottomRight = 12,
};

using UIViewAnimationOptions = NSUInteger;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionLayoutSubviews = 1 << 0;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionAllowUserInteraction = 1 << 1;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionBeginFromCurrentState = 1 << 2;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionOverrideInheritedDuration = 1 << 5;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionOverrideInheritedCurve = 1 << 6;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseInOut = 0 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseIn = 1 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseOut = 2 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveLinear = 3 << 16;

// The curve alone, as notifications carry it (the keyboard's).
enum UIViewAnimationCurve : NSInteger {
    UIViewAnimationCurveEaseInOut = 0,
    UIViewAnimationCurveEaseIn = 1,
    UIViewAnimationCurveEaseOut = 2,
    UIViewAnimationCurveLinear = 3,
};

class UIView : public UIResponder, public CALayerDelegate {
public:
    using UIResponder::UIResponder;
    ~UIView() override;

    // A view of class T made with initWithFrame.
    template <class T = UIView>
    static std::shared_ptr<T> viewWithFrame(CGRect frame = CGRectZero)
    {
        return NSObject::create<T>([&](T& view) { return view.initWithFrame(frame); });
    }
    // The initialiser: subclasses override it, calling the base first.
    virtual bool initWithFrame(CGRect frame);

    const std::shared_ptr<CALayer>& layer() const { return layer_; }

    // ---- Geometry ----
    CGRect frame() const { return layer_->frame(); }
    // The three setters may be overridden (calling the base) to follow every change of place or
    // size: autoresizing goes through setFrame, sizeToFit through setBounds and setCenter.
    virtual void setFrame(CGRect frame);
    CGRect bounds() const { return layer_->bounds(); }
    virtual void setBounds(CGRect bounds);
    CGPoint center() const { return layer_->position(); }
    virtual void setCenter(CGPoint center);
    CGAffineTransform transform() const { return layer_->affineTransform(); }
    void setTransform(CGAffineTransform transform);

    // Conversions through every transform and bounds origin; a null view means the window (or
    // the root of a tree that is in none).
    CGPoint convertPointToView(CGPoint point, const UIView* view) const;
    CGPoint convertPointFromView(CGPoint point, const UIView* view) const;
    CGRect convertRectToView(CGRect rect, const UIView* view) const;
    CGRect convertRectFromView(CGRect rect, const UIView* view) const;

    // ---- Tree ----
    std::shared_ptr<UIView> superview() const { return superview_.lock(); }
    const std::vector<std::shared_ptr<UIView>>& subviews() const { return subviews_; }
    // The window this view is in, if any.
    std::shared_ptr<UIWindow> window() const;
    // Adding a view that has a superview moves it.
    void addSubview(const std::shared_ptr<UIView>& view);
    void insertSubviewAtIndex(const std::shared_ptr<UIView>& view, NSInteger index);
    void insertSubviewBelowSubview(const std::shared_ptr<UIView>& view, const UIView* sibling);
    void insertSubviewAboveSubview(const std::shared_ptr<UIView>& view, const UIView* sibling);
    void bringSubviewToFront(const UIView* view);
    void sendSubviewToBack(const UIView* view);
    void removeFromSuperview();
    bool isDescendantOfView(const UIView* view) const;
    NSInteger tag() const { return tag_; }
    void setTag(NSInteger tag) { tag_ = tag; }
    // This view or the first descendant (depth first) with the tag.
    std::shared_ptr<UIView> viewWithTag(NSInteger tag);
    std::shared_ptr<UIResponder> nextResponder() const override { return superview(); }

    // ---- Layout ----
    UIViewAutoresizing autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(UIViewAutoresizing mask) { autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool autoresizes) { autoresizesSubviews_ = autoresizes; }
    void setNeedsLayout();
    // Lays out from the topmost ancestor that needs it, parents before children.
    void layoutIfNeeded();
    virtual void layoutSubviews() {}
    virtual CGSize sizeThatFits(CGSize /*size*/) const { return bounds().size; }
    // Resizes to sizeThatFits, keeping the frame's origin.
    void sizeToFit();

    // ---- Appearance ----
    const std::shared_ptr<UIColor>& backgroundColor() const { return backgroundColor_; }
    virtual void setBackgroundColor(std::shared_ptr<UIColor> color);
    CGFloat alpha() const { return layer_->opacity(); }
    void setAlpha(CGFloat alpha);
    bool isHidden() const { return layer_->isHidden(); }
    void setHidden(bool hidden) { layer_->setHidden(hidden); }
    bool isOpaque() const { return layer_->isOpaque(); }
    void setOpaque(bool opaque) { layer_->setOpaque(opaque); }
    bool clipsToBounds() const { return layer_->masksToBounds(); }
    void setClipsToBounds(bool clips) { layer_->setMasksToBounds(clips); }
    UIViewContentMode contentMode() const { return contentMode_; }
    void setContentMode(UIViewContentMode mode);
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    // Views that pass the setting on to views of their own override it (calling the base).
    virtual void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }

    // ---- Touches ----
    // NO (the default): the view's own touch methods get only its first touch (its recognisers
    // see all).
    bool isMultipleTouchEnabled() const { return multipleTouchEnabled_; }
    void setMultipleTouchEnabled(bool enabled) { multipleTouchEnabled_ = enabled; }
    // YES: the view takes no touch while another view holds one, and no other view takes one
    // while it holds one.
    bool isExclusiveTouch() const { return exclusiveTouch_; }
    void setExclusiveTouch(bool exclusive) { exclusiveTouch_ = exclusive; }
    const std::vector<std::shared_ptr<UIGestureRecognizer>>& gestureRecognizers() const { return gestureRecognizers_; }
    // A recogniser belongs to one view: adding it here takes it from the last.
    void addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
    void removeGestureRecognizer(const UIGestureRecognizer* recognizer);

    // ---- Accessibility ----
    // Empty unless set: views that draw their own text carry it here, so that people using a
    // screen reader (and tests looking for a view by what it shows) find it.
    const std::string& accessibilityLabel() const { return accessibilityLabel_; }
    void setAccessibilityLabel(std::string label) { accessibilityLabel_ = std::move(label); }

    // ---- Drawing ----
    // Draws the view's content in its own coordinates (y down); `rect` is the bounds.
    virtual void drawRect(CGRect rect);
    void setNeedsDisplay();

    // ---- Hit testing ----
    // Null for hidden views, alpha below 0.01, interaction off, a view animating in a block that
    // does not allow user interaction, or a point outside; else the deepest subview that answers
    // (front to back), else this view. `event` may be null.
    virtual std::shared_ptr<UIView> hitTest(CGPoint point, const UIEvent* event);
    virtual bool pointInside(CGPoint point, const UIEvent* event) const;

    // ---- Editing ----
    // Resigns the window's first responder when it is this view or inside it; with `force` even
    // if it would refuse. YES when no such responder is left.
    bool endEditing(bool force);

    // ---- Hooks ----
    virtual void willMoveToSuperview(UIView*) {}
    virtual void didMoveToSuperview() {}
    virtual void willMoveToWindow(UIWindow*) {}
    virtual void didMoveToWindow() {}
    virtual void didAddSubview(UIView*) {}
    virtual void willRemoveSubview(UIView*) {}

    // ---- Block animations ----
    // Changes made by `animations` to centre, frame, bounds, transform, alpha or background colour
    // animate from what is shown now; the models change at once. `completion` runs once, from a
    // later run-loop turn: finished YES when every animation ended, NO when one was superseded.
    static void animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                    const std::function<void()>& animations,
                                    std::function<void(bool)> completion = nullptr);
    static void animateWithDuration(double duration, const std::function<void()>& animations,
                                    std::function<void(bool)> completion = nullptr);
    // Runs the block with no animation, even inside an animation block.
    static void performWithoutAnimation(const std::function<void()>& changes);

    // CALayerDelegate
    void drawLayerInContext(CALayer* layer, CGContextRef context) override;
    void layoutSublayersOfLayer(CALayer* layer) override;

protected:
    std::shared_ptr<UIWindow> windowForFirstResponder() const override { return window(); }
    // The layer a view of this class is made with (the platform's +layerClass).
    virtual std::shared_ptr<CALayer> makeLayer() const { return CALayer::layer(); }
    void didConstruct() override;

    // Applies a change of one layer key, animated when an animation block is open.
    void changeLayerValue(const char* key, const Value& to, const std::function<void()>& apply);

private:
    friend class UIWindow;
    void placeSubview(const std::shared_ptr<UIView>& view, size_t index);
    void resizeSubviews(CGSize oldSize);
    void boundsSizeChanged(CGSize oldSize);

protected:
    // After the bounds changed size (subviews resized, layout requested).
    virtual void didChangeBoundsSize() {}
    // Around every real change of the geometry, before and after it: `frame` when the frame moves
    // or changes size (centre, bounds size or transform), `origin` when the bounds' origin moves.
    // Views that announce their geometry to observers hook in here.
    virtual void willChangeGeometry(bool /*frame*/, bool /*origin*/) {}
    virtual void didChangeGeometry(bool /*frame*/, bool /*origin*/) {}

private:
    void notifyMovedToWindow(UIWindow* window);

    std::shared_ptr<CALayer> layer_;
    std::weak_ptr<UIView> superview_;
    std::vector<std::shared_ptr<UIView>> subviews_;
    NSInteger tag_ = 0;
    UIViewAutoresizing autoresizingMask_ = UIViewAutoresizingNone;
    bool autoresizesSubviews_ = true;
    std::shared_ptr<UIColor> backgroundColor_;
    UIViewContentMode contentMode_ = UIViewContentModeScaleToFill;
    bool userInteractionEnabled_ = true;
    bool multipleTouchEnabled_ = false;
    bool exclusiveTouch_ = false;
    std::string accessibilityLabel_;
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers_;
    bool drawsNothing_ = false;  // the base drawRect ran and nothing was drawn: no redraw on show
};

// The gravity a content mode gives a layer's contents.
const char* UIViewContentModeGravity(UIViewContentMode mode);
