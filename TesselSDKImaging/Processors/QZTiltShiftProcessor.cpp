#include "TesselSDKImaging/Processors/QZTiltShiftProcessor.h"

#include "TesselSDKImaging/QZOpenGLInstance.h"
#include "TesselSDKImaging/QZOpenGLInstanceRenderingObjects.h"
#include "TesselSDKImaging/QZPixelSize.h"

#include "Foundation/NSLog.h"
#include "QopLite/QopAlloc.h"
#include "QopLite/QopGLBitmapBlend.h"
#include "QopLite/QopGLConvolution.h"
#include "QopLite/QopGLMask.h"
#include "QopLite/QopMask.h"
#include "QopLite/QopTools.h"

#include <optional>

struct QZTiltShiftProcessor::Focus {
    CGPoint center;
    float sigmaR;
    float angle;
    QZTiltShiftStyle style;
    bool isHires;
    MaskAdjustBlock postMaskAdjust;

    bool linear() const { return style == QZTiltShiftStyleLinear; }

    void fill(GLuint maskID, int width, int height, QopGLData_t* glData) const
    {
        if (linear()) {
            QopGLMaskFillLinear(maskID, width, height, center.x, center.y, sigmaR, angle, glData);
        } else {
            QopGLMaskFillRadial(maskID, width, height, center.x, center.y, sigmaR, glData);
        }
    }
};

namespace {

// Whole mask pixels only for finite sides of at least 1: a NaN has no integer to become.
std::optional<QZPixelSize> maskPixels(CGSize size)
{
    const std::optional<QZPixelSize> pixels = QZPixelSizeFromCGSize(size);
    if (!pixels || pixels->width < 1 || pixels->height < 1) return std::nullopt;
    return pixels;
}

}  // namespace

QZTiltShiftProcessor::~QZTiltShiftProcessor()
{
    if (glInstance_ && maskTextureRenderingObjects_)
        glInstance_->destroyMaskRenderingObjects(maskTextureRenderingObjects_);
}

QZQopBitmapBlock QZTiltShiftProcessor::qopBitmapBlock() const
{
    auto processor = std::const_pointer_cast<QZTiltShiftProcessor>(self<QZTiltShiftProcessor>());
    const Focus focus{centerPoint_, sigmaR_, angle_, style_, isHires_, postMaskAdjustBlock_};
    return [processor, focus](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if (!bitmap || (stop && stop->load())) return;
        if (processor->isHires() && processor->glInstance()) {
            NSLog("%s %@", "-[QZTiltShiftProcessor qopBitmapBlock]_block_invoke",
                  "Should not have glinstance set if is hires b/c its not necessasry.");
        }
        const std::optional<QZPixelSize> mask = maskPixels(processor->maskSize());
        if (!mask) return;
        const int width = int(mask->width), height = int(mask->height);

        if (!bitmap->glData) {
            if (!bitmap->data) return;
            QopBitmap_t sizeOnly{nullptr, mask->width, mask->height, nullptr};
            QopBitmap_t maskBitmap{};
            if (!QopBitmapBuild(&maskBitmap, mask->width, mask->height)) return;
            if (focus.linear()) {
                QopMaskLinear(&sizeOnly, &maskBitmap, focus.center.x, focus.center.y, focus.sigmaR, focus.angle);
            } else {
                QopMaskRadial(&sizeOnly, &maskBitmap, focus.center.x, focus.center.y, focus.sigmaR);
            }
            QopToolDrawParams_t params;
            QopToolDrawParamsInit(&params);
            params.toolType = QopToolTypeTiltShift;
            QopToolRenderHiRes(bitmap, &maskBitmap, &params);
            QopBitmapFree(&maskBitmap);
            return;
        }

        if (focus.isHires) {
            GLuint maskID = 0;
            QopGLMaskCreate(&maskID, width, height, bitmap->glData);
            if (!maskID) return;
            focus.fill(maskID, width, height, bitmap->glData);
            QopConvolutionEffectBlurWithGLMask(bitmap, maskID);
            QopGLMaskDestroy(maskID);
            return;
        }
        processor->runPreview(bitmap, focus, width, height);
    };
}

void QZTiltShiftProcessor::runPreview(QopBitmap_t* bitmap, const Focus& focus, int width, int height)
{
    // The mask first: one that cannot be made leaves the image as it was.
    if (!maskTextureRenderingObjects_) {
        GLuint maskID = 0;
        QopGLMaskCreate(&maskID, width, height, bitmap->glData);
        if (!maskID) return;
        auto record = QZOpenGLInstanceRenderingObjects::make();
        record->setTextureID(maskID);
        maskTextureRenderingObjects_ = record;
    }
    if (!processedTextureRenderingObjects_) {
        auto record = QZOpenGLInstanceRenderingObjects::make();
        processedTextureRenderingObjects_ = record;
        GLuint blurred = 0;
        QopConvolutionEffectBlurProcess(bitmap, &blurred);
        record->setTextureID(blurred);
    }
    const GLuint maskID = maskTextureRenderingObjects_->textureID();
    focus.fill(maskID, width, height, bitmap->glData);
    if (focus.postMaskAdjust) focus.postMaskAdjust(maskTextureRenderingObjects_);
    QopGLBitmapDrawExistingProcessedTextureWithMaskTexture(bitmap, processedTextureRenderingObjects_->textureID(),
                                                           maskID, false);
}
