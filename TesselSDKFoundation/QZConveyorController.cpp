#include "TesselSDKFoundation/QZConveyorController.h"

bool QZConveyorController::initWithConveyorView(const std::shared_ptr<QZConveyorView>& view)
{
    if (view) view->setDelegate(self<QZConveyorController>());
    setConveyorView(view);
    return true;
}

void QZConveyorController::setConveyorView(std::shared_ptr<QZConveyorView> view)
{
    if (view == conveyorView_) return;
    willChangeValueForKey("conveyorView");
    conveyorView_ = std::move(view);
    didChangeValueForKey("conveyorView");
    if (conveyorView_) conveyorView_->setDelegate(self<QZConveyorController>());
}
