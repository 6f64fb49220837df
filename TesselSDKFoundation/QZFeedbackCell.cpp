#include "TesselSDKFoundation/QZFeedbackCell.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"

bool QZFeedbackCell::initWithReuseIdentifier(const std::string& reuseIdentifier)
{
    if (!initWithStyle(UITableViewCellStyleDefault, reuseIdentifier)) return false;
    // Everything goes in the content view, which covers the cell: the cell highlights what is
    // in there.
    const auto& content = contentView();

    label_ = UIView::viewWithFrame<UILabel>(CGRectZero);
    label_->setFont(UIFont::boldSystemFontOfSize(11));
    label_->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor"));
    label_->setHighlightedTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.highlightedTextColor"));
    label_->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
    label_->setTextAlignment(NSTextAlignmentCenter);
    label_->setBackgroundColor(UIColor::clearColor());
    label_->setShadowOffset(CGSizeMake(0, 1));
    label_->setText(QZLocalizedString("Feedback"));
    label_->sizeToFit();
    content->addSubview(label_);

    iconView_ = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("feedback.png"));
    iconView_->setHighlightedImage(QZSDKResources::imageNamed("feedback-active.png"));
    iconView_->setContentMode(UIViewContentModeCenter);
    iconView_->sizeToFit();
    content->addSubview(iconView_);

    dividerView_ = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("feedBackDivider.png"));
    dividerView_->setContentMode(UIViewContentModeScaleToFill);
    content->addSubview(dividerView_);

    setSelectedBackgroundView(UIView::viewWithFrame(CGRectZero));
    setBackgroundColor(UIColor::clearColor());
    return true;
}

void QZFeedbackCell::layoutSubviews()
{
    QZHorizontalTableViewCell::layoutSubviews();
    CGRect b = bounds();
    CGFloat iconWidth = iconView_->frame().size.width;
    CGFloat labelWidth = label_->frame().size.width;
    dividerView_->setFrame(CGRectMake(0, 0, 2, b.size.height - 2));
    // Centred as if the gap were 2 points, then placed 4 points apart.
    iconView_->setCenter(
        CGPointMake(iconWidth * 0.5f + (b.size.width - (iconWidth + labelWidth + 2) - 2) * 0.5f, CGRectGetMidY(b)));
    label_->setCenter(CGPointMake(CGRectGetMaxX(iconView_->frame()) + 4 + labelWidth * 0.5f, CGRectGetMidY(b)));
    label_->setFrame(CGRectIntegral(label_->frame()));
}
