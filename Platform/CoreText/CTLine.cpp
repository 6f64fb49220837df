#include "CoreText/CTLine.h"

#include <glib.h>

#include <algorithm>
#include <cmath>

#include "CTInternal.h"
#include "CoreGraphics/CGPath.h"

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

// The run's glyph outlines in user space: glyph space (y down) turned y up, then through the text
// matrix, whose translation is the text position. Null when the run has no outline.
CGPathRef outlineOf(const CTGlyphRun& run, const CGAffineTransform& tm)
{
    // Unbounded: Cairo leaves out of a glyph path every glyph placed more than ten ems outside
    // the surface, which on a small one cut long lines short.
    cairo_surface_t* surface = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
    cairo_t* cr = cairo_create(surface);
    cairo_set_scaled_font(cr, run.font);
    cairo_glyph_path(cr, run.glyphs.data(), int(run.glyphs.size()));
    cairo_path_t* path = cairo_copy_path(cr);
    CGMutablePathRef outline = nullptr;
    if (path->status == CAIRO_STATUS_SUCCESS && path->num_data > 0) {
        outline = CGPathCreateMutable();
        for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
            const cairo_path_data_t* d = &path->data[i];
            auto x = [&](int k) { return CGFloat(d[k].point.x); };
            auto y = [&](int k) { return CGFloat(-d[k].point.y); };
            switch (d->header.type) {
            case CAIRO_PATH_MOVE_TO: CGPathMoveToPoint(outline, &tm, x(1), y(1)); break;
            case CAIRO_PATH_LINE_TO: CGPathAddLineToPoint(outline, &tm, x(1), y(1)); break;
            case CAIRO_PATH_CURVE_TO: CGPathAddCurveToPoint(outline, &tm, x(1), y(1), x(2), y(2), x(3), y(3)); break;
            case CAIRO_PATH_CLOSE_PATH: CGPathCloseSubpath(outline); break;
            }
        }
        if (CGPathIsEmpty(outline)) {
            CGPathRelease(outline);
            outline = nullptr;
        }
    }
    cairo_path_destroy(path);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return outline;
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
    best->utf16Range = line->utf16Range;
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
    return line ? line->utf16Range : CFRangeMake(0, 0);
}

CGFloat CTLineGetOffsetForStringIndex(CTLineRef line, CFIndex charIndex, CGFloat* secondaryOffset)
{
    double x = 0;
    if (line && !line->carets.empty()) {
        x = line->carets.front().second;
        for (const auto& [index, caretX] : line->carets)
            if (index <= charIndex) x = caretX;
    }
    if (secondaryOffset) *secondaryOffset = CGFloat(x);
    return CGFloat(x);
}

CFIndex CTLineGetStringIndexForPosition(CTLineRef line, CGPoint position)
{
    if (!line || line->utf16Range.length == 0 || line->carets.empty()) return kCFNotFound;
    CFIndex nearest = line->carets.front().first;
    double distance = std::abs(line->carets.front().second - double(position.x));
    for (const auto& [index, x] : line->carets) {
        if (std::abs(x - double(position.x)) < distance) {
            distance = std::abs(x - double(position.x));
            nearest = index;
        }
    }
    return nearest;
}

std::vector<CTGlyphRunInfo> CTLineGetGlyphRuns(CTLineRef line)
{
    return line ? line->runInfo : std::vector<CTGlyphRunInfo>();
}

void CTLineDraw(CTLineRef line, CGContextRef context)
{
    if (!line || !context || line->runs.empty()) return;
    CGAffineTransform tm = CGContextGetTextMatrix(context);
    // Outline widths are in text space, so they grow with the text matrix as the glyphs do.
    double textScale = std::sqrt(std::abs(double(tm.a) * tm.d - double(tm.b) * tm.c));
    for (const CTGlyphRun& run : line->runs) {
        CGPathRef outline = outlineOf(run, tm);
        if (!outline) continue;
        CGColorRef fill = run.colorFromContext ? nullptr : run.color ? run.color : black();
        CGContextSaveGState(context);
        if (run.strokeWidth <= 0) {
            if (fill) CGContextSetFillColorWithColor(context, fill);
            CGContextAddPath(context, outline);
            CGContextFillPath(context);
        }
        if (run.strokeWidth != 0) {
            // Without a colour of its own, the outline takes the fill's (the context's stroke colour
            // stands in for a fill taken from the context).
            CGColorRef stroke = run.strokeColor ? run.strokeColor : fill;
            if (stroke) CGContextSetStrokeColorWithColor(context, stroke);
            CGContextSetLineWidth(context, CGFloat(std::abs(run.strokeWidth) / 100 * run.fontSize * textScale));
            CGContextAddPath(context, outline);
            CGContextStrokePath(context);
        }
        CGContextRestoreGState(context);
        CGPathRelease(outline);
    }
}
