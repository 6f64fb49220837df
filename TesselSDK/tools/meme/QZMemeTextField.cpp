#include "TesselSDK/tools/meme/QZMemeTextField.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIImageView.h"

namespace {

constexpr UIEdgeInsets kFieldCaps{0, 26, 0, 26};
constexpr CGFloat kClearButtonInset = 10;
constexpr CGFloat kLabelInset = 10;
constexpr CGFloat kLabelFontSize = 14;
constexpr CGFloat kPlaceholderAlpha = 0.8f;

}  // namespace

void QZMemeTextField::prepareView()
{
    QZView::prepareView();
    setBackgroundColor(UIColor::clearColor());
    const CGRect b = bounds();
    const CGFloat w = b.size.width, h = b.size.height;

    auto background =
        UIImageView::imageViewWithImage(QZSDKResources::stretchableImageNamed("memeField.png", kFieldCaps));
    background->setFrame(b);
    background->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    background->setContentMode(UIViewContentModeScaleToFill);
    addSubview(background);

    contentView_ = UIView::viewWithFrame<QZView>(CGRectMake(h / 2, 0, w - h, h));
    contentView_->setBackgroundColor(UIColor::clearColor());
    contentView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    contentView_->setContentMode(UIViewContentModeRedraw);
    addSubview(contentView_);

    clearButton_ = UIButton::buttonWithType(UIButtonTypeCustom);
    clearButton_->setFrame(QZCGRectWithCenterAndSize(CGPointMake(w - h / 2, CGRectGetMidY(b)),
                                                     CGSizeMake(h - kClearButtonInset, h - kClearButtonInset)));
    clearButton_->addTarget(self<QZMemeTextField>(), &QZMemeTextField::clearButtonPressed, UIControlEventTouchUpInside);
    clearButton_->setImage(QZSDKResources::imageNamed("close.png"), UIControlStateNormal);
    clearButton_->setImage(QZSDKResources::imageNamed("close-active.png"), UIControlStateHighlighted);
    clearButton_->setAlpha(0);
    clearButton_->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin);
    addSubview(clearButton_);

    label_ = configLabel(UIView::viewWithFrame<UILabel>(CGRectZero));

    tapButton_ = UIButton::buttonWithType(UIButtonTypeCustom);
    tapButton_->setFrame(contentView_->bounds());
    tapButton_->setBackgroundColor(UIColor::clearColor());
    tapButton_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    tapButton_->addTarget(self<QZMemeTextField>(), &QZMemeTextField::textFieldTouched, UIControlEventTouchUpInside);
    contentView_->addSubview(tapButton_);

    setAutoresizesSubviews(true);
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    setContentMode(UIViewContentModeRedraw);
}

std::shared_ptr<UILabel> QZMemeTextField::configLabel(std::shared_ptr<UILabel> label)
{
    const CGRect content = contentView_->bounds();
    label->setFrame(
        CGRectMake(content.origin.x, content.origin.y, content.size.width - kLabelInset, content.size.height));
    label->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    label->setFont(UIFont::boldSystemFontOfSize(kLabelFontSize));
    label->setTextColor(UIColor::whiteColor());
    label->setBackgroundColor(UIColor::clearColor());
    label->setShadowOffset(CGSizeMake(0, 1));
    label->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
    contentView_->addSubview(label);
    return label;
}

void QZMemeTextField::setTopTextField(bool top)
{
    topTextField_ = top;
    // What the tap target does, for people using a screen reader (and scripts).
    tapButton_->setAccessibilityLabel(top ? "Top caption" : "Bottom caption");
    setText("");
}

void QZMemeTextField::setText(const std::string& text)
{
    std::shared_ptr<UIColor> color = QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor");
    if (text.empty()) {
        label_->setText(QZLocalizedString(topTextField_ ? "Top Line" : "Bottom Line"));
        label_->setTextColor(color ? color->colorWithAlphaComponent(kPlaceholderAlpha) : nullptr);
        clearButton_->setAlpha(0);
    } else {
        label_->setText(text);
        label_->setTextColor(color);
        clearButton_->setAlpha(1);
    }
}

void QZMemeTextField::clearButtonPressed()
{
    if (auto d = delegate()) d->memeTextFieldDidClear(this);
    setText("");
}

void QZMemeTextField::textFieldTouched()
{
    if (auto d = delegate()) d->memeTextFieldDidTap(this);
}
