#pragma once
// The one-tap correction that lifts dark photos.

#include "TesselSDKImaging/Modules/QZModule.h"

class QZNightEnhanceModule : public QZModule {
public:
    using QZModule::QZModule;
    static std::shared_ptr<QZNightEnhanceModule> make()
    {
        return NSObject::create<QZNightEnhanceModule>(&QZNightEnhanceModule::init);
    }

    // "Illuminate", localised.
    static std::string name();
    std::string instanceName() const override { return name(); }

    void createProcessors(QZProcessorList& processors) override;
};
