#include "GLES/CAEAGLLayer.h"

#include <cmath>

namespace {

long wholePixels(CGFloat points, CGFloat scale)
{
    const double pixels = std::round(static_cast<double>(points) * static_cast<double>(scale));
    return pixels > 0 && pixels < 1e9 ? static_cast<long>(pixels) : 0;
}

}  // namespace

CGRect CAEAGLLayer::bounds() const
{
    std::lock_guard lock(mutex_);
    return bounds_;
}

void CAEAGLLayer::setBounds(CGRect bounds)
{
    std::lock_guard lock(mutex_);
    bounds_ = bounds;
}

CGFloat CAEAGLLayer::contentsScale() const
{
    std::lock_guard lock(mutex_);
    return contentsScale_;
}

void CAEAGLLayer::setContentsScale(CGFloat scale)
{
    std::lock_guard lock(mutex_);
    contentsScale_ = scale;
}

bool CAEAGLLayer::isOpaque() const
{
    std::lock_guard lock(mutex_);
    return opaque_;
}

void CAEAGLLayer::setOpaque(bool opaque)
{
    std::lock_guard lock(mutex_);
    opaque_ = opaque;
}

std::shared_ptr<CGImage> CAEAGLLayer::contents() const
{
    std::lock_guard lock(mutex_);
    return contents_;
}

void CAEAGLLayer::setContents(std::shared_ptr<CGImage> contents)
{
    std::lock_guard lock(mutex_);
    contents_ = std::move(contents);
}

EAGLDrawablePixelSize CAEAGLLayer::drawablePixelSize() const
{
    std::lock_guard lock(mutex_);
    return {wholePixels(bounds_.size.width, contentsScale_), wholePixels(bounds_.size.height, contentsScale_)};
}

void CAEAGLLayer::presentDrawableImage(CGImageRef image)
{
    setContents(std::shared_ptr<CGImage>(CGImageRetain(image), CGImageRelease));
}
