#include "TesselSDK/shell/QZAboutView.h"

#include "Foundation/NSString.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include <cmath>

namespace {

constexpr CGFloat kWidth = 284;
constexpr CGFloat kHeight = 282;
constexpr CGFloat kHeaderHeight = 88;
constexpr CGFloat kContentHeight = 134;
constexpr CGFloat kActionSliceHeight = 58;
constexpr CGFloat kButtonWidth = 265;
constexpr CGFloat kButtonHeight = 42;
constexpr const char* kVersionNumber = "3.3.11";

std::shared_ptr<UILabel> whiteBoldLabel(CGFloat size)
{
    auto label = UIView::viewWithFrame<UILabel>(CGRectZero);
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setFont(UIFont::boldSystemFontOfSize(size));
    label->setTextColor(UIColor::whiteColor());
    label->setShadowColor(UIColor::blackColor());
    label->setShadowOffset(CGSizeMake(0, 1));
    label->setBackgroundColor(UIColor::clearColor());
    return label;
}

std::shared_ptr<UIButton> panelButton(const std::string& title, std::shared_ptr<UIColor> shadow, const char* normal,
                                      const char* highlighted)
{
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->titleLabel()->setFont(UIFont::boldSystemFontOfSize(17));
    button->setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
    button->titleLabel()->setShadowColor(std::move(shadow));
    button->titleLabel()->setShadowOffset(CGSizeMake(0, 1));
    button->setTitle(title, UIControlStateNormal);
    UIEdgeInsets caps = UIEdgeInsetsMake(0, 12, 0, 12);
    button->setBackgroundImage(QZSDKResources::stretchableImageNamed(normal, caps), UIControlStateNormal);
    button->setBackgroundImage(QZSDKResources::stretchableImageNamed(highlighted, caps), UIControlStateHighlighted);
    return button;
}

// A rectangle of the size centred in the area, its origin on whole points.
CGRect centredRounded(CGSize size, CGRect area)
{
    return CGRectMake(std::roundf(area.origin.x + (area.size.width - size.width) / 2),
                      std::roundf(area.origin.y + (area.size.height - size.height) / 2), size.width, size.height);
}

}  // namespace

void QZAboutView::prepareView()
{
    QZView::prepareView();
    shadowView_ = UIImageView::imageViewWithImage(
        QZSDKResources::stretchableImageNamed("about_shadow.png", UIEdgeInsetsMake(50, 50, 50, 50)));
    shadowView_->setContentMode(UIViewContentModeScaleToFill);
    addSubview(shadowView_);

    backgroundView_ = UIImageView::imageViewWithImage(
        QZSDKResources::stretchableImageNamed("about_backdrop.png", UIEdgeInsetsMake(0, 8, 0, 8)));
    backgroundView_->setContentMode(UIViewContentModeScaleToFill);
    addSubview(backgroundView_);

    logoView_ = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("about_logo.png"));
    logoView_->setContentMode(UIViewContentModeCenter);
    addSubview(logoView_);

    versionLabel_ = whiteBoldLabel(11);
    versionLabel_->setText(versionText());
    addSubview(versionLabel_);

    aboutLabel_ = whiteBoldLabel(14);
    aboutLabel_->setNumberOfLines(0);
    aboutLabel_->setLineBreakMode(NSLineBreakByWordWrapping);
    aboutLabel_->setText(aboutText());
    addSubview(aboutLabel_);

    auto me = self<QZAboutView>();
    actionButton_ =
        panelButton(actionButtonText(), UIColor::blackColor(), "about_blue_button.png", "about_blue_button_active.png");
    actionButton_->addTarget(me, static_cast<void (QZAboutView::*)(UIButton*)>(&QZAboutView::actionButtonPressed),
                             UIControlEventTouchUpInside);
    addSubview(actionButton_);

    doneButton_ = panelButton(QZLocalizedString("Done"), UIColor::colorWithWhite(0, 0.4f), "about_grey_button.png",
                              "about_grey_button_active.png");
    doneButton_->addTarget(me, &QZAboutView::doneButtonPressed, UIControlEventTouchUpInside);
    addSubview(doneButton_);
}

std::string QZAboutView::versionText() const
{
    return NSStringWithFormat("%@ %@", QZLocalizedString("Version"), kVersionNumber);
}

void QZAboutView::actionButtonPressed(UIButton*)
{
    actionButtonPressed();
}

void QZAboutView::doneButtonPressed(UIButton*)
{
    if (auto delegate = delegate_.lock()) delegate->aboutViewDismissed(this);
}

CGSize QZAboutView::sizeThatFits(CGSize) const
{
    return CGSizeMake(kWidth, kHeight);
}

void QZAboutView::layoutSubviews()
{
    QZView::layoutSubviews();
    CGRect b = bounds();
    shadowView_->setFrame(CGRectInset(b, -25, -25));
    backgroundView_->setFrame(b);

    logoView_->sizeToFit();
    versionLabel_->sizeToFit();
    CGFloat logoHeight = logoView_->bounds().size.height, versionHeight = versionLabel_->bounds().size.height;
    CGFloat top = (kHeaderHeight - (logoHeight + versionHeight)) / 2;
    logoView_->setCenter(CGPointMake(CGRectGetMidX(b), CGRectGetMinY(b) + top + logoHeight / 2 + 4));
    versionLabel_->setCenter(CGPointMake(CGRectGetMidX(b), CGRectGetMinY(b) + top + logoHeight + versionHeight / 2));

    CGRect content = CGRectMake(CGRectGetMinX(b), CGRectGetMinY(b) + kHeaderHeight, b.size.width, kContentHeight);
    CGRect actionSlice, text;
    CGRectDivide(content, &actionSlice, &text, kActionSliceHeight, CGRectMaxYEdge);
    aboutLabel_->setFrame(CGRectOffset(CGRectIntegral(CGRectInset(text, 25, 0)), 0, 4));
    actionButton_->setFrame(centredRounded(CGSizeMake(kButtonWidth, kButtonHeight), actionSlice));

    CGFloat below = kHeaderHeight + kContentHeight;
    CGRect doneArea = CGRectMake(CGRectGetMinX(b), CGRectGetMinY(b) + below, b.size.width, b.size.height - below);
    doneButton_->setFrame(centredRounded(CGSizeMake(kButtonWidth, kButtonHeight), doneArea));
}
