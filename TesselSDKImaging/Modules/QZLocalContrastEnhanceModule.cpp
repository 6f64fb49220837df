#include "TesselSDKImaging/Modules/QZLocalContrastEnhanceModule.h"

#include "TesselSDKImaging/Processors/QZLocalContrastEnhanceProcessor.h"

#include "TesselSDKFoundation/QZLocalizedString.h"

std::string QZLocalContrastEnhanceModule::name()
{
    return QZLocalizedString("Hi-Def");
}

void QZLocalContrastEnhanceModule::createProcessors(QZProcessorList& processors)
{
    QZModule::createProcessors(processors);
    processors.push_back(QZLocalContrastEnhanceProcessor::make());
}
