#include "UIKit/UIRunLoop.h"

#include "Dispatch/DispatchRunLoop.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UITouchInput.h"
#include "UIKit/UIWindow.h"

#include <mutex>

void UIKitInstallRunLoopStages()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        DispatchRunLoop::addObserver(DispatchRunLoopStage::Input, [] { UITouchInput::deliverPosted(); });
        DispatchRunLoop::addObserver(DispatchRunLoopStage::Layout, [] {
            for (const auto& window : UIApplication::sharedApplication()->windows()) window->layer()->layoutIfNeeded();
        });
    });
}
