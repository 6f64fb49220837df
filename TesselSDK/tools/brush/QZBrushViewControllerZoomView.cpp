#include "TesselSDK/tools/brush/QZBrushViewControllerZoomView.h"

#include "TesselSDK/tools/brush/QZBrushViewController.h"

void QZBrushViewControllerZoomView::prepareView()
{
    QZView::prepareView();
    setBackgroundColor(UIColor::colorWithWhite(0, 0.6f));
}

std::shared_ptr<UIView> QZBrushViewControllerZoomView::hitTest(CGPoint point, const UIEvent* event)
{
    if (!QZView::hitTest(point, event)) return nullptr;
    if (auto controller = controller_.lock()) controller->setZoomEnabled(false);
    return nullptr;
}
