#include "TesselSDKFoundation/QZTransformableView.h"

#include "UIKit/UIPanGestureRecognizer.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

void QZTransformableView::prepareView()
{
    QZView::prepareView();
    setOpaque(false);
    setBackgroundColor(nullptr);
    setContentMode(UIViewContentModeRedraw);
    contentViewInset_ = CGSizeMake(12, 12);
    contentView_ = addSubviewOfClass<QZView>(QZUIViewAutoresizingFlexibleDimensions,
                                             CGRectInset(bounds(), contentViewInset_.width, contentViewInset_.height));
    CGRect inner = CGRectInset(bounds(), 12, 12);
    struct Corner {
        QZTransformableViewHandleMask bit;
        CGPoint centre;
        UIViewAutoresizing mask;
    };
    const Corner corners[] = {
        {QZTransformableViewHandleTopLeft, QZCGRectGetTopLeft(inner), QZUIViewAutoresizingPositionTopLeft},
        {QZTransformableViewHandleTopRight, QZCGRectGetTopRight(inner), QZUIViewAutoresizingPositionTopRight},
        {QZTransformableViewHandleBottomRight, QZCGRectGetBottomRight(inner), QZUIViewAutoresizingPositionBottomRight},
        {QZTransformableViewHandleBottomLeft, QZCGRectGetBottomLeft(inner), QZUIViewAutoresizingPositionBottomLeft},
    };
    handles_.clear();
    for (const Corner& corner : corners) {
        if (!(handleMask() & corner.bit)) continue;
        auto handle =
            UIView::viewWithFrame<QZScalableViewHandle>(QZCGRectWithCenterAndSize(corner.centre, CGSizeMake(44, 44)));
        handle->setAutoresizingMask(corner.mask);
        handle->setHandleMask(corner.bit);
        addSubview(handle);
        handles_.push_back(handle);
    }
    auto me = self<QZTransformableView>();
    panRecognizer_ =
        UIGestureRecognizer::recognizerWithTarget<UIPanGestureRecognizer>(me, &QZTransformableView::handlePan);
    panRecognizer_->setDelegate(me);
    contentView_->addGestureRecognizer(panRecognizer_);
    rotation_ = 0;
    rotationEnabled_ = true;
    draggingEnabled_ = true;
    minSize_ = CGSizeMake(44, 44);
    maxSize_ = CGSizeMake(FLT_MAX, FLT_MAX);
}

void QZTransformableView::setTransforming(bool transforming)
{
    willChangeValueForKey("transforming");
    transforming_ = transforming;
    didChangeValueForKey("transforming");
    if (auto d = delegate_.lock()) {
        if (transforming)
            d->transformableViewDidBeginTransforming(this);
        else
            d->transformableViewDidEndTransforming(this);
    }
}

std::optional<bool> QZTransformableView::gestureRecognizerShouldBegin(UIGestureRecognizer* recognizer)
{
    if (dynamic_cast<UIPanGestureRecognizer*>(recognizer) && recognizer->view() == contentView_)
        return isUserInteractionEnabled() && draggingEnabled_;
    return true;
}

CGPoint QZTransformableView::canMoveToPoint(CGPoint proposed, CGPoint)
{
    auto parent = superview();
    if (!parent) return proposed;
    CGRect b = parent->bounds();
    return CGPointMake(std::min(std::max(proposed.x, CGRectGetMinX(b)), CGRectGetMaxX(b)),
                       std::min(std::max(proposed.y, CGRectGetMinY(b)), CGRectGetMaxY(b)));
}

void QZTransformableView::handlePan(UIPanGestureRecognizer* recognizer)
{
    auto parent = superview();
    CGPoint t = recognizer->translationInView(parent.get());
    switch (recognizer->state()) {
    case UIGestureRecognizerStateBegan:
    case UIGestureRecognizerStateChanged: {
        dragging_ = true;
        CGPoint current = center();
        setCenter(canMoveToPoint(CGPointMake(current.x + t.x, current.y + t.y), current));
        break;
    }
    case UIGestureRecognizerStateEnded: dragging_ = false; break;
    default: break;
    }
    recognizer->setTranslation(CGPointZero, parent.get());
}

CGPoint QZTransformableView::referencePointForHandle(QZTransformableViewHandleMask mask) const
{
    CGRect f = contentView_->frame();
    switch (mask) {
    case QZTransformableViewHandleTopLeft: return QZCGRectGetTopLeft(f);
    case QZTransformableViewHandleTopRight: return QZCGRectGetTopRight(f);
    case QZTransformableViewHandleBottomRight: return QZCGRectGetBottomRight(f);
    case QZTransformableViewHandleBottomLeft: return QZCGRectGetBottomLeft(f);
    default: return CGPointZero;
    }
}

bool QZTransformableView::isNewSizeValid(CGSize size) const
{
    // Written so that a side that is not a number fails every comparison.
    return size.width >= minSize_.width && size.width <= maxSize_.width && size.height >= minSize_.height &&
           size.height <= maxSize_.height;
}

bool QZTransformableView::shouldConstrainToSize(CGSize* size)
{
    if (size) *size = CGSizeZero;
    return false;
}

void QZTransformableView::transformWithHandle(QZTransformableViewHandleMask mask, CGPoint location)
{
    CGRect f = contentView_->frame();
    CGPoint c = contentView_->center();
    CGPoint reference = referencePointForHandle(mask);
    CGPoint d = QZCGPointGetTranslation(reference, location);

    if (rotationEnabled_) {
        // The absolute values turn the corners left of or above the centre the wrong way; no
        // rotating handle of the editor sits there, so it is kept as designed.
        CGFloat a = std::atan2(std::fabs(location.y - c.y), std::fabs(location.x - c.x)) -
                    std::atan2(f.size.height, f.size.width);
        rotation_ += a;
        setTransform(CGAffineTransformRotate(transform(), a));
    }
    if (rotationEnabled_ || !allowsFreeTransform_) {
        CGFloat s = QZCGPointDistanceToPoint(location, c) / QZCGPointDistanceToPoint(reference, c);
        CGRect scaled = CGRectApplyAffineTransform(bounds(), CGAffineTransformMakeScale(s, s));
        if (!isNewSizeValid(scaled.size)) return;
        setBounds(scaled);
        // Only a step that was applied counts, so the scale keeps to the bounds.
        currentScale_ *= s;
        return;
    }
    CGRect r = frame();
    switch (mask) {
    case QZTransformableViewHandleTopLeft:
        r.origin.x += d.x, r.origin.y += d.y, r.size.width -= d.x, r.size.height -= d.y;
        transformationAnchor_ = QZCGRectBottomRightCorner;
        break;
    case QZTransformableViewHandleTopRight:
        r.origin.y += d.y, r.size.width += d.x, r.size.height -= d.y;
        transformationAnchor_ = QZCGRectBottomLeftCorner;
        break;
    case QZTransformableViewHandleBottomRight:
        r.size.width += d.x, r.size.height += d.y;
        transformationAnchor_ = QZCGRectTopLeftCorner;
        break;
    case QZTransformableViewHandleBottomLeft:
        r.origin.x += d.x, r.size.width -= d.x, r.size.height += d.y;
        transformationAnchor_ = QZCGRectTopRightCorner;
        break;
    default: transformationAnchor_ = QZCGRectTopLeftCorner; break;
    }
    transformationRect_ = r;
    applyTransformationRect();
}

void QZTransformableView::applyTransformationRect()
{
    setFrame(transformationRect_);
}

std::shared_ptr<UIView> QZTransformableView::hitTest(CGPoint point, const UIEvent* event)
{
    if (isUserInteractionEnabled()) return QZView::hitTest(point, event);
    // The superview's hit test comes back here: this view then answers nothing, so the touch
    // goes to what lies behind it.
    if (hitTesting_) return nullptr;
    hitTesting_ = true;
    std::vector<std::shared_ptr<UIView>> candidates;
    if (auto parent = superview()) candidates.push_back(parent);
    for (const auto& sub : subviews()) candidates.push_back(sub);
    std::shared_ptr<UIView> answer;
    bool answered = false;
    for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
        const auto& candidate = *it;
        CGPoint local = candidate->convertPointFromView(point, this);
        if (CGRectContainsPoint(candidate->bounds(), local) && candidate->isUserInteractionEnabled()) {
            answer = candidate->hitTest(local, event);
            answered = true;
            break;
        }
    }
    hitTesting_ = false;
    return answered ? answer : QZView::hitTest(point, event);
}
