#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewCell.h"

#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackItem.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr CGFloat kVerticalInset = 4;
constexpr CGFloat kLabelHeight = 20;
constexpr CGFloat kPreviewDrop = 4;
constexpr CGFloat kPreviewSide = 60;
constexpr CGFloat kRise = 6;
constexpr CGFloat kPillWidth = 36;
constexpr CGFloat kPillHeight = 8;
constexpr double kActiveStep = 0.1;
constexpr double kFlyIn = 0.2;

// Frames go through bounds and centre: the fly-in scales the views to nothing meanwhile.
void place(UIView& view, CGRect frame)
{
    view.setBounds(CGRectMake(0, 0, frame.size.width, frame.size.height));
    view.setCenter(CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame)));
}
}  // namespace

bool QZContentPackUnifiedSelectionViewCell::initWithStyle(UITableViewCellStyle style,
                                                          const std::string& reuseIdentifier)
{
    if (!QZHorizontalTableViewCell::initWithStyle(style, reuseIdentifier)) return false;
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    setBackgroundColor(UIColor::clearColor());
    label_ = UIView::viewWithFrame<UILabel>();
    label_->setFont(UIFont::boldSystemFontOfSize(11));
    label_->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor"));
    label_->setTextAlignment(NSTextAlignmentCenter);
    label_->setBackgroundColor(UIColor::clearColor());
    label_->setShadowOffset(CGSizeMake(0, 1));
    label_->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
    activeImageView_ = UIView::viewWithFrame<UIImageView>();
    activeImageView_->setImage(QZSDKResources::stretchableImageNamed("activePill.png", UIEdgeInsetsMake(0, 5, 0, 5)));
    activeImageView_->setContentMode(UIViewContentModeScaleToFill);
    activeImageView_->setAlpha(0);
    previewContainerView_ = UIView::viewWithFrame<QZView>();
    previewContainerView_->setBackgroundColor(UIColor::clearColor());
    addSubview(label_);
    addSubview(activeImageView_);
    addSubview(previewContainerView_);
    return true;
}

void QZContentPackUnifiedSelectionViewCell::setTitle(std::string title)
{
    title_ = std::move(title);
    label_->setText(title_);
    setNeedsLayout();
}

void QZContentPackUnifiedSelectionViewCell::setContentPack(std::shared_ptr<QZContentPack> pack)
{
    contentPack_ = std::move(pack);
    contentPackItem_.reset();
    setTitle(contentPack_ ? contentPack_->localizedDisplayName() : std::string());
}

void QZContentPackUnifiedSelectionViewCell::setContentPackItem(std::shared_ptr<QZContentPackItem> item)
{
    contentPackItem_ = std::move(item);
    contentPack_.reset();
    setTitle(contentPackItem_ ? contentPackItem_->localizedDisplayName() : std::string());
}

CGRect QZContentPackUnifiedSelectionViewCell::labelFrame() const
{
    CGRect inset = CGRectInset(bounds(), 0, kVerticalInset);
    return CGRectIntegral(
        CGRectMake(inset.origin.x, CGRectGetMaxY(inset) - kLabelHeight, inset.size.width, kLabelHeight));
}

CGRect QZContentPackUnifiedSelectionViewCell::previewFrame(bool active) const
{
    CGRect inset = CGRectInset(bounds(), 0, kVerticalInset);
    CGRect area = CGRectMake(inset.origin.x, inset.origin.y + kPreviewDrop, inset.size.width,
                             std::max(CGFloat(0), inset.size.height - kLabelHeight));
    CGRect preview = QZCGRectCenterInRect(CGRectMake(0, 0, kPreviewSide, kPreviewSide), area);
    return active ? CGRectOffset(preview, 0, -kRise) : preview;
}

CGRect QZContentPackUnifiedSelectionViewCell::pillFrame() const
{
    return CGRectMake(std::round((bounds().size.width - kPillWidth) / 2), labelFrame().origin.y - kRise, kPillWidth,
                      kPillHeight);
}

void QZContentPackUnifiedSelectionViewCell::layoutSubviews()
{
    QZHorizontalTableViewCell::layoutSubviews();
    place(*label_, labelFrame());
    place(*activeImageView_, pillFrame());
    place(*previewContainerView_, previewFrame(active_));
    label_->setText(title_);
}

void QZContentPackUnifiedSelectionViewCell::setActive(bool active, bool animated)
{
    active_ = active;
    const double step = animated ? kActiveStep : 0;
    const CGRect preview = previewFrame(active);
    auto container = previewContainerView_;
    auto pill = activeImageView_;
    if (!active) {
        UIView::animateWithDuration(step, [&] {
            place(*container, preview);
            pill->setAlpha(0);
        });
        return;
    }
    UIView::animateWithDuration(step, [&] { place(*container, preview); });
    UIView::animateWithDuration(step * 4, step / 2, UIViewAnimationOptionLayoutSubviews, [&] { pill->setAlpha(1); });
}

void QZContentPackUnifiedSelectionViewCell::animateInWithDelay(double seconds)
{
    const CGAffineTransform nothing = CGAffineTransformMakeScale(0, 0);
    UIView::performWithoutAnimation([&] {
        for (const auto& view :
             {std::static_pointer_cast<UIView>(previewContainerView_), std::static_pointer_cast<UIView>(label_),
              std::static_pointer_cast<UIView>(activeImageView_)}) {
            view->setTransform(nothing);
            view->setAlpha(0);
        }
    });
    const bool active = active_;
    UIView::animateWithDuration(kFlyIn, seconds,
                                UIViewAnimationOptionCurveEaseOut | UIViewAnimationOptionOverrideInheritedDuration |
                                    UIViewAnimationOptionOverrideInheritedCurve,
                                [&] {
                                    for (const auto& view : {std::static_pointer_cast<UIView>(previewContainerView_),
                                                             std::static_pointer_cast<UIView>(label_),
                                                             std::static_pointer_cast<UIView>(activeImageView_)})
                                        view->setTransform(CGAffineTransformIdentity);
                                    previewContainerView_->setAlpha(1);
                                    label_->setAlpha(1);
                                    activeImageView_->setAlpha(active ? 1 : 0);
                                });
}
