#pragma once
// The blemish brush: the painted areas are blurred.

#include "TesselSDKImaging/Processors/QZSelectiveBrushProcessor.h"

class QZSelectiveBlurProcessor : public QZSelectiveBrushProcessor {
public:
    using QZSelectiveBrushProcessor::QZSelectiveBrushProcessor;
    static std::shared_ptr<QZSelectiveBlurProcessor> make()
    {
        return NSObject::create<QZSelectiveBlurProcessor>(&QZSelectiveBlurProcessor::init);
    }

    GLuint runQopPreprocessFunction(QopBitmap_t* bitmap) override;
    QopToolType qopCPUToolType() const override { return QopToolTypeBlemish; }
    bool effectedImageOnTop() const override { return false; }
    float brushAlpha() const override { return 0.5f; }
};
