#include "UIKit/UITextView.h"

#include "Foundation/NSStringUTF16.h"

void UITextView::setText(std::string text)
{
    text_ = std::move(text);
    selectedRange_ = NSMakeRange(length(), 0);
}

NSUInteger UITextView::length() const
{
    return NSStringUTF16Length(text_);
}

void UITextView::setSelectedRange(NSRange range)
{
    const NSUInteger end = length();
    const NSUInteger location = std::min(range.location, end);
    selectedRange_ = NSMakeRange(location, std::min(range.length, end - location));
}

std::shared_ptr<UITextPosition> UITextView::endOfDocument() const
{
    return UITextPosition::make(NSInteger(length()));
}

std::shared_ptr<UITextPosition> UITextView::positionFromPositionOffset(const std::shared_ptr<UITextPosition>& position,
                                                                       NSInteger offset) const
{
    if (!position) return nullptr;
    const NSInteger at = position->offset() + offset;
    if (position->offset() < 0 || at < 0 || at > NSInteger(length())) return nullptr;
    return UITextPosition::make(at);
}

std::shared_ptr<UITextRange>
UITextView::textRangeFromPositionToPosition(const std::shared_ptr<UITextPosition>& from,
                                            const std::shared_ptr<UITextPosition>& to) const
{
    const NSInteger end = NSInteger(length());
    if (!from || !to || from->offset() < 0 || to->offset() < 0 || from->offset() > end || to->offset() > end)
        return nullptr;
    return UITextRange::make(from->offset(), to->offset());
}

std::shared_ptr<UITextRange> UITextView::selectedTextRange() const
{
    return UITextRange::make(NSInteger(selectedRange_.location),
                             NSInteger(selectedRange_.location + selectedRange_.length));
}

void UITextView::setSelectedTextRange(const std::shared_ptr<UITextRange>& range)
{
    if (!range) return;
    const NSInteger start = std::max<NSInteger>(0, range->start()->offset());
    const NSInteger end = std::max(start, range->end()->offset());
    setSelectedRange(NSMakeRange(NSUInteger(start), NSUInteger(end - start)));
}

bool UITextView::replace(NSRange range, const std::string& replacement)
{
    auto delegate = delegate_.lock();
    if (delegate && !delegate->textViewShouldChangeTextInRangeReplacementText(this, range, replacement).value_or(true))
        return false;
    const std::size_t from = NSStringUTF8OffsetForUTF16Index(text_, range.location);
    const std::size_t to = NSStringUTF8OffsetForUTF16Index(text_, range.location + range.length);
    // The delegate may have changed the text: the byte offsets are taken after it answered.
    text_.replace(from, to - from, replacement);
    selectedRange_ = NSMakeRange(NSStringUTF16IndexForUTF8Offset(text_, from + replacement.size()), 0);
    if (delegate) delegate->textViewDidChange(this);
    return true;
}

void UITextView::insertText(const std::string& text)
{
    setSelectedRange(selectedRange_);
    replace(selectedRange_, text);
}

void UITextView::deleteBackward()
{
    setSelectedRange(selectedRange_);
    if (selectedRange_.length > 0) {
        replace(selectedRange_, "");
        return;
    }
    if (selectedRange_.location == 0) return;
    // A caret inside a character (set by offset) takes only the part before it.
    const NSRange character = NSStringRangeOfComposedCharacterSequenceAtIndex(text_, selectedRange_.location - 1);
    replace(NSMakeRange(character.location, selectedRange_.location - character.location), "");
}

void UITextView::didBecomeFirstResponder()
{
    if (auto delegate = delegate_.lock()) delegate->textViewDidBeginEditing(this);
}

void UITextView::didResignFirstResponder()
{
    if (auto delegate = delegate_.lock()) delegate->textViewDidEndEditing(this);
}
