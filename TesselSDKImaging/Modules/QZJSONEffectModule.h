#pragma once
// A pack item's effect: one recipe processor, run with the module's seed and borders at full
// intensity.

#include "TesselSDKImaging/Modules/QZModule.h"

#include <optional>
#include <string>

class QZJSONEffectModule : public QZModule {
public:
    using QZModule::QZModule;
    static std::shared_ptr<QZJSONEffectModule> make()
    {
        return NSObject::create<QZJSONEffectModule>(&QZJSONEffectModule::init);
    }

    // The recipe document; nullopt is nil (the processor then logs when asked for its block).
    const std::optional<std::string>& jsonString() const { return jsonString_; }
    void setJsonString(std::optional<std::string> json) { jsonString_ = std::move(json); }

    void createProcessors(QZProcessorList& processors) override;

private:
    std::optional<std::string> jsonString_;
};
