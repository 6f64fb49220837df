#pragma once
// Colour helpers of the customizer: hexadecimal colour strings, the colour entry of
// "Colors.plist", brightness shifts and measures. Nil colours (null pointers) go in and come out
// as the rules below say; no helper keeps state.

#include <optional>
#include <string>

#include "Render/NSColor.h"

namespace customizer {

// The colour entry of "Colors.plist": "hex" ("#" and six lowercase digits) and "alpha".
struct QZHexAndAlpha {
    std::string hex;
    CGFloat alpha;
    bool operator==(const QZHexAndAlpha&) const = default;
};

// The colour as a drawing colour; nullopt for nil.
std::optional<CGColor> QZCGColorFromNSColor(const NSColorPtr& color);
// Skips leading "#" and "x" characters, then reads one hexadecimal number (an optional "0x"
// first; saturating at 0xffffffff): red from bits 16-23, green 8-15, blue 0-7, each over 255 in
// single precision, alpha 1. Nil for a nil string or when no hexadecimal digit follows.
NSColorPtr QZNSColorWithHexString(const std::optional<std::string>& string);
// Each component clamped to 0..1, times 255, plus 0.5, truncated, written "%02x"; nullopt for nil.
std::optional<QZHexAndAlpha> QZHexAndAlphaDictWithNSColor(const NSColorPtr& color);
// The brightness plus delta, hue, saturation and alpha kept; the sum is handed on unclamped, and
// the colour made from it clamps it. Nil for nil.
NSColorPtr QZNSColorByShiftingBrightness(const NSColorPtr& color, CGFloat delta);
// sqrt(0.241 r^2 + 0.691 g^2 + 0.68 b^2) in single precision (the blue weight is 0.68, so white
// gives about 1.27); 0 for nil.
CGFloat QZNSColorGetBrightness(const NSColorPtr& color);
// lightColor when the colour's brightness is below 0.5, else darkColor.
NSColorPtr QZNSColorGetContrastingColor(const NSColorPtr& color, const NSColorPtr& darkColor, const NSColorPtr& lightColor);
// Red, green and blue times (1 - amount), amount clamped to 0..1, alpha kept; nil for nil.
NSColorPtr QZNSColorByDarkeningColor(const NSColorPtr& color, CGFloat amount);
// As darkening with the factor (1 + amount).
NSColorPtr QZNSColorByLighteningColor(const NSColorPtr& color, CGFloat amount);

}  // namespace customizer
