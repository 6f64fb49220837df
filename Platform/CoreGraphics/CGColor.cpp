#include "CoreGraphics/CGColor.h"

#include "CGInternal.h"

CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat* components)
{
    if (!space || !components) return nullptr;
    size_t n = CGColorSpaceGetNumberOfComponents(space);
    if (n == 0) return nullptr;
    auto* color = new CGColor;
    color->space = CGRef<CGColorSpace>::retained(space);
    color->components.assign(components, components + n + 1);
    return color;
}

CGColorRef CGColorCreateWithPattern(CGColorSpaceRef space, CGPatternRef pattern, const CGFloat* components)
{
    if (!space || !pattern || CGColorSpaceGetModel(space) != kCGColorSpaceModelPattern) return nullptr;
    auto* color = new CGColor;
    color->space = CGRef<CGColorSpace>::retained(space);
    color->pattern = CGRef<CGPattern>::retained(pattern);
    color->components.assign(1, components ? components[0] : 1);
    return color;
}

CGColorRef CGColorCreateCopyWithAlpha(CGColorRef color, CGFloat alpha)
{
    if (!color) return nullptr;
    auto* copy = new CGColor;
    copy->space = color->space;
    copy->pattern = color->pattern;
    copy->components = color->components;
    copy->components.back() = alpha;
    return copy;
}

CGColorRef CGColorRetain(CGColorRef color)
{
    if (color) color->retain();
    return color;
}

void CGColorRelease(CGColorRef color)
{
    if (color) color->release();
}

bool CGColorEqualToColor(CGColorRef a, CGColorRef b)
{
    if (a == b) return true;
    if (!a || !b) return false;
    return CGColorSpaceGetModel(a->space.get()) == CGColorSpaceGetModel(b->space.get()) &&
           a->pattern.get() == b->pattern.get() && a->components == b->components;
}

size_t CGColorGetNumberOfComponents(CGColorRef color) { return color ? color->components.size() : 0; }
const CGFloat* CGColorGetComponents(CGColorRef color) { return color ? color->components.data() : nullptr; }
CGFloat CGColorGetAlpha(CGColorRef color) { return color ? color->components.back() : 0; }
CGColorSpaceRef CGColorGetColorSpace(CGColorRef color) { return color ? color->space.get() : nullptr; }
CGPatternRef CGColorGetPattern(CGColorRef color) { return color ? color->pattern.get() : nullptr; }

CGRGBA CGColorToRGBA(CGColorRef color)
{
    if (!color || color->pattern) return {};
    const std::vector<CGFloat>& c = color->components;
    if (c.size() == 2) return {c[0], c[0], c[0], c[1]};
    if (c.size() == 4) return {c[0], c[1], c[2], c[3]};
    return {};
}
