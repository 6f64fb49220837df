#pragma once
// The one-tap colour correction.

#include "TesselSDKImaging/Modules/QZModule.h"

class QZLabCorrectModule : public QZModule {
public:
    using QZModule::QZModule;
    static std::shared_ptr<QZLabCorrectModule> make()
    {
        return NSObject::create<QZLabCorrectModule>(&QZLabCorrectModule::init);
    }

    // "Color Fix", localised.
    static std::string name();
    std::string instanceName() const override { return name(); }

    void createProcessors(QZProcessorList& processors) override;
};
