#include "TesselSDKImaging/Processors/QZImageBlendProcessor.h"

#include "QopLite/QopBitmap.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace {

// A side in whole pixels: at least one, and small enough that width x height x 4 bytes is a size.
std::optional<std::size_t> pixelSide(CGFloat side)
{
    constexpr CGFloat kLargest = 1 << 20;
    if (!std::isfinite(side) || side < 1 || side >= kLargest) return std::nullopt;
    return std::size_t(side);
}

}  // namespace

QZQopBitmapBlock QZImageBlendProcessor::qopBitmapBlock() const
{
    const std::optional<std::size_t> width = pixelSide(imageSize_.width);
    const std::optional<std::size_t> height = pixelSide(imageSize_.height);
    if (!imageData_ || !width || !height) return [](QopBitmap_t*, const std::atomic<bool>*) {};

    // Shared by the copies of the block, freed with the last of them.
    auto overlay = std::make_shared<std::vector<QopColor_t>>(*width * *height);
    std::memcpy(overlay->data(), imageData_, overlay->size() * sizeof(QopColor_t));
    return [overlay, width = *width, height = *height](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if (!bitmap || (stop && stop->load())) return;
        QopBitmap_t source{overlay->data(), width, height, bitmap->glData};
        QopBitmapEffectBitmapComposite(bitmap, &source);
    };
}
