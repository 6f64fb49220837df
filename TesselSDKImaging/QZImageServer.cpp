#include "TesselSDKImaging/QZImageServer.h"

#include "TesselSDKImaging/Modules/QZModule.h"
#include "TesselSDKImaging/Processors/QZStickerLayerProcessor.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"

#include <algorithm>
#include <cmath>

bool QZImageOrientationIsTurned(UIImageOrientation orientation)
{
    return orientation == UIImageOrientationLeft || orientation == UIImageOrientationRight ||
           orientation == UIImageOrientationLeftMirrored || orientation == UIImageOrientationRightMirrored;
}

QZImageServer::~QZImageServer()
{
    CGImageRelease(inputImage_);
}

CGImageRef QZImageServer::inputImage() const
{
    std::lock_guard lock(mutex_);
    return inputImage_;
}

void QZImageServer::setInputImage(CGImageRef image)
{
    std::lock_guard lock(mutex_);
    if (image == inputImage_) return;
    CGImageRetain(image);
    CGImageRelease(inputImage_);
    inputImage_ = image;
}

bool QZImageServer::initWithGLInstance(std::shared_ptr<QZOpenGLInstance> glInstance)
{
    setSize(glInstance ? glInstance->currentImageSize() : CGSize{0, 0});
    setScale(1.0f);
    setOriginalOrientation(UIImageOrientationUp);
    glInstance_ = std::move(glInstance);
    return true;
}

bool QZImageServer::initWithCGImage(CGImageRef image, CGFloat scale, UIImageOrientation orientation,
                                    std::shared_ptr<QZOpenGLInstance> glInstance, bool)
{
    // A picture thinner than a pixel at this scale keeps one pixel across: a side of 0 pixels has
    // no bitmap to draw into.
    setSize(CGSize{std::max<CGFloat>(1, std::floor(CGFloat(CGImageGetWidth(image)) * scale)),
                   std::max<CGFloat>(1, std::floor(CGFloat(CGImageGetHeight(image)) * scale))});
    setScale(scale);
    setInputImage(image);
    setOriginalOrientation(orientation);
    glInstance_ = std::move(glInstance);
    return true;
}

void QZImageServer::drawImage()
{
    drawImageWithOrientation(originalOrientation());
}

void QZImageServer::runModule(const std::shared_ptr<QZModule>& module, bool preprocess,
                              const dispatch_block_t& completion)
{
    if (module) {
        if (preprocess) module->preprocess(self<QZImageServer>());
        // Many stickers make one pass over the image rather than one each.
        for (const std::shared_ptr<QZProcessor>& processor :
             QZStickerLayerProcessor::gatheringStickers(module->processors()))
            runProcessor(processor);
    }
    if (completion) completion();
}
