#pragma once
// The red-eye brush: strokes over red pupils take the red out of them, leaving them dark.

#include "TesselSDK/tools/brush/QZSelectiveBrushViewController.h"

class QZRedeyeViewController : public QZSelectiveBrushViewController {
public:
    using QZSelectiveBrushViewController::QZSelectiveBrushViewController;

    using QZSelectiveBrushViewController::initWithGLInstance;
    // With a QZSelectiveRedeyeProcessor.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance) override;

    // "editor.tool.redeye".
    std::string customizationKeyPath() const override;
    // Then the screen "Redeye".
    void viewDidAppear(bool animated) override;
};
