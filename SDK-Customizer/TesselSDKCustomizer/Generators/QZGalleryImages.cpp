#include "Generators/QZGalleryImages.h"

#include "Generators/QZGeneratorSupport.h"
#include "Render/QZMaskImageWrapper.h"

namespace customizer {

using namespace generators;

namespace {

QZMaskImageWrapperPtr solidLayer(const std::string& name, const NSColorPtr& color)
{
    return QZMaskImageWrapper::wrapperWithImageName(
        name, [color](const NSImagePtr& layerMask, CGContextRef context, CGRect rect) { solid(context, layerMask, color, rect); });
}

}  // namespace

std::array<NSImagePtr, 2> galleryListViewCellWithColorsTypeAndState(const NSColorPtr& coreColor,
                                                                    const NSColorPtr& outerStrokeColor,
                                                                    const NSColorPtr& innerStrokeColor,
                                                                    const std::string& type, bool active)
{
    std::string prefix = "gallery-" + type + "-";
    std::vector<QZMaskImageWrapperPtr> layers = {
        solidLayer(prefix + "drop-shadow", black(1)),
        solidLayer(prefix + "stroke", outerStrokeColor),
        solidLayer(prefix + "core", active ? shift(coreColor, -0.07) : coreColor),
        active ? solidLayer(prefix + "pressed", black(1)) : solidLayer(prefix + "shadow", innerStrokeColor),
    };
    return pixelPerfectImagesWithMaskImageWrappers(layers);
}

std::array<NSImagePtr, 2> galleryListViewTopCellWithColors(const NSColorPtr& coreColor, const NSColorPtr& outerStrokeColor,
                                                           const NSColorPtr& innerStrokeColor, bool active)
{
    return galleryListViewCellWithColorsTypeAndState(coreColor, outerStrokeColor, innerStrokeColor, "top", active);
}

std::array<NSImagePtr, 2> galleryListViewMiddleCellWithColors(const NSColorPtr& coreColor,
                                                              const NSColorPtr& outerStrokeColor,
                                                              const NSColorPtr& innerStrokeColor, bool active)
{
    return galleryListViewCellWithColorsTypeAndState(coreColor, outerStrokeColor, innerStrokeColor, "middle", active);
}

std::array<NSImagePtr, 2> galleryListViewBottomCellWithColors(const NSColorPtr& coreColor,
                                                              const NSColorPtr& outerStrokeColor,
                                                              const NSColorPtr& innerStrokeColor, bool active)
{
    return galleryListViewCellWithColorsTypeAndState(coreColor, outerStrokeColor, innerStrokeColor, "bottom", active);
}

std::array<NSImagePtr, 2> galleryListViewBothCellWithColors(const NSColorPtr& coreColor, const NSColorPtr& outerStrokeColor,
                                                            const NSColorPtr& innerStrokeColor, bool active)
{
    return galleryListViewCellWithColorsTypeAndState(coreColor, outerStrokeColor, innerStrokeColor, "both", active);
}

NSImagePtr galleryListArrowWithColors(const NSColorPtr& coreColor, const NSColorPtr& outerStrokeColor,
                                      const NSColorPtr& innerStrokeColor)
{
    NSImagePtr core = mask("gallery_arrow_core.png");
    NSImagePtr dropShadow = mask("gallery_arrow_drop_shadow.png");
    NSImagePtr shadow = mask("gallery_arrow_shadow.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, dropShadow, outerStrokeColor, rect);
        solid(context, core, coreColor, rect);
        solid(context, shadow, innerStrokeColor, rect);
    });
}

NSImagePtr galleryCameraIconWithColors(const NSColorPtr& gradientTopColor, const NSColorPtr& gradientBottomColor,
                                       const NSColorPtr& outerStrokeColor, const NSColorPtr& innerStrokeColor)
{
    NSImagePtr core = mask("gallery_camera_icon_core.png");
    NSImagePtr dropShadow = mask("gallery_camera_icon_drop_shadow.png");
    NSImagePtr shadow = mask("gallery_camera_icon_shadow.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, dropShadow, outerStrokeColor, rect);
        gradient(context, core, gradientTopColor, gradientBottomColor, rect);
        solid(context, shadow, innerStrokeColor, rect);
    });
}

NSImagePtr galleryLayoutButtonWithColorsAndType(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                                const NSColorPtr&, const std::string& type, bool active)
{
    std::string prefix = "sort_" + type + "_";
    NSImagePtr core = mask(prefix + "core.png");
    NSImagePtr pressed = mask(prefix + "pressed.png");
    NSImagePtr shadow = mask(prefix + "shadow.png");
    NSImagePtr stroke = mask(prefix + "stroke.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, stroke, strokeColor, rect);
        if (active) {
            gradient(context, core, shift(color, -0.06), shift(color, 0.06), rect);
            solid(context, pressed, black(1), rect);
        } else {
            gradient(context, core, shift(color, 0.06), shift(color, -0.06), rect);
            overlay(context, [&] { solid(context, shadow, white(1), rect); });
        }
    });
}

NSImagePtr galleryLeftLayoutButtonWithColors(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                             const NSColorPtr& innerShadowColor, bool active)
{
    return galleryLayoutButtonWithColorsAndType(color, strokeColor, innerShadowColor, "l", active);
}

NSImagePtr galleryRightLayoutButtonWithColors(const NSColorPtr& color, const NSColorPtr& strokeColor,
                                              const NSColorPtr& innerShadowColor, bool active)
{
    return galleryLayoutButtonWithColorsAndType(color, strokeColor, innerShadowColor, "r", active);
}

NSImagePtr galleryLayoutIconWithColorsAndType(const NSColorPtr& coreColor, const NSColorPtr& shadowColor,
                                              const std::string& type)
{
    NSImagePtr core = mask(type + "_core.png");
    NSImagePtr shadow = mask(type + "_shadow.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, shadow, shadowColor, rect);
        solid(context, core, coreColor, rect);
    });
}

NSImagePtr galleryGridLayoutIconWithColors(const NSColorPtr& coreColor, const NSColorPtr& shadowColor)
{
    return galleryLayoutIconWithColorsAndType(coreColor, shadowColor, "grid");
}

NSImagePtr galleryListLayoutIconWithColors(const NSColorPtr& coreColor, const NSColorPtr& shadowColor)
{
    return galleryLayoutIconWithColorsAndType(coreColor, shadowColor, "list");
}

}  // namespace customizer
