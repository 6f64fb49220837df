#include "GLES/CAEAGLLayer.h"

#include <cmath>

namespace {

long wholePixels(CGFloat points, CGFloat scale)
{
    const double pixels = std::round(static_cast<double>(points) * static_cast<double>(scale));
    return pixels > 0 && pixels < 1e9 ? static_cast<long>(pixels) : 0;
}

}  // namespace

std::shared_ptr<CGImage> CAEAGLLayer::contents() const
{
    std::lock_guard lock(mutex_);
    return presented_;
}

void CAEAGLLayer::setContents(std::shared_ptr<CGImage> contents)
{
    {
        std::lock_guard lock(mutex_);
        presented_ = std::move(contents);
    }
    // From the GL thread as well: a host waiting for a change composites the new frame.
    CALayerNoteChangeFromAnyThread();
}

CGImageRef CAEAGLLayer::copyContents() const
{
    std::lock_guard lock(mutex_);
    return presented_ ? CGImageRetain(presented_.get()) : nullptr;
}

EAGLDrawablePixelSize CAEAGLLayer::drawablePixelSize() const
{
    CGRect b = bounds();
    CGFloat scale = contentsScale();
    return {wholePixels(b.size.width, scale), wholePixels(b.size.height, scale)};
}

void CAEAGLLayer::presentDrawableImage(CGImageRef image)
{
    setContents(std::shared_ptr<CGImage>(CGImageRetain(image), CGImageRelease));
}
