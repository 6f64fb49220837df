#include "Generators/QZCameraImages.h"

#include <cmath>

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

namespace {

NSImagePtr shadowedMark(const std::string& prefix, const NSColorPtr& coreColor, const NSColorPtr& dropShadowColor)
{
    NSImagePtr core = mask(prefix + "_core.png");
    NSImagePtr dropShadow = mask(prefix + "_drop_shadow.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, dropShadow, dropShadowColor, rect);
        solid(context, core, coreColor, rect);
    });
}

}  // namespace

NSImagePtr cameraButtonBackgroundImageWithColors(const std::string& shapeName, const NSColorPtr& barColor,
                                                 const NSColorPtr& outerStrokeColor, const NSColorPtr& innerStrokeColor,
                                                 bool active, bool rim)
{
    NSImagePtr core = mask(shapeName + "_core.png");
    NSImagePtr shadow = mask(shapeName + "_shadow.png");
    NSImagePtr stroke = mask(shapeName + "_stroke.png");
    NSImagePtr dropShadow = mask(shapeName + "_drop_shadow.png");
    NSImagePtr rimMask = mask(shapeName + "_rim.png");
    NSImagePtr pressed = mask(shapeName + "_pressed.png");
    return layeredImage(sizeOf(rimMask), [&](CGContextRef context, CGRect rect) {
        if (rim) gradient(context, rimMask, shift(barColor, -0.06), shift(barColor, 0.06), rect);
        if (!active) solid(context, dropShadow, black(1), rect);
        solid(context, stroke, outerStrokeColor, rect);
        if (active) solid(context, core, shift(barColor, -0.15), rect);
        else gradient(context, core, shift(barColor, -0.03), shift(barColor, -0.11), rect);
        if (active) solid(context, pressed, black(1), rect);
        else solid(context, shadow, innerStrokeColor, rect);
    });
}

NSImagePtr stretchableCameraCancelButtonWithColorsSizeAndScale(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                               const NSColorPtr&, bool active, bool rim)
{
    NSImagePtr core = mask("button_core.png");
    NSImagePtr pressed = mask("button_pressed.png");
    NSImagePtr shadow = mask("button_shadow.png");
    NSImagePtr stroke = mask("button_stroke.png");
    NSImagePtr rimMask = mask("cancel_rim.png");
    CGSize size = sizeOf(rimMask);
    return layeredImage(size, [&](CGContextRef context, CGRect rect) {
        if (rim) gradient(context, rimMask, shift(barColor, -0.06), shift(barColor, 0.06), rect);
        float ratio = float(size.width / sizeOf(core).width);
        CGSize buttonSize = CGSizeMake(float(size.width / ratio), float(size.height / ratio));
        // Without a core mask the ratio has no meaning and the button has no place to go.
        if (!(std::isfinite(buttonSize.width) && std::isfinite(buttonSize.height))) return;
        CGRect button = CGRectMake(CGRectGetMidX(rect) - buttonSize.width / 2, CGRectGetMidY(rect) - buttonSize.height / 2,
                                   buttonSize.width, buttonSize.height);
        solid(context, stroke, outerStrokeColor, button);
        if (active) {
            gradient(context, core, shift(barColor, -0.06), shift(barColor, 0.06), button);
            solid(context, pressed, black(1), button);
        } else {
            gradient(context, core, shift(barColor, 0.06), shift(barColor, -0.06), button);
            overlay(context, [&] { solid(context, shadow, white(1), button); });
        }
    });
}

NSImagePtr cameraGalleryButtonRim(const std::string& sizeName, const NSColorPtr& barColor, bool retina)
{
    NSImagePtr rimMask = mask("thumb-rim-" + sizeName + (retina ? "-retina" : "") + ".png");
    return layeredImage(sizeOf(rimMask), [&](CGContextRef context, CGRect rect) {
        gradient(context, rimMask, shift(barColor, -0.06), shift(barColor, 0.06), rect);
    });
}

NSImagePtr cameraGalleryButtonOverlay(const std::string& sizeName, const NSColorPtr& outerStrokeColor,
                                      const NSColorPtr& innerStrokeColor, bool insetInOuterColor, bool retina)
{
    std::string suffix = sizeName + (retina ? "-retina" : "") + ".png";
    NSImagePtr stroke = mask("swap-stroke-" + suffix);
    NSImagePtr inset = mask("swap-inset-" + suffix);
    return layeredImage(sizeOf(stroke), [&](CGContextRef context, CGRect rect) {
        solid(context, inset, insetInOuterColor ? outerStrokeColor : innerStrokeColor, rect);
        solid(context, stroke, outerStrokeColor, rect);
    });
}

NSImagePtr quickLaunchApplyCheckmarkWithColors(const NSColorPtr& coreColor, const NSColorPtr& dropShadowColor)
{
    return shadowedMark("check", coreColor, dropShadowColor);
}

NSImagePtr quickLaunchLogoWithColors(const NSColorPtr& coreColor, const NSColorPtr& dropShadowColor)
{
    return shadowedMark("logo", coreColor, dropShadowColor);
}

}  // namespace customizer
