#include "TesselSDK/tools/QZTiltShiftOverlayView.h"

#include "TesselSDKFoundation/QZGeometry.h"

#include "UIKit/UIColor.h"

void QZTiltShiftOverlayView::prepareView()
{
    QZOverlayView::prepareView();
    auto helper = UIView::viewWithFrame<QZTiltShiftOverlayHelperView>(bounds());
    helper->setBackgroundColor(UIColor::clearColor());
    helper->setUserInteractionEnabled(false);
    helper->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
    helper->setHostView(weakSelf<QZTiltShiftOverlayView>());
    helperView_ = helper;
    addSubview(helper);
    // The gestures land on the overlay itself, anywhere over the photo.
    setUserInteractionEnabled(true);
    setAllowsTouchesOnlyInSubviews(false);
}

void QZTiltShiftOverlayView::setGuideAlpha(CGFloat alpha)
{
    if (helperView_) helperView_->setAlpha(alpha);
}

void QZTiltShiftOverlayView::updateGuide()
{
    if (helperView_) helperView_->setNeedsDisplay();
}

void QZTiltShiftOverlayView::touchesBegan(const UITouchSet& touches, UIEvent* event)
{
    QZOverlayView::touchesBegan(touches, event);
    if (auto delegate = this->delegate()) delegate->tiltShiftOverlayTouchedDown(this);
}

void QZTiltShiftOverlayView::touchesEnded(const UITouchSet& touches, UIEvent* event)
{
    QZOverlayView::touchesEnded(touches, event);
    if (auto delegate = this->delegate()) delegate->tiltShiftOverlayTouchedUp(this);
}
