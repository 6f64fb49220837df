#include "TesselSDK/tools/meme/QZMemeOverlayView.h"

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSValue.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIKeyboard.h"
#include "UIKit/UIWindow.h"

#include <cmath>

namespace {

constexpr UIViewAnimationOptions kKeyboardAnimationOptions =
    UIViewAnimationOptionCurveLinear | UIViewAnimationOptionLayoutSubviews;
constexpr double kScrollHomeSeconds = 0.3;
constexpr double kZoomHomeSeconds = 0.2;

CGRect topThird(CGRect b)
{
    return CGRectMake(b.origin.x, b.origin.y, b.size.width, b.size.height / 3);
}

CGRect bottomThird(CGRect b)
{
    return CGRectMake(b.origin.x, b.origin.y + 2 * (b.size.height / 3), b.size.width, b.size.height / 3);
}

double durationOf(const std::shared_ptr<NSNotification>& notification)
{
    return notification->userInfo()[UIKeyboardAnimationDurationUserInfoKey].doubleValue();
}

CGRect keyboardEndFrameOf(const std::shared_ptr<NSNotification>& notification)
{
    auto end = notification->userInfo()[UIKeyboardFrameEndUserInfoKey].object<NSValue>();
    return end ? end->CGRectValue() : CGRectNull;
}

// The width the photo is zoomed to while the keyboard is up.
CGFloat keyWindowWidth(const UIView& fallback)
{
    std::shared_ptr<UIWindow> window = UIApplication::sharedApplication()->keyWindow();
    if (!window) window = fallback.window();
    return window ? window->bounds().size.width : 0;
}

bool contentFits(CGSize content, CGRect frame)
{
    return content.width <= frame.size.width && content.height <= frame.size.height;
}

}  // namespace

QZMemeOverlayView::~QZMemeOverlayView()
{
    if (observingKeyboard_) NSNotificationCenter::defaultCenter()->removeObserver(this);
}

void QZMemeOverlayView::prepareView()
{
    QZOverlayView::prepareView();
    setBackgroundColor(UIColor::clearColor());
    setClipsToBounds(true);
    const CGRect b = bounds();
    auto me = std::static_pointer_cast<QZTextFieldDelegate>(self<QZMemeOverlayView>());
    topTextView_ = UIView::viewWithFrame<QZMemeTextView>(topThird(b));
    topTextView_->setAlignment(QZTextFieldTopAlign);
    // Known by their place, not by what is typed in them.
    topTextView_->setFixedAccessibilityLabel("Top caption");
    bottomTextView_ = UIView::viewWithFrame<QZMemeTextView>(bottomThird(b));
    bottomTextView_->setAlignment(QZTextFieldBottomAlign);
    bottomTextView_->setFixedAccessibilityLabel("Bottom caption");
    for (const auto& caption : {topTextView_, bottomTextView_}) {
        addSubview(caption);
        caption->setDelegate(me);
    }
}

std::shared_ptr<QZMemeTextView> QZMemeOverlayView::textViewForBox(QZMemeTextBoxType box) const
{
    return box == QZMemeTopTextBox ? topTextView_ : box == QZMemeBottomTextBox ? bottomTextView_ : nullptr;
}

void QZMemeOverlayView::layoutSubviews()
{
    QZOverlayView::layoutSubviews();
    const CGRect b = bounds();
    topTextView_->setFrame(topThird(b));
    bottomTextView_->setFrame(bottomThird(b));
}

void QZMemeOverlayView::setInputAccessoryView(const std::shared_ptr<UIView>& view)
{
    topTextView_->setInputAccessoryView(view);
    bottomTextView_->setInputAccessoryView(view);
}

void QZMemeOverlayView::setScale(CGFloat scale)
{
    topTextView_->setScale(scale);
    bottomTextView_->setScale(scale);
}

void QZMemeOverlayView::createFont()
{
    topTextView_->createFont();
    bottomTextView_->createFont();
}

void QZMemeOverlayView::setUserInteractionEnabled(bool enabled)
{
    QZOverlayView::setUserInteractionEnabled(enabled);
    // The base overlay sets it while it is made, before there are captions.
    if (topTextView_) topTextView_->setUserInteractionEnabled(enabled);
    if (bottomTextView_) bottomTextView_->setUserInteractionEnabled(enabled);
}

void QZMemeOverlayView::drawTextBox(QZMemeTextBoxType box, CGRect rect)
{
    if (auto caption = textViewForBox(box)) caption->drawTextInRect(rect);
}

void QZMemeOverlayView::textFieldDidBeginEditing(QZTextField* field)
{
    const QZMemeTextBoxType box = field == topTextView_.get() ? QZMemeTopTextBox : QZMemeBottomTextBox;
    if (auto d = delegate()) d->memeOverlayDidBeginEditing(this, box);
    currentTextView_ = box;
}

// ---- The keyboard ----

void QZMemeOverlayView::startObservingKeyboard()
{
    if (observingKeyboard_) return;
    auto center = NSNotificationCenter::defaultCenter();
    auto me = self<QZMemeOverlayView>();
    center->addObserver(me, &QZMemeOverlayView::keyboardWillShow_QZ, UIKeyboardWillShowNotification);
    center->addObserver(me, &QZMemeOverlayView::keyboardWillHide_QZ, UIKeyboardWillHideNotification);
    center->addObserver(me, &QZMemeOverlayView::keyboardDidHide_QZ, UIKeyboardDidHideNotification);
    observingKeyboard_ = true;
}

void QZMemeOverlayView::stopObservingKeyboard()
{
    if (!observingKeyboard_) return;
    auto center = NSNotificationCenter::defaultCenter();
    center->removeObserver(this, UIKeyboardWillShowNotification, nullptr);
    center->removeObserver(this, UIKeyboardWillHideNotification, nullptr);
    center->removeObserver(this, UIKeyboardDidHideNotification, nullptr);
    observingKeyboard_ = false;
}

void QZMemeOverlayView::keyboardWillShow_QZ(const std::shared_ptr<NSNotification>& notification)
{
    keyboardShowing_ = true;
    resizeForKeyboard(notification, true);
    if (auto d = delegate()) d->memeOverlayDidBeginEditing(this, currentTextView_);
}

void QZMemeOverlayView::keyboardWillHide_QZ(const std::shared_ptr<NSNotification>& notification)
{
    resizeForKeyboard(notification, false);
    if (auto d = delegate()) d->memeOverlayDidEndEditing(this);
}

void QZMemeOverlayView::keyboardDidHide_QZ(const std::shared_ptr<NSNotification>&)
{
    keyboardShowing_ = false;
}

void QZMemeOverlayView::resizeForKeyboard(const std::shared_ptr<NSNotification>& notification, bool up)
{
    auto canvas = scrollingImageView();
    if (!canvas) return;
    const double duration = durationOf(notification);
    if (!up) {
        giveBackOverlap([canvas, duration](bool fits, CGRect frame) {
            UIView::animateWithDuration(duration, 0, kKeyboardAnimationOptions, [&] {
                canvas->setFrame(frame);
                if (!fits) canvas->zoomToRect(canvas->imageView()->bounds(), true);
                canvas->setContentOffset(CGPointZero);
            });
        });
        return;
    }
    // Short already: the height under the keyboard was taken once, and is given back once.
    if (keyboardOverlap_ > 0) return;
    const CGRect keyboard = keyboardEndFrameOf(notification);
    // Our windows turn with the interface, so the keyboard always lies along the window's bottom
    // and the part it covers is the intersection's height in every orientation.
    const CGRect covered = CGRectIsNull(keyboard)
                               ? CGRectNull
                               : CGRectIntersection(canvas->convertRectToView(canvas->bounds(), nullptr), keyboard);
    const CGFloat overlap = CGRectIsNull(covered) ? 0 : covered.size.height;
    CGRect frame = canvas->frame();
    frame.size.height -= overlap;
    keyboardOverlap_ = overlap;
    const CGFloat contentWidth = canvas->contentSize().width;
    const CGFloat windowWidth = keyWindowWidth(*canvas);
    const CGFloat zoom = canvas->zoomScale() * (contentWidth > 0 ? windowWidth / contentWidth : 1);
    UIView::animateWithDuration(duration, 0, kKeyboardAnimationOptions, [&] {
        canvas->setFrame(frame);
        if (std::isfinite(zoom) && zoom > 0) canvas->setZoomScale(zoom);
    });
}

void QZMemeOverlayView::scrollToOriginalPosition()
{
    auto canvas = scrollingImageView();
    if (!canvas) return;
    giveBackOverlap([canvas](bool fits, CGRect frame) {
        UIView::animateWithDuration(fits ? kScrollHomeSeconds : kZoomHomeSeconds, [&] {
            canvas->setFrame(frame);
            if (!fits) canvas->zoomToRect(canvas->imageView()->bounds(), true);
            canvas->setContentOffset(CGPointZero);
        });
    });
}

void QZMemeOverlayView::giveBackOverlap(const std::function<void(bool fits, CGRect frame)>& restore)
{
    auto canvas = scrollingImageView();
    if (!canvas) return;
    CGRect frame = canvas->frame();
    frame.size.height += keyboardOverlap_;
    keyboardOverlap_ = 0;
    restore(contentFits(canvas->contentSize(), frame), frame);
}
