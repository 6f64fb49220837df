#include "TesselSDKImaging/Modules/QZBacklightEnhanceModule.h"

#include "TesselSDKImaging/Processors/QZAutoEnhanceProcessor.h"

#include "TesselSDKFoundation/QZLocalizedString.h"

std::string QZBacklightEnhanceModule::name()
{
    return QZLocalizedString("Backlit");
}

void QZBacklightEnhanceModule::createProcessors(QZProcessorList& processors)
{
    QZModule::createProcessors(processors);
    auto enhance = QZAutoEnhanceProcessor::make();
    enhance->setMode(QopAutoEnhanceModeBacklight);
    processors.push_back(enhance);
}
