#include "TesselSDKFoundation/QZHUDView.h"

#include "TesselSDKFoundation/QZViewAnimation.h"

void QZHUDView::prepareLayer(CALayer& layer)
{
    layer.setCornerRadius(8);
    layer.setMasksToBounds(true);
}

void QZHUDView::prepareView()
{
    QZView::prepareView();
    prepareLayer(*layer());
    setOpaque(false);
    setBackgroundColor(UIColor::colorWithWhite(0, 0.8f));
    setUserInteractionEnabled(false);
    setVisible(true);
}

void QZHUDView::setVisible(bool visible, bool animated, std::function<void()> completion)
{
    if (visible == visible_) return;
    visible_ = visible;
    auto change = [weak = weakSelf<QZHUDView>(), visible] {
        auto hud = weak.lock();
        if (!hud) return;
        hud->setAlpha(visible ? 1.0f : 0.0f);
        hud->setTransform(visible ? CGAffineTransformIdentity : CGAffineTransformMakeScale(1.1f, 1.1f));
    };
    if (animated) {
        QZPerformUIViewAnimation(0.2, change, [completion = std::move(completion)](bool) {
            if (completion) completion();
        });
        return;
    }
    change();
    if (completion) completion();
}
