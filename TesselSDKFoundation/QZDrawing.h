#pragma once
// Hex colours and brightness, gradients, inner shadows, rounded masks and state helpers. The
// drawing functions draw into the current UIKit context unless a context is given. No state:
// safe on any queue.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CoreGraphics/CGContext.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"

enum QZLinearGradientDirection {
    QZLinearGradientDirectionHorizontal = 0,
    QZLinearGradientDirectionVertical = 1,
};

using QZCGStateBlock = std::function<void()>;

// An optional "#" or "x", then hexadecimal RGB (red in bits 16 to 23); alpha 1. Text without
// a number gives black.
std::shared_ptr<UIColor> QZUIColorWithHexString(const std::string& string);
// sqrt(0.241 r^2 + 0.691 g^2 + 0.68 b^2): the blue weight is 0.68 on purpose, so white gives
// about 1.27. Grey colours count as their RGB; nil and pattern colours give 0.
CGFloat QZUIColorGetBrightness(const std::shared_ptr<UIColor>& color);
// lightColor when the brightness is below 0.5, else darkColor.
std::shared_ptr<UIColor> QZUIColorGetContrastingColor(const std::shared_ptr<UIColor>& color,
                                                      const std::shared_ptr<UIColor>& darkColor,
                                                      const std::shared_ptr<UIColor>& lightColor);
// r, g, b times 1 - amount (amount clamped to 0..1), alpha kept; an RGB colour. Nil gives nil; a
// pattern colour is returned as it is.
std::shared_ptr<UIColor> QZUIColorByDarkeningColor(const std::shared_ptr<UIColor>& color, CGFloat amount);
// r, g, b times 1 + amount (clamped to 0..1; results above 1 are kept), alpha kept.
std::shared_ptr<UIColor> QZUIColorByLighteningColor(const std::shared_ptr<UIColor>& color, CGFloat amount);

// Device-RGB gradients of the colours; the caller releases them (CGGradientRelease). `locations`
// holds one location per colour or is null (even spread).
CGGradientRef QZCreateGradientWithColorsAtLocations(const std::vector<std::shared_ptr<UIColor>>& colors,
                                                    const CGFloat* locations);
// Locations i / (n - 1); a single colour sits at 0.
CGGradientRef QZCreateGradientWithColors(const std::vector<std::shared_ptr<UIColor>>& colors);
// Horizontal from (minX, minY) to (maxX, minY), vertical from (minX, minY) to (minX, maxY); the
// gradient fills the current clip. Other directions draw nothing.
void QZDrawLinearGradientInRectWithOptions(CGGradientRef gradient, CGRect rect, QZLinearGradientDirection direction,
                                           uint32_t options);
// With both ends extended.
void QZDrawLinearGradientInRect(CGGradientRef gradient, CGRect rect, QZLinearGradientDirection direction);
// Clipped to the path, over the path's bounding box.
void QZDrawLinearGradientInPath(CGGradientRef gradient, CGPathRef path, bool useEvenOddRule,
                                QZLinearGradientDirection direction);
// A shadow cast inwards from the path's edge: the outside is filled (even-odd, clipped to the
// path) with the shadow on. Nil colour means the default shadow colour and a black fill.
void QZDrawInnerShadowInPathWithColor(CGPathRef path, const std::shared_ptr<UIColor>& color, CGSize offset,
                                      CGFloat blurRadius);
void QZDrawInnerShadowInPath(CGPathRef path, CGSize offset, CGFloat blurRadius);
// An image of the rect's size, opaque white inside a rectangle with the four corner radii and
// transparent outside. The path is built in the bitmap's own space (y up), so radius_bl rounds
// the corner at the origin of that space. Nil when no bitmap can be made.
std::shared_ptr<UIImage> QZContextCreateRoundedMask(CGRect rect, CGFloat radius_tl, CGFloat radius_tr, CGFloat radius_bl,
                                                    CGFloat radius_br);
void QZCGContextDoWithTempState(CGContextRef context, const QZCGStateBlock& block);
void QZCGContextDoWithTransparencyLayer(CGContextRef context, const QZCGStateBlock& block);
