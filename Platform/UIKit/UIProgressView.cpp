#include "UIKit/UIProgressView.h"

#include <algorithm>

namespace {
constexpr double kFillAnimation = 0.25;
}

std::shared_ptr<UIProgressView> UIProgressView::progressViewWithStyle(UIProgressViewStyle style)
{
    auto view = UIView::viewWithFrame<UIProgressView>();
    view->setProgressViewStyle(style);
    return view;
}

bool UIProgressView::initWithFrame(CGRect frame)
{
    if (!UIView::initWithFrame(frame)) return false;
    setUserInteractionEnabled(false);
    setBackgroundColor(UIColor::clearColor());
    track_ = UIView::viewWithFrame();
    track_->setClipsToBounds(true);
    addSubview(track_);
    fill_ = UIView::viewWithFrame();
    track_->addSubview(fill_);
    setTrackTintColor(UIColor::colorWithRed(0.72f, 0.74f, 0.77f, 1));
    setProgressTintColor(UIColor::colorWithRed(0.16f, 0.47f, 0.93f, 1));
    return true;
}

void UIProgressView::setProgressViewStyle(UIProgressViewStyle style)
{
    style_ = style;
    setNeedsLayout();
}

void UIProgressView::setProgress(float progress, bool animated)
{
    progress_ = std::clamp(progress, 0.0f, 1.0f);
    if (!animated) {
        UIView::performWithoutAnimation([&] { fill_->setFrame(fillFrame()); });
        return;
    }
    UIView::animateWithDuration(kFillAnimation, 0, UIViewAnimationOptionCurveEaseOut,
                                [&] { fill_->setFrame(fillFrame()); });
}

void UIProgressView::setProgressTintColor(std::shared_ptr<UIColor> color)
{
    progressTintColor_ = std::move(color);
    fill_->setBackgroundColor(progressTintColor_);
}

void UIProgressView::setTrackTintColor(std::shared_ptr<UIColor> color)
{
    trackTintColor_ = std::move(color);
    track_->setBackgroundColor(trackTintColor_);
}

CGSize UIProgressView::sizeThatFits(CGSize size) const
{
    return CGSizeMake(size.width, style_ == UIProgressViewStyleBar ? 3 : 9);
}

CGRect UIProgressView::fillFrame() const
{
    CGRect b = track_->bounds();
    return CGRectMake(0, 0, b.size.width * progress_, b.size.height);
}

void UIProgressView::layoutSubviews()
{
    CGRect b = bounds();
    track_->setFrame(b);
    track_->layer()->setCornerRadius(style_ == UIProgressViewStyleBar ? 0 : b.size.height / 2);
    fill_->layer()->setCornerRadius(track_->layer()->cornerRadius());
    // The model frame of a running fill animation is its end already: only a size change moves it.
    if (!CGRectEqualToRect(fill_->frame(), fillFrame()))
        UIView::performWithoutAnimation([&] { fill_->setFrame(fillFrame()); });
}
