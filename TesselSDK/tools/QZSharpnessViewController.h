#pragma once
// The sharpness tool: one slider, positive values sharpen, negative ones soften.

#include "TesselSDK/tools/QZSliderViewController.h"

#include "TesselSDKImaging/Processors/QZSharpnessProcessor.h"

class QZSharpnessViewController : public QZSliderViewController {
public:
    using QZSliderViewController::QZSliderViewController;

    ProcessorFactory processorClass() const override;
    std::string customizationKeyPath() const override;
    bool supportsViewOriginalWithTouch() const override { return true; }
    // inputSharpness = the raw slider value.
    void adjustProcessorWithValue(float value) override;
    void viewDidAppear(bool animated) override;
};
