#pragma once
// A container the user drags with one finger and scales, turns or resizes by knobs on its
// corners. Its content view sits inside with a fixed inset and carries the drag. It changes only
// its own geometry and tells its delegate when a knob is touched and let go. The crop box and the
// canvas items derive from it. Main thread only.

#include "Foundation/NSKeyValueObserving.h"
#include "TesselSDKFoundation/QZScalableViewHandle.h"
#include "TesselSDKFoundation/QZView.h"
#include "UIKit/UIGestureRecognizer.h"

#include <cfloat>
#include <vector>

class QZTransformableView;
class UIPanGestureRecognizer;

class QZTransformableViewDelegate {
public:
    virtual ~QZTransformableViewDelegate() = default;
    virtual void transformableViewDidBeginTransforming(QZTransformableView*) {}
    virtual void transformableViewDidEndTransforming(QZTransformableView*) {}
};

class QZTransformableView : public QZView, public UIGestureRecognizerDelegate, public NSKeyValueObservable {
public:
    using QZView::QZView;

    // The corners that get handles (the platform's class method): all four here.
    virtual QZTransformableViewHandleMask handleMask() const { return 15; }

    std::weak_ptr<QZTransformableViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZTransformableViewDelegate> delegate) { delegate_ = std::move(delegate); }
    // Top left, top right, bottom right, bottom left: those in handleMask().
    const std::vector<std::shared_ptr<QZScalableViewHandle>>& handles() const { return handles_; }
    const std::shared_ptr<QZView>& contentView() const { return contentView_; }
    CGFloat rotation() const { return rotation_; }
    void setRotation(CGFloat rotation) { rotation_ = rotation; }
    const std::shared_ptr<UIPanGestureRecognizer>& panRecognizer() const { return panRecognizer_; }
    bool isDragging() const { return dragging_; }
    QZCGRectCorner transformationAnchor() const { return transformationAnchor_; }
    CGRect transformationRect() const { return transformationRect_; }
    void setTransformationRect(CGRect rect) { transformationRect_ = rect; }
    CGSize contentViewInset() const { return contentViewInset_; }
    bool isRotationEnabled() const { return rotationEnabled_; }
    void setRotationEnabled(bool enabled) { rotationEnabled_ = enabled; }
    bool isDraggingEnabled() const { return draggingEnabled_; }
    void setDraggingEnabled(bool enabled) { draggingEnabled_ = enabled; }
    bool isTransforming() const { return transforming_; }
    // Announced under "transforming" and told to the delegate on every call.
    void setTransforming(bool transforming);
    bool allowsFreeTransform() const { return allowsFreeTransform_; }
    void setAllowsFreeTransform(bool allows) { allowsFreeTransform_ = allows; }
    CGSize minSize() const { return minSize_; }
    void setMinSize(CGSize size) { minSize_ = size; }
    CGSize maxSize() const { return maxSize_; }
    void setMaxSize(CGSize size) { maxSize_ = size; }
    // The product of the uniform scale steps applied since it was last set.
    CGFloat currentScale() const { return currentScale_; }
    void setCurrentScale(CGFloat scale) { currentScale_ = scale; }
    void setCurrentScaleIsIdentity() { currentScale_ = 1; }

    std::optional<bool> gestureRecognizerShouldBegin(UIGestureRecognizer* recognizer) override;
    // The proposed centre kept inside the superview's bounds.
    virtual CGPoint canMoveToPoint(CGPoint proposed, CGPoint current);
    void handlePan(UIPanGestureRecognizer* recognizer);
    // The content view's corner of that handle; (0, 0) for no single corner.
    CGPoint referencePointForHandle(QZTransformableViewHandleMask mask) const;
    // Both sides within minSize and maxSize (a size that is not a number is not valid).
    bool isNewSizeValid(CGSize size) const;
    // Writes (0, 0): no constraint here.
    virtual bool shouldConstrainToSize(CGSize* size);
    // The finger at `location` (own coordinates) on the handle: turn and scale, or resize.
    void transformWithHandle(QZTransformableViewHandleMask mask, CGPoint location);
    // Sets the frame to transformationRect.
    virtual void applyTransformationRect();
    virtual CGRect destinationRectAfterRotation(CGRect rect) { return rect; }

    // With interaction off, the topmost subview under the point answers, then the superview; a
    // touch on none of them falls through to what lies behind.
    std::shared_ptr<UIView> hitTest(CGPoint point, const UIEvent* event) override;

protected:
    void prepareView() override;

private:
    std::weak_ptr<QZTransformableViewDelegate> delegate_;
    std::vector<std::shared_ptr<QZScalableViewHandle>> handles_;
    std::shared_ptr<QZView> contentView_;
    CGFloat rotation_ = 0;
    std::shared_ptr<UIPanGestureRecognizer> panRecognizer_;
    bool dragging_ = false;
    QZCGRectCorner transformationAnchor_ = QZCGRectTopLeftCorner;
    CGRect transformationRect_{};
    CGSize contentViewInset_{12, 12};
    bool rotationEnabled_ = true;
    bool draggingEnabled_ = true;
    bool transforming_ = false;
    bool allowsFreeTransform_ = false;
    CGSize minSize_{44, 44};
    CGSize maxSize_{FLT_MAX, FLT_MAX};
    CGFloat currentScale_ = 0;
    bool hitTesting_ = false;  // inside our own hit test with interaction off
};
