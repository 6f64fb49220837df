#include "TesselSDK/shell/QZToolSelectionViewCell.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZView.h"
#include "TesselSDKFoundation/QZViewAnimation.h"

bool QZToolSelectionViewCell::initWithReuseIdentifier(const std::string& reuseIdentifier)
{
    if (!initWithStyle(UITableViewCellStyleDefault, reuseIdentifier)) return false;
    label_ = UIView::viewWithFrame<UILabel>(CGRectZero);
    label_->setFont(UIFont::boldSystemFontOfSize(11));
    label_->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor"));
    label_->setHighlightedTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.highlightedTextColor"));
    label_->setTextAlignment(NSTextAlignmentCenter);
    label_->setBackgroundColor(UIColor::clearColor());
    label_->setShadowOffset(CGSizeMake(0, 1));
    label_->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
    contentView()->addSubview(label_);

    iconView_ = UIView::viewWithFrame<UIImageView>(CGRectZero);
    iconView_->setContentMode(UIViewContentModeCenter);
    contentView()->addSubview(iconView_);

    setSelectedBackgroundView(UIView::viewWithFrame<QZView>(CGRectZero));
    setBackgroundColor(UIColor::clearColor());
    return true;
}

void QZToolSelectionViewCell::setToolName(const std::string& name)
{
    label_->setText(name);
}

void QZToolSelectionViewCell::setIcon(std::shared_ptr<UIImage> icon)
{
    iconView_->setImage(std::move(icon));
}

void QZToolSelectionViewCell::setHighlighedIcon(std::shared_ptr<UIImage> icon)
{
    iconView_->setHighlightedImage(std::move(icon));
}

void QZToolSelectionViewCell::setShouldDisplayBadge(bool display)
{
    shouldDisplayBadge_ = display;
    if (!display) {
        if (badgeView_) badgeView_->setAlpha(0);
        return;
    }
    if (!badgeView_) {
        badgeView_ = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("Ribbon.png"));
        contentView()->addSubview(badgeView_);
    }
    badgeView_->setAlpha(1);
    setNeedsLayout();
}

void QZToolSelectionViewCell::animateBadge()
{
    // The strip asks every cell of an animated reload: a badge turned off stays off.
    if (!badgeView_ || !shouldDisplayBadge_) return;
    badgeView_->setAlpha(0);
    QZPerformUIViewAnimation(
        0.2, [badge = badgeView_] { badge->setAlpha(1); }, nullptr);
}

void QZToolSelectionViewCell::layoutSubviews()
{
    QZHorizontalTableViewCell::layoutSubviews();
    CGRect r = CGRectInset(bounds(), 0, 4);
    CGRect iconArea, labelArea;
    CGRectDivide(r, &iconArea, &labelArea, r.size.height * 0.75f, CGRectMinYEdge);
    CGRect icon = CGRectInset(iconArea, 5, 5);
    imageView()->setFrame(icon);
    iconView_->setFrame(icon);
    label_->setFrame(CGRectOffset(labelArea, 0, -4));
    if (badgeView_) {
        CGSize size = badgeView_->bounds().size;
        badgeView_->setCenter(CGPointMake(CGRectGetMaxX(r) - (size.width / 2 + 12), CGRectGetMinY(r) + 7));
    }
}
