#include "UIKit/UIKeyboard.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"
#include "Foundation/NSStringCase.h"
#include "Foundation/NSStringUTF16.h"
#include "Foundation/NSValue.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIKeyInput.h"
#include "UIKit/UIKeyboardView.h"
#include "UIKit/UITextInputTraits.h"
#include "UIKit/UITextView.h"
#include "UIKit/UIWindow.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace {

bool endsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool endsWithWhiteSpace(std::string_view text)
{
    if (text.empty()) return false;
    int32_t at = int32_t(text.size());
    UChar32 c = 0;
    U8_PREV(reinterpret_cast<const uint8_t*>(text.data()), 0, at, c);
    return c >= 0 && u_isUWhiteSpace(c);
}

// The text before the caret, as far as the keyboard can know it.
std::string contextOf(UIResponder& responder, const UIKeyInput& input)
{
    if (auto* textView = dynamic_cast<UITextView*>(&responder))
        return NSStringSubstringWithUTF16Range(textView->text(), NSMakeRange(0, textView->selectedRange().location));
    return input.hasText() ? "a" : "";
}

std::string capitalized(const std::string& key, UIResponder& responder, const UIKeyInput& input)
{
    auto* traits = dynamic_cast<UITextInputTraits*>(&responder);
    const UITextAutocapitalizationType type =
        traits ? traits->autocapitalizationType() : UITextAutocapitalizationTypeNone;
    if (type == UITextAutocapitalizationTypeNone) return key;
    if (type == UITextAutocapitalizationTypeAllCharacters) return NSStringUppercaseString(key);
    const std::string context = contextOf(responder, input);
    bool capital = context.empty();
    if (type == UITextAutocapitalizationTypeSentences)
        capital = capital || endsWith(context, ". ") || endsWith(context, "! ") || endsWith(context, "? ") ||
                  endsWith(context, "\n");
    else
        capital = capital || endsWithWhiteSpace(context);
    return capital ? NSStringUppercaseString(key) : key;
}

}  // namespace

std::shared_ptr<UIKeyboard> UIKeyboard::sharedKeyboard()
{
    static auto* keyboard = new std::shared_ptr<UIKeyboard>(NSObject::create<UIKeyboard>());
    return *keyboard;
}

CGFloat UIKeyboard::panelHeight(UIUserInterfaceIdiom idiom, bool landscape)
{
    if (idiom == UIUserInterfaceIdiomPad) return landscape ? 352 : 264;
    return landscape ? 162 : 216;
}

CGRect UIKeyboard::frame() const
{
    return isVisible() ? frame_ : CGRectNull;
}

bool UIKeyboard::containsView(const UIView& view) const
{
    return (panel_ && view.isDescendantOfView(panel_.get())) ||
           (accessory_ && view.isDescendantOfView(accessory_.get()));
}

std::shared_ptr<UIResponder> UIKeyboard::keyResponder() const
{
    auto window = UIApplication::sharedApplication()->keyWindow();
    auto responder = window ? window->firstResponder() : nullptr;
    return dynamic_cast<UIKeyInput*>(responder.get()) ? responder : nullptr;
}

// ---- Keys ----

bool UIKeyboard::typeText(std::string_view utf8, const std::function<void()>& beforeEachKey)
{
    DispatchMainQueue::requireMainThread("-[UIKeyboard typeText:]");
    if (!NSStringIsValidUTF8(utf8) || !keyResponder()) return false;
    const NSUInteger length = NSStringUTF16Length(utf8);
    for (NSUInteger at = 0; at < length;) {
        const NSRange character = NSStringRangeOfComposedCharacterSequenceAtIndex(utf8, at);
        at = character.location + character.length;
        if (beforeEachKey) beforeEachKey();
        auto responder = keyResponder();
        if (!responder) return false;
        auto& input = dynamic_cast<UIKeyInput&>(*responder);
        input.insertText(capitalized(NSStringSubstringWithUTF16Range(utf8, character), *responder, input));
    }
    return true;
}

bool UIKeyboard::pressReturn()
{
    auto responder = keyResponder();
    if (!responder) return false;
    dynamic_cast<UIKeyInput&>(*responder).insertText("\n");
    return true;
}

bool UIKeyboard::pressBackspace()
{
    auto responder = keyResponder();
    if (!responder) return false;
    dynamic_cast<UIKeyInput&>(*responder).deleteBackward();
    return true;
}

// ---- Following the responders ----

void UIKeyboard::update()
{
    if (turning_) return;
    auto responder = keyResponder();
    if (!responder) {
        if (state_ == State::Showing || state_ == State::Shown) hide();
        return;
    }
    auto window = UIApplication::sharedApplication()->keyWindow();
    if (state_ != State::Hidden && window_.lock() != window) {
        // Another window became key: the keyboard leaves the old one at once.
        ++slides_;
        removeViews();
        state_ = State::Hidden;
    }
    if (state_ == State::Hidden || state_ == State::Hiding)
        show(window, responder);
    else
        switchTo(responder);
}

CGRect UIKeyboard::shownFrame(const UIWindow& window, const UIView* accessory) const
{
    const CGRect bounds = window.bounds();
    const bool landscape =
        UIInterfaceOrientationIsLandscape(UIApplication::sharedApplication()->statusBarOrientation());
    const CGFloat height = panelHeight(UIDevice::currentDevice()->userInterfaceIdiom(), landscape) +
                           (accessory ? accessory->frame().size.height : 0);
    return CGRectMake(bounds.origin.x, CGRectGetMaxY(bounds) - height, bounds.size.width, height);
}

void UIKeyboard::place(const UIWindow& window, bool shown)
{
    CGRect all = shownFrame(window, accessory_.get());
    if (!shown) all.origin.y = CGRectGetMaxY(window.bounds());
    const CGFloat accessoryHeight = accessory_ ? accessory_->frame().size.height : 0;
    if (accessory_) accessory_->setFrame(CGRectMake(all.origin.x, all.origin.y, all.size.width, accessoryHeight));
    panel_->setFrame(
        CGRectMake(all.origin.x, all.origin.y + accessoryHeight, all.size.width, all.size.height - accessoryHeight));
}

void UIKeyboard::show(const std::shared_ptr<UIWindow>& window, const std::shared_ptr<UIResponder>& responder)
{
    // Sliding out still: it turns back from where it is.
    const bool comingBack = state_ == State::Hiding;
    responder_ = responder;
    window_ = window;
    if (!panel_) panel_ = UIView::viewWithFrame<UIKeyboardView>(CGRectZero);
    auto accessory = responder->inputAccessoryView();
    if (accessory_ && accessory_ != accessory) accessory_->removeFromSuperview();
    accessory_ = accessory;
    const CGRect end = shownFrame(*window, accessory_.get());
    const CGRect below = CGRectOffset(end, 0, CGRectGetMaxY(window->bounds()) - end.origin.y);
    UIView::performWithoutAnimation([&] {
        if (!comingBack)
            place(*window, false);
        else if (accessory_ && accessory_->superview() != window)
            accessory_->setFrame(
                CGRectMake(below.origin.x, below.origin.y, below.size.width, accessory_->frame().size.height));
        window->addSubview(panel_);
        if (accessory_) window->addSubview(accessory_);
    });
    state_ = State::Showing;
    frame_ = end;
    post(UIKeyboardWillShowNotification, below, end);
    slide(below, end, true);
}

void UIKeyboard::hide()
{
    auto window = window_.lock();
    const CGRect begin = frame_;
    CGRect end = frame_;
    end.origin.y = window ? CGRectGetMaxY(window->bounds()) : end.origin.y;
    state_ = State::Hiding;
    frame_ = end;
    post(UIKeyboardWillHideNotification, begin, end);
    slide(begin, end, false);
}

void UIKeyboard::switchTo(const std::shared_ptr<UIResponder>& responder)
{
    auto window = window_.lock();
    auto accessory = responder->inputAccessoryView();
    responder_ = responder;
    if (!window || accessory == accessory_) return;
    const CGFloat oldHeight = accessory_ ? accessory_->frame().size.height : 0;
    const CGFloat newHeight = accessory ? accessory->frame().size.height : 0;
    if (accessory_) accessory_->removeFromSuperview();
    accessory_ = accessory;
    if (oldHeight == newHeight) {
        UIView::performWithoutAnimation([&] {
            place(*window, true);
            if (accessory_) window->addSubview(accessory_);
        });
        return;
    }
    const CGRect begin = frame_;
    const CGRect end = shownFrame(*window, accessory_.get());
    UIView::performWithoutAnimation([&] {
        // The new accessory starts on top of the panel where it stands now.
        if (accessory_) {
            accessory_->setFrame(
                CGRectMake(begin.origin.x, panel_->frame().origin.y - newHeight, begin.size.width, newHeight));
            window->addSubview(accessory_);
        }
    });
    state_ = State::Showing;
    frame_ = end;
    post(UIKeyboardWillShowNotification, begin, end);
    slide(begin, end, true);
}

void UIKeyboard::slide(CGRect begin, CGRect end, bool showing)
{
    auto window = window_.lock();
    if (!window) return;
    const unsigned slide = ++slides_;
    slideBegin_ = begin;
    std::weak_ptr<UIKeyboard> weak = weakSelf<UIKeyboard>();
    UIView::animateWithDuration(
        kAnimationDuration, 0,
        UIViewAnimationOptionAllowUserInteraction | UIViewAnimationOptionBeginFromCurrentState |
            UIViewAnimationOptionCurveEaseInOut,
        [&] { place(*window, showing); },
        [weak, slide, begin, end, showing](bool) {
            auto keyboard = weak.lock();
            // A later slide (or a turn) took over: only its end is reported.
            if (!keyboard || keyboard->slides_ != slide) return;
            if (showing) {
                keyboard->state_ = State::Shown;
                keyboard->post(UIKeyboardDidShowNotification, begin, end);
                return;
            }
            keyboard->removeViews();
            keyboard->state_ = State::Hidden;
            keyboard->post(UIKeyboardDidHideNotification, begin, end);
        });
}

void UIKeyboard::removeViews()
{
    if (panel_) panel_->removeFromSuperview();
    if (accessory_) accessory_->removeFromSuperview();
    accessory_ = nullptr;
    responder_.reset();
}

void UIKeyboard::deviceWillTurn()
{
    turning_ = true;
    if (state_ == State::Hidden) return;
    // Sliding out already: will-hide has been posted, only its end is left to report.
    CGRect begin = state_ == State::Hiding ? slideBegin_ : frame_, end = frame_;
    if (auto window = window_.lock()) end.origin.y = CGRectGetMaxY(window->bounds());
    if (state_ != State::Hiding) post(UIKeyboardWillHideNotification, begin, end);
    ++slides_;
    removeViews();
    state_ = State::Hidden;
    post(UIKeyboardDidHideNotification, begin, end);
}

void UIKeyboard::deviceDidTurn()
{
    turning_ = false;
    update();
}

void UIKeyboard::keepFrontmostIn(UIWindow& window, const UIView* added)
{
    if (!isVisible() || window_.lock().get() != &window || (added && containsView(*added))) return;
    if (panel_) window.bringSubviewToFront(panel_.get());
    if (accessory_) window.bringSubviewToFront(accessory_.get());
}

void UIKeyboard::post(const char* name, CGRect begin, CGRect end) const
{
    Value userInfo = Value::dictionary({
        {UIKeyboardFrameBeginUserInfoKey, Value(NSValue::valueWithCGRect(begin))},
        {UIKeyboardFrameEndUserInfoKey, Value(NSValue::valueWithCGRect(end))},
        {UIKeyboardAnimationDurationUserInfoKey, Value(kAnimationDuration)},
        {UIKeyboardAnimationCurveUserInfoKey, Value(NSInteger(UIViewAnimationCurveEaseInOut))},
    });
    NSNotificationCenter::defaultCenter()->postNotificationName(name, nullptr, std::move(userInfo));
}
