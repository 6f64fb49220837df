#include "TesselSDK/tools/brush/QZBlemishViewController.h"

#include "TesselSDKFoundation/QZAnalytics.h"

#include "TesselSDKImaging/Processors/QZSelectiveBlurProcessor.h"

bool QZBlemishViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance)
{
    return QZSelectiveBrushViewController::initWithGLInstance(glInstance,
                                                              [] { return QZSelectiveBlurProcessor::make(); });
}

std::string QZBlemishViewController::customizationKeyPath() const
{
    return QZSelectiveBrushViewController::customizationKeyPath() + ".blemish";
}

void QZBlemishViewController::viewDidAppear(bool animated)
{
    QZSelectiveBrushViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Blemish");
}
