#pragma once
// The adjust tool: brightness, contrast, warmth and saturation sharing one slider and one
// QZAdjustProcessor. A row of joined buttons picks the sub-tool; a switch slides the slider strip
// sideways (a second strip waits off screen) and shows the sub-tool's name over the canvas for a
// moment. Each sub-tool keeps its value; the processor holds all four. Main thread only.

#include "TesselSDK/tools/QZAdjustTitleView.h"
#include "TesselSDK/tools/QZAdjustToolLabel.h"
#include "TesselSDK/tools/QZAdjustToolWrapper.h"
#include "TesselSDK/tools/QZSliderViewController.h"

#include "TesselSDKImaging/Processors/QZAdjustProcessor.h"

#include <memory>
#include <string>
#include <vector>

class QZAdjustViewController : public QZSliderViewController {
public:
    using QZSliderViewController::QZSliderViewController;

    // Where the off-screen strip waits: right of the on-screen one by this many points. Exact in
    // a float, off every screen, and finite at any screen scale.
    static constexpr CGFloat kOffscreenDistance = 1048576;

    ProcessorFactory processorClass() const override;
    bool supportsViewOriginalWithTouch() const override { return true; }

    void loadView() override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;

    // Target of each button's touch up inside.
    void processorButtonTapped(QZAdjustButton* button);
    void swapSliderFromIndex(NSUInteger from, NSUInteger to);
    void swapTitleFromIndex(NSUInteger from, NSUInteger to);
    void showToolName();
    // The key with its first letter upper-cased, localised.
    static std::string titleForProcessorKey(const std::string& key);
    void adjustProcessorWithValue(float value) override;
    // One flag per sub-tool: YES when its value is not 0.
    void reportApplied() override;

    const std::shared_ptr<QZView>& offscreenSliderContainerView() const { return offscreenSliderContainerView_; }
    const std::shared_ptr<QZSlider>& offscreenSlider() const { return offscreenSlider_; }
    const std::shared_ptr<QZAdjustToolWrapper>& selectedTool() const { return selectedTool_; }
    const std::vector<std::shared_ptr<QZAdjustToolWrapper>>& toolWrappers() const { return toolWrappers_; }
    // Nothing creates it: the bar keeps the tool's title.
    const std::shared_ptr<QZAdjustTitleView>& titleView() const { return titleView_; }
    bool hasChangedTitle() const { return changedTitle_; }
    const std::shared_ptr<QZAdjustToolLabel>& toolLabel() const { return toolLabel_; }

private:
    void setProcessorValue(const std::string& key, float value);

    std::shared_ptr<QZView> offscreenSliderContainerView_;
    std::shared_ptr<QZSlider> offscreenSlider_;
    std::shared_ptr<QZAdjustToolWrapper> selectedTool_;
    std::vector<std::shared_ptr<QZAdjustToolWrapper>> toolWrappers_;
    std::shared_ptr<QZAdjustTitleView> titleView_;
    bool changedTitle_ = false;
    std::shared_ptr<QZAdjustToolLabel> toolLabel_;
    // Counts slides, so that only the last one parks its outgoing strip.
    unsigned slideCount_ = 0;
};
