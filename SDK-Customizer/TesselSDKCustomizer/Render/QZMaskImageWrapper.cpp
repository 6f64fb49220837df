#include "Render/QZMaskImageWrapper.h"

#include "Render/NSGraphicsContext.h"

namespace customizer {
namespace {

CGSize sizeOf(const NSImagePtr& image) { return image ? image->size() : CGSize{}; }

}  // namespace

QZMaskImageWrapper::QZMaskImageWrapper(std::string imageName, DrawBlock drawBlock)
    : imageName_(std::move(imageName)), drawBlock_(std::move(drawBlock))
{
}

QZMaskImageWrapperPtr QZMaskImageWrapper::wrapperWithImageName(std::string imageName, DrawBlock drawBlock)
{
    return std::make_shared<QZMaskImageWrapper>(std::move(imageName), std::move(drawBlock));
}

NSImagePtr QZMaskImageWrapper::retinaImage() const { return NSImage::imageNamed(imageName_ + "-retina.png"); }

NSImagePtr QZMaskImageWrapper::nonRetinaImage() const { return NSImage::imageNamed(imageName_ + ".png"); }

CGSize QZMaskImageWrapper::retinaSize() const { return sizeOf(retinaImage()); }

CGSize QZMaskImageWrapper::nonRetinaSize() const { return sizeOf(nonRetinaImage()); }

void QZMaskImageWrapper::drawRetina() const { draw(retinaImage()); }

void QZMaskImageWrapper::drawNonRetina() const { draw(nonRetinaImage()); }

void QZMaskImageWrapper::draw(const NSImagePtr& mask) const
{
    CGContextRef context = NSGraphicsContext::currentGraphicsPort();
    if (!context || !drawBlock_) return;
    CGSize size = sizeOf(mask);
    drawBlock_(mask, context, CGRectMake(0, 0, size.width, size.height));
}

NSImagePtr imageWithWrappers(const std::vector<QZMaskImageWrapperPtr>& wrappers, bool retina)
{
    CGSize size;
    if (!wrappers.empty() && wrappers.back()) size = retina ? wrappers.back()->retinaSize() : wrappers.back()->nonRetinaSize();
    return NSImage::imageWithSize(size, false, [&](CGRect) {
        for (const QZMaskImageWrapperPtr& wrapper : wrappers) {
            if (!wrapper) continue;
            if (retina) wrapper->drawRetina();
            else wrapper->drawNonRetina();
        }
        return true;
    });
}

std::array<NSImagePtr, 2> pixelPerfectImagesWithMaskImageWrappers(const std::vector<QZMaskImageWrapperPtr>& wrappers)
{
    return {imageWithWrappers(wrappers, true), imageWithWrappers(wrappers, false)};
}

}  // namespace customizer
