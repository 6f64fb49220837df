#include "CoreText/CTFramesetter.h"

#include <algorithm>

#include "CTInternal.h"

namespace {

// Wider than this, a constraint does not wrap.
constexpr double kUnlimited = 1e6;

// A UTF-16 range of the interface (length 0: to the end) as bytes of the text.
CFRange wholeRest(CFAttributedStringRef string, CFRange range)
{
    CFIndex length = CTUTF16Length(string->text);
    range.location = std::clamp<CFIndex>(range.location, 0, length);
    if (range.length <= 0) range.length = length - range.location;
    return CTClampRange(string->text, CTByteRange(string->text, range));
}

CTLineBreakMode lineBreakModeAt(CFAttributedStringRef string, CFIndex index)
{
    auto style = static_cast<CTParagraphStyleRef>(
        string->attributeAt(index, kCTParagraphStyleAttributeName, CFAttributeValue::Kind::ParagraphStyle));
    return style ? style->lineBreakMode : kCTLineBreakByWordWrapping;
}

CTLineTruncationType truncationOf(CTLineBreakMode mode)
{
    return mode == kCTLineBreakByTruncatingHead   ? kCTLineTruncationStart
           : mode == kCTLineBreakByTruncatingTail ? kCTLineTruncationEnd
                                                  : kCTLineTruncationMiddle;
}

// The lines of the range wrapped (or truncated) to the width as the paragraph style says.
std::vector<CTRef<CTLine>> linesOf(CFAttributedStringRef string, CFRange range, double width)
{
    CTLineBreakMode mode = lineBreakModeAt(string, range.location);
    std::vector<CTRef<CTLine>> lines = CTLayoutLines(string, range, width >= kUnlimited ? -1 : width, mode);
    if (mode >= kCTLineBreakByTruncatingHead && width < kUnlimited) {
        for (CTRef<CTLine>& line : lines) {
            CTLineRef cut = CTLineCreateTruncatedLine(line.get(), width, truncationOf(mode), nullptr);
            if (cut) line = CTRef<CTLine>::adopt(cut);
        }
    }
    return lines;
}

}  // namespace

CTFramesetterRef CTFramesetterCreateWithAttributedString(CFAttributedStringRef string)
{
    if (!string) return nullptr;
    auto* framesetter = new CTFramesetter;
    framesetter->string = CFAttributedString::concatenate({{string, CFRangeMake(0, CFIndex(string->text.size()))}});
    return framesetter;
}

CTFramesetterRef CFRetain(CTFramesetterRef framesetter)
{
    if (framesetter) const_cast<CTFramesetter*>(framesetter)->retain();
    return framesetter;
}

void CFRelease(CTFramesetterRef framesetter)
{
    if (framesetter) const_cast<CTFramesetter*>(framesetter)->release();
}

CGSize CTFramesetterSuggestFrameSizeWithConstraints(CTFramesetterRef framesetter, CFRange range, const void*,
                                                    CGSize constraints, CFRange* fitRange)
{
    if (fitRange) *fitRange = CFRangeMake(range.location, 0);
    if (!framesetter) return CGSizeZero;
    CFAttributedStringRef string = framesetter->string.get();
    range = wholeRest(string, range);
    if (fitRange) *fitRange = CFRangeMake(CTUTF16Index(string->text, range.location), 0);
    double width = 0, height = 0, above = 0;  // above: the lines before, leading included
    for (const CTRef<CTLine>& line : linesOf(string, range, constraints.width)) {
        if (above + line->ascent + line->descent > double(constraints.height) + 1e-3) break;
        above += line->ascent + line->descent + line->leading;
        height = std::min(above, double(constraints.height));
        width = std::max(width, line->visibleWidth());
        if (fitRange)
            fitRange->length = CTUTF16Index(string->text, line->range.location + line->range.length) - fitRange->location;
    }
    return CGSizeMake(CGFloat(width), CGFloat(height));
}

CTFrameRef CTFramesetterCreateFrame(CTFramesetterRef framesetter, CFRange range, CGPathRef path, const void*)
{
    if (!framesetter || !path) return nullptr;
    CFAttributedStringRef string = framesetter->string.get();
    range = wholeRest(string, range);
    CGRect box = CGRectStandardize(CGPathGetBoundingBox(path));
    auto* frame = new CTFrame;
    frame->string = framesetter->string;
    frame->visible = CFRangeMake(range.location, 0);
    if (CGRectIsNull(box)) return frame;
    double y = box.size.height;  // the top of the next line
    for (CTRef<CTLine>& line : linesOf(string, range, box.size.width)) {
        double baseline = y - line->ascent;
        if (baseline - line->descent < -1e-3) break;  // only whole lines
        double x = line->rightToLeft ? box.size.width - line->width : 0;
        frame->origins.push_back(CGPointMake(CGFloat(x), CGFloat(baseline)));
        y = baseline - line->descent - line->leading;
        frame->visible.length = line->range.location + line->range.length - range.location;
        frame->lines.push_back(line.leak());
    }
    return frame;
}
