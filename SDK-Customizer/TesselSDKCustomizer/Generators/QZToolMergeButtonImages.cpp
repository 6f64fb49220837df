#include "Generators/QZToolMergeButtonImages.h"

#include "Generators/QZGeneratorSupport.h"

namespace customizer {

using namespace generators;

NSImagePtr toolMergeButtonWithColorsTypeAndState(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                 const NSColorPtr& innerStrokeColor, const std::string& type, bool active)
{
    NSImagePtr selectedStroke = mask("adj_selected_stroke.png");
    NSImagePtr selectedInner = mask("adj_selected_inner.png");
    NSImagePtr stroke = mask("adj_stroke.png");
    NSImagePtr shadow = mask("adj_shadow.png");
    NSImagePtr shadowLeft = mask("adj_shadow_left.png");
    NSImagePtr strokeRight = mask("adj_stroke_right.png");
    return layeredImage(sizeOf(selectedInner), [&](CGContextRef context, CGRect rect) {
        if (active) {
            CGContextDoWithTempState(context, [&] { solid(context, nullptr, shift(barColor, -0.1), rect); });
            solid(context, selectedInner, black(1), rect);
            solid(context, selectedStroke, outerStrokeColor, rect);
        } else {
            solid(context, shadow, innerStrokeColor, rect);
            solid(context, stroke, outerStrokeColor, rect);
            if (type != "l") solid(context, shadowLeft, innerStrokeColor, rect);
        }
        if (type != "r") solid(context, strokeRight, outerStrokeColor, rect);
    });
}

NSImagePtr toolMergeRightButtonWithColorsAndState(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                  const NSColorPtr& innerStrokeColor, bool active)
{
    return toolMergeButtonWithColorsTypeAndState(barColor, outerStrokeColor, innerStrokeColor, "r", active);
}

NSImagePtr toolMergeLeftButtonWithColorsAndState(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                 const NSColorPtr& innerStrokeColor, bool active)
{
    return toolMergeButtonWithColorsTypeAndState(barColor, outerStrokeColor, innerStrokeColor, "l", active);
}

NSImagePtr toolMergeMiddleButtonWithColorsAndState(const NSColorPtr& barColor, const NSColorPtr& outerStrokeColor,
                                                   const NSColorPtr& innerStrokeColor, bool active)
{
    return toolMergeButtonWithColorsTypeAndState(barColor, outerStrokeColor, innerStrokeColor, "m", active);
}

}  // namespace customizer
