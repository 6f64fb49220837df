#include "TesselSDKFoundation/QZDrawing.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "UIKit/UIGraphics.h"

namespace {

// What a scanner that skips "#" and "x" and then scans a hexadecimal unsigned int reads: an
// optional "0x", then hex digits, saturating on overflow; 0 when no digit follows.
uint32_t scanHexInt(const std::string& text)
{
    size_t i = text.find_first_not_of("#x");
    if (i == std::string::npos) return 0;
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        if (i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 2]))) i += 2;
    }
    uint64_t v = 0;
    for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
        char c = text[i];
        unsigned digit = c <= '9' ? unsigned(c - '0') : unsigned((c | 0x20) - 'a' + 10);
        v = std::min<uint64_t>(v * 16 + digit, UINT32_MAX);
    }
    return uint32_t(v);
}

// The colour's RGBA; grey colours are spread to RGB (reading their two components as four
// would run past the end).
bool rgbaOf(const std::shared_ptr<UIColor>& color, CGFloat rgba[4])
{
    return color && color->getRed(&rgba[0], &rgba[1], &rgba[2], &rgba[3]);
}

std::shared_ptr<UIColor> scaled(const std::shared_ptr<UIColor>& color, CGFloat factor)
{
    CGFloat c[4];
    if (!color) return nullptr;
    if (!rgbaOf(color, c)) return color;
    return UIColor::colorWithRed(c[0] * factor, c[1] * factor, c[2] * factor, c[3]);
}

}  // namespace

std::shared_ptr<UIColor> QZUIColorWithHexString(const std::string& string)
{
    uint32_t v = scanHexInt(string);
    return UIColor::colorWithRed(CGFloat((v >> 16) & 255) / 255, CGFloat((v >> 8) & 255) / 255, CGFloat(v & 255) / 255, 1.0f);
}

CGFloat QZUIColorGetBrightness(const std::shared_ptr<UIColor>& color)
{
    CGFloat c[4];
    if (!rgbaOf(color, c)) return 0;
    return std::sqrt(0.241f * c[0] * c[0] + 0.691f * c[1] * c[1] + 0.68f * c[2] * c[2]);
}

std::shared_ptr<UIColor> QZUIColorGetContrastingColor(const std::shared_ptr<UIColor>& color,
                                                      const std::shared_ptr<UIColor>& darkColor,
                                                      const std::shared_ptr<UIColor>& lightColor)
{
    return QZUIColorGetBrightness(color) < 0.5f ? lightColor : darkColor;
}

std::shared_ptr<UIColor> QZUIColorByDarkeningColor(const std::shared_ptr<UIColor>& color, CGFloat amount)
{
    return scaled(color, 1 - std::clamp(amount, CGFloat(0), CGFloat(1)));
}

std::shared_ptr<UIColor> QZUIColorByLighteningColor(const std::shared_ptr<UIColor>& color, CGFloat amount)
{
    return scaled(color, 1 + std::clamp(amount, CGFloat(0), CGFloat(1)));
}

CGGradientRef QZCreateGradientWithColorsAtLocations(const std::vector<std::shared_ptr<UIColor>>& colors,
                                                    const CGFloat* locations)
{
    std::vector<CGColorRef> cgColors;
    for (const auto& color : colors) cgColors.push_back(color ? color->CGColor() : nullptr);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGGradientRef gradient = CGGradientCreateWithColors(space, cgColors, locations);
    CGColorSpaceRelease(space);
    return gradient;
}

CGGradientRef QZCreateGradientWithColors(const std::vector<std::shared_ptr<UIColor>>& colors)
{
    // n - 1 spaces between n colours; one colour has none and sits at 0.
    size_t n = colors.size();
    std::vector<CGFloat> locations(n);
    for (size_t i = 0; i < n; ++i) locations[i] = n == 1 ? 0 : CGFloat(i) / CGFloat(n - 1);
    return QZCreateGradientWithColorsAtLocations(colors, locations.data());
}

void QZDrawLinearGradientInRectWithOptions(CGGradientRef gradient, CGRect rect, QZLinearGradientDirection direction,
                                           uint32_t options)
{
    CGPoint start = CGPointMake(CGRectGetMinX(rect), CGRectGetMinY(rect)), end;
    switch (direction) {
    case QZLinearGradientDirectionHorizontal: end = CGPointMake(CGRectGetMaxX(rect), CGRectGetMinY(rect)); break;
    case QZLinearGradientDirectionVertical: end = CGPointMake(CGRectGetMinX(rect), CGRectGetMaxY(rect)); break;
    default: return;
    }
    CGContextDrawLinearGradient(UIGraphicsGetCurrentContext(), gradient, start, end, options);
}

void QZDrawLinearGradientInRect(CGGradientRef gradient, CGRect rect, QZLinearGradientDirection direction)
{
    QZDrawLinearGradientInRectWithOptions(gradient, rect, direction,
                                          kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
}

void QZDrawLinearGradientInPath(CGGradientRef gradient, CGPathRef path, bool useEvenOddRule,
                                QZLinearGradientDirection direction)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    CGContextSaveGState(context);
    CGContextAddPath(context, path);
    if (useEvenOddRule)
        CGContextEOClip(context);
    else
        CGContextClip(context);
    QZDrawLinearGradientInRect(gradient, CGPathGetBoundingBox(path), direction);
    CGContextRestoreGState(context);
}

void QZDrawInnerShadowInPathWithColor(CGPathRef path, const std::shared_ptr<UIColor>& color, CGSize offset,
                                      CGFloat blurRadius)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || CGPathIsEmpty(path)) return;
    CGContextSaveGState(context);
    CGContextAddPath(context, path);
    CGContextClip(context);

    CGMutablePathRef outside = CGPathCreateMutable();
    CGPathAddRect(outside, nullptr, CGRectInset(CGPathGetBoundingBox(path), -9999, -9999));
    CGPathCloseSubpath(outside);
    // The hole is the path grown by one point overall and centred again, so the shadow starts
    // just inside the edge. A flat path (zero width or height) keeps its size on that axis.
    CGSize size = CGPathGetBoundingBox(path).size;
    CGFloat sx = size.width > 0 ? (1 + size.width) / size.width : 1;
    CGFloat sy = size.height > 0 ? (1 + size.height) / size.height : 1;
    CGAffineTransform grow = CGAffineTransformConcat(CGAffineTransformMakeScale(sx, sy), CGAffineTransformMakeTranslation(-0.5f, -0.5f));
    CGPathMoveToPoint(outside, nullptr, 0, 0);
    CGPathAddPath(outside, &grow, path);
    CGPathCloseSubpath(outside);

    if (color)
        CGContextSetShadowWithColor(context, offset, blurRadius, color->CGColor());
    else
        CGContextSetShadow(context, offset, blurRadius);
    CGContextSetFillColorWithColor(context, (color ? color : UIColor::blackColor())->CGColor());
    CGContextAddPath(context, outside);
    CGContextEOFillPath(context);
    CGPathRelease(outside);
    CGContextRestoreGState(context);
}

void QZDrawInnerShadowInPath(CGPathRef path, CGSize offset, CGFloat blurRadius)
{
    QZDrawInnerShadowInPathWithColor(path, nullptr, offset, blurRadius);
}

std::shared_ptr<UIImage> QZContextCreateRoundedMask(CGRect rect, CGFloat radius_tl, CGFloat radius_tr, CGFloat radius_bl,
                                                    CGFloat radius_br)
{
    CGFloat w = rect.size.width, h = rect.size.height;
    if (!(w >= 1) || !(h >= 1)) return nullptr;
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(nullptr, size_t(w), size_t(h), 8, 4 * size_t(w), space, kCGImageAlphaPremultipliedLast);
    CGColorSpaceRelease(space);
    if (!context) return nullptr;
    CGContextSetRGBFillColor(context, 1, 1, 1, 0);
    CGContextFillRect(context, rect);
    CGFloat minX = CGRectGetMinX(rect), midX = CGRectGetMidX(rect), maxX = CGRectGetMaxX(rect);
    CGFloat minY = CGRectGetMinY(rect), midY = CGRectGetMidY(rect), maxY = CGRectGetMaxY(rect);
    CGContextMoveToPoint(context, minX, midY);
    CGContextAddArcToPoint(context, minX, minY, midX, minY, radius_bl);
    CGContextAddArcToPoint(context, maxX, minY, maxX, midY, radius_br);
    CGContextAddArcToPoint(context, maxX, maxY, midX, maxY, radius_tr);
    CGContextAddArcToPoint(context, minX, maxY, minX, midY, radius_tl);
    CGContextClosePath(context);
    CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    CGContextFillPath(context);
    CGImageRef image = CGBitmapContextCreateImage(context);
    CGContextRelease(context);
    std::shared_ptr<UIImage> mask = UIImage::imageWithCGImage(image);
    CGImageRelease(image);
    return mask;
}

void QZCGContextDoWithTempState(CGContextRef context, const QZCGStateBlock& block)
{
    CGContextSaveGState(context);
    if (block) block();
    CGContextRestoreGState(context);
}

void QZCGContextDoWithTransparencyLayer(CGContextRef context, const QZCGStateBlock& block)
{
    CGContextBeginTransparencyLayer(context, nullptr);
    if (block) block();
    CGContextEndTransparencyLayer(context);
}
