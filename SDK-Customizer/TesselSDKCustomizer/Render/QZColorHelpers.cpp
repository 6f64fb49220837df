#include "Render/QZColorHelpers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace customizer {
namespace {

std::optional<uint32_t> scanHexInt(const std::string& text)
{
    size_t i = text.find_first_not_of("#x");
    if (i == std::string::npos) return std::nullopt;
    auto isHex = [&](size_t at) { return at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at])); };
    if ((text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) && isHex(i + 2)) i += 2;
    if (!isHex(i)) return std::nullopt;
    uint64_t value = 0;
    for (; isHex(i); ++i) {
        char c = text[i];
        unsigned digit = c <= '9' ? unsigned(c - '0') : unsigned((c | 0x20) - 'a' + 10);
        value = std::min<uint64_t>(value * 16 + digit, UINT32_MAX);
    }
    return uint32_t(value);
}

NSColorPtr scaled(const NSColorPtr& color, CGFloat factor)
{
    if (!color) return nullptr;
    return NSColor::colorWithCalibratedRed(color->redComponent() * factor, color->greenComponent() * factor,
                                           color->blueComponent() * factor, color->alphaComponent());
}

}  // namespace

std::optional<CGColor> QZCGColorFromNSColor(const NSColorPtr& color)
{
    if (!color) return std::nullopt;
    return color->CGColor();
}

NSColorPtr QZNSColorWithHexString(const std::optional<std::string>& string)
{
    if (!string) return nullptr;
    std::optional<uint32_t> value = scanHexInt(*string);
    if (!value) return nullptr;
    auto component = [&](int shift) { return CGFloat(float((*value >> shift) & 255) / 255.0f); };
    return NSColor::colorWithCalibratedRed(component(16), component(8), component(0), 1.0);
}

std::optional<QZHexAndAlpha> QZHexAndAlphaDictWithNSColor(const NSColorPtr& color)
{
    if (!color) return std::nullopt;
    // A component outside 0..1 would print more than two digits ("ffffffef" for -0.07) and
    // make an entry the editor misreads; colours are clamped when made, and so is this.
    auto digits = [](CGFloat component) { return unsigned(std::clamp(component, 0.0, 1.0) * 255 + 0.5); };
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", digits(color->redComponent()), digits(color->greenComponent()),
                  digits(color->blueComponent()));
    return QZHexAndAlpha{hex, color->alphaComponent()};
}

NSColorPtr QZNSColorByShiftingBrightness(const NSColorPtr& color, CGFloat delta)
{
    if (!color) return nullptr;
    CGFloat hue, saturation, brightness, alpha;
    color->getHue(&hue, &saturation, &brightness, &alpha);
    return NSColor::colorWithDeviceHue(hue, saturation, brightness + delta, alpha);
}

CGFloat QZNSColorGetBrightness(const NSColorPtr& color)
{
    if (!color) return 0;
    float r = float(color->redComponent()), g = float(color->greenComponent()), b = float(color->blueComponent());
    return std::sqrt(0.241f * r * r + 0.691f * g * g + 0.68f * b * b);
}

NSColorPtr QZNSColorGetContrastingColor(const NSColorPtr& color, const NSColorPtr& darkColor, const NSColorPtr& lightColor)
{
    return QZNSColorGetBrightness(color) < 0.5 ? lightColor : darkColor;
}

NSColorPtr QZNSColorByDarkeningColor(const NSColorPtr& color, CGFloat amount)
{
    return scaled(color, 1 - std::clamp(amount, 0.0, 1.0));
}

NSColorPtr QZNSColorByLighteningColor(const NSColorPtr& color, CGFloat amount)
{
    return scaled(color, 1 + std::clamp(amount, 0.0, 1.0));
}

}  // namespace customizer
