#include "TesselSDK/tools/QZStraightenHandle.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"

namespace {

constexpr CGFloat kKnobSide = 36;

}  // namespace

bool QZStraightenHandle::initWithFrame(CGRect frame)
{
    if (!UIControl::initWithFrame(frame)) return false;
    prepareView();
    return true;
}

void QZStraightenHandle::prepareView()
{
    knobView_ = UIView::viewWithFrame<UIImageView>(QZCGRectWithSize(CGSizeMake(kKnobSide, kKnobSide)));
    knobView_->setContentMode(UIViewContentModeCenter);
    knobView_->setImage(QZSDKResources::imageNamed("orientationKnob.png"));
    addSubview(knobView_);
    setAccessibilityLabel(QZLocalizedString("Straighten"));
}

void QZStraightenHandle::layoutSubviews()
{
    UIControl::layoutSubviews();
    knobView_->setCenter(QZCGRectGetCenter(bounds()));
}
