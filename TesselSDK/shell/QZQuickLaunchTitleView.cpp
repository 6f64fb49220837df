#include "TesselSDK/shell/QZQuickLaunchTitleView.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZViewAnimation.h"
#include "UIKit/UIImageView.h"

namespace {
constexpr CGFloat kWidth = 200;
constexpr CGFloat kHeight = 30;
constexpr CGFloat kSlide = 30;
constexpr double kSlideDuration = 0.3;
}  // namespace

void QZQuickLaunchTitleView::prepareView()
{
    QZView::prepareView();
    setClipsToBounds(true);
    editButton_ = QZNavigationItemButton::buttonWithTitle(editButtonTitle_, QZNavigationItemButtonStyleCancel);
    addSubview(editButton_);
    setEditButtonHidden(true, false);
}

std::shared_ptr<UILabel> QZQuickLaunchTitleView::titleLabel() const
{
    return std::dynamic_pointer_cast<UILabel>(titleView_);
}

void QZQuickLaunchTitleView::setTitle(std::optional<std::string> title)
{
    title_ = std::move(title);
    const bool wantsLabel = title_.has_value() || !titleView_;
    const bool hasLabel = titleLabel() != nullptr;
    if (!titleView_ || wantsLabel != hasLabel) {
        if (titleView_) titleView_->removeFromSuperview();
        if (wantsLabel) {
            auto label = UIView::viewWithFrame<UILabel>();
            label->setTextAlignment(NSTextAlignmentCenter);
            label->setFont(UIFont::boldSystemFontOfSize(20));
            label->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextColor"));
            label->setShadowColor(
                QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextShadowColor"));
            label->setShadowOffset(CGSizeMake(0, 1));
            label->setBackgroundColor(UIColor::clearColor());
            titleView_ = label;
        } else {
            titleView_ = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("tessel.png"));
        }
        addSubview(titleView_);
    }
    if (auto label = titleLabel()) {
        label->setText(title_.value_or(""));
        label->sizeToFit();
    }
    CGRect b = titleView_->bounds();
    titleView_->setBounds(CGRectMake(b.origin.x, b.origin.y, b.size.width, kHeight));
    titleView_->setCenter(QZCGRectGetCenter(bounds()));
}

void QZQuickLaunchTitleView::setEditButtonTitle(std::string title)
{
    editButtonTitle_ = std::move(title);
    editButton_->setTitle(editButtonTitle_);
    centerSubviews();
}

void QZQuickLaunchTitleView::setEditButtonHidden(bool hidden, bool animated)
{
    const CGPoint c = QZCGRectGetCenter(bounds());
    auto place = [this, hidden, c] {
        editButton_->setCenter(hidden ? CGPointMake(c.x, c.y - kSlide) : c);
        if (titleView_) titleView_->setCenter(hidden ? c : CGPointMake(c.x, c.y + kSlide));
    };
    if (animated)
        QZPerformUIViewAnimation(kSlideDuration, place, nullptr);
    else
        place();
}

std::shared_ptr<UIColor> QZQuickLaunchTitleView::textColor() const
{
    auto label = titleLabel();
    return label ? label->textColor() : nullptr;
}

void QZQuickLaunchTitleView::setTextColor(std::shared_ptr<UIColor> color)
{
    if (auto label = titleLabel()) label->setTextColor(std::move(color));
}

std::shared_ptr<UIColor> QZQuickLaunchTitleView::shadowColor() const
{
    auto label = titleLabel();
    return label ? label->shadowColor() : nullptr;
}

void QZQuickLaunchTitleView::setShadowColor(std::shared_ptr<UIColor> color)
{
    if (auto label = titleLabel()) label->setShadowColor(std::move(color));
}

void QZQuickLaunchTitleView::removeAllTargets()
{
    editButton_->removeTarget(nullptr, nullptr, UIControlEventAllEvents);
}

CGSize QZQuickLaunchTitleView::sizeThatFits(CGSize) const
{
    return CGSizeMake(kWidth, kHeight);
}

void QZQuickLaunchTitleView::layoutSubviews()
{
    QZView::layoutSubviews();
    centerSubviews();
}

void QZQuickLaunchTitleView::centerSubviews()
{
    const CGFloat middle = CGRectGetMidX(bounds());
    for (const auto& view : {titleView_, std::static_pointer_cast<UIView>(editButton_)})
        if (view) view->setCenter(CGPointMake(middle, view->center().y));
}
