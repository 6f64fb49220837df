#include "TesselSDKImaging/Modules/QZJSONEffectModule.h"

#include "TesselSDKImaging/Processors/QZQopJSONEffectProcessor.h"

void QZJSONEffectModule::createProcessors(QZProcessorList& processors)
{
    QopEffectParams_t params{};
    params.seed = parameterSeed();
    params.intensity = 1.0;
    params.border = bordersEnabled();
    params.scale = 1.0;
    processors.push_back(QZQopJSONEffectProcessor::make(jsonString_, params));
}
