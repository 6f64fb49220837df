#include "TesselSDK/tools/meme/QZMemeCaptionFonts.h"

CTFontRef QZMemeCaptionFonts::fontAtSize(CTFontRef font, CGFloat size)
{
    if (!font) return nullptr;
    const std::string face = CTFontCopyPostScriptName(font) + "|" + CTFontCopyFullName(font);
    if (face != face_) {
        clear();
        face_ = face;
    }
    auto [at, made] = fonts_.try_emplace(size, nullptr);
    if (made) at->second = CTFontCreateCopyWithAttributes(font, size, nullptr, nullptr);
    return at->second;
}

void QZMemeCaptionFonts::clear()
{
    for (const auto& [size, font] : fonts_) CFRelease(font);
    fonts_.clear();
    face_.clear();
}
