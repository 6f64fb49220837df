#include "TesselSDKFoundation/QZContainerView.h"

#include "TesselSDKFoundation/QZOverlayView.h"

std::shared_ptr<UIView> QZContainerView::hitTest(CGPoint point, const UIEvent* event)
{
    return QZHitTestInteractiveSubviews(*this, point, event).value_or(nullptr);
}
