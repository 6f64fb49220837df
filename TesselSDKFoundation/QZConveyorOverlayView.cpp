#include "TesselSDKFoundation/QZConveyorOverlayView.h"

#include "TesselSDKFoundation/QZSDKResources.h"

namespace {

constexpr CGFloat kMarkerWidth = 50;

}  // namespace

bool QZConveyorOverlayView::initWithFrame(CGRect frame, QZConveyorOverlayType type)
{
    if (!UIView::initWithFrame(frame)) return false;
    setType(type);
    setUserInteractionEnabled(false);
    setAutoresizesSubviews(true);
    prepareView();
    return true;
}

void QZConveyorOverlayView::prepareView()
{
    bool split = type_ == QZConveyorOverlayTypeSplit;
    auto center =
        QZSDKResources::imageNamed(split ? "splitConveyorCenterOverlay.png" : "singleConveyorCenterOverlay.png");
    auto side = QZSDKResources::imageNamed(split ? "splitConveyorStretchableOverlay.png"
                                                 : "singleConveyorStretchableOverlay.png");
    if (side) side = side->stretchableImageWithLeftCapWidth(0, 0);

    centerView_ = UIView::viewWithFrame<UIImageView>(CGRectMake(0, 0, kMarkerWidth, bounds().size.height));
    centerView_->setImage(center);
    centerView_->setContentMode(UIViewContentModeCenter);
    leftView_ = UIImageView::imageViewWithImage(side);
    leftView_->setContentMode(UIViewContentModeScaleToFill);
    rightView_ = UIImageView::imageViewWithImage(side);
    rightView_->setContentMode(UIViewContentModeScaleToFill);
    addSubview(centerView_);
    addSubview(leftView_);
    addSubview(rightView_);
}

void QZConveyorOverlayView::layoutSubviews()
{
    UIView::layoutSubviews();
    CGRect b = bounds();
    centerView_->setCenter(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)));
    CGFloat side = (b.size.width - kMarkerWidth) * 0.5f;
    leftView_->setFrame(CGRectMake(0, 0, side, b.size.height));
    rightView_->setFrame(CGRectMake(CGRectGetMaxX(b) - side, 0, side, b.size.height));
}
