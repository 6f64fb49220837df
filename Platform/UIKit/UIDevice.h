#pragma once
// The device the app runs on, answered from the platform settings so that tests and hosts can
// run as a phone or a tablet.

#include <atomic>
#include <memory>
#include <string>

#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSObject.h"
#include "Foundation/PlatformSettings.h"

enum UIUserInterfaceIdiom : NSInteger { UIUserInterfaceIdiomPhone = 0, UIUserInterfaceIdiomPad = 1 };

class UIDevice : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<UIDevice> currentDevice();

    UIUserInterfaceIdiom userInterfaceIdiom() const
    {
        return static_cast<UIUserInterfaceIdiom>(PlatformSettings::interfaceIdiom());
    }
    std::string model() const { return PlatformSettings::deviceModel(); }
    std::string systemVersion() const { return PlatformSettings::systemVersion(); }

    // A flag the app sets before reading the battery; nothing here reports a battery.
    bool isBatteryMonitoringEnabled() const { return batteryMonitoringEnabled_; }
    void setBatteryMonitoringEnabled(bool enabled) { batteryMonitoringEnabled_ = enabled; }

    bool respondsToSelector(std::string_view selector) const override;

private:
    std::atomic<bool> batteryMonitoringEnabled_{false};
};
