#include "TesselSDK/tools/QZAdjustToolLabel.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"

namespace {

constexpr double kFadeSeconds = 0.2;
constexpr double kShownSeconds = 1.0;

}  // namespace

void QZAdjustToolLabel::prepareView()
{
    QZView::prepareView();
    auto box = QZSDKResources::imageNamed("adjust_box.png");
    imageView_ =
        UIImageView::imageViewWithImage(box ? box->resizableImageWithCapInsets(QZSquareUIEdgeInsets(12)) : nullptr);
    imageView_->setFrame(bounds());
    imageView_->setContentMode(UIViewContentModeScaleToFill);
    addSubview(imageView_);

    label_ = UIView::viewWithFrame<UILabel>(bounds());
    label_->setBackgroundColor(UIColor::clearColor());
    label_->setFont(UIFont::boldSystemFontOfSize(16));
    label_->setTextColor(UIColor::whiteColor());
    label_->setShadowColor(UIColor::blackColor());
    label_->setTextAlignment(NSTextAlignmentCenter);
    addSubview(label_);
    setAlpha(0);
}

void QZAdjustToolLabel::setTitle(std::string title)
{
    if (label_) label_->setText(std::move(title));
}

void QZAdjustToolLabel::setTemporarilyVisible()
{
    setVisible(true, true, 0);
    setVisible(false, true, kShownSeconds);
}

void QZAdjustToolLabel::setInvisible()
{
    setVisible(false, true, 0);
}

void QZAdjustToolLabel::setVisible(bool visible, bool animated, double delay)
{
    if (!animated) {
        if (delayedChange_) delayedChange_->invalidate();
        delayedChange_ = nullptr;
        layer()->removeAllAnimations();
        setAlpha(visible ? 1 : 0);
        return;
    }
    if (delay <= 0) {
        if (delayedChange_) delayedChange_->invalidate();
        delayedChange_ = nullptr;
        layer()->removeAllAnimations();
        animateAlpha(visible);
        return;
    }
    // A delayed animation would start from what is shown at the call, so the fade-out queued right
    // behind a fade-in would keep the box hidden: the change itself waits for its time instead.
    if (delayedChange_) delayedChange_->invalidate();
    std::weak_ptr<QZAdjustToolLabel> weak = weakSelf<QZAdjustToolLabel>();
    delayedChange_ =
        NSTimer::scheduledTimerWithTimeInterval(delay, false, [weak, visible](const std::shared_ptr<NSTimer>&) {
            auto label = weak.lock();
            if (!label) return;
            label->delayedChange_ = nullptr;
            label->animateAlpha(visible);
        });
}

void QZAdjustToolLabel::animateAlpha(bool visible)
{
    std::weak_ptr<QZAdjustToolLabel> weak = weakSelf<QZAdjustToolLabel>();
    UIView::animateWithDuration(kFadeSeconds, [weak, visible] {
        if (auto label = weak.lock()) label->setAlpha(visible ? 1 : 0);
    });
}
