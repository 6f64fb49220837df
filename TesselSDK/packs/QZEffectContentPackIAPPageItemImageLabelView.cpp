#include "TesselSDK/packs/QZEffectContentPackIAPPageItemImageLabelView.h"

#include "TesselSDKFoundation/QZGeometry.h"

#include "UIKit/UIDevice.h"

#include <algorithm>

namespace {
constexpr CGFloat kLabelBand = 18;
}  // namespace

void QZEffectContentPackIAPPageItemImageLabelView::prepareView()
{
    QZView::prepareView();
    setBackgroundColor(UIColor::clearColor());
    labelBackground_ = addSubviewOfClass<QZView>(UIViewAutoresizingNone);
    labelBackground_->setBackgroundColor(UIColor::clearColor());
    label_ = UIView::viewWithFrame<UILabel>();
    const bool pad = UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad;
    label_->setFont(UIFont::boldSystemFontOfSize(pad ? 12 : 10));
    label_->setTextAlignment(NSTextAlignmentCenter);
    label_->setBackgroundColor(UIColor::clearColor());
    label_->setTextColor(UIColor::colorWithRed(44 / 255.0f, 56 / 255.0f, 65 / 255.0f, 1));
    labelBackground_->addSubview(label_);
}

void QZEffectContentPackIAPPageItemImageLabelView::setImageView(std::shared_ptr<UIImageView> imageView,
                                                                const std::string& label)
{
    if (imageView_) imageView_->removeFromSuperview();
    imageView_ = std::move(imageView);
    if (imageView_) {
        imageView_->setContentMode(UIViewContentModeScaleAspectFit);
        addSubview(imageView_);
    }
    label_->setText(label);
    setNeedsLayout();
}

void QZEffectContentPackIAPPageItemImageLabelView::layoutSubviews()
{
    QZView::layoutSubviews();
    const CGRect b = bounds();
    labelBackground_->setFrame(CGRectMake(b.origin.x, CGRectGetMaxY(b) - kLabelBand, b.size.width, kLabelBand));
    label_->sizeToFit();
    label_->setFrame(QZCGRectCenterInRectIntegral(label_->frame(), labelBackground_->bounds(), true));
    if (imageView_)
        imageView_->setFrame(
            CGRectMake(b.origin.x, b.origin.y, b.size.width, std::max(CGFloat(0), b.size.height - kLabelBand)));
}
