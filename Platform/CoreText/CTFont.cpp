#include "CoreText/CTFont.h"

#include <pango/pangofc-font.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "CTFontMetrics.h"
#include "CoreText/CTFontDescriptor.h"
#include "CTInternal.h"
#include "Foundation/NSLog.h"

namespace {

struct FontName {
    const char* name;
    const char* family;
    PangoWeight weight;
    PangoStretch stretch;
    const char* package;  // that installs the family
};

// The one mapping table. The first entry is the fallback for names outside it.
constexpr FontName kFontNames[] = {
    {"Helvetica", "Liberation Sans", PANGO_WEIGHT_NORMAL, PANGO_STRETCH_NORMAL, "fonts-liberation2"},
    {"Helvetica-Bold", "Liberation Sans", PANGO_WEIGHT_BOLD, PANGO_STRETCH_NORMAL, "fonts-liberation2"},
    {"ArialMT", "Liberation Sans", PANGO_WEIGHT_NORMAL, PANGO_STRETCH_NORMAL, "fonts-liberation2"},
    {"Arial-BoldMT", "Liberation Sans", PANGO_WEIGHT_BOLD, PANGO_STRETCH_NORMAL, "fonts-liberation2"},
    {"Impact", "DejaVu Sans", PANGO_WEIGHT_BOLD, PANGO_STRETCH_CONDENSED, "fonts-dejavu-extra"},
};

const FontName& lookUp(std::string_view name)
{
    for (const FontName& entry : kFontNames)
        if (name == entry.name) return entry;
    return kFontNames[0];
}

std::string fullNameOf(PangoFont* font, std::string* family)
{
    FcPattern* pattern = pango_fc_font_get_pattern(PANGO_FC_FONT(font));
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, FC_FAMILY, 0, &value) == FcResultMatch) *family = reinterpret_cast<char*>(value);
    if (FcPatternGetString(pattern, FC_FULLNAME, 0, &value) == FcResultMatch) return reinterpret_cast<char*>(value);
    return *family;
}

}  // namespace

// A font of the description (taken over) at the size, answering to the name.
CTFontRef CTFontWithDescription(std::string name, PangoFontDescription* description, CGFloat size, const char* package);

std::string CTFaceNameOf(PangoFont* font)
{
    std::string family;
    return fullNameOf(font, &family);
}

CTFontRef CTDefaultFont()
{
    static CTFontRef font = CTFontCreateWithName("Helvetica", 12);
    return font;
}

CTFont::~CTFont()
{
    pango_font_description_free(description);
}

CTFontRef CTFontCreateUIFontForLanguage(CTFontUIFontType uiType, CGFloat size, std::string_view)
{
    if (uiType == kCTFontUIFontSystem) return CTFontCreateWithName("Helvetica", size);
    if (uiType == kCTFontUIFontEmphasizedSystem) return CTFontCreateWithName("Helvetica-Bold", size);
    return nullptr;
}

CTFontRef CTFontCreateWithName(std::string_view name, CGFloat size)
{
    const FontName& entry = lookUp(name);
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, entry.family);
    pango_font_description_set_weight(description, entry.weight);
    pango_font_description_set_stretch(description, entry.stretch);
    return CTFontWithDescription(entry.name, description, size, entry.package);
}

CTFontRef CTFontWithDescription(std::string name, PangoFontDescription* description, CGFloat size, const char* package)
{
    const FontName& entry = lookUp(name);
    bool inTable = name == entry.name;
    auto* font = new CTFont;
    font->name = std::move(name);
    font->size = size > 0 && std::isfinite(size) ? std::min(size, kCTFontLargestSize) : 12;
    font->description = description;
    pango_font_description_set_absolute_size(font->description, double(font->size) * PANGO_SCALE);
    auto lock = CTTextLock();
    PangoContext* context = CTPangoContext();
    PangoFont* face = pango_font_map_load_font(pango_context_get_font_map(context), context, font->description);
    if (!face) {
        NSLog("CoreText: no font at all for \"%s\": install %s", font->name, package);
        return font;
    }
    std::string family;
    font->fullName = fullNameOf(face, &family);
    static bool warned[std::size(kFontNames)] = {};
    if (inTable && family != entry.family && !std::exchange(warned[&entry - kFontNames], true))
        NSLog("CoreText: \"%s\" draws in %s: the family %s is missing (install %s)", entry.name, font->fullName,
              entry.family, entry.package);
    CTFontMetrics metrics = CTFontMetricsOf(face);
    font->ascent = CGFloat(metrics.ascent);
    font->descent = CGFloat(metrics.descent);
    font->leading = CGFloat(metrics.leading);
    font->capHeight = CGFloat(metrics.capHeight);
    font->xHeight = CGFloat(metrics.xHeight);
    g_object_unref(face);
    return font;
}

CTFontRef CFRetain(CTFontRef font)
{
    if (font) const_cast<CTFont*>(font)->retain();
    return font;
}

void CFRelease(CTFontRef font)
{
    if (font) const_cast<CTFont*>(font)->release();
}

CGFloat CTFontGetSize(CTFontRef font)
{
    return font ? font->size : 0;
}
CGFloat CTFontGetAscent(CTFontRef font)
{
    return font ? font->ascent : 0;
}
CGFloat CTFontGetDescent(CTFontRef font)
{
    return font ? font->descent : 0;
}
CGFloat CTFontGetLeading(CTFontRef font)
{
    return font ? font->leading : 0;
}
CGFloat CTFontGetCapHeight(CTFontRef font)
{
    return font ? font->capHeight : 0;
}
CGFloat CTFontGetXHeight(CTFontRef font)
{
    return font ? font->xHeight : 0;
}
std::string CTFontCopyPostScriptName(CTFontRef font)
{
    return font ? font->name : std::string();
}
std::string CTFontCopyFullName(CTFontRef font)
{
    return font ? font->fullName : std::string();
}

CTFontDescriptorRef CTFontDescriptorCreateWithNameAndSize(std::string_view name, CGFloat size)
{
    auto* descriptor = new CTFontDescriptor;
    descriptor->name = std::string(name);
    descriptor->size = size;
    return descriptor;
}

CTFontDescriptorRef CFRetain(CTFontDescriptorRef descriptor)
{
    if (descriptor) const_cast<CTFontDescriptor*>(descriptor)->retain();
    return descriptor;
}

void CFRelease(CTFontDescriptorRef descriptor)
{
    if (descriptor) const_cast<CTFontDescriptor*>(descriptor)->release();
}

CTFontRef CTFontCreateWithFontDescriptor(CTFontDescriptorRef descriptor, CGFloat size, const CGAffineTransform*)
{
    if (!descriptor) return nullptr;
    return CTFontCreateWithName(descriptor->name, size != 0 ? size : descriptor->size);
}

CTFontRef CTFontCreateCopyWithAttributes(CTFontRef font, CGFloat size, const CGAffineTransform*, CTFontDescriptorRef)
{
    if (!font) return nullptr;
    const CGFloat copySize = size > 0 ? size : font->size;
    PangoFontDescription* description = pango_font_description_copy(font->description);
    return CTFontWithDescription(font->name, description, copySize, lookUp(font->name).package);
}

CTFontRef CTFontCreateWithGraphicsFont(CGFontRef graphicsFont, CGFloat size, const CGAffineTransform*,
                                       CTFontDescriptorRef)
{
    const std::string& path = CGDataProviderGetFilename(CGFontGetDataProvider(graphicsFont));
    if (path.empty()) return nullptr;
    int count = 0;
    FcPattern* pattern = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), 0, nullptr, &count);
    bool added = false;
    if (pattern) {
        auto lock = CTTextLock();
        added = CTAddFontFile(path);
    }
    if (!pattern || !added) {
        if (pattern) FcPatternDestroy(pattern);
        NSLog("CTFontCreateWithGraphicsFont: fontconfig cannot read %s", path);
        return nullptr;
    }
    PangoFontDescription* description = pango_fc_font_description_from_pattern(pattern, FALSE);
    FcChar8* postScriptName = nullptr;
    std::string name = FcPatternGetString(pattern, FC_POSTSCRIPT_NAME, 0, &postScriptName) == FcResultMatch
                           ? reinterpret_cast<char*>(postScriptName)
                           : pango_font_description_get_family(description);
    FcPatternDestroy(pattern);
    return CTFontWithDescription(name, description, size, path.c_str());
}
