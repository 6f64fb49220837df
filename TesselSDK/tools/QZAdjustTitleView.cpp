#include "TesselSDK/tools/QZAdjustTitleView.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"

#include "UIKit/UIFont.h"

#include <cctype>

namespace {

constexpr double kSlideSeconds = 0.2;

}  // namespace

std::shared_ptr<UILabel> QZAdjustTitleView::makeLabel() const
{
    auto label = UIView::viewWithFrame<UILabel>(CGRectZero);
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setFont(UIFont::boldSystemFontOfSize(20));
    label->setTextColor(UIColor::darkGrayColor());
    label->setShadowColor(UIColor::whiteColor());
    label->setShadowOffset(CGSizeMake(0, 1));
    label->setBackgroundColor(UIColor::clearColor());
    label->setAutoresizingMask(QZUIViewAutoresizingFlexibleMargins);
    return label;
}

void QZAdjustTitleView::prepareView()
{
    QZView::prepareView();
    titleLabel_ = makeLabel();
    titleLabel_->setText(QZLocalizedString("Adjust"));
    titleLabel_->sizeToFit();
    titleLabel_->setFrame(QZCGRectCenterInRectIntegral(titleLabel_->frame(), bounds(), true));
    addSubview(titleLabel_);
    offscreenTitleLabel_ = makeLabel();
    addSubview(offscreenTitleLabel_);
    setClipsToBounds(true);
}

void QZAdjustTitleView::setTitle(const std::string& title)
{
    std::string capitalised = title;
    if (!capitalised.empty()) capitalised[0] = char(std::toupper(static_cast<unsigned char>(capitalised[0])));
    offscreenTitleLabel_->setText(capitalised);
    offscreenTitleLabel_->sizeToFit();
}

void QZAdjustTitleView::setTitle(const std::string& title, QZAdjustTitleViewAnimationStyle style)
{
    setTitle(title);
    const CGRect bounds = this->bounds();
    const CGPoint centre = QZCGRectGetCenter(bounds);
    const CGSize incomingSize = offscreenTitleLabel_->frame().size;
    const CGSize outgoingSize = titleLabel_->frame().size;
    CGPoint start = centre;
    CGPoint end = centre;
    switch (style) {
    case QZAdjustTitleViewAnimationStyleRight:
        start = CGPointMake(CGRectGetMaxX(bounds) + incomingSize.width / 2, centre.y);
        end = CGPointMake(CGRectGetMinX(bounds) - outgoingSize.width / 2, centre.y);
        break;
    case QZAdjustTitleViewAnimationStyleLeft:
        start = CGPointMake(CGRectGetMinX(bounds) - incomingSize.width / 2, centre.y);
        end = CGPointMake(CGRectGetMaxX(bounds) + outgoingSize.width / 2, centre.y);
        break;
    case QZAdjustTitleViewAnimationStyleTop:
        start = CGPointMake(centre.x, CGRectGetMinY(bounds) - incomingSize.height / 2);
        end = CGPointMake(centre.x, CGRectGetMaxY(bounds) + outgoingSize.height / 2);
        break;
    default: break;
    }
    std::shared_ptr<UILabel> incoming = offscreenTitleLabel_;
    std::shared_ptr<UILabel> outgoing = titleLabel_;
    incoming->setAlpha(0);
    incoming->setCenter(start);
    incoming->setFrame(CGRectIntegral(incoming->frame()));
    UIView::animateWithDuration(kSlideSeconds, [incoming, outgoing, centre, end] {
        outgoing->setCenter(end);
        outgoing->setAlpha(0);
        incoming->setCenter(centre);
        incoming->setAlpha(1);
    });
    titleLabel_ = incoming;
    offscreenTitleLabel_ = outgoing;
}

void QZAdjustTitleView::setTextColor(std::shared_ptr<UIColor> color)
{
    if (!color) color = UIColor::darkGrayColor();
    titleLabel_->setTextColor(color);
    offscreenTitleLabel_->setTextColor(color);
}

void QZAdjustTitleView::setTextShadowColor(std::shared_ptr<UIColor> color)
{
    if (!color) color = UIColor::blackColor();
    titleLabel_->setShadowColor(color);
    offscreenTitleLabel_->setShadowColor(color);
}
