#include "Render/NSColor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace customizer {
namespace {

// NaN counts as 0, so a colour never carries one into Cairo or a colour file.
CGFloat clampUnit(CGFloat v) { return std::isnan(v) ? 0 : std::clamp(v, 0.0, 1.0); }

}  // namespace

NSColor::NSColor(Token, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
    : red_(clampUnit(red)), green_(clampUnit(green)), blue_(clampUnit(blue)), alpha_(clampUnit(alpha))
{
}

NSColorPtr NSColor::colorWithCalibratedRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    return std::make_shared<const NSColor>(Token{}, red, green, blue, alpha);
}

NSColorPtr NSColor::colorWithDeviceRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    return colorWithCalibratedRed(red, green, blue, alpha);
}

NSColorPtr NSColor::colorWithCalibratedWhite(CGFloat white, CGFloat alpha)
{
    return colorWithCalibratedRed(white, white, white, alpha);
}

NSColorPtr NSColor::colorWithDeviceHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha)
{
    CGFloat h = clampUnit(hue), s = clampUnit(saturation), v = clampUnit(brightness);
    CGFloat sector = h * 6;
    if (sector >= 6) sector = 0;
    int i = int(std::floor(sector));
    CGFloat f = sector - i;
    CGFloat p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
    case 0: return colorWithCalibratedRed(v, t, p, alpha);
    case 1: return colorWithCalibratedRed(q, v, p, alpha);
    case 2: return colorWithCalibratedRed(p, v, t, alpha);
    case 3: return colorWithCalibratedRed(p, q, v, alpha);
    case 4: return colorWithCalibratedRed(t, p, v, alpha);
    default: return colorWithCalibratedRed(v, p, q, alpha);
    }
}

void NSColor::getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const
{
    if (red) *red = red_;
    if (green) *green = green_;
    if (blue) *blue = blue_;
    if (alpha) *alpha = alpha_;
}

void NSColor::getHue(CGFloat* hue, CGFloat* saturation, CGFloat* brightness, CGFloat* alpha) const
{
    CGFloat max = std::max({red_, green_, blue_}), min = std::min({red_, green_, blue_});
    CGFloat delta = max - min;
    CGFloat h = 0;
    if (delta > 0) {
        if (max == red_) h = (green_ - blue_) / delta;
        else if (max == green_) h = 2 + (blue_ - red_) / delta;
        else h = 4 + (red_ - green_) / delta;
        h /= 6;
        if (h < 0) h += 1;
    }
    if (hue) *hue = h;
    if (saturation) *saturation = max > 0 ? delta / max : 0;
    if (brightness) *brightness = max;
    if (alpha) *alpha = alpha_;
}

NSColorPtr NSColor::colorWithAlphaComponent(CGFloat alpha) const
{
    return colorWithCalibratedRed(red_, green_, blue_, alpha);
}

bool NSColor::isEqual(const NSColor& other) const
{
    return red_ == other.red_ && green_ == other.green_ && blue_ == other.blue_ && alpha_ == other.alpha_;
}

std::string NSColor::description() const
{
    char text[96];
    std::snprintf(text, sizeof text, "NSColor(%.4f %.4f %.4f %.4f)", red_, green_, blue_, alpha_);
    return text;
}

}  // namespace customizer
