#include "TesselSDK/tools/meme/QZMemeTextView.h"

#include "TesselSDK/tools/meme/QZMemeDefaultFont.h"

#include "Foundation/NSDelayedPerform.h"
#include "Foundation/NSStringUTF16.h"
#include "UIKit/UIColor.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr CGFloat kOutlineAlpha = 0.9f;
constexpr double kSteadyCursorSeconds = 0.5;

}  // namespace

void QZMemeTextView::prepareView()
{
    QZTextField::prepareView();
    setFontSize(kDefaultFontSize);
    setTextColor(UIColor::whiteColor());
    setTextBorderColor(UIColor::colorWithWhite(0, kOutlineAlpha));
    setAutocapitalizationType(UITextAutocapitalizationTypeAllCharacters);
    setTextAlpha(1);
}

void QZMemeTextView::createFont()
{
    setFont(createDefaultMemeFont());
}

void QZMemeTextView::clearText()
{
    QZTextField::clearText();
    if (fontSize() != kDefaultFontSize) {
        setFont(createDefaultMemeFont());
        setFontSize(kDefaultFontSize);
    }
}

bool QZMemeTextView::textFitsInFont(const std::string& text, CTFontRef font) const
{
    CFMutableAttributedStringRef string = attributedStringWithStringFont(text, font);
    CTFramesetterRef framesetter = CTFramesetterCreateWithAttributedString(string);
    CFRelease(string);
    CGPathRef path = CGPathCreateWithRect(scaleBounds(bounds()), nullptr);
    CTFrameRef frame = CTFramesetterCreateFrame(framesetter, CFRangeMake(0, 0), path, nullptr);
    CGPathRelease(path);
    CFRelease(framesetter);
    const bool fits = CTFrameGetVisibleStringRange(frame).length == CFIndex(NSStringUTF16Length(text));
    CFRelease(frame);
    return fits;
}

bool QZMemeTextView::textFitsAtSize(const std::string& text, CGFloat size)
{
    return textFitsInFont(text, fonts_.fontAtSize(font(), size));
}

void QZMemeTextView::adoptFontSize(CGFloat size)
{
    setFont(CFRetain(fonts_.fontAtSize(font(), size)));
    setFontSize(size);
}

std::optional<bool> QZMemeTextView::textViewShouldChangeTextInRangeReplacementText(UITextView* textView, NSRange range,
                                                                                   const std::string& replacement)
{
    if (QZTextField::textViewShouldChangeTextInRangeReplacementText(textView, range, replacement) == false) return false;
    const std::string old = text();
    const std::uint64_t oldLength = NSStringUTF16Length(old);
    // A range past the end is cut to the text.
    const std::uint64_t location = std::min<std::uint64_t>(range.location, oldLength);
    const std::uint64_t length = std::min<std::uint64_t>(range.length, oldLength - location);
    const std::size_t from = NSStringUTF8OffsetForUTF16Index(old, NSUInteger(location));
    const std::size_t to = NSStringUTF8OffsetForUTF16Index(old, NSUInteger(location + length));
    const std::string changed = old.substr(0, from) + replacement + old.substr(to);
    // A final line feed opens a line that holds nothing yet: measured, it counts.
    const std::string measured = !changed.empty() && changed.back() == '\n' ? changed + "a" : changed;

    bool accepted = true;
    if (NSStringUTF16Length(measured) < oldLength) {
        if (fontSize() < kDefaultFontSize && textFitsAtSize(measured, fontSize() + 1)) {
            CGFloat size = fontSize() + 1;
            adoptFontSize(size);
            while (size + 1 < kDefaultFontSize && textFitsAtSize(measured, size + 1)) adoptFontSize(++size);
        }
    } else if (!textFitsInFont(measured, font())) {
        accepted = false;
        for (CGFloat size = fontSize() - 1; size > kSmallestRefusedFontSize; --size) {
            if (!textFitsAtSize(measured, size)) continue;
            adoptFontSize(size);
            accepted = true;
            break;
        }
    }

    NSCancelPreviousPerformRequests(cursorView());
    cursorView()->setBlinkEnabled(QZTextFieldCursorSteady);
    if (accepted) {
        setText(changed);
        NSPerformAfterDelay(
            cursorView(), [](QZTextFieldCursorView& cursor) { cursor.setBlinkEnabled(QZTextFieldCursorBlink); },
            kSteadyCursorSeconds);
        setCurrentOffset(NSInteger(location + NSStringUTF16Length(replacement)));
    }
    setNeedsDisplay();
    return accepted;
}
