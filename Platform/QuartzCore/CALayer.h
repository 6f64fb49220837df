#pragma once
// Layers: the geometry, content and compositing of one rectangle, in a tree. Geometry follows
// the platform: `position` is where the anchor point (a fraction of the bounds, the centre by
// default) sits in the superlayer; `bounds.origin` shifts what the layer's own coordinates show
// (a scroll offset is one); `frame` is the bounding box of the bounds transformed about the anchor.
// Changes apply at once (no implicit animations); explicit animations run on the clock and change
// only what is drawn (the presentation), never the model values.
//
// Content, drawn back to front: shadow, background (rounded by cornerRadius), the contents image
// or the backing image drawn by the delegate, sublayers by zPosition then order, border on top.
// masksToBounds clips to the rounded bounds; a mask layer's alpha masks the whole layer; opacity
// below 1 composites the layer and its sublayers as one group. Main thread only.

#include "CoreGraphics/CGColor.h"
#include "CoreGraphics/CGContext.h"
#include "CoreGraphics/CGGeometry.h"
#include "CoreGraphics/CGImage.h"
#include "CoreGraphics/CGPath.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"
#include "QuartzCore/CAAnimation.h"
#include "QuartzCore/CABase.h"
#include "QuartzCore/CATransform3D.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

class CALayer;

// What a layer asks of its delegate (a view): all optional.
class CALayerDelegate {
public:
    virtual ~CALayerDelegate() = default;
    // Draws the layer's backing image; the context's user space is the layer's bounds, y down.
    virtual void drawLayerInContext(CALayer*, CGContextRef) {}
    // Lays out sublayers before display (views lay out their subviews here).
    virtual void layoutSublayersOfLayer(CALayer*) {}
};

inline constexpr const char* kCAGravityResize = "resize";
inline constexpr const char* kCAGravityResizeAspect = "resizeAspect";
inline constexpr const char* kCAGravityResizeAspectFill = "resizeAspectFill";
inline constexpr const char* kCAGravityCenter = "center";
inline constexpr const char* kCAGravityTop = "top";
inline constexpr const char* kCAGravityBottom = "bottom";
inline constexpr const char* kCAGravityLeft = "left";
inline constexpr const char* kCAGravityRight = "right";
inline constexpr const char* kCAGravityTopLeft = "topLeft";
inline constexpr const char* kCAGravityTopRight = "topRight";
inline constexpr const char* kCAGravityBottomLeft = "bottomLeft";
inline constexpr const char* kCAGravityBottomRight = "bottomRight";

class CALayer : public NSObject {
public:
    static constexpr bool NSDestroysOnMainQueue = true;
    using NSObject::NSObject;
    ~CALayer() override;
    static std::shared_ptr<CALayer> layer() { return NSObject::create<CALayer>(); }

    // ---- Geometry ----
    CGRect bounds() const { return bounds_; }
    void setBounds(CGRect bounds);
    CGPoint position() const { return position_; }
    void setPosition(CGPoint position) { assign(position_, position); }
    CGPoint anchorPoint() const { return anchorPoint_; }
    void setAnchorPoint(CGPoint anchor) { assign(anchorPoint_, anchor); }
    CGFloat zPosition() const { return zPosition_; }
    void setZPosition(CGFloat z) { assign(zPosition_, z); }
    CATransform3D transform() const { return transform_; }
    void setTransform(const CATransform3D& transform) { assign(transform_, transform); }
    CGAffineTransform affineTransform() const { return CATransform3DGetAffineTransform(transform_); }
    void setAffineTransform(CGAffineTransform t) { assign(transform_, CATransform3DMakeAffineTransform(t)); }
    CGRect frame() const;
    // Keeps the transform: the position moves to the rectangle's anchor point and the bounds
    // take its size mapped back through the inverse of the transform.
    void setFrame(CGRect frame);
    // The bounds and position setFrame would give, without setting them.
    void geometryForFrame(CGRect frame, CGRect* bounds, CGPoint* position) const;

    // Point and rectangle conversions through every transform and bounds origin between the two
    // layers; a null layer means the root of this layer's tree.
    CGPoint convertPointToLayer(CGPoint p, const CALayer* layer) const;
    CGPoint convertPointFromLayer(CGPoint p, const CALayer* layer) const;
    CGRect convertRectToLayer(CGRect r, const CALayer* layer) const;
    CGRect convertRectFromLayer(CGRect r, const CALayer* layer) const;
    // This layer's coordinates -> its superlayer's (and back), by the model values.
    CGAffineTransform transformToSuperlayer() const;

    // ---- Tree ----
    std::shared_ptr<CALayer> superlayer() const { return superlayer_.lock(); }
    const std::vector<std::shared_ptr<CALayer>>& sublayers() const { return sublayers_; }
    // Adding a layer that has a superlayer moves it.
    void addSublayer(const std::shared_ptr<CALayer>& layer);
    void insertSublayerAtIndex(const std::shared_ptr<CALayer>& layer, size_t index);
    void insertSublayerBelow(const std::shared_ptr<CALayer>& layer, const CALayer* sibling);
    void insertSublayerAbove(const std::shared_ptr<CALayer>& layer, const CALayer* sibling);
    void removeFromSuperlayer();
    bool isDescendantOfLayer(const CALayer* layer) const;

    // ---- Appearance ----
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { assign(hidden_, hidden); }
    float opacity() const { return opacity_; }
    void setOpacity(float opacity) { assign(opacity_, opacity); }
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { assign(opaque_, opaque); }
    // Retained; pattern colours tile.
    CGColorRef backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(CGColorRef color);
    CGFloat cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(CGFloat radius) { assign(cornerRadius_, radius); }
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks) { assign(masksToBounds_, masks); }
    CGFloat borderWidth() const { return borderWidth_; }
    void setBorderWidth(CGFloat width) { assign(borderWidth_, width); }
    CGColorRef borderColor() const { return borderColor_; }
    void setBorderColor(CGColorRef color);
    // The image shown instead of a backing image; drawn upright by the gravity.
    CGImageRef contents() const { return contents_; }
    void setContents(CGImageRef image);
    // The contents as drawn now, retained for the caller (+1; null when none). Layers whose
    // contents arrive from another thread (a GL layer's presented frames) override it.
    virtual CGImageRef copyContents() const { return contents_ ? CGImageRetain(contents_) : nullptr; }
    const std::string& contentsGravity() const { return contentsGravity_; }
    void setContentsGravity(std::string gravity) { assign(contentsGravity_, std::move(gravity)); }
    CGFloat contentsScale() const { return contentsScale_; }
    void setContentsScale(CGFloat scale) { assign(contentsScale_, scale > 0 ? scale : 1); }
    CGColorRef shadowColor() const { return shadowColor_; }
    void setShadowColor(CGColorRef color);
    float shadowOpacity() const { return shadowOpacity_; }
    void setShadowOpacity(float opacity) { assign(shadowOpacity_, opacity); }
    CGSize shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(CGSize offset) { assign(shadowOffset_, offset); }
    CGFloat shadowRadius() const { return shadowRadius_; }
    void setShadowRadius(CGFloat radius) { assign(shadowRadius_, radius); }
    CGPathRef shadowPath() const { return shadowPath_; }
    void setShadowPath(CGPathRef path);
    const std::shared_ptr<CALayer>& mask() const { return mask_; }
    void setMask(std::shared_ptr<CALayer> mask);

    // ---- Drawing ----
    std::weak_ptr<CALayerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<CALayerDelegate> delegate)
    {
        delegate_ = std::move(delegate);
        noteChange();
    }
    void setNeedsDisplay()
    {
        needsDisplay_ = true;
        noteChange();
    }
    bool needsDisplay() const { return needsDisplay_; }
    // Redraws the backing image now (at contentsScale): drawInContext, whose base asks the delegate.
    void display();
    void displayIfNeeded();
    // Draws the layer's own content (not sublayers); the base asks the delegate.
    virtual void drawInContext(CGContextRef context);
    // The backing image of the last display; null when none was drawn or nothing was drawn.
    CGImageRef backingImage() const { return backingImage_; }
    // Draws the layer and its sublayers into the context with the layer's bounds at the context's
    // user space (layer y along user y), by the presentation values, displaying layers that need it.
    void renderInContext(CGContextRef context);

    void setNeedsLayout()
    {
        needsLayout_ = true;
        noteLayoutPending();
        noteChange();
    }
    bool needsLayout() const { return needsLayout_; }
    // Runs layoutSublayers (the delegate's layout) when marked, then the same for the sublayers,
    // going only into those with a marked layer in them.
    void layoutIfNeeded();
    virtual void layoutSublayers();

    // ---- Animation ----
    // Replaces any animation under the key (which stops, not finished). An empty key is allowed
    // and never replaced.
    void addAnimation(const std::shared_ptr<CAAnimation>& animation, const std::string& key);
    std::shared_ptr<CAAnimation> animationForKey(const std::string& key) const;
    std::vector<std::string> animationKeys() const;
    void removeAnimationForKey(const std::string& key);
    void removeAllAnimations();
    // A detached copy of the layer's own values as drawn now (no sublayers, no delegate).
    std::shared_ptr<CALayer> presentationLayer() const;
    // The value of an animatable key path as drawn at `time`: "position", "bounds", "transform",
    // "opacity", "backgroundColor", "contents", "cornerRadius", "zPosition", ... Model value when
    // no animation runs; nil for unknown key paths.
    Value presentationValueForKeyPath(const std::string& keyPath, double time) const;
    // The model value of an animatable key path; subclasses add their own key paths.
    virtual Value valueForKeyPath(const std::string& keyPath) const;

    // Counts the changes to what the layer draws (its geometry, appearance, tree, backing image,
    // animations): a compositor that saw the same count draws the layer as it did.
    std::uint64_t changeCount() const { return changeCount_; }

protected:
    template <class T>
    static bool sameValue(const T& a, const T& b)
    {
        return a == b;
    }
    static bool sameValue(CGPoint a, CGPoint b) { return a.x == b.x && a.y == b.y; }
    static bool sameValue(CGSize a, CGSize b) { return a.width == b.width && a.height == b.height; }
    // Every change to what a layer draws goes through here (subclasses' own properties too).
    void noteChange();
    template <class T>
    void assign(T& field, std::type_identity_t<T> value)
    {
        if (sameValue(field, value)) return;
        field = std::move(value);
        noteChange();
    }
    // Subclasses draw what they are (shapes, gradients) after the background.
    virtual void drawOwnContent(CGContextRef context, double time);
    // Where drawOwnContent may draw, in the layer's coordinates; null when it draws nothing.
    virtual CGRect ownContentBounds() const { return CGRectNull; }
    virtual std::shared_ptr<CALayer> makePresentationCopy() const;
    void copyValuesTo(CALayer& other, double time) const;

private:
    friend struct CALayerRenderer;
    friend class CALayerCompositor;
    friend void CAAnimationTick();
    friend bool CAAnimationsPending();
    struct RunningAnimation {
        std::string key;
        std::shared_ptr<CAAnimation> animation;
        bool started = false;
        bool ended = false;  // past its end but kept (not removed on completion)
    };
    void detachFromSuperlayer();
    // Tells every superlayer up to the root that a layer in it waits for layout.
    void noteLayoutPending();
    void finishAnimation(RunningAnimation running, bool finished);

    CGRect bounds_{};
    CGPoint position_{};
    CGPoint anchorPoint_{0.5f, 0.5f};
    CGFloat zPosition_ = 0;
    CATransform3D transform_{};
    std::weak_ptr<CALayer> superlayer_;
    std::vector<std::shared_ptr<CALayer>> sublayers_;
    bool hidden_ = false;
    float opacity_ = 1;
    bool opaque_ = false;
    CGColorRef backgroundColor_ = nullptr;
    CGFloat cornerRadius_ = 0;
    bool masksToBounds_ = false;
    CGFloat borderWidth_ = 0;
    CGColorRef borderColor_ = nullptr;
    CGImageRef contents_ = nullptr;
    std::string contentsGravity_ = kCAGravityResize;
    CGFloat contentsScale_ = 1;
    CGColorRef shadowColor_ = nullptr;
    float shadowOpacity_ = 0;
    CGSize shadowOffset_{0, -3};
    CGFloat shadowRadius_ = 3;
    CGPathRef shadowPath_ = nullptr;
    std::shared_ptr<CALayer> mask_;
    std::weak_ptr<CALayerDelegate> delegate_;
    bool needsDisplay_ = false;
    bool needsLayout_ = false;
    bool sublayerNeedsLayout_ = false;  // some layer below, at any depth, needs layout
    CGImageRef backingImage_ = nullptr;
    std::vector<RunningAnimation> animations_;
    std::uint64_t changeCount_ = 0;
};

// Rises with every change of any layer, on any thread (a GL layer's presented frame included): a
// host that saw the same count and has no animation running has nothing new to composite.
std::uint64_t CALayerChangesSoFar();
void CALayerNoteChangeFromAnyThread();
// Rises with every layer a layout pass looks at: a pass over a tree with one marked layer looks
// at the path down to it, not at every layer of the tree.
std::uint64_t CALayerLayoutVisitsSoFar();

// Where content of `size` goes inside `bounds` under a gravity (y down: "top" is the smaller y).
CGRect CALayerGravityRect(const std::string& gravity, CGRect bounds, CGSize size);
