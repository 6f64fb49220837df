#pragma once
// The base of the tool screens that edit the photo with one slider from -100 to +100: one
// processor, fed the slider value and previewed on the GL instance while the user drags, with at
// most one preview render in flight (values that arrive meanwhile collapse into the newest), and a
// block module replaying that processor as the tool's output. Main thread only.

#include "TesselSDKFoundation/QZSlider.h"
#include "TesselSDKFoundation/QZView.h"
#include "TesselSDK/shell/QZToolViewController.h"

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include <functional>
#include <memory>

class QZSliderViewController : public QZToolViewController {
public:
    using QZToolViewController::QZToolViewController;
    // Makes the screen's one processor. A factory rather than a class name: nothing but a processor
    // can be named.
    using ProcessorFactory = std::function<std::shared_ptr<QZProcessor>()>;

    using QZToolViewController::initWithGLInstance;
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance) override;

    // ---- Hooks ----
    // A plain QZProcessor in the base.
    virtual ProcessorFactory processorClass() const;
    bool needsLayoutOnFailure() const override { return false; }
    // Puts the slider value into the processor.
    virtual void adjustProcessorWithValue(float value) = 0;

    void loadView() override;
    void viewDidLoad() override;
    void viewWillDisappear(bool animated) override;

    // Target of the slider's value-changed event.
    void sliderChanged(QZSlider* slider);
    // Ignored while an apply is under way.
    void handleUpdatedValue(float value);
    void renderModuleWithValue(float value);
    void applyButtonPressed() override;
    // Replays the processor object itself, so it holds the last values even after the screen is
    // gone.
    std::shared_ptr<QZModule> outputModule() override;

    // ---- Properties ----
    bool isCurrentlyProcessing() const { return currentlyProcessing_; }
    const std::shared_ptr<QZView>& sliderContainerView() const { return sliderContainerView_; }
    const std::shared_ptr<QZSlider>& slider() const { return slider_; }
    // Made on first use.
    const std::shared_ptr<QZProcessor>& processor();
    float displayedValue() const { return displayedValue_; }
    void setDisplayedValue(float value) { displayedValue_ = value; }
    bool requiresFurtherRender() const { return requiresFurtherRender_; }

protected:
    void setSliderContainerView(std::shared_ptr<QZView> view) { sliderContainerView_ = std::move(view); }
    void setSlider(std::shared_ptr<QZSlider> slider) { slider_ = std::move(slider); }
    // A strip of the given frame holding the minus and plus images and a -100..+100 slider that
    // reports to sliderChanged:; the slider is returned through `slider`.
    std::shared_ptr<QZView> makeSliderContainer(CGRect frame, std::shared_ptr<QZSlider>& slider);

private:
    bool currentlyProcessing_ = false;
    std::shared_ptr<QZView> sliderContainerView_;
    std::shared_ptr<QZSlider> slider_;
    std::shared_ptr<QZProcessor> processor_;
    float displayedValue_ = 0;
    bool requiresFurtherRender_ = false;
};
