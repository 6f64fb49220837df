#include "TesselSDK/packs/QZContentPackListIAPViewLoadingCell.h"

#include "TesselSDK/packs/QZContentPackStoreStyle.h"

#include "TesselSDKFoundation/QZLocalizedString.h"

#include <cmath>

bool QZContentPackListIAPViewLoadingCell::initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier)
{
    if (!UITableViewCell::initWithStyle(style, reuseIdentifier)) return false;
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    auto background = UIView::viewWithFrame();
    background->setBackgroundColor(QZStoreBackgroundColor());
    setBackgroundView(background);
    textLabel()->setText(QZLocalizedString("Checking for content updates..."));
    textLabel()->setFont(UIFont::boldSystemFontOfSize(16));
    QZStyleStoreLabel(*textLabel());
    activityIndicator_ = UIActivityIndicatorView::indicatorWithStyle(UIActivityIndicatorViewStyleGray);
    contentView()->addSubview(activityIndicator_);
    return true;
}

void QZContentPackListIAPViewLoadingCell::layoutSubviews()
{
    UITableViewCell::layoutSubviews();
    const CGRect b = contentView()->bounds();
    const CGSize text = textLabel()->sizeThatFits(CGSizeZero);
    textLabel()->setFrame(CGRectIntegral(CGRectMake(
        CGRectGetMidX(b) - text.width / 2, b.origin.y + b.size.height / 3 - text.height / 2, text.width, text.height)));
    activityIndicator_->setCenter(
        CGPointMake(std::round(CGRectGetMidX(b)), std::round(CGRectGetMidY(b) + b.size.height / 6)));
    activityIndicator_->startAnimating();
}
