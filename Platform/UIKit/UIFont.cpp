#include "UIKit/UIFont.h"

#include <cmath>

namespace {

bool isSize(CGFloat size)
{
    return size > 0 && std::isfinite(size);
}

}  // namespace

bool UIFont::initWithName(std::string_view name, CGFloat size)
{
    if (!isSize(size)) return false;
    font_ = CTFontCreateWithName(name, size);
    // Core Text answers a name outside its table with Helvetica; UIKit answers nothing.
    return CTFontCopyPostScriptName(font_) == name;
}

UIFont::~UIFont()
{
    CFRelease(font_);
}

std::shared_ptr<UIFont> UIFont::systemFontOfSize(CGFloat size)
{
    return fontWithName("Helvetica", size);
}

std::shared_ptr<UIFont> UIFont::boldSystemFontOfSize(CGFloat size)
{
    return fontWithName("Helvetica-Bold", size);
}

std::shared_ptr<UIFont> UIFont::fontWithName(std::string_view name, CGFloat size)
{
    return NSObject::create<UIFont>(&UIFont::initWithName, name, size);
}

std::shared_ptr<UIFont> UIFont::fontWithSize(CGFloat size) const
{
    return fontWithName(fontName(), size);
}

std::string UIFont::fontName() const
{
    return CTFontCopyPostScriptName(font_);
}
CGFloat UIFont::pointSize() const
{
    return CTFontGetSize(font_);
}
CGFloat UIFont::ascender() const
{
    return CTFontGetAscent(font_);
}
CGFloat UIFont::descender() const
{
    return -CTFontGetDescent(font_);
}
CGFloat UIFont::lineHeight() const
{
    return CTFontGetAscent(font_) + CTFontGetDescent(font_) + CTFontGetLeading(font_);
}
CGFloat UIFont::capHeight() const
{
    return CTFontGetCapHeight(font_);
}
CGFloat UIFont::xHeight() const
{
    return CTFontGetXHeight(font_);
}
