#pragma once
// The one-tap local contrast enhance.

#include "TesselSDKImaging/Modules/QZModule.h"

class QZLocalContrastEnhanceModule : public QZModule {
public:
    using QZModule::QZModule;
    static std::shared_ptr<QZLocalContrastEnhanceModule> make()
    {
        return NSObject::create<QZLocalContrastEnhanceModule>(&QZLocalContrastEnhanceModule::init);
    }

    // "Hi-Def", localised.
    static std::string name();
    std::string instanceName() const override { return name(); }

    void createProcessors(QZProcessorList& processors) override;
};
