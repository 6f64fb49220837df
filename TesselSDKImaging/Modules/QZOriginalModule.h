#pragma once
// The unedited image as an effect: with preprocessing the source is drawn afresh, then the
// identity effect runs (on the GPU one identity draw; on the CPU nothing).

#include "TesselSDKImaging/Modules/QZModule.h"

class QZOriginalModule : public QZModule {
public:
    using QZModule::QZModule;
    static std::shared_ptr<QZOriginalModule> make()
    {
        return NSObject::create<QZOriginalModule>(&QZOriginalModule::init);
    }

    // Draws the server's source image.
    void preprocess(const std::shared_ptr<QZImageServer>& server) override;
    // QopEffectOriginal with the module's seed and borders at full intensity.
    void createProcessors(QZProcessorList& processors) override;
};
