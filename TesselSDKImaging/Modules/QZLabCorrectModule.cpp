#include "TesselSDKImaging/Modules/QZLabCorrectModule.h"

#include "TesselSDKImaging/Processors/QZLabCorrectProcessor.h"

#include "TesselSDKFoundation/QZLocalizedString.h"

std::string QZLabCorrectModule::name()
{
    return QZLocalizedString("Color Fix");
}

void QZLabCorrectModule::createProcessors(QZProcessorList& processors)
{
    QZModule::createProcessors(processors);
    processors.push_back(QZLabCorrectProcessor::make());
}
