#include "CoreText/CTFontManager.h"

#include <fontconfig/fontconfig.h>

#include "CTInternal.h"

namespace {

bool fail(std::shared_ptr<NSError>* error, const std::string& message)
{
    NSError::assign(
        error, NSError::errorWithDescription(kCTFontManagerErrorDomain, kCTFontManagerErrorInvalidFontData, message));
    return false;
}

// Whether fontconfig finds a face in the file, as it will when the file is added.
bool readable(const std::string& path)
{
    int count = 0;
    FcPattern* pattern = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), 0, nullptr, &count);
    if (!pattern) return false;
    FcPatternDestroy(pattern);
    return true;
}

}  // namespace

bool CTFontManagerRegisterGraphicsFont(CGFontRef font, std::shared_ptr<NSError>* error)
{
    if (!font) return fail(error, "no font to register");
    const std::string& path = CGDataProviderGetFilename(CGFontGetDataProvider(font));
    if (path.empty()) return fail(error, "the font has no file to register");
    if (!readable(path)) return fail(error, "fontconfig cannot read the font file " + path);
    bool added = false;
    {
        auto lock = CTTextLock();
        added = CTAddFontFile(path);
    }
    if (!added) return fail(error, "fontconfig cannot add the font file " + path);
    return true;
}
