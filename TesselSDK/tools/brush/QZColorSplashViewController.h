#pragma once
// The colour splash tool: the preview turns grey and the finger paints the colour back, live while
// it moves. Two segmented controls choose what a stroke does: the brush (Free, or Smart: only
// colours like the one under the stroke's start) or the eraser (grey again). A stroke keeps the
// mode it began with. It has no strip. Main thread only.

#include "TesselSDK/tools/brush/QZBrushViewController.h"

#include "TesselSDKFoundation/QZSegmentedControl.h"

#include "TesselSDKImaging/Processors/QZSelectiveBrushProcessor.h"

#include "UIKit/UILabel.h"

#include <memory>
#include <vector>

class QZColorSplashViewController : public QZBrushViewController, public QZSegmentedControlDelegate {
public:
    using QZBrushViewController::QZBrushViewController;

    using QZBrushViewController::initWithGLInstance;
    // The tool base's, then a colour splash processor, Free mode, and the GL commit left to the
    // screen until its first render.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance) override;

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    // Without a stroke the preview shows the photo again first: nothing is recorded, so the
    // committed picture must not be the grey first render.
    void finishApplying() override;

    void segmentedControlDidSelectItemAtIndex(QZSegmentedControl* control, NSInteger index) override;

    void didBeginStroke(const std::shared_ptr<QZBrushStroke>& stroke) override;
    void didModifyStroke(const std::shared_ptr<QZBrushStroke>& stroke) override;
    void didFinishStroke(const std::shared_ptr<QZBrushStroke>& stroke) override;
    // None without a stroke; else a block module making a new full-size processor at every ask.
    std::shared_ptr<QZModule> outputModuleWithStrokes(QZBrushStrokeList strokes) override;

    // One preview render of the stroke's points not yet rendered (none: the first render).
    void processStroke(const std::shared_ptr<QZBrushStroke>& stroke);

    const std::shared_ptr<QZSelectiveBrushProcessor>& processor() const { return processor_; }
    const std::shared_ptr<QZSegmentedControl>& brushSegmentedControl() const { return brushSegmentedControl_; }
    const std::shared_ptr<QZSegmentedControl>& eraserSegmentedControl() const { return eraserSegmentedControl_; }
    const std::vector<std::shared_ptr<UILabel>>& captions() const { return captions_; }
    QZColorSplashMode splashMode() const { return splashMode_; }
    bool isRendering() const { return rendering_; }

protected:
    // No strip and no strip overlay.
    void createConveyorOverlay() override {}
    void setupConveyorOverlay() override {}

private:
    std::shared_ptr<UILabel> addCaption(const std::string& text, CGFloat x, CGFloat width, CGFloat controlMaxY);

    std::shared_ptr<QZSelectiveBrushProcessor> processor_;
    std::shared_ptr<QZSegmentedControl> brushSegmentedControl_;
    std::shared_ptr<QZSegmentedControl> eraserSegmentedControl_;
    std::vector<std::shared_ptr<UILabel>> captions_;
    QZColorSplashMode splashMode_ = QZColorSplashModeFree;
    bool rendering_ = false;
};
