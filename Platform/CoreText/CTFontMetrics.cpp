#include "CTFontMetrics.h"

#include <hb-ot.h>
#include <hb.h>

namespace {

// The OS/2 table's height when it has one, else the top of the character's glyph.
double heightOf(hb_font_t* font, hb_ot_metrics_tag_t tag, hb_codepoint_t character)
{
    hb_position_t value = 0;
    if (hb_ot_metrics_get_position(font, tag, &value) && value > 0) return value;
    hb_codepoint_t glyph = 0;
    hb_glyph_extents_t extents;
    if (hb_font_get_nominal_glyph(font, character, &glyph) && hb_font_get_glyph_extents(font, glyph, &extents))
        return extents.y_bearing;
    return 0;
}

}  // namespace

CTFontMetrics CTFontMetricsOf(PangoFont* font)
{
    CTFontMetrics m;
    hb_font_t* hb = pango_font_get_hb_font(font);
    if (!hb) return m;
    PangoFontDescription* description = pango_font_describe_with_absolute_size(font);
    double em = double(pango_font_description_get_size(description)) / PANGO_SCALE;
    pango_font_description_free(description);
    int xScale = 0, yScale = 0;
    hb_font_get_scale(hb, &xScale, &yScale);
    if (yScale == 0) return m;
    double unit = em / yScale;
    hb_font_extents_t extents{};
    hb_font_get_h_extents(hb, &extents);
    m.ascent = extents.ascender * unit;
    m.descent = -extents.descender * unit;
    m.leading = extents.line_gap * unit;
    m.capHeight = heightOf(hb, HB_OT_METRICS_TAG_CAP_HEIGHT, 'H') * unit;
    m.xHeight = heightOf(hb, HB_OT_METRICS_TAG_X_HEIGHT, 'x') * unit;
    return m;
}
