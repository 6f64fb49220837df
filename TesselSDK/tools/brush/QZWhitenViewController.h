#pragma once
// The whiten brush: strokes whiten yellowish teeth under them.

#include "TesselSDK/tools/brush/QZSelectiveBrushViewController.h"

class QZWhitenViewController : public QZSelectiveBrushViewController {
public:
    using QZSelectiveBrushViewController::QZSelectiveBrushViewController;

    using QZSelectiveBrushViewController::initWithGLInstance;
    // With a QZSelectiveWhitenProcessor.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance) override;

    // "editor.tool.whiten".
    std::string customizationKeyPath() const override;
    // Then the screen "Whiten".
    void viewDidAppear(bool animated) override;
};
