#include "TesselSDKFoundation/QZOverlayView.h"

std::optional<std::shared_ptr<UIView>> QZHitTestInteractiveSubviews(UIView& view, CGPoint point, const UIEvent* event)
{
    const auto& subviews = view.subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        const auto& sub = *it;
        CGPoint local = sub->convertPointFromView(point, &view);
        if (CGRectContainsPoint(sub->bounds(), local) && sub->isUserInteractionEnabled())
            return sub->hitTest(local, event);
    }
    return std::nullopt;
}

void QZOverlayView::prepareView()
{
    QZView::prepareView();
    setOpaque(false);
    setBackgroundColor(UIColor::clearColor());
    setUserInteractionEnabled(false);
    allowsTouchesOnlyInSubviews_ = true;
}

std::shared_ptr<UIView> QZOverlayView::hitTest(CGPoint point, const UIEvent* event)
{
    if (!isUserInteractionEnabled()) {
        if (auto answer = QZHitTestInteractiveSubviews(*this, point, event)) return *answer;
    }
    return QZView::hitTest(point, event);
}

bool QZOverlayView::pointInside(CGPoint point, const UIEvent* event) const
{
    for (const auto& sub : subviews()) {
        if (sub->isHidden()) continue;
        if (sub->pointInside(sub->convertPointFromView(point, this), event)) return true;
    }
    return !allowsTouchesOnlyInSubviews_;
}
