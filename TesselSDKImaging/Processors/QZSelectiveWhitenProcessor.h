#pragma once
// The whiten brush: yellowish teeth under the painted areas are whitened.

#include "TesselSDKImaging/Processors/QZSelectiveBrushProcessor.h"

class QZSelectiveWhitenProcessor : public QZSelectiveBrushProcessor {
public:
    using QZSelectiveBrushProcessor::QZSelectiveBrushProcessor;
    static std::shared_ptr<QZSelectiveWhitenProcessor> make()
    {
        return NSObject::create<QZSelectiveWhitenProcessor>(&QZSelectiveWhitenProcessor::init);
    }

    GLuint runQopPreprocessFunction(QopBitmap_t* bitmap) override;
    QopToolType qopCPUToolType() const override { return QopToolTypeWhiten; }
    bool effectedImageOnTop() const override { return false; }
    float brushAlpha() const override { return 0.5f; }
};
