#include "TesselSDK/tools/QZSharpnessViewController.h"

#include "TesselSDKFoundation/QZAnalytics.h"

QZSliderViewController::ProcessorFactory QZSharpnessViewController::processorClass() const
{
    return []() -> std::shared_ptr<QZProcessor> { return QZSharpnessProcessor::make(); };
}

std::string QZSharpnessViewController::customizationKeyPath() const
{
    return QZSliderViewController::customizationKeyPath() + ".sharpness";
}

void QZSharpnessViewController::adjustProcessorWithValue(float value)
{
    if (auto sharpness = std::dynamic_pointer_cast<QZSharpnessProcessor>(processor()))
        sharpness->setInputSharpness(value);
}

void QZSharpnessViewController::viewDidAppear(bool animated)
{
    QZSliderViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Sharpness");
}
