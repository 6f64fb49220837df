#pragma once
// One named layer of a layered image that is drawn at two resolutions: its mask is the resource
// image "<name>.png" for the non-retina image and "<name>-retina.png" (twice the size) for the
// retina one, looked up again at every call.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Render/CGContext.h"
#include "Render/NSImage.h"

namespace customizer {

class QZMaskImageWrapper;
using QZMaskImageWrapperPtr = std::shared_ptr<QZMaskImageWrapper>;

class QZMaskImageWrapper {
public:
    // Draws the layer with its mask (null when missing) into the rectangle of the mask's size.
    using DrawBlock = std::function<void(const NSImagePtr& mask, CGContextRef context, CGRect rect)>;

    QZMaskImageWrapper(std::string imageName, DrawBlock drawBlock);
    static QZMaskImageWrapperPtr wrapperWithImageName(std::string imageName, DrawBlock drawBlock);

    const std::string& imageName() const { return imageName_; }
    void setImageName(std::string imageName) { imageName_ = std::move(imageName); }
    const DrawBlock& drawBlock() const { return drawBlock_; }
    void setDrawBlock(DrawBlock drawBlock) { drawBlock_ = std::move(drawBlock); }

    NSImagePtr retinaImage() const;
    NSImagePtr nonRetinaImage() const;
    // Zero for a missing mask.
    CGSize retinaSize() const;
    CGSize nonRetinaSize() const;

    // Into the current context; nothing without one.
    void drawRetina() const;
    void drawNonRetina() const;

private:
    void draw(const NSImagePtr& mask) const;

    std::string imageName_;
    DrawBlock drawBlock_;
};

// An unflipped image of the last wrapper's size at that resolution (zero for an empty list), the
// wrappers drawn in order, first lowest.
NSImagePtr imageWithWrappers(const std::vector<QZMaskImageWrapperPtr>& wrappers, bool retina);
// [retina image, non-retina image].
std::array<NSImagePtr, 2> pixelPerfectImagesWithMaskImageWrappers(const std::vector<QZMaskImageWrapperPtr>& wrappers);

}  // namespace customizer
