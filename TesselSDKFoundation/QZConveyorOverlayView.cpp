#include "TesselSDKFoundation/QZConveyorOverlayView.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include "CoreGraphics/CGImage.h"
#include "UIKit/UIGraphics.h"

#include <cmath>

namespace {

constexpr CGFloat kMarkerWidth = 50;
// The frames' corners and strokes, kept as drawn when a frame is stretched.
constexpr CGFloat kFrameCap = 4;

// One half of the split marker (top or bottom), stretchable between its frame's corners.
std::shared_ptr<UIImage> markerHalf(const UIImage& marker, bool top)
{
    CGImageRef pixels = marker.CGImage();
    if (!pixels) return nullptr;
    const CGFloat width = CGFloat(CGImageGetWidth(pixels)), height = CGFloat(CGImageGetHeight(pixels));
    const CGFloat half = std::floor(height / 2);
    CGImageRef part = CGImageCreateWithImageInRect(pixels, CGRectMake(0, top ? 0 : height - half, width, half));
    if (!part) return nullptr;
    auto image = UIImage::imageWithCGImage(part, marker.scale(), UIImageOrientationUp);
    CGImageRelease(part);
    return image ? image->resizableImageWithCapInsets(UIEdgeInsetsMake(kFrameCap, kFrameCap, kFrameCap, kFrameCap))
                 : nullptr;
}

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
    if (split) {
        splitMarker_ = center;
        splitMarkerHeight_ = bounds().size.height;
        center = splitMarkerOfHeight(splitMarkerHeight_);
    }
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

std::shared_ptr<UIImage> QZConveyorOverlayView::splitMarkerOfHeight(CGFloat height) const
{
    if (!splitMarker_ || !(height > 0)) return splitMarker_;
    auto top = markerHalf(*splitMarker_, true);
    auto bottom = markerHalf(*splitMarker_, false);
    if (!top || !bottom) return splitMarker_;
    const CGFloat width = splitMarker_->size().width, half = std::round(height / 2);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(width, height), false, splitMarker_->scale());
    top->drawInRect(CGRectMake(0, 0, width, half));
    bottom->drawInRect(CGRectMake(0, half, width, height - half));
    auto marker = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return marker ? marker : splitMarker_;
}

void QZConveyorOverlayView::layoutSubviews()
{
    UIView::layoutSubviews();
    CGRect b = bounds();
    if (splitMarker_ && b.size.height != splitMarkerHeight_) {
        splitMarkerHeight_ = b.size.height;
        centerView_->setImage(splitMarkerOfHeight(splitMarkerHeight_));
        centerView_->setFrame(CGRectMake(0, 0, kMarkerWidth, b.size.height));
    }
    centerView_->setCenter(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)));
    CGFloat side = (b.size.width - kMarkerWidth) * 0.5f;
    leftView_->setFrame(CGRectMake(0, 0, side, b.size.height));
    rightView_->setFrame(CGRectMake(CGRectGetMaxX(b) - side, 0, side, b.size.height));
}
