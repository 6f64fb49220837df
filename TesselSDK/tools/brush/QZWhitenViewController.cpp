#include "TesselSDK/tools/brush/QZWhitenViewController.h"

#include "TesselSDKFoundation/QZAnalytics.h"

#include "TesselSDKImaging/Processors/QZSelectiveWhitenProcessor.h"

bool QZWhitenViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance)
{
    return QZSelectiveBrushViewController::initWithGLInstance(glInstance,
                                                              [] { return QZSelectiveWhitenProcessor::make(); });
}

std::string QZWhitenViewController::customizationKeyPath() const
{
    return QZSelectiveBrushViewController::customizationKeyPath() + ".whiten";
}

void QZWhitenViewController::viewDidAppear(bool animated)
{
    QZSelectiveBrushViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Whiten");
}
