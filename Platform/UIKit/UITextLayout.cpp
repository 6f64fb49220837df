#include "UIKit/UITextLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "CoreText/CoreText.h"
#include "Foundation/NSStringUTF16.h"
#include "UIKit/UIFont.h"

namespace {

// Wider or taller than this, a box does not limit.
constexpr CGFloat kUnlimited = 1e6f;

using HeldLine = std::shared_ptr<const CTLine>;

HeldLine hold(CTLineRef line)
{
    return line ? HeldLine(line, [](CTLineRef l) { CFRelease(l); }) : nullptr;
}

// The text in the font, coloured by the context, breaking lines as the mode says.
CFMutableAttributedStringRef makeString(const std::string& text, CTFontRef font, NSLineBreakMode mode)
{
    CFMutableAttributedStringRef string = CFAttributedStringCreateMutable();
    CFAttributedStringReplaceString(string, CFRangeMake(0, 0), text);
    CFRange all = CFRangeMake(0, CFAttributedStringGetLength(string));
    CFAttributedStringSetAttribute(string, all, kCTFontAttributeName, font);
    CFAttributedStringSetAttribute(string, all, kCTForegroundColorFromContextAttributeName, kCFBooleanTrue);
    CTLineBreakMode wrap = mode == NSLineBreakByCharWrapping ? kCTLineBreakByCharWrapping : kCTLineBreakByWordWrapping;
    CTParagraphStyleSetting setting{kCTParagraphStyleSpecifierLineBreakMode, sizeof wrap, &wrap};
    CTParagraphStyleRef style = CTParagraphStyleCreate(&setting, 1);
    CFAttributedStringSetAttribute(string, all, kCTParagraphStyleAttributeName, style);
    CFRelease(style);
    return string;
}

HeldLine lineOfText(const std::string& text, CTFontRef font)
{
    CFMutableAttributedStringRef string = makeString(text, font, NSLineBreakByClipping);
    HeldLine line = hold(CTLineCreateWithAttributedString(string));
    CFRelease(string);
    return line;
}

// Where the line starts in the text (line ranges count UTF-16 units).
size_t byteOffsetOf(const std::string& text, CTLineRef line)
{
    return NSStringUTF8OffsetForUTF16Index(text, NSUInteger(CTLineGetStringRange(line).location));
}

double visibleWidth(CTLineRef line)
{
    return CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr) - CTLineGetTrailingWhitespaceWidth(line);
}

// Where the paragraph holding `from` ends (before its separator).
size_t paragraphEnd(const std::string& text, size_t from)
{
    for (size_t i = from; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || c == '\r') return i;
        // U+2028 and U+2029: E2 80 A8 / A9.
        if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) == 0xA8 || static_cast<unsigned char>(text[i + 2]) == 0xA9))
            return i;
    }
    return text.size();
}

// The rest of the paragraph from `start` on one line, cut to the width as the mode says.
HeldLine lastLine(const std::string& text, size_t start, bool moreFollows, CTFontRef font, CGFloat width,
                  NSLineBreakMode mode)
{
    std::string rest = text.substr(start, paragraphEnd(text, start) - start);
    HeldLine line = lineOfText(rest, font);
    if (mode == NSLineBreakByClipping) return line;
    if (mode == NSLineBreakByTruncatingTail && moreFollows) {
        HeldLine marked = lineOfText(rest + "\u2026", font);
        if (visibleWidth(marked.get()) <= width) return marked;
    }
    CTLineTruncationType type = mode == NSLineBreakByTruncatingHead   ? kCTLineTruncationStart
                                : mode == NSLineBreakByTruncatingTail ? kCTLineTruncationEnd
                                                                      : kCTLineTruncationMiddle;
    HeldLine cut = hold(CTLineCreateTruncatedLine(line.get(), width, type, nullptr));
    return cut ? cut : line;  // narrower than the ellipsis: clipped when drawn
}

}  // namespace

UITextLayout::UITextLayout(const std::string& text, const std::shared_ptr<UIFont>& font, CGSize box,
                           NSInteger numberOfLines, NSLineBreakMode lineBreakMode, NSTextAlignment alignment)
    : box_(box), mode_(lineBreakMode), alignment_(alignment)
{
    if (!font || text.empty()) return;
    CTFontRef ctFont = font->CTFont();
    double lineHeight = font->lineHeight();
    bool unlimitedWidth = !(box.width < kUnlimited);
    CGFloat width = unlimitedWidth ? kUnlimited : std::max(box.width, CGFloat(0));

    size_t maxLines = std::numeric_limits<size_t>::max();
    if (box.height < kUnlimited)
        maxLines = std::max<size_t>(1, size_t(std::floor(std::max(0.0, box.height / lineHeight + 1e-4))));
    if (numberOfLines > 0) maxLines = std::min(maxLines, size_t(numberOfLines));

    CFMutableAttributedStringRef string = makeString(text, ctFont, lineBreakMode);
    CTFramesetterRef framesetter = CTFramesetterCreateWithAttributedString(string);
    CFRelease(string);
    CGPathRef path = CGPathCreateWithRect(CGRectMake(0, 0, unlimitedWidth ? 2 * kUnlimited : width, 1e7f), nullptr);
    CTFrameRef frame = CTFramesetterCreateFrame(framesetter, CFRangeMake(0, 0), path, nullptr);
    CGPathRelease(path);
    CFRelease(framesetter);

    const std::vector<CTLineRef>& all = CTFrameGetLines(frame);
    size_t kept = std::min(all.size(), maxLines);
    bool truncates = lineBreakMode != NSLineBreakByWordWrapping && lineBreakMode != NSLineBreakByCharWrapping;
    for (size_t i = 0; i < kept; ++i) {
        HeldLine line = hold(CFRetain(all[i]));
        if (i + 1 == kept && kept < all.size() && truncates) {
            size_t start = byteOffsetOf(text, all[i]);
            size_t end = paragraphEnd(text, start);
            bool moreFollows = false;
            for (size_t j = kept; j < all.size(); ++j) moreFollows |= byteOffsetOf(text, all[j]) > end;
            line = lastLine(text, start, moreFollows, ctFont, width, lineBreakMode);
        }
        lines_.push_back({line, CGPointZero});
    }
    CFRelease(frame);

    double widest = 0;
    for (const Line& l : lines_) widest = std::max(widest, visibleWidth(l.line.get()));
    for (size_t i = 0; i < lines_.size(); ++i) {
        double room = unlimitedWidth ? 0 : std::max(0.0, width - visibleWidth(lines_[i].line.get()));
        double x = alignment == NSTextAlignmentCenter ? room / 2 : alignment == NSTextAlignmentRight ? room : 0;
        lines_[i].origin = CGPointMake(CGFloat(x), CGFloat(double(i) * lineHeight + font->ascender()));
    }
    size_ = CGSizeMake(CGFloat(std::ceil(std::min(widest, double(width)))),
                       CGFloat(std::ceil(double(lines_.size()) * lineHeight)));
}

CGRect UITextLayout::labelTextRect(CGRect bounds) const
{
    CGFloat room = std::max(bounds.size.width - size_.width, CGFloat(0));
    CGFloat x = alignment_ == NSTextAlignmentCenter ? room / 2 : alignment_ == NSTextAlignmentRight ? room : 0;
    return CGRectMake(bounds.origin.x + x, bounds.origin.y + (bounds.size.height - size_.height) / 2, size_.width,
                      size_.height);
}

void UITextLayout::draw(CGContextRef context, CGPoint origin, CGColorRef color, CGColorRef shadowColor,
                        CGSize shadowOffset) const
{
    if (!context || lines_.empty()) return;
    CGAffineTransform textMatrix = CGContextGetTextMatrix(context);
    CGContextSaveGState(context);
    bool overflows = false;
    for (const Line& l : lines_) overflows |= l.origin.x + visibleWidth(l.line.get()) > double(box_.width);
    if (mode_ == NSLineBreakByClipping || overflows) {
        // At the box's sides only: a box lower than its one line still shows it.
        CGContextClipToRect(
            context, CGRectMake(origin.x, origin.y - kUnlimited, std::min(box_.width, kUnlimited), 2 * kUnlimited));
    }
    if (color) CGContextSetFillColorWithColor(context, color);
    // Line by line, each with its shadow: a shadow goes below its own line's glyphs only.
    if (shadowColor) CGContextSetShadowWithColor(context, shadowOffset, 0, shadowColor);
    for (const Line& l : lines_) {
        // Glyphs are upright in y-up text space; this user space is y down.
        CGContextSetTextMatrix(context,
                               CGAffineTransformMake(1, 0, 0, -1, origin.x + l.origin.x, origin.y + l.origin.y));
        if (!shadowColor) {
            CTLineDraw(l.line.get(), context);
            continue;
        }
        // A shadow is blurred from all of the clip it may reach: held to a band about its own line
        // (a line height of room above and below, and the offset), a tall label costs its lines'
        // area, not its lines times its own.
        CGFloat ascent = 0, descent = 0, leading = 0;
        CTLineGetTypographicBounds(l.line.get(), &ascent, &descent, &leading);
        const CGFloat room = ascent + descent + leading + std::abs(shadowOffset.height);
        const CGFloat baseline = origin.y + l.origin.y;
        CGContextSaveGState(context);
        CGContextClipToRect(context, CGRectMake(origin.x - kUnlimited, baseline - ascent - room, 2 * kUnlimited,
                                                ascent + descent + 2 * room));
        CTLineDraw(l.line.get(), context);
        CGContextRestoreGState(context);
    }
    CGContextRestoreGState(context);
    CGContextSetTextMatrix(context, textMatrix);
}
