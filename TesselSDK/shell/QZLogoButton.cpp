#include "TesselSDK/shell/QZLogoButton.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"

bool QZLogoButton::initWithFrame(CGRect frame)
{
    if (!UIButton::initWithFrame(frame)) return false;
    logoView_ = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("poweredByTessel.png"));
    logoView_->setHighlightedImage(QZSDKResources::imageNamed("poweredByTessel-Active.png"));
    logoView_->sizeToFit();
    logoView_->setContentMode(UIViewContentModeCenter);
    addSubview(logoView_);
    setBackgroundColor(UIColor::clearColor());
    setAccessibilityLabel(QZLocalizedString("Powered by Tessel"));
    return true;
}

void QZLogoButton::setHighlighted(bool highlighted)
{
    UIButton::setHighlighted(highlighted);
    if (logoView_) logoView_->setHighlighted(highlighted);
}

void QZLogoButton::layoutSubviews()
{
    UIButton::layoutSubviews();
    logoView_->setFrame(QZCGRectCenterInRect(logoView_->frame(), bounds()));
}
