#pragma once
// The blemish brush: strokes blur what they pass over, smoothing spots away.

#include "TesselSDK/tools/brush/QZSelectiveBrushViewController.h"

class QZBlemishViewController : public QZSelectiveBrushViewController {
public:
    using QZSelectiveBrushViewController::QZSelectiveBrushViewController;

    using QZSelectiveBrushViewController::initWithGLInstance;
    // With a QZSelectiveBlurProcessor.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance) override;

    // "editor.tool.blemish".
    std::string customizationKeyPath() const override;
    // Then the screen "Blemish".
    void viewDidAppear(bool animated) override;
};
