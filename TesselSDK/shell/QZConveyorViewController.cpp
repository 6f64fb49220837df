#include "TesselSDK/shell/QZConveyorViewController.h"

#include "TesselSDKFoundation/QZConveyorOverlayView.h"
#include "TesselSDKFoundation/QZGeometry.h"

void QZConveyorViewController::loadView()
{
    QZToolViewController::loadView();
    createConveyorOverlay();
}

void QZConveyorViewController::viewDidLoad()
{
    QZToolViewController::viewDidLoad();
    setupConveyorOverlay();
}

void QZConveyorViewController::createConveyorOverlay()
{
    const std::shared_ptr<UIView>& view = this->view();
    CGRect frame = view->bounds();
    if (usesSplitConveyorLayout()) frame.size.height *= 0.5f;
    std::shared_ptr<QZConveyorView> strip =
        cellWidth_ > 0 ? QZConveyorView::make(frame, cellWidth_) : UIView::viewWithFrame<QZConveyorView>(frame);
    strip->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
    strip->setDelegate(std::static_pointer_cast<QZConveyorViewDelegate>(self<QZConveyorViewController>()));
    view->addSubview(strip);
    conveyorView_ = strip;
}

void QZConveyorViewController::setupConveyorOverlay()
{
    const std::shared_ptr<UIView>& view = this->view();
    auto overlay = QZConveyorOverlayView::make(view->bounds(), usesSplitConveyorLayout() ? QZConveyorOverlayTypeSplit
                                                                                         : QZConveyorOverlayTypeSingle);
    overlay->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    view->addSubview(overlay);
}
