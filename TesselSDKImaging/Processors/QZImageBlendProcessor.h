#pragma once
// Bakes a drawn overlay (text, drawing) into the image: the overlay composited over the current
// image on the GPU. On the CPU the library has no composite and the image stays as it was.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include <cstdint>

class QZImageBlendProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZImageBlendProcessor> make()
    {
        return NSObject::create<QZImageBlendProcessor>(&QZImageBlendProcessor::init);
    }

    // The overlay's RGBA pixels, rows without gaps; not owned.
    const std::uint8_t* imageData() const { return imageData_; }
    void setImageData(const std::uint8_t* data) { imageData_ = data; }
    // The overlay's width and height in pixels (fractions are dropped).
    CGSize imageSize() const { return imageSize_; }
    void setImageSize(CGSize size) { imageSize_ = size; }

    // Copies the overlay's bytes now: later changes to them do not reach the block, which owns its
    // copy for its whole life and composites the same overlay at every run. Without pixels, or with
    // a size that is no pixel size, the block does nothing.
    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    const std::uint8_t* imageData_ = nullptr;
    CGSize imageSize_{0, 0};
};
