#pragma once
// The crop tool: a strip of presets (Custom, Original, then the option's ratios) under the canvas,
// shrunk a little on a phone so the box's handles fit, and the crop overlay over it. Tapping a
// preset fits the box to it; tapping the selected ratio again turns every ratio. Apply crops the
// preview to the box's content in whole image pixels, records that rectangle relative to the
// image in the crop module (which the replay scales to any size) and animates the canvas from the
// box to the cropped photo. Main thread only.

#include "TesselSDK/tools/QZCropOverlayView.h"
#include "TesselSDK/tools/QZCropPreset.h"

#include "TesselSDK/shell/QZConveyorViewController.h"

#include "TesselSDKImaging/Modules/QZCropModule.h"

#include <memory>
#include <string>
#include <vector>

class QZCropViewController : public QZConveyorViewController, public QZCropOverlayViewDelegate {
public:
    using QZConveyorViewController::QZConveyorViewController;

    static constexpr const char* kCellReuseIdentifier = "QZCropViewController_SizeCell";
    // The canvas scale on a phone while the tool is shown.
    static constexpr CGFloat kPhoneCanvasScale = 0.93f;

    using QZConveyorViewController::initWithGLInstance;
    // The crop module made; the screen restores the canvas itself after an apply.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                            bool quickLaunch) override;

    QZOverlayViewFactory staticOverlayViewClass() const override;
    bool needsLayoutOnSuccess() const override { return true; }
    std::string customizationKeyPath() const override;
    CGAffineTransform imageViewTransform() const override;

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;

    std::shared_ptr<QZModule> outputModule() override { return cropModule_; }
    // Crops to the box; nothing once the tool has finished or been cancelled.
    void finishApplying() override;

    NSInteger numberOfItemsInConveyorView(QZConveyorView* view) override;
    std::shared_ptr<QZConveyorViewCell> conveyorViewCellForIndex(QZConveyorView* view, NSInteger index) override;
    void conveyorViewDidSelectItemAtIndex(QZConveyorView* view, NSInteger index) override;

    void setSelectedPreset(const std::shared_ptr<QZCropPreset>& preset) { setSelectedPreset(preset, true); }
    // The selected ratio again turns every ratio; another preset becomes the selected one. The
    // box is then fitted to it.
    void setSelectedPreset(const std::shared_ptr<QZCropPreset>& preset, bool animated);

    // The canvas image view's bounds in the overlay; zero when either is missing.
    CGRect cropOverlayViewBoundsForCropBox(QZCropOverlayView* overlay) override;

    const std::vector<std::shared_ptr<QZCropPreset>>& presets() const { return presets_; }
    std::shared_ptr<QZCropPreset> selectedPreset() const { return selectedPreset_.lock(); }
    const std::shared_ptr<QZCropModule>& cropModule() const { return cropModule_; }
    bool cropBoxIsRotated() const { return *cropBoxIsRotated_; }
    std::shared_ptr<QZCropOverlayView> cropOverlayView() const;

    // The box's content in the canvas image view's whole pixels, its size kept as near as can be,
    // within the image.
    static CGRect imageRectForCropRect(CGRect rect, CGSize imageSize);

private:
    void buildPresets();

    std::vector<std::shared_ptr<QZCropPreset>> presets_;
    std::weak_ptr<QZCropPreset> selectedPreset_;
    std::shared_ptr<QZCropModule> cropModule_;
    // Every preset holds it, so a cell keeping a preset never reads freed memory.
    std::shared_ptr<bool> cropBoxIsRotated_ = std::make_shared<bool>(false);
};
