#include "Generators/QZToolSelectionCellImages.h"

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

NSImagePtr toolSelectionCellBorderImageWithColors(const NSColorPtr& outerStrokeColor, const NSColorPtr& innerStrokeColor,
                                                  bool adjacent)
{
    NSImagePtr blackMask = mask(adjacent ? "adjacent_black.png" : "normal_black.png");
    NSImagePtr whiteMask = mask(adjacent ? "adjacent_white.png" : "normal_white.png");
    return layeredImage(sizeOf(blackMask), [&](CGContextRef context, CGRect rect) {
        solid(context, blackMask, outerStrokeColor, rect);
        solid(context, whiteMask, innerStrokeColor, rect);
    });
}

NSImagePtr toolSelectionCellSelectedImageWithColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                    const NSColorPtr& innerStrokeColor)
{
    NSImagePtr pressedBlack = mask("pressed_black.png");
    NSImagePtr pressedWhite = mask("pressed_white.png");
    NSImagePtr inset = mask("inset.png");
    return layeredImage(sizeOf(pressedBlack), [&](CGContextRef context, CGRect rect) {
        solid(context, nullptr, shift(barColor, -0.1), rect);
        solid(context, inset, black(1), rect);
        solid(context, pressedBlack, outerStrokeColor, rect);
        solid(context, pressedWhite, innerStrokeColor, rect);
    });
}

NSImagePtr selectionViewTitleDividerWIthColors(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                               const NSColorPtr& innerStrokeColor)
{
    NSImagePtr core = mask("title_core.png");
    NSImagePtr dropShadow = mask("title_drop_shadow.png");
    NSImagePtr shadow = mask("title_shadow.png");
    NSImagePtr stroke = mask("title_stroke.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, dropShadow, black(1), rect);
        solid(context, core, barColor, rect);
        solid(context, shadow, innerStrokeColor, rect);
        solid(context, stroke, outerStrokeColor, rect);
    });
}

NSImagePtr toolSelectionFeedbackDividerWithColors(const NSColorPtr& outerStrokeColor, const NSColorPtr& innerStrokeColor)
{
    NSImagePtr core = mask("feedback_divider_core.png");
    NSImagePtr shadow = mask("feedback_divider_shadow.png");
    return layeredImage(sizeOf(core), [&](CGContextRef context, CGRect rect) {
        solid(context, core, outerStrokeColor, rect);
        solid(context, shadow, innerStrokeColor, rect);
    });
}

}  // namespace customizer
