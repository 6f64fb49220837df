#include "TesselSDKImaging/Modules/QZOriginalModule.h"

#include "TesselSDKImaging/Processors/QZQopEffectProcessor.h"
#include "TesselSDKImaging/QZImageServer.h"

#include "QopLite/QopBitmap.h"

void QZOriginalModule::preprocess(const std::shared_ptr<QZImageServer>& server)
{
    QZModule::preprocess(server);
    if (server) server->drawImage();
}

void QZOriginalModule::createProcessors(QZProcessorList& processors)
{
    QZModule::createProcessors(processors);
    QopEffectParams_t params{};
    params.seed = parameterSeed();
    params.intensity = 1.0;
    params.border = bordersEnabled();
    params.scale = 1.0;
    processors.push_back(QZQopEffectProcessor::make(QopEffectOriginal, params));
}
