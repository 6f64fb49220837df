// Turning stored pixels upright, for the callers that take pictures so.
#include "ImageIO/ImageIOCodec.h"

#include <cstdint>
#include <cstring>

bool ImageIOOrientationSwapsSides(ImageIOOrientation orientation)
{
    return orientation == ImageIOOrientation::LeftMirrored || orientation == ImageIOOrientation::Right ||
           orientation == ImageIOOrientation::RightMirrored || orientation == ImageIOOrientation::Left;
}

void ImageIOTurnPixels(const void* stored, std::size_t width, std::size_t height, std::size_t bytesPerRow,
                       ImageIOOrientation orientation, void* upright)
{
    const auto* from = static_cast<const std::uint8_t*>(stored);
    auto* to = static_cast<std::uint8_t*>(upright);
    if (bytesPerRow == 0) bytesPerRow = width * 4;
    const bool swaps = ImageIOOrientationSwapsSides(orientation);
    const std::size_t uprightWidth = swaps ? height : width;
    // Where stored pixel (x, y) shows: each stored row becomes a row or a column of the picture.
    auto place = [&](std::size_t x, std::size_t y, std::size_t* ux, std::size_t* uy) {
        switch (orientation) {
        case ImageIOOrientation::Up: *ux = x, *uy = y; break;
        case ImageIOOrientation::UpMirrored: *ux = width - 1 - x, *uy = y; break;
        case ImageIOOrientation::Down: *ux = width - 1 - x, *uy = height - 1 - y; break;
        case ImageIOOrientation::DownMirrored: *ux = x, *uy = height - 1 - y; break;
        case ImageIOOrientation::LeftMirrored: *ux = y, *uy = x; break;
        case ImageIOOrientation::Right: *ux = height - 1 - y, *uy = x; break;
        case ImageIOOrientation::RightMirrored: *ux = height - 1 - y, *uy = width - 1 - x; break;
        case ImageIOOrientation::Left: *ux = y, *uy = width - 1 - x; break;
        }
    };
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* row = from + y * bytesPerRow;
        for (std::size_t x = 0; x < width; ++x) {
            std::size_t ux = 0, uy = 0;
            place(x, y, &ux, &uy);
            std::memcpy(to + (uy * uprightWidth + ux) * 4, row + x * 4, 4);
        }
    }
}
