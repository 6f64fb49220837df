#include "TesselSDK/tools/text/QZTextField.h"

#include "TesselSDKImaging/Text/QZText.h"
#include "TesselSDKImaging/Text/QZTextLayout.h"

#include "Foundation/NSDelayedPerform.h"
#include "Foundation/NSStringUTF16.h"
#include "UIKit/UIGraphics.h"

#include <cfloat>
#include <cmath>
#include <vector>

namespace {

bool endsWithLineFeed(const std::string& text)
{
    return !text.empty() && text.back() == '\n';
}

NSInteger lengthOf(const std::string& text)
{
    return NSInteger(NSStringUTF16Length(text));
}

// The text without the control characters no key types: C0 but the tab and the line feed, DEL, C1
// (U+0080 to U+009F, two bytes in UTF-8).
std::string withoutControlCharacters(const std::string& text)
{
    std::string kept;
    kept.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7F) continue;
        if (byte == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80) {
            ++i;
            continue;
        }
        kept.push_back(text[i]);
    }
    return kept;
}

std::shared_ptr<UIColor> withAlpha(const std::shared_ptr<UIColor>& color, CGFloat alpha)
{
    return color ? color->colorWithAlphaComponent(alpha) : nullptr;
}

}  // namespace

QZTextField::~QZTextField()
{
    if (font_) CFRelease(font_);
}

void QZTextField::prepareView()
{
    setBackgroundColor(UIColor::clearColor());
    const CGRect b = bounds();

    textView_ = UIView::viewWithFrame<UITextView>(b);
    textView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    textView_->setCenter(QZCGRectGetCenter(b));
    textView_->setAlpha(0);
    textView_->setDelegate(std::static_pointer_cast<UITextViewDelegate>(self<QZTextField>()));
    textView_->setAutocorrectionType(UITextAutocorrectionTypeNo);
    textView_->setAutocapitalizationType(UITextAutocapitalizationTypeNone);
    textView_->setFont(UIFont::systemFontOfSize(1));
    addSubview(textView_);

    cursorView_ = UIView::viewWithFrame<QZTextFieldCursorView>(b);
    cursorView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    cursorView_->setUserInteractionEnabled(false);
    addSubview(cursorView_);

    setContentMode(UIViewContentModeRedraw);
    setScale(1);
    fontSize_ = 30;

    longPressRecognizer_ = UIGestureRecognizer::recognizerWithTarget<UILongPressGestureRecognizer>(
        self<QZTextField>(), &QZTextField::didTap);
    longPressRecognizer_->setAllowableMovement(FLT_MAX);
    longPressRecognizer_->setMinimumPressDuration(0.01);
    addGestureRecognizer(longPressRecognizer_);

    setText("");
    currentOffset_ = 1;
    setTextBorderColor(UIColor::blackColor());
    setTextColor(UIColor::blackColor());
    setTextAlpha(1);
}

// ---- Properties ----

void QZTextField::setScale(CGFloat scale)
{
    scale_ = scale;
    if (cursorView_) cursorView_->setScale(scale);
}

void QZTextField::setText(std::string text)
{
    text_ = std::move(text);
    setAccessibilityLabel(fixedAccessibilityLabel_.empty() ? text_ : fixedAccessibilityLabel_);
}

void QZTextField::setFixedAccessibilityLabel(std::string label)
{
    fixedAccessibilityLabel_ = std::move(label);
    setAccessibilityLabel(fixedAccessibilityLabel_.empty() ? text_ : fixedAccessibilityLabel_);
}

void QZTextField::setFont(CTFontRef font)
{
    if (font == font_) return;
    if (font_) CFRelease(font_);
    font_ = font;
}

void QZTextField::createFont()
{
    setFont(CTFontCreateUIFontForLanguage(kCTFontUIFontSystem, 30, ""));
}

void QZTextField::setTextColor(std::shared_ptr<UIColor> color)
{
    textColor_ = std::move(color);
    setTextAlpha(textAlpha_);
    setNeedsDisplay();
}

void QZTextField::setTextBorderColor(std::shared_ptr<UIColor> color)
{
    textBorderColor_ = std::move(color);
    setTextAlpha(textAlpha_);
    setNeedsDisplay();
}

void QZTextField::setTextAlpha(CGFloat alpha)
{
    textAlpha_ = alpha;
    textColor_ = withAlpha(textColor_, alpha);
    textBorderColor_ = withAlpha(textBorderColor_, alpha);
    setNeedsDisplay();
}

// ---- Key input ----

bool QZTextField::becomeFirstResponder()
{
    return textView_->becomeFirstResponder();
}

bool QZTextField::isFirstResponder() const
{
    return textView_->isFirstResponder();
}

void QZTextField::setInputAccessoryView(std::shared_ptr<UIView> view)
{
    textView_->setInputAccessoryView(std::move(view));
}

void QZTextField::setAutocapitalizationType(UITextAutocapitalizationType type)
{
    textView_->setAutocapitalizationType(type);
}

void QZTextField::clearText()
{
    setText("");
    textView_->setText("");
    setNeedsDisplay();
}

// ---- Text ----

CFMutableAttributedStringRef QZTextField::attributedStringWithString(const std::string& string) const
{
    return attributedStringWithStringFont(string, font_);
}

CFMutableAttributedStringRef QZTextField::attributedStringWithStringFont(const std::string& string,
                                                                         CTFontRef font) const
{
    return QZTextAttributedString(string, font, textColor_, textBorderColor_);
}

CTFrameRef QZTextField::formatedCTFrameWithPath(CGPathRef path) const
{
    CFMutableAttributedStringRef string = attributedStringWithString(text_);
    CTFramesetterRef framesetter = CTFramesetterCreateWithAttributedString(string);
    CFRelease(string);
    CTFrameRef frame = CTFramesetterCreateFrame(framesetter, CFRangeMake(0, 0), path, nullptr);
    CFRelease(framesetter);
    return frame;
}

CGSize QZTextField::textSize() const
{
    if (text_.empty()) return CGSizeZero;
    CFMutableAttributedStringRef string = attributedStringWithString(text_);
    CTFramesetterRef framesetter = CTFramesetterCreateWithAttributedString(string);
    CFRelease(string);
    CGSize size = CTFramesetterSuggestFrameSizeWithConstraints(framesetter, CFRangeMake(0, 0), nullptr,
                                                               CGSizeMake(FLT_MAX, FLT_MAX), nullptr);
    CFRelease(framesetter);
    if (endsWithLineFeed(text_)) size.height += fontSize_;
    size.width += 20;
    return size;
}

// ---- Drawing ----

void QZTextField::drawTextLinesCenteredInContextWithBounds(CTFrameRef frame, CGContextRef context, CGRect bounds) const
{
    drawTextLinesCentered(context, frame, bounds, QZTextVerticalAlignment(alignment_), QZTextLanguageDirection(text_),
                          scale_, endsWithLineFeed(text_));
}

void QZTextField::drawTextInRect(CGRect rect) const
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    CGContextSaveGState(context);
    CGContextSetTextMatrix(context, CGAffineTransformIdentity);
    const CGPoint centre = QZCGRectGetCenter(rect);
    CGContextTranslateCTM(context, centre.x, centre.y);
    CGContextScaleCTM(context, scale_, -scale_);
    CGContextTranslateCTM(context, -centre.x, -centre.y);
    const CGRect layout = QZTextLayoutRectForScale(rect, scale_);
    CGPathRef path = CGPathCreateWithRect(layout, nullptr);
    CTFrameRef frame = formatedCTFrameWithPath(path);
    drawTextLinesCenteredInContextWithBounds(frame, context, layout);
    CFRelease(frame);
    CGPathRelease(path);
    CGContextRestoreGState(context);
}

void QZTextField::drawRect(CGRect rect)
{
    QZView::drawRect(rect);
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    const CGRect b = bounds();
    CGContextSaveGState(context);
    CGContextSetTextMatrix(context, CGAffineTransformIdentity);
    const CGPoint centre = QZCGRectGetCenter(b);
    CGContextTranslateCTM(context, centre.x, centre.y);
    CGContextScaleCTM(context, scale_, -scale_);
    CGContextTranslateCTM(context, -centre.x, -centre.y);
    CGPathRef path = CGPathCreateWithRect(b, nullptr);
    CTFrameRef frame = formatedCTFrameWithPath(path);
    cursorView_->setCursorBounds(cursorRectForFrame(frame, b));
    drawTextLinesCenteredInContextWithBounds(frame, context, b);
    cursorView_->setNeedsDisplay();
    CFRelease(frame);
    CGPathRelease(path);
    CGContextRestoreGState(context);
}

CGRect QZTextField::cursorRectForFrame(CTFrameRef frame, CGRect bounds) const
{
    constexpr CGFloat kCursorWidth = 4;
    const std::vector<CTLineRef>& lines = CTFrameGetLines(frame);
    CGFloat x = CGRectGetMinX(bounds) + bounds.size.width / 2;
    CGFloat y = alignment_ == QZTextFieldTopAlign      ? CGRectGetMinY(bounds) + 4
                : alignment_ == QZTextFieldCenterAlign ? CGRectGetMaxY(bounds) - fontSize_ * 0.5f
                                                       : CGRectGetMaxY(bounds) - 4 - fontSize_;
    if (lines.empty()) return CGRectMake(x, y, kCursorWidth, fontSize_);

    std::vector<CGPoint> origins(lines.size());
    CTFrameGetLineOrigins(frame, CFRangeMake(0, 0), origins.data());
    CGFloat ascent = 0, descent = 0, leading = 0;
    CTLineGetTypographicBounds(lines.back(), &ascent, &descent, &leading);
    const CGFloat lastOriginY = origins.back().y;
    const CGFloat w = alignment_ == QZTextFieldTopAlign      ? 0
                      : alignment_ == QZTextFieldCenterAlign ? (lastOriginY - descent) * 0.5f
                                                             : lastOriginY - descent;
    // A caret on the boundary of two lines belongs to the later one.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const CFRange range = CTLineGetStringRange(lines[i]);
        if (currentOffset_ < range.location || currentOffset_ > range.location + range.length) continue;
        x = CGRectGetMinX(bounds) + CTLineGetOffsetForStringIndex(lines[i], currentOffset_, nullptr) +
            CGFloat(CTLineGetPenOffsetForFlush(lines[i], 0.5f, bounds.size.width));
        y = CGRectGetMinY(bounds) + bounds.size.height - (origins[i].y - w) - 0.85f * fontSize_;
    }
    if (endsWithLineFeed(text_)) {
        const CGFloat lineHeight = std::floor(ascent + descent + leading);
        if (currentOffset_ == lengthOf(text_)) {
            // The new, empty line after the line feed: its start, centred.
            if (alignment_ == QZTextFieldCenterAlign)
                y += lineHeight * 0.5f;
            else if (alignment_ == QZTextFieldBottomAlign)
                y = CGRectGetMaxY(bounds) - fontSize_ - descent;
            else
                y += lineHeight;
            x = CGRectGetMinX(bounds) + bounds.size.width / 2;
        } else if (alignment_ == QZTextFieldCenterAlign) {
            y += lineHeight * -0.5f;
        } else if (alignment_ == QZTextFieldBottomAlign) {
            y -= lineHeight;
        }
    }
    return CGRectMake(x, y, kCursorWidth, fontSize_);
}

// ---- Hit testing ----

CGRect QZTextField::scaleBounds(CGRect bounds) const
{
    return QZCGRectCenterInRect(CGRectMake(0, 0, bounds.size.width / scale_, bounds.size.height / scale_), bounds);
}

CGPoint QZTextField::scalePointInRect(CGPoint point, CGRect rect) const
{
    return CGPointMake(point.x / scale_, rect.size.height - point.y / scale_);
}

NSInteger QZTextField::textPostionForLocation(CGPoint location) const
{
    const CGRect scaled = scaleBounds(bounds());
    const CGPoint p = scalePointInRect(location, scaled);
    CGPathRef path = CGPathCreateWithRect(scaled, nullptr);
    CTFrameRef frame = formatedCTFrameWithPath(path);
    CGPathRelease(path);
    const std::vector<CTLineRef>& lines = CTFrameGetLines(frame);
    NSInteger index = lengthOf(text_);
    if (!lines.empty()) {
        std::vector<CGPoint> origins(lines.size());
        CTFrameGetLineOrigins(frame, CFRangeMake(0, 0), origins.data());
        const CGFloat o = alignment_ == QZTextFieldTopAlign      ? 0
                          : alignment_ == QZTextFieldCenterAlign ? origins.back().y * 0.5f
                                                                 : origins.back().y;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (origins[i].y >= p.y + o) continue;
            const CGFloat pen = CGFloat(CTLineGetPenOffsetForFlush(lines[i], 0.5f, scaled.size.width));
            index = NSInteger(CTLineGetStringIndexForPosition(lines[i], CGPointMake(p.x - pen, p.y)));
            break;
        }
    }
    CFRelease(frame);
    return index;
}

void QZTextField::moveTextViewToPosition(NSInteger index)
{
    auto begin = textView_->beginningOfDocument();
    auto position = textView_->positionFromPositionOffset(
        begin, std::min(index, NSInteger(NSStringUTF16Length(textView_->text()))));
    if (!position) return;
    textView_->setSelectedTextRange(textView_->textRangeFromPositionToPosition(position, position));
}

void QZTextField::handleTouchInLocation(CGPoint location)
{
    if (text_.empty()) return;
    const NSInteger index = textPostionForLocation(location);
    if (index == kCFNotFound) return;
    currentOffset_ = index;
    moveTextViewToPosition(index);
    setNeedsDisplay();
}

void QZTextField::didTap(UILongPressGestureRecognizer* recognizer)
{
    if (recognizer->state() != UIGestureRecognizerStateEnded) return;
    if (textView_->isFirstResponder())
        handleTouchInLocation(recognizer->locationInView(this));
    else
        textView_->becomeFirstResponder();
}

// ---- The hidden view's callbacks ----

std::optional<bool> QZTextField::textViewShouldChangeTextInRangeReplacementText(UITextView* textView, NSRange,
                                                                                const std::string& replacement)
{
    const std::string typed = withoutControlCharacters(replacement);
    if (typed.size() == replacement.size()) return true;
    // Only an insertion carries characters: it replaces the selection, as the clean text does.
    if (!typed.empty()) textView->insertText(typed);
    return false;
}

void QZTextField::textViewDidBeginEditing(UITextView*)
{
    NSCancelPreviousPerformRequests(cursorView_);
    cursorView_->setBlinkEnabled(QZTextFieldCursorBlink);
    if (auto delegate = delegate_.lock()) delegate->textFieldDidBeginEditing(this);
}

void QZTextField::textViewDidChange(UITextView* textView)
{
    const std::string& changed = textView->text();
    const NSInteger oldLength = lengthOf(text_);
    NSCancelPreviousPerformRequests(cursorView_);
    cursorView_->setBlinkEnabled(QZTextFieldCursorSteady);
    setText(changed);
    NSPerformAfterDelay(
        cursorView_, [](QZTextFieldCursorView& cursor) { cursor.setBlinkEnabled(QZTextFieldCursorBlink); }, 0.5);
    const NSInteger newLength = lengthOf(text_);
    NSInteger offset = currentOffset_ + (newLength - oldLength);
    // Typed over a text the hidden view does not hold (a placeholder): the cursor goes to the end.
    if (offset < 0 || offset > newLength) offset = newLength;
    currentOffset_ = offset;
    setNeedsDisplay();
    if (auto delegate = delegate_.lock()) delegate->textFieldDidChange(this);
}

void QZTextField::textViewDidEndEditing(UITextView*)
{
    NSCancelPreviousPerformRequests(cursorView_);
    cursorView_->setBlinkEnabled(QZTextFieldCursorOff);
    if (auto delegate = delegate_.lock()) delegate->textFieldDidEndEditing(this);
}
