#include "TesselSDK/tools/brush/QZRedeyeViewController.h"

#include "TesselSDKFoundation/QZAnalytics.h"

#include "TesselSDKImaging/Processors/QZSelectiveRedeyeProcessor.h"

bool QZRedeyeViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance)
{
    return QZSelectiveBrushViewController::initWithGLInstance(glInstance,
                                                              [] { return QZSelectiveRedeyeProcessor::make(); });
}

std::string QZRedeyeViewController::customizationKeyPath() const
{
    return QZSelectiveBrushViewController::customizationKeyPath() + ".redeye";
}

void QZRedeyeViewController::viewDidAppear(bool animated)
{
    QZSelectiveBrushViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Redeye");
}
