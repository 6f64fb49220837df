#include "TesselSDKImaging/Modules/QZModule.h"

QZProcessorList QZModule::processors()
{
    QZProcessorList processors;
    createProcessors(processors);
    for (const std::shared_ptr<QZProcessor>& processor : processors)
        if (processor) processor->setScaleFactor(scaleFactor_);
    return processors;
}

void QZModule::createProcessors(QZProcessorList&) {}

void QZModule::preprocess(const std::shared_ptr<QZImageServer>&) {}
