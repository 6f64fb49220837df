#pragma once
// The one-tap correction for subjects against the light.

#include "TesselSDKImaging/Modules/QZModule.h"

class QZBacklightEnhanceModule : public QZModule {
public:
    using QZModule::QZModule;
    static std::shared_ptr<QZBacklightEnhanceModule> make()
    {
        return NSObject::create<QZBacklightEnhanceModule>(&QZBacklightEnhanceModule::init);
    }

    // "Backlit", localised.
    static std::string name();
    std::string instanceName() const override { return name(); }

    void createProcessors(QZProcessorList& processors) override;
};
