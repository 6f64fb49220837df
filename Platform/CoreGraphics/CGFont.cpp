#include "CoreGraphics/CGFont.h"

#include <cstring>

#include "Foundation/NSLog.h"

struct CGFont : CGObject {
    ~CGFont() override { CGDataProviderRelease(provider); }
    CGDataProviderRef provider = nullptr;
};

namespace {

// The sfnt versions of TrueType and OpenType files, and the tag of a collection.
bool isFontData(const std::vector<unsigned char>& bytes)
{
    if (bytes.size() < 12) return false;
    static const unsigned char kTags[][4] = {
        {0, 1, 0, 0}, {'t', 'r', 'u', 'e'}, {'O', 'T', 'T', 'O'}, {'t', 't', 'c', 'f'}};
    for (const auto& tag : kTags)
        if (std::memcmp(bytes.data(), tag, 4) == 0) return true;
    return false;
}

}  // namespace

CGFontRef CGFontCreateWithDataProvider(CGDataProviderRef provider)
{
    if (!provider) return nullptr;
    if (!isFontData(CGDataProviderGetBytes(provider))) {
        NSLog("CGFontCreateWithDataProvider: %s holds no TrueType or OpenType font",
              CGDataProviderGetFilename(provider));
        return nullptr;
    }
    auto* font = new CGFont;
    font->provider = CGDataProviderRetain(provider);
    return font;
}

CGFontRef CGFontRetain(CGFontRef font)
{
    if (font) font->retain();
    return font;
}

void CGFontRelease(CGFontRef font)
{
    if (font) font->release();
}

CGDataProviderRef CGFontGetDataProvider(CGFontRef font)
{
    return font ? font->provider : nullptr;
}
