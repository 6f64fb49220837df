#include "TesselSDKImaging/Modules/QZAutoEnhanceModule.h"

#include "TesselSDKImaging/Processors/QZAutoEnhanceProcessor.h"

#include "TesselSDKFoundation/QZLocalizedString.h"

std::string QZAutoEnhanceModule::name()
{
    return QZLocalizedString("Auto");
}

void QZAutoEnhanceModule::createProcessors(QZProcessorList& processors)
{
    QZModule::createProcessors(processors);
    auto enhance = QZAutoEnhanceProcessor::make();
    enhance->setMode(QopAutoEnhanceModeAuto);
    processors.push_back(enhance);
}
