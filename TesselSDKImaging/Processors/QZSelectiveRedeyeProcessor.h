#pragma once
// The red-eye brush: red pupils under the painted areas lose their red.

#include "TesselSDKImaging/Processors/QZSelectiveBrushProcessor.h"

class QZSelectiveRedeyeProcessor : public QZSelectiveBrushProcessor {
public:
    using QZSelectiveBrushProcessor::QZSelectiveBrushProcessor;
    static std::shared_ptr<QZSelectiveRedeyeProcessor> make()
    {
        return NSObject::create<QZSelectiveRedeyeProcessor>(&QZSelectiveRedeyeProcessor::init);
    }

    GLuint runQopPreprocessFunction(QopBitmap_t* bitmap) override;
    QopToolType qopCPUToolType() const override { return QopToolTypeRedEye; }
    bool effectedImageOnTop() const override { return false; }
    float brushAlpha() const override { return 0.5f; }
};
