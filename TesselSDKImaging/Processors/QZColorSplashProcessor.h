#pragma once
// Colour splash: the image turns grey except where strokes are painted, which keep their colour.

#include "TesselSDKImaging/Processors/QZSelectiveBrushProcessor.h"

class QZColorSplashProcessor : public QZSelectiveBrushProcessor {
public:
    using QZSelectiveBrushProcessor::QZSelectiveBrushProcessor;
    static std::shared_ptr<QZColorSplashProcessor> make()
    {
        return NSObject::create<QZColorSplashProcessor>(&QZColorSplashProcessor::init);
    }

    GLuint runQopPreprocessFunction(QopBitmap_t* bitmap) override;
    QopToolType qopCPUToolType() const override { return QopToolTypeColorSplash; }
};
