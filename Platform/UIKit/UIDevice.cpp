#include "UIKit/UIDevice.h"

std::shared_ptr<UIDevice> UIDevice::currentDevice()
{
    static const std::shared_ptr<UIDevice> device = NSObject::create<UIDevice>();
    return device;
}

bool UIDevice::respondsToSelector(std::string_view selector) const
{
    return selector == "userInterfaceIdiom" || selector == "model" || selector == "systemVersion";
}
