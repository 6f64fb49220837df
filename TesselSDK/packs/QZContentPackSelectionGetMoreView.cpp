#include "TesselSDK/packs/QZContentPackSelectionGetMoreView.h"

#include "TesselSDKFoundation/QZLocalizedString.h"

#include <algorithm>

namespace {
// Exactly a quarter turn, as the strip's cells are turned.
const CGAffineTransform kQuarterTurn = CGAffineTransformMake(0, 1, -1, 0, 0, 0);
constexpr CGFloat kHeaderNudge = 1.5f;
}  // namespace

void QZContentPackSelectionGetMoreView::prepareView()
{
    QZView::prepareView();
    setBackgroundColor(UIColor::clearColor());
    button_ = UIButton::buttonWithType(UIButtonTypeCustom);
    button_->setTransform(kQuarterTurn);
    button_->addTarget(self<QZContentPackSelectionGetMoreView>(), &QZContentPackSelectionGetMoreView::getMorePressed,
                       UIControlEventTouchUpInside);
    label_ = UIView::viewWithFrame<UILabel>();
    label_->setText(QZLocalizedString("Get More"));
    label_->setFont(UIFont::boldSystemFontOfSize(10));
    label_->setTextColor(UIColor::whiteColor());
    label_->setTextAlignment(NSTextAlignmentCenter);
    label_->setBackgroundColor(UIColor::clearColor());
    label_->setShadowOffset(CGSizeMake(0, 1));
    label_->setShadowColor(UIColor::blackColor());
    label_->setTransform(kQuarterTurn);
    addSubview(button_);
    addSubview(label_);
}

void QZContentPackSelectionGetMoreView::setHeader(bool header)
{
    header_ = header;
    setNeedsLayout();
}

void QZContentPackSelectionGetMoreView::layoutSubviews()
{
    QZView::layoutSubviews();
    const CGRect b = bounds();
    const CGFloat side = std::max(CGFloat(0), b.size.height - 4);
    button_->setBounds(CGRectMake(0, 0, side, side));
    button_->setCenter(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)));
    const CGSize text = label_->sizeThatFits(CGSizeZero);
    label_->setBounds(CGRectMake(0, 0, text.width, text.height));
    label_->setCenter(CGPointMake(CGRectGetMidX(b) - (b.size.width / 3 + 3),
                                  CGRectGetMidY(b) + (header_ ? -kHeaderNudge : kHeaderNudge)));
}

void QZContentPackSelectionGetMoreView::getMorePressed()
{
    auto target = target_.lock();
    if (target && action_) action_(*target, this);
}
