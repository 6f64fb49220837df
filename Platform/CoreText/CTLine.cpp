#include "CoreText/CTLine.h"

#include <glib.h>

#include <algorithm>

#include "CTInternal.h"
#include "CoreGraphics/CGContextCairo.h"

namespace {

CGColorRef black()
{
    static CGColorRef color = [] {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGFloat components[4] = {0, 0, 0, 1};
        CGColorRef c = CGColorCreate(space, components);
        CGColorSpaceRelease(space);
        return c;
    }();
    return color;
}

bool isSpaceBefore(const std::string& text, CFIndex at)
{
    return at > 0 && g_unichar_isspace(g_utf8_get_char(g_utf8_prev_char(text.data() + at)));
}

bool isSpaceAt(const std::string& text, CFIndex at, CFIndex end)
{
    return at < end && g_unichar_isspace(g_utf8_get_char(text.data() + at));
}

// Byte indices where the text of `range` may be cut: its start, every grapheme boundary, its end.
std::vector<CFIndex> cutPositions(const std::string& text, CFRange range)
{
    const char* start = text.data() + range.location;
    glong characters = g_utf8_strlen(start, range.length);
    std::vector<PangoLogAttr> attributes(size_t(characters) + 1);
    {
        auto lock = CTTextLock();
        pango_get_log_attrs(start, int(range.length), -1, pango_language_get_default(), attributes.data(),
                            int(attributes.size()));
    }
    std::vector<CFIndex> positions;
    const char* p = start;
    for (glong i = 0; i <= characters; ++i) {
        if (attributes[size_t(i)].is_cursor_position || i == 0 || i == characters)
            positions.push_back(range.location + (p - start));
        if (i < characters) p = g_utf8_next_char(p);
    }
    return positions;
}

}  // namespace

CTLineRef CTLineCreateWithAttributedString(CFAttributedStringRef string)
{
    if (!string) return nullptr;
    CTRef<CFAttributedString> copy =
        CFAttributedString::concatenate({{string, CFRangeMake(0, CFIndex(string->text.size()))}});
    return CTLayoutSingleLine(copy.get(), CFRangeMake(0, CFIndex(copy->text.size()))).leak();
}

CTLineRef CFRetain(CTLineRef line)
{
    if (line) const_cast<CTLine*>(line)->retain();
    return line;
}

void CFRelease(CTLineRef line)
{
    if (line) const_cast<CTLine*>(line)->release();
}

CTLineRef CTLineCreateTruncatedLine(CTLineRef line, double width, CTLineTruncationType truncationType,
                                    CTLineRef truncationToken)
{
    if (!line) return nullptr;
    if (line->visibleWidth() <= width) return CFRetain(line);
    const CFAttributedString* source = line->string.get();
    const std::string& text = source->text;
    // The paragraph separator and the white space ending the line are never kept.
    CFIndex start = line->range.location, end = start + line->range.length;
    while (end > start && g_unichar_isspace(g_utf8_get_char(g_utf8_prev_char(text.data() + end))))
        end = CFIndex(g_utf8_prev_char(text.data() + end) - text.data());
    std::vector<CFIndex> cuts = cutPositions(text, CFRangeMake(start, end - start));
    size_t clusters = cuts.size() - 1;

    CTRef<CFAttributedString> tokenString;
    CFRange tokenRange;
    if (truncationToken) {
        tokenString = truncationToken->string;
        tokenRange = truncationToken->range;
    } else {
        CFIndex at = truncationType == kCTLineTruncationStart ? start
                     : truncationType == kCTLineTruncationEnd ? cuts[clusters > 0 ? clusters - 1 : 0]
                                                              : cuts[clusters / 2];
        CTRef<CFAttributedString> one =
            CFAttributedString::concatenate({{source, CTClampRange(text, CFRangeMake(at, 1))}});
        CFAttributedStringReplaceString(one.get(), CFRangeMake(0, CFIndex(one->text.size())), "\u2026");
        tokenString = one;
        tokenRange = CFRangeMake(0, CFIndex(one->text.size()));
    }

    // The line keeping `kept` clusters of the text around the token.
    auto candidate = [&](size_t kept) {
        size_t head = truncationType == kCTLineTruncationEnd     ? kept
                      : truncationType == kCTLineTruncationStart ? 0
                                                                 : (kept + 1) / 2;
        size_t tail = kept - head;
        CFIndex headEnd = cuts[head], tailStart = cuts[clusters - tail];
        while (headEnd > start && isSpaceBefore(text, headEnd))
            headEnd = CFIndex(g_utf8_prev_char(text.data() + headEnd) - text.data());
        while (isSpaceAt(text, tailStart, end))
            tailStart = CFIndex(g_utf8_next_char(text.data() + tailStart) - text.data());
        std::vector<std::pair<CFAttributedStringRef, CFRange>> pieces;
        if (head > 0) pieces.push_back({source, CFRangeMake(start, headEnd - start)});
        pieces.push_back({tokenString.get(), tokenRange});
        if (tail > 0) pieces.push_back({source, CFRangeMake(tailStart, end - tailStart)});
        CTRef<CFAttributedString> joined = CFAttributedString::concatenate(pieces);
        return CTLayoutSingleLine(joined.get(), CFRangeMake(0, CFIndex(joined->text.size())));
    };
    CTRef<CTLine> best = candidate(0);
    if (best->visibleWidth() > width) return nullptr;
    // The most clusters that still fit: widths grow with what is kept.
    size_t low = 0, high = clusters;
    while (low < high) {
        size_t mid = (low + high + 1) / 2;
        CTRef<CTLine> tried = candidate(mid);
        if (tried->visibleWidth() <= width) {
            low = mid;
            best = tried;
        } else {
            high = mid - 1;
        }
    }
    best->range = line->range;
    return best.leak();
}

double CTLineGetTypographicBounds(CTLineRef line, CGFloat* ascent, CGFloat* descent, CGFloat* leading)
{
    if (ascent) *ascent = line ? CGFloat(line->ascent) : 0;
    if (descent) *descent = line ? CGFloat(line->descent) : 0;
    if (leading) *leading = line ? CGFloat(line->leading) : 0;
    return line ? line->width : 0;
}

double CTLineGetTrailingWhitespaceWidth(CTLineRef line)
{
    return line ? line->trailingWhitespace : 0;
}

double CTLineGetPenOffsetForFlush(CTLineRef line, CGFloat flushFactor, double flushWidth)
{
    if (!line) return 0;
    double room = flushWidth - line->visibleWidth();
    return room > 0 ? room * std::clamp(double(flushFactor), 0.0, 1.0) : 0;
}

CGRect CTLineGetImageBounds(CTLineRef line, CGContextRef context)
{
    if (!line || CGRectIsNull(line->ink)) return CGRectNull;
    CGPoint position = CGContextGetTextPosition(context);
    return CGRectOffset(line->ink, position.x, position.y);
}

CFRange CTLineGetStringRange(CTLineRef line)
{
    return line ? line->range : CFRangeMake(0, 0);
}

void CTLineDraw(CTLineRef line, CGContextRef context)
{
    if (!line || !context || line->runs.empty()) return;
    CGAffineTransform tm = CGContextGetTextMatrix(context);
    CGRect box = CGRectMake(0, CGFloat(-line->descent), CGFloat(line->width), CGFloat(line->ascent + line->descent));
    if (!CGRectIsNull(line->ink)) box = CGRectUnion(box, line->ink);
    CGContextDrawWithCairo(
        context, CGRectApplyAffineTransform(box, tm), [line, tm](cairo_t* cr, const CGContextCairoSource& setSource) {
            cairo_matrix_t textToUser;
            cairo_matrix_init(&textToUser, tm.a, tm.b, tm.c, tm.d, tm.tx, tm.ty);
            for (const CTGlyphRun& run : line->runs) {
                cairo_save(cr);
                // The source is set in user space, where pattern colours are placed.
                double alpha = setSource(run.colorFromContext ? nullptr : run.color ? run.color : black());
                cairo_transform(cr, &textToUser);
                cairo_scale(cr, 1, -1);  // text space is y up, glyph space y down
                cairo_set_scaled_font(cr, run.font);
                if (alpha < 1) cairo_push_group(cr);
                cairo_show_glyphs(cr, run.glyphs.data(), int(run.glyphs.size()));
                if (alpha < 1) {
                    cairo_pop_group_to_source(cr);
                    cairo_paint_with_alpha(cr, alpha);
                }
                cairo_restore(cr);
            }
        });
}
