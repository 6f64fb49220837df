#include "CoreText/CTFont.h"

#include <pango/pangofc-font.h>

#include <cmath>
#include <iterator>
#include <utility>

#include "CTFontMetrics.h"
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

CTFontRef CTDefaultFont()
{
    static CTFontRef font = CTFontCreateWithName("Helvetica", 12);
    return font;
}

CTFont::~CTFont()
{
    pango_font_description_free(description);
}

CTFontRef CTFontCreateWithName(std::string_view name, CGFloat size)
{
    const FontName& entry = lookUp(name);
    auto* font = new CTFont;
    font->name = entry.name;
    font->size = size > 0 && std::isfinite(size) ? size : 12;
    font->description = pango_font_description_new();
    pango_font_description_set_family(font->description, entry.family);
    pango_font_description_set_weight(font->description, entry.weight);
    pango_font_description_set_stretch(font->description, entry.stretch);
    pango_font_description_set_absolute_size(font->description, double(font->size) * PANGO_SCALE);
    auto lock = CTTextLock();
    PangoContext* context = CTPangoContext();
    PangoFont* face = pango_font_map_load_font(pango_context_get_font_map(context), context, font->description);
    if (!face) {
        NSLog("CoreText: no font at all for \"%s\": install %s", entry.name, entry.package);
        return font;
    }
    std::string family;
    font->fullName = fullNameOf(face, &family);
    static bool warned[std::size(kFontNames)] = {};
    if (family != entry.family && !std::exchange(warned[&entry - kFontNames], true))
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
