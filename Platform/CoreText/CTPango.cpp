// The Pango side: one font map over a fontconfig configuration of our own, and line layout.
//
// The configuration reads no configuration file, so no user or system setting (hinting, sub-pixel
// order, antialiasing, substitutions) reaches it, and holds only the directories of the font
// packages we install, so the same faces are found on every machine. Characters the chosen face
// lacks (Arabic in Liberation Sans) fall back to DejaVu Sans. Cairo's font options are
// fixed on the context: grey antialiasing, no hinting, unhinted metrics; glyph positions stay
// fractional. Together these make text the same to the pixel everywhere.

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "CTInternal.h"
#include "CTFontMetrics.h"

#if defined(__SANITIZE_ADDRESS__)
// fontconfig links the parts of its patterns by offsets, not pointers, so LeakSanitizer takes every
// pattern the font map caches for a leak. Every program that lays text out links this file.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0";
}
#endif

namespace {

constexpr const char* kFontConfiguration = R"(<?xml version="1.0"?>
<fontconfig>
  <dir>/usr/share/fonts/truetype/liberation2</dir>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <match target="pattern">
    <edit name="family" mode="append_last"><string>DejaVu Sans</string></edit>
  </match>
</fontconfig>
)";

std::mutex& textMutex()
{
    static std::mutex m;
    return m;
}

PangoContext* makeContext()
{
    FcConfig* config = FcConfigCreate();
    FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kFontConfiguration), FcTrue);
    FcConfigBuildFonts(config);
    // The Fc back end by name: PANGOCAIRO_BACKEND in the environment must not pick another.
    PangoFontMap* fontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap), config);
    FcConfigDestroy(config);  // the font map holds its own reference
    PangoContext* context = pango_font_map_create_context(fontMap);
    g_object_unref(fontMap);  // the context holds it
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
    return context;
}

// Pango's units are 1/1024 of a point here: font sizes are absolute, in user units.
double fromPango(int v)
{
    return double(v) / PANGO_SCALE;
}

bool endsWithParagraphSeparator(std::string_view text)
{
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    gunichar c = g_utf8_get_char(g_utf8_prev_char(end));
    return c == '\n' || c == '\r' || c == 0x2028 || c == 0x2029;
}

PangoAttrList* fontAttributes(CFAttributedStringRef string, CFRange range)
{
    PangoAttrList* list = pango_attr_list_new();
    CFIndex start = 0;  // of the run, in the string
    for (const CFAttributedString::Run& run : string->runs) {
        CFIndex end = start + run.length;
        CFIndex from = std::max(start, range.location), to = std::min(end, range.location + range.length);
        if (from < to) {
            PangoAttribute* a = pango_attr_font_desc_new(string->fontAt(from)->description);
            a->start_index = guint(from - range.location);
            a->end_index = guint(to - range.location);
            pango_attr_list_insert(list, a);
        }
        start = end;
    }
    // Lines broken inside a word show no hyphen, as on the platform.
    pango_attr_list_insert(list, pango_attr_insert_hyphens_new(FALSE));
    if (string->runs.empty() || range.length == 0) {
        // Empty text still has a font: its line's height comes from it.
        PangoAttribute* a = pango_attr_font_desc_new(string->fontAt(range.location)->description);
        pango_attr_list_insert(list, a);
    }
    return list;
}

PangoLayout* makeLayout(CFAttributedStringRef string, CFRange range, double width, CTLineBreakMode mode)
{
    PangoLayout* layout = pango_layout_new(CTPangoContext());
    pango_layout_set_text(layout, string->text.data() + range.location, int(range.length));
    PangoAttrList* attributes = fontAttributes(string, range);
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    bool wraps = mode == kCTLineBreakByWordWrapping || mode == kCTLineBreakByCharWrapping;
    // Pango measures widths in int units of 1/1024: wider than this is as good as unlimited.
    if (wraps && width >= 0 && width < 1e6) {
        pango_layout_set_width(layout, int(std::floor(width * PANGO_SCALE)));
        pango_layout_set_wrap(layout, mode == kCTLineBreakByCharWrapping ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
    }
    return layout;
}

// How the glyphs of one character are painted.
struct Paint {
    CGColorRef color = nullptr;
    bool fromContext = false;
    double strokeWidth = 0;
    CGColorRef strokeColor = nullptr;
    bool operator==(const Paint&) const = default;
};

Paint paintAt(CFAttributedStringRef string, CFIndex index)
{
    Paint paint;
    auto flag = static_cast<CFBooleanRef>(const_cast<void*>(
        string->attributeAt(index, kCTForegroundColorFromContextAttributeName, CFAttributeValue::Kind::Boolean)));
    paint.fromContext = CFBooleanGetValue(flag);
    paint.color = static_cast<CGColorRef>(
        const_cast<void*>(string->attributeAt(index, kCTForegroundColorAttributeName, CFAttributeValue::Kind::Color)));
    auto width = static_cast<CFNumberRef>(
        string->attributeAt(index, kCTStrokeWidthAttributeName, CFAttributeValue::Kind::Number));
    if (width && std::isfinite(width->value)) paint.strokeWidth = width->value;
    paint.strokeColor = static_cast<CGColorRef>(
        const_cast<void*>(string->attributeAt(index, kCTStrokeColorAttributeName, CFAttributeValue::Kind::Color)));
    return paint;
}

double sizeOf(PangoFont* font)
{
    PangoFontDescription* description = pango_font_describe_with_absolute_size(font);
    double size = double(pango_font_description_get_size(description)) / PANGO_SCALE;
    pango_font_description_free(description);
    return size;
}

Paint paintOf(const CTGlyphRun& run)
{
    return Paint{run.color, run.colorFromContext, run.strokeWidth, run.strokeColor};
}

// Appends the glyphs of one Pango line, starting at x, to the line; answers the advance.
double appendGlyphs(CTLine& line, PangoLayoutLine* pangoLine, CFIndex textOffset, double x)
{
    double start = x;
    for (GSList* l = pangoLine->runs; l; l = l->next) {
        auto* run = static_cast<PangoGlyphItem*>(l->data);
        PangoFont* pangoFont = run->item->analysis.font;
        cairo_scaled_font_t* font = pangoFont ? pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(pangoFont)) : nullptr;
        CTFontMetrics metrics = pangoFont ? CTFontMetricsOf(pangoFont) : CTFontMetrics{};
        double fontSize = pangoFont ? sizeOf(pangoFont) : 0;
        line.ascent = std::max(line.ascent, metrics.ascent);
        line.descent = std::max(line.descent, metrics.descent);
        CFIndex itemStart = textOffset + run->item->offset;
        line.runInfo.push_back({CFRangeMake(itemStart, run->item->length),
                                pangoFont ? CTFaceNameOf(pangoFont) : std::string(),
                                (run->item->analysis.level & 1) != 0});
        PangoGlyphString* glyphs = run->glyphs;
        for (int i = 0; i < glyphs->num_glyphs; ++i) {
            const PangoGlyphInfo& g = glyphs->glyphs[i];
            // Characters no face has (unknown) and those that draw nothing (empty) get no glyph.
            bool drawn = font && g.glyph != PANGO_GLYPH_EMPTY && !(g.glyph & PANGO_GLYPH_UNKNOWN_FLAG);
            if (drawn) {
                CFIndex index = itemStart + glyphs->log_clusters[i];
                Paint paint = paintAt(line.string.get(), index);
                if (line.runs.empty() || line.runs.back().font != font || !(paintOf(line.runs.back()) == paint)) {
                    CTGlyphRun r;
                    r.font = cairo_scaled_font_reference(font);
                    r.fontSize = fontSize;
                    r.color = CGColorRetain(paint.color);
                    r.colorFromContext = paint.fromContext;
                    r.strokeWidth = paint.strokeWidth;
                    r.strokeColor = CGColorRetain(paint.strokeColor);
                    line.runs.push_back(std::move(r));
                }
                line.runs.back().glyphs.push_back(
                    {g.glyph, x + fromPango(g.geometry.x_offset), fromPango(g.geometry.y_offset - run->y_offset)});
            }
            x += fromPango(g.geometry.width);
        }
    }
    PangoRectangle ink;
    pango_layout_line_get_extents(pangoLine, &ink, nullptr);
    if (ink.width > 0 && ink.height > 0) {
        CGRect r = CGRectMake(CGFloat(start + fromPango(ink.x)), CGFloat(-fromPango(ink.y + ink.height)),
                              CGFloat(fromPango(ink.width)), CGFloat(fromPango(ink.height)));
        line.ink = CGRectIsNull(line.ink) ? r : CGRectUnion(line.ink, r);
    }
    return x - start;
}

// Width of the white space that ends a Pango line.
double trailingWhitespace(PangoLayoutLine* pangoLine, const char* text)
{
    const char* begin = text + pangoLine->start_index;
    const char* end = begin + pangoLine->length;
    const char* p = end;
    while (p > begin) {
        const char* prev = g_utf8_prev_char(p);
        if (!g_unichar_isspace(g_utf8_get_char(prev))) break;
        p = prev;
    }
    if (p == end) return 0;
    int* ranges = nullptr;
    int count = 0;
    pango_layout_line_get_x_ranges(pangoLine, int(p - text), int(end - text), &ranges, &count);
    double w = 0;
    for (int i = 0; i < count; ++i) w += fromPango(ranges[2 * i + 1] - ranges[2 * i]);
    g_free(ranges);
    return w;
}

// The x (Pango units, from the line's start) of every cursor position inside the line's runs,
// by byte from the line's start (INT_MIN where none), in one walk over the glyphs. A cluster
// shares its advance evenly between the cursor positions it holds, as
// pango_layout_line_index_to_x does, which asks the same one caret at a time from the text's
// start.
std::vector<int> cursorXs(PangoLayoutLine* pangoLine, const char* text, const PangoLogAttr* attributes,
                          int attributeCount, long firstCharacter)
{
    const int start = pangoLine->start_index, length = pangoLine->length;
    std::vector<int> characterAt(size_t(length) + 1, -1);  // the log attribute of each character's first byte
    long character = firstCharacter;
    for (const char* p = text + start; p < text + start + length; p = g_utf8_next_char(p))
        characterAt[size_t(p - text - start)] = int(character++);
    auto isCursor = [&](int byte) {
        const int c = characterAt[size_t(byte - start)];
        return c >= 0 && c < attributeCount && attributes[c].is_cursor_position;
    };
    std::vector<int> xs(size_t(length) + 1, INT_MIN);
    int runX = 0;
    for (GSList* l = pangoLine->runs; l; l = l->next) {
        auto* run = static_cast<PangoGlyphItem*>(l->data);
        const PangoItem* item = run->item;
        const PangoGlyphString* glyphs = run->glyphs;
        const bool rightToLeft = (item->analysis.level & 1) != 0;
        const int runWidth = pango_glyph_string_get_width(const_cast<PangoGlyphString*>(glyphs));
        const int n = glyphs->num_glyphs;
        // Clusters in logical order: the glyphs from the left in a left-to-right run, from the right
        // in a right-to-left one; a cluster's edges are its leading and trailing x.
        int edge = rightToLeft ? runWidth : 0;
        for (int k = 0; k < n;) {
            const int first = rightToLeft ? n - 1 - k : k;
            const int cluster = glyphs->log_clusters[first];
            int width = 0;
            for (; k < n && glyphs->log_clusters[rightToLeft ? n - 1 - k : k] == cluster; ++k)
                width += glyphs->glyphs[rightToLeft ? n - 1 - k : k].geometry.width;
            const int clusterEnd = k < n ? glyphs->log_clusters[rightToLeft ? n - 1 - k : k] : item->length;
            const int leading = edge, trailing = rightToLeft ? edge - width : edge + width;
            edge = trailing;
            const int from = item->offset + cluster, to = item->offset + clusterEnd;
            int positions = 0;
            for (const char* p = text + from; p < text + to; p = g_utf8_next_char(p)) positions += isCursor(int(p - text));
            if (positions == 0) continue;
            int before = 0;
            for (const char* p = text + from; p < text + to; p = g_utf8_next_char(p)) {
                const int byte = int(p - text);
                if (!isCursor(byte)) continue;
                xs[size_t(byte - start)] = runX + ((positions - before) * leading + before * trailing) / positions;
                ++before;
            }
        }
        runX += runWidth;
    }
    return xs;
}

// The carets of one Pango line, `xStart` from the line's origin: at its start, at every cursor
// position inside, and at its end (before the separator that ends its paragraph, if any).
// `firstCharacter` counts the characters of the layout's text before the line.
void appendCarets(CTLine& line, PangoLayout* layout, PangoLayoutLine* pangoLine, CFIndex textOffset, double xStart,
                  long firstCharacter)
{
    const char* text = pango_layout_get_text(layout);
    int attributeCount = 0;
    const PangoLogAttr* attributes = pango_layout_get_log_attrs_readonly(layout, &attributeCount);
    const int start = pangoLine->start_index, end = start + pangoLine->length;
    const std::vector<int> xs = cursorXs(pangoLine, text, attributes, attributeCount, firstCharacter);
    long character = firstCharacter;
    for (const char* p = text + start;; p = g_utf8_next_char(p), ++character) {
        const int index = int(p - text);
        if (index == start || index == end ||
            (character < attributeCount && attributes[character].is_cursor_position)) {
            int x = xs[size_t(index - start)];
            // The end is the trailing edge of the last character: Pango puts the end index itself
            // at the right whatever the direction. Once a line, so its walk from the text's start
            // costs no more than the line's own.
            if (index == end && end > start)
                pango_layout_line_index_to_x(pangoLine, int(g_utf8_prev_char(p) - text), 1, &x);
            else if (x == INT_MIN)
                pango_layout_line_index_to_x(pangoLine, index, 0, &x);
            line.carets.push_back({textOffset + index, xStart + fromPango(x)});
        }
        if (index >= end) break;
    }
}

CTRef<CTLine> newLine(CFAttributedStringRef string, CFRange range)
{
    CTRef<CTLine> line = CTRef<CTLine>::adopt(new CTLine);
    line->string = CTRef<CFAttributedString>::retained(string);
    line->range = range;
    return line;
}

// A line with no glyph takes its height from the font at its place.
void takeFontHeightWhenEmpty(CTLine& line, CFAttributedStringRef string, CFIndex index)
{
    if (line.ascent > 0 || line.descent > 0) return;
    CTFontRef font = string->fontAt(index);
    line.ascent = font->ascent;
    line.descent = font->descent;
}

}  // namespace

CTGlyphRun::CTGlyphRun(CTGlyphRun&& o) noexcept
    : font(std::exchange(o.font, nullptr)), fontSize(o.fontSize), color(std::exchange(o.color, nullptr)),
      colorFromContext(o.colorFromContext), strokeWidth(o.strokeWidth),
      strokeColor(std::exchange(o.strokeColor, nullptr)), glyphs(std::move(o.glyphs))
{
}

CTGlyphRun::~CTGlyphRun()
{
    if (font) cairo_scaled_font_destroy(font);
    CGColorRelease(color);
    CGColorRelease(strokeColor);
}

std::unique_lock<std::mutex> CTTextLock()
{
    return std::unique_lock<std::mutex>(textMutex());
}

PangoContext* CTPangoContext()
{
    static PangoContext* context = makeContext();
    return context;
}

bool CTAddFontFile(const std::string& path)
{
    static std::vector<std::string> added;
    if (std::find(added.begin(), added.end(), path) != added.end()) return true;
    PangoFontMap* fontMap = pango_context_get_font_map(CTPangoContext());
    FcConfig* config = pango_fc_font_map_get_config(PANGO_FC_FONT_MAP(fontMap));
    if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path.c_str()))) return false;
    pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(fontMap));
    added.push_back(path);
    return true;
}

CFRange CTClampRange(const std::string& text, CFRange range)
{
    CFIndex size = CFIndex(text.size());
    CFIndex start = std::clamp<CFIndex>(range.location, 0, size);
    CFIndex end = std::clamp<CFIndex>(range.length > 0 ? start + range.length : start, start, size);
    // Out to character edges: back over continuation bytes at the start, forward at the end.
    while (start > 0 && (static_cast<unsigned char>(text[size_t(start)]) & 0xC0) == 0x80) --start;
    while (end < size && (static_cast<unsigned char>(text[size_t(end)]) & 0xC0) == 0x80) ++end;
    return CFRangeMake(start, end - start);
}

std::vector<CTRef<CTLine>> CTLayoutLines(CFAttributedStringRef string, CFRange range, double width,
                                         CTLineBreakMode mode)
{
    CTDefaultFont();
    auto lock = CTTextLock();
    PangoLayout* layout = makeLayout(string, range, width, mode);
    const char* text = pango_layout_get_text(layout);
    std::vector<CTRef<CTLine>> lines;
    if (range.length == 0) {
        g_object_unref(layout);
        return lines;
    }
    int count = pango_layout_get_line_count(layout);
    // Pango opens an empty line after a final separator; the platform's layout does not.
    if (count > 1 && endsWithParagraphSeparator(std::string_view(text, size_t(range.length)))) --count;
    long firstCharacter = 0;  // of the line, in the layout's text
    int counted = 0;          // the byte firstCharacter counts to
    CTUTF16Walker utf16(string->text);
    for (int i = 0; i < count; ++i) {
        PangoLayoutLine* pangoLine = pango_layout_get_line_readonly(layout, i);
        // A line's text runs to the next line's start, taking its separator.
        CFIndex end = i + 1 < count ? pango_layout_get_line_readonly(layout, i + 1)->start_index : range.length;
        CTRef<CTLine> line =
            newLine(string, CFRangeMake(range.location + pangoLine->start_index, end - pangoLine->start_index));
        line->width = appendGlyphs(*line.get(), pangoLine, range.location, 0);
        firstCharacter += g_utf8_strlen(text + counted, pangoLine->start_index - counted);
        counted = pangoLine->start_index;
        appendCarets(*line.get(), layout, pangoLine, range.location, 0, firstCharacter);
        line->trailingWhitespace = trailingWhitespace(pangoLine, text);
        line->rightToLeft = pangoLine->resolved_dir == PANGO_DIRECTION_RTL;
        takeFontHeightWhenEmpty(*line.get(), string, line->range.location);
        CTFinishLineRanges(*line.get(), utf16);
        lines.push_back(std::move(line));
    }
    g_object_unref(layout);
    return lines;
}

void CTFinishLineRanges(CTLine& line)
{
    CTUTF16Walker utf16(line.string->text);
    CTFinishLineRanges(line, utf16);
}

void CTFinishLineRanges(CTLine& line, CTUTF16Walker& utf16)
{
    // The carets go forward: one walk over the line maps them all. The runs, in visual order,
    // step back no further than the line's start.
    const CFIndex start = utf16.indexAt(line.range.location);
    utf16.mark();
    for (auto& caret : line.carets) caret.first = utf16.indexAt(caret.first);
    for (CTGlyphRunInfo& info : line.runInfo) info.range = utf16.range(info.range);
    line.utf16Range = CFRangeMake(start, utf16.indexAt(line.range.location + line.range.length) - start);
}

CTRef<CTLine> CTLayoutSingleLine(CFAttributedStringRef string, CFRange range)
{
    CTDefaultFont();
    auto lock = CTTextLock();
    PangoLayout* layout = makeLayout(string, range, -1, kCTLineBreakByClipping);
    const char* text = pango_layout_get_text(layout);
    CTRef<CTLine> line = newLine(string, range);
    int count = pango_layout_get_line_count(layout);
    long firstCharacter = 0;
    int counted = 0;
    for (int i = 0; i < count; ++i) {
        PangoLayoutLine* pangoLine = pango_layout_get_line_readonly(layout, i);
        firstCharacter += g_utf8_strlen(text + counted, pangoLine->start_index - counted);
        counted = pangoLine->start_index;
        appendCarets(*line.get(), layout, pangoLine, range.location, line->width, firstCharacter);
        line->width += appendGlyphs(*line.get(), pangoLine, range.location, line->width);
        if (i + 1 == count) line->trailingWhitespace = trailingWhitespace(pangoLine, text);
    }
    takeFontHeightWhenEmpty(*line.get(), string, range.location);
    CTFinishLineRanges(*line.get());
    g_object_unref(layout);
    return line;
}
