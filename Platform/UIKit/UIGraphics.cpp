#include "UIKit/UIGraphics.h"

#include <cmath>
#include <vector>

#include "Foundation/PlatformSettings.h"
#include "UIKit/UIImage.h"

namespace {

struct Entry {
    CGContextRef context;
    bool imageContext;
    CGFloat scale;
};

struct Stack : std::vector<Entry> {
    ~Stack()
    {
        for (Entry& e : *this) CGContextRelease(e.context);
    }
};

Stack& stack()
{
    // Per thread: a queue drawing an image must not see the main thread's view context.
    thread_local Stack entries;
    return entries;
}

}  // namespace

CGContextRef UIGraphicsGetCurrentContext()
{
    return stack().empty() ? nullptr : stack().back().context;
}

void UIGraphicsPushContext(CGContextRef context)
{
    if (!context) return;
    stack().push_back({CGContextRetain(context), false, 1});
}

void UIGraphicsPopContext()
{
    if (stack().empty()) return;
    CGContextRelease(stack().back().context);
    stack().pop_back();
}

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool, CGFloat scale)
{
    if (scale <= 0) scale = PlatformSettings::screenScale();
    size_t w = size_t(std::ceil(size.width * scale)), h = size_t(std::ceil(size.height * scale));
    if (!(size.width > 0) || !(size.height > 0) || w == 0 || h == 0) return;
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(nullptr, w, h, 8, 0, space, kCGImageAlphaPremultipliedLast);
    CGColorSpaceRelease(space);
    if (!context) return;
    // Points, top-left origin; shadows measured the same way, positive heights going down.
    CGContextTranslateCTM(context, 0, CGFloat(h));
    CGContextScaleCTM(context, scale, -scale);
    CGContextSetShadowBaseSpace(context, scale, true);
    stack().push_back({context, true, scale});
}

void UIGraphicsBeginImageContext(CGSize size)
{
    UIGraphicsBeginImageContextWithOptions(size, false, 1);
}

std::shared_ptr<UIImage> UIGraphicsGetImageFromCurrentImageContext()
{
    if (stack().empty() || !stack().back().imageContext) return nullptr;
    CGImageRef image = CGBitmapContextCreateImage(stack().back().context);
    std::shared_ptr<UIImage> result = UIImage::imageWithCGImage(image, stack().back().scale, UIImageOrientationUp);
    CGImageRelease(image);
    return result;
}

void UIGraphicsEndImageContext()
{
    if (!stack().empty() && stack().back().imageContext) UIGraphicsPopContext();
}

void UIRectFill(CGRect rect)
{
    CGContextFillRect(UIGraphicsGetCurrentContext(), rect);
}
