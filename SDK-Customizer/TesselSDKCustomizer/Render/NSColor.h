#pragma once
// Colours of the customizer: sRGB components and alpha as doubles, immutable, shared. Every
// component is clamped to 0..1 when a colour is made, as the platform's colours are, so a
// brightness shift past white or black gives white or black. Hue, saturation and brightness
// are the usual HSB reading of the RGB components. A null pointer is the nil colour.

#include <memory>
#include <string>

#include "Render/CGColor.h"

namespace customizer {

class NSColor;
using NSColorPtr = std::shared_ptr<const NSColor>;

class NSColor {
public:
    struct Token {};
    NSColor(Token, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);

    static NSColorPtr colorWithCalibratedRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static NSColorPtr colorWithDeviceRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static NSColorPtr colorWithCalibratedWhite(CGFloat white, CGFloat alpha);
    // Hue 0..1 around the circle (1 is red again).
    static NSColorPtr colorWithDeviceHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha);
    static NSColorPtr blackColor() { return colorWithCalibratedWhite(0, 1); }
    static NSColorPtr whiteColor() { return colorWithCalibratedWhite(1, 1); }

    CGFloat redComponent() const { return red_; }
    CGFloat greenComponent() const { return green_; }
    CGFloat blueComponent() const { return blue_; }
    CGFloat alphaComponent() const { return alpha_; }
    void getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const;
    void getHue(CGFloat* hue, CGFloat* saturation, CGFloat* brightness, CGFloat* alpha) const;

    NSColorPtr colorWithAlphaComponent(CGFloat alpha) const;
    customizer::CGColor CGColor() const { return {red_, green_, blue_, alpha_}; }

    bool isEqual(const NSColor& other) const;
    // "NSColor(r g b a)", for test messages and logs.
    std::string description() const;

private:
    CGFloat red_, green_, blue_, alpha_;
};

}  // namespace customizer
