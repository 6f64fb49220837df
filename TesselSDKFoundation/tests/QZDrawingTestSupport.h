#pragma once
// Draws into a UIKit image context of scale 1 and hands back its pixels (row 0 at the top).

#include <array>
#include <functional>
#include <memory>

#include "CoreGraphics/CGImage.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"

using RGBA = std::array<uint8_t, 4>;

inline RGBA pixelOf(CGImageRef image, size_t x, size_t y)
{
    const uint8_t* p = CGImageGetBytes(image) + y * CGImageGetBytesPerRow(image) + x * 4;
    return {p[0], p[1], p[2], p[3]};
}

inline std::shared_ptr<UIImage> drawImage(CGSize size, CGFloat scale, const std::function<void(CGContextRef)>& draw)
{
    UIGraphicsBeginImageContextWithOptions(size, false, scale);
    draw(UIGraphicsGetCurrentContext());
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}
