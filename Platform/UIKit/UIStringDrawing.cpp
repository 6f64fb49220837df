#include "UIKit/UIStringDrawing.h"

#include <cfloat>

#include "UIKit/UIGraphics.h"
#include "UIKit/UITextLayout.h"

CGSize sizeWithFont(const std::string& text, const std::shared_ptr<UIFont>& font)
{
    return UITextLayout(text, font, CGSizeMake(FLT_MAX, FLT_MAX), 1, NSLineBreakByClipping, NSTextAlignmentLeft).size();
}

CGSize sizeWithFont(const std::string& text, const std::shared_ptr<UIFont>& font, CGSize constrainedSize,
                    NSLineBreakMode lineBreakMode)
{
    return UITextLayout(text, font, constrainedSize, 0, lineBreakMode, NSTextAlignmentLeft).size();
}

CGSize drawInRect(const std::string& text, CGRect rect, const std::shared_ptr<UIFont>& font,
                  NSLineBreakMode lineBreakMode, NSTextAlignment alignment)
{
    rect = CGRectStandardize(rect);
    UITextLayout layout(text, font, rect.size, 0, lineBreakMode, alignment);
    layout.draw(UIGraphicsGetCurrentContext(), rect.origin, nullptr);
    return layout.size();
}
