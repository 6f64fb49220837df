#include "TesselSDKFoundation/QZScalableViewHandle.h"

#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZTransformableView.h"
#include "UIKit/UITouch.h"

void QZScalableViewHandle::prepareView()
{
    QZView::prepareView();
    knobView_ = UIView::viewWithFrame<UIImageView>(CGRectMake(0, 0, 36, 36));
    knobView_->setContentMode(UIViewContentModeCenter);
    knobView_->setImage(QZSDKResources::imageNamed("smallKnob.png"));
    addSubview(knobView_);
}

void QZScalableViewHandle::layoutSubviews()
{
    QZView::layoutSubviews();
    knobView_->setCenter(QZCGRectGetCenter(bounds()));
}

void QZScalableViewHandle::setHandleType(QZScalableViewHandleType type)
{
    handleType_ = type;
    knobView_->setImage(
        QZSDKResources::imageNamed(type == QZScalableViewHandleTypeResize ? "resizeKnob.png" : "smallKnob.png"));
}

void QZScalableViewHandle::touchesBegan(const UITouchSet&, UIEvent*)
{
    if (auto view = std::dynamic_pointer_cast<QZTransformableView>(superview())) view->setTransforming(true);
}

void QZScalableViewHandle::touchesEnded(const UITouchSet&, UIEvent*)
{
    if (auto view = std::dynamic_pointer_cast<QZTransformableView>(superview())) view->setTransforming(false);
}

void QZScalableViewHandle::touchesMoved(const UITouchSet& touches, UIEvent*)
{
    auto view = std::dynamic_pointer_cast<QZTransformableView>(superview());
    if (!view || touches.empty()) return;
    view->transformWithHandle(handleMask_, (*touches.begin())->locationInView(view.get()));
}
