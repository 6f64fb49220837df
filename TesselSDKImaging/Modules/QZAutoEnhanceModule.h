#pragma once
// The one-tap automatic correction.

#include "TesselSDKImaging/Modules/QZModule.h"

class QZAutoEnhanceModule : public QZModule {
public:
    using QZModule::QZModule;
    static std::shared_ptr<QZAutoEnhanceModule> make()
    {
        return NSObject::create<QZAutoEnhanceModule>(&QZAutoEnhanceModule::init);
    }

    // "Auto", localised.
    static std::string name();
    std::string instanceName() const override { return name(); }

    void createProcessors(QZProcessorList& processors) override;
};
