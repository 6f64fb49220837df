#include "UIKit/UIColor.h"

#include "CoreGraphics/CGObjectValue.h"
#include "Foundation/NSString.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIImage.h"

class UIColorFactory {
public:
    static std::shared_ptr<UIColor> adopt(CGColorRef color, std::shared_ptr<UIImage> image)
    {
        return NSObject::create<UIColor>(&UIColor::initWithAdoptedColor, color, std::move(image));
    }
};

namespace {

std::shared_ptr<UIColor> adopt(CGColorRef color, std::shared_ptr<UIImage> image = nullptr)
{
    if (!color) return nullptr;
    return UIColorFactory::adopt(color, std::move(image));
}

CGColorRef makeColor(CGColorSpaceRef (*create)(), std::initializer_list<CGFloat> components)
{
    CGColorSpaceRef space = create();
    CGColorRef color = CGColorCreate(space, components.begin());
    CGColorSpaceRelease(space);
    return color;
}

// The pattern may outlive the UIColor (a CGColor retained elsewhere), so it owns a reference.
void releasePatternImage(void* info)
{
    delete static_cast<std::shared_ptr<UIImage>*>(info);
}

void drawPatternImage(void* info, CGContextRef context)
{
    const std::shared_ptr<UIImage>& image = *static_cast<std::shared_ptr<UIImage>*>(info);
    CGSize size = image->size();
    CGContextDrawImage(context, CGRectMake(0, 0, size.width, size.height), image->CGImage());
}

}  // namespace

void UIColor::initWithAdoptedColor(CGColorRef color, std::shared_ptr<UIImage> patternImage)
{
    color_ = color;
    patternImage_ = std::move(patternImage);
}

UIColor::~UIColor()
{
    CGColorRelease(color_);
}

std::shared_ptr<UIColor> UIColor::colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    return adopt(makeColor(CGColorSpaceCreateDeviceRGB, {red, green, blue, alpha}));
}

std::shared_ptr<UIColor> UIColor::colorWithWhite(CGFloat white, CGFloat alpha)
{
    return adopt(makeColor(CGColorSpaceCreateDeviceGray, {white, alpha}));
}

std::shared_ptr<UIColor> UIColor::colorWithCGColor(CGColorRef color)
{
    return adopt(CGColorRetain(color));
}

std::shared_ptr<UIColor> UIColor::colorWithPatternImage(std::shared_ptr<UIImage> image)
{
    if (!image || !image->CGImage()) return nullptr;
    CGSize size = image->size();
    CGPatternCallbacks callbacks{0, drawPatternImage, releasePatternImage};
    auto* info = new std::shared_ptr<UIImage>(image);
    CGPatternRef pattern = CGPatternCreate(info, CGRectMake(0, 0, size.width, size.height), CGAffineTransformIdentity,
                                           size.width, size.height, kCGPatternTilingConstantSpacing, true, &callbacks);
    if (!pattern) {
        delete info;
        return nullptr;
    }
    CGColorSpaceRef space = CGColorSpaceCreatePattern(nullptr);
    const CGFloat alpha = 1;
    CGColorRef color = CGColorCreateWithPattern(space, pattern, &alpha);
    CGColorSpaceRelease(space);
    CGPatternRelease(pattern);
    return adopt(color, std::move(image));
}

std::shared_ptr<UIColor> UIColor::blackColor()
{
    return colorWithWhite(0, 1);
}
std::shared_ptr<UIColor> UIColor::darkGrayColor()
{
    return colorWithWhite(1.0f / 3, 1);
}
std::shared_ptr<UIColor> UIColor::lightGrayColor()
{
    return colorWithWhite(2.0f / 3, 1);
}
std::shared_ptr<UIColor> UIColor::whiteColor()
{
    return colorWithWhite(1, 1);
}
std::shared_ptr<UIColor> UIColor::grayColor()
{
    return colorWithWhite(0.5f, 1);
}
std::shared_ptr<UIColor> UIColor::clearColor()
{
    return colorWithWhite(0, 0);
}
std::shared_ptr<UIColor> UIColor::redColor()
{
    return colorWithRed(1, 0, 0, 1);
}
std::shared_ptr<UIColor> UIColor::greenColor()
{
    return colorWithRed(0, 1, 0, 1);
}
std::shared_ptr<UIColor> UIColor::blueColor()
{
    return colorWithRed(0, 0, 1, 1);
}
std::shared_ptr<UIColor> UIColor::cyanColor()
{
    return colorWithRed(0, 1, 1, 1);
}
std::shared_ptr<UIColor> UIColor::yellowColor()
{
    return colorWithRed(1, 1, 0, 1);
}
std::shared_ptr<UIColor> UIColor::magentaColor()
{
    return colorWithRed(1, 0, 1, 1);
}
std::shared_ptr<UIColor> UIColor::orangeColor()
{
    return colorWithRed(1, 0.5f, 0, 1);
}
std::shared_ptr<UIColor> UIColor::purpleColor()
{
    return colorWithRed(0.5f, 0, 0.5f, 1);
}
std::shared_ptr<UIColor> UIColor::brownColor()
{
    return colorWithRed(0.6f, 0.4f, 0.2f, 1);
}

std::shared_ptr<UIColor> UIColor::colorWithAlphaComponent(CGFloat alpha) const
{
    return adopt(CGColorCreateCopyWithAlpha(color_, alpha), patternImage_);
}

bool UIColor::getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const
{
    const CGFloat* c = CGColorGetComponents(color_);
    CGFloat rgba[4];
    switch (CGColorSpaceGetModel(CGColorGetColorSpace(color_))) {
    case kCGColorSpaceModelMonochrome: rgba[0] = rgba[1] = rgba[2] = c[0], rgba[3] = c[1]; break;
    case kCGColorSpaceModelRGB: std::copy(c, c + 4, rgba); break;
    default: return false;
    }
    if (red) *red = rgba[0];
    if (green) *green = rgba[1];
    if (blue) *blue = rgba[2];
    if (alpha) *alpha = rgba[3];
    return true;
}

bool UIColor::getWhite(CGFloat* white, CGFloat* alpha) const
{
    if (CGColorSpaceGetModel(CGColorGetColorSpace(color_)) != kCGColorSpaceModelMonochrome) return false;
    const CGFloat* c = CGColorGetComponents(color_);
    if (white) *white = c[0];
    if (alpha) *alpha = c[1];
    return true;
}

void UIColor::set() const
{
    setFill();
    setStroke();
}

void UIColor::setFill() const
{
    CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(), color_);
}
void UIColor::setStroke() const
{
    CGContextSetStrokeColorWithColor(UIGraphicsGetCurrentContext(), color_);
}

bool UIColor::isEqual(const NSObject& other) const
{
    auto* color = dynamic_cast<const UIColor*>(&other);
    if (!color) return false;
    if (patternImage_ || color->patternImage_) return this == color;
    return CGColorEqualToColor(color_, color->color_);
}

std::size_t UIColor::hash() const
{
    return patternImage_ ? NSObject::hash() : CGObjectValue::hashOfColor(color_);
}

std::string UIColor::description() const
{
    const CGFloat* c = CGColorGetComponents(color_);
    switch (CGColorSpaceGetModel(CGColorGetColorSpace(color_))) {
    case kCGColorSpaceModelMonochrome: return NSStringWithFormat("UIDeviceWhiteColorSpace %g %g", c[0], c[1]);
    case kCGColorSpaceModelRGB: return NSStringWithFormat("UIDeviceRGBColorSpace %g %g %g %g", c[0], c[1], c[2], c[3]);
    default: return NSStringWithFormat("UIPatternColor %@", patternImage_);
    }
}
