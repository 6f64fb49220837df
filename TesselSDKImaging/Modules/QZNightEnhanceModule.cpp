#include "TesselSDKImaging/Modules/QZNightEnhanceModule.h"

#include "TesselSDKImaging/Processors/QZAutoEnhanceProcessor.h"

#include "TesselSDKFoundation/QZLocalizedString.h"

std::string QZNightEnhanceModule::name()
{
    return QZLocalizedString("Illuminate");
}

void QZNightEnhanceModule::createProcessors(QZProcessorList& processors)
{
    QZModule::createProcessors(processors);
    auto enhance = QZAutoEnhanceProcessor::make();
    enhance->setMode(QopAutoEnhanceModeNight);
    processors.push_back(enhance);
}
