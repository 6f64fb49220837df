#pragma once
// The focus (tilt-shift) effect: the image blurred everywhere but a sharp band or disc, with a
// Gaussian falloff between. The mask is at preview size on every path and stretched over the image.
// The preview blurs once and makes its mask once, then fills the mask again on every run.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include <functional>
#include <memory>

class QZOpenGLInstance;
class QZOpenGLInstanceRenderingObjects;

// Any value but Linear draws the radial mask.
enum QZTiltShiftStyle : std::int32_t {
    QZTiltShiftStyleRadial = 0,
    QZTiltShiftStyleLinear = 1,
};

class QZTiltShiftProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    using MaskAdjustBlock = std::function<void(const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& mask)>;
    static std::shared_ptr<QZTiltShiftProcessor> make()
    {
        return NSObject::create<QZTiltShiftProcessor>(&QZTiltShiftProcessor::init);
    }
    ~QZTiltShiftProcessor() override;

    // The focus centre and the falloff's width, in mask pixels; the band's direction in radians.
    CGPoint centerPoint() const { return centerPoint_; }
    void setCenterPoint(CGPoint point) { centerPoint_ = point; }
    float sigmaR() const { return sigmaR_; }
    void setSigmaR(float sigma) { sigmaR_ = sigma; }
    float angle() const { return angle_; }
    void setAngle(float angle) { angle_ = angle; }
    // Read when the block runs: the focus tool sets it from a GL-queue block queued before the
    // first run.
    CGSize maskSize() const { return maskSize_; }
    void setMaskSize(CGSize size) { maskSize_ = size; }
    QZTiltShiftStyle style() const { return style_; }
    void setStyle(QZTiltShiftStyle style) { style_ = style; }
    bool isHires() const { return isHires_; }
    void setIsHires(bool hires) { isHires_ = hires; }
    // Set for the live preview only; read when the block runs.
    const std::shared_ptr<QZOpenGLInstance>& glInstance() const { return glInstance_; }
    void setGlInstance(std::shared_ptr<QZOpenGLInstance> instance) { glInstance_ = std::move(instance); }
    // Called on the preview after the mask was filled, before the composite.
    const MaskAdjustBlock& postMaskAdjustBlock() const { return postMaskAdjustBlock_; }
    void setPostMaskAdjustBlock(MaskAdjustBlock block) { postMaskAdjustBlock_ = std::move(block); }
    // The preview's mask and blurred image. Read and written on the GPU queue.
    const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& maskTextureRenderingObjects() const
    {
        return maskTextureRenderingObjects_;
    }
    const std::shared_ptr<QZOpenGLInstanceRenderingObjects>& processedTextureRenderingObjects() const
    {
        return processedTextureRenderingObjects_;
    }

    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    CGPoint centerPoint_{0, 0};
    float sigmaR_ = 0;
    float angle_ = 0;
    CGSize maskSize_{0, 0};
    QZTiltShiftStyle style_ = QZTiltShiftStyleRadial;
    bool isHires_ = false;
    std::shared_ptr<QZOpenGLInstance> glInstance_;
    MaskAdjustBlock postMaskAdjustBlock_;
    std::shared_ptr<QZOpenGLInstanceRenderingObjects> maskTextureRenderingObjects_;
    std::shared_ptr<QZOpenGLInstanceRenderingObjects> processedTextureRenderingObjects_;

    struct Focus;
    void runPreview(QopBitmap_t* bitmap, const Focus& focus, int width, int height);
};
