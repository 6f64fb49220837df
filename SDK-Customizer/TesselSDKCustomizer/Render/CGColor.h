#pragma once
// A drawing colour: sRGB components and alpha, not premultiplied. Calibrated, device and
// generic RGB are one space here, so no colour conversion happens anywhere in the customizer.

#include "Render/CGGeometry.h"

namespace customizer {

struct CGColor {
    CGFloat red = 0;
    CGFloat green = 0;
    CGFloat blue = 0;
    CGFloat alpha = 1;
    bool operator==(const CGColor&) const = default;
};

}  // namespace customizer
