#include "TesselSDK/tools/text/QZTextOverlayView.h"

#include "TesselSDKFoundation/QZViewAnimation.h"

#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSValue.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIKeyboard.h"
#include "UIKit/UIWindow.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat kBoxSide = 200;
constexpr double kRotationFade = 0.1;

// A rectangle the box's place can be kept proportional in.
bool hasArea(CGRect rect)
{
    return std::isfinite(rect.size.width) && std::isfinite(rect.size.height) && rect.size.width > 0 &&
           rect.size.height > 0;
}

double durationOf(const std::shared_ptr<NSNotification>& notification)
{
    return notification->userInfo()[UIKeyboardAnimationDurationUserInfoKey].doubleValue();
}

}  // namespace

QZTextOverlayView::~QZTextOverlayView()
{
    if (observingKeyboard_) NSNotificationCenter::defaultCenter()->removeObserver(this);
}

void QZTextOverlayView::prepareView()
{
    setOpaque(false);
    setBackgroundColor(UIColor::clearColor());
    setClipsToBounds(true);
    const CGRect b = bounds();
    auto box =
        UIView::viewWithFrame<QZTextView>(QZCGRectCenterInRectIntegral(CGRectMake(0, 0, kBoxSide, kBoxSide), b, true));
    box->textField()->setAutocapitalizationType(UITextAutocapitalizationTypeSentences);
    box->sizeToFit();
    box->setCenter(QZCGRectGetCenter(b));
    addSubview(box);
    textView_ = box;
    addGestureRecognizer(UIGestureRecognizer::recognizerWithTarget<UITapGestureRecognizer>(
        self<QZTextOverlayView>(), &QZTextOverlayView::deselectTextView));
    setUserInteractionEnabled(true);
}

std::shared_ptr<UIColor> QZTextOverlayView::foregroundColor() const
{
    auto box = textView();
    return box ? box->textField()->textColor() : nullptr;
}

std::shared_ptr<UIColor> QZTextOverlayView::textBackgroundColor() const
{
    auto box = textView();
    return box ? box->textField()->textBorderColor() : nullptr;
}

CGFloat QZTextOverlayView::rotation() const
{
    auto box = textView();
    return box ? box->rotation() : 0;
}

CGFloat QZTextOverlayView::placedRotation() const
{
    auto box = textView();
    if (!box) return 0;
    return keyboardShowing_ ? savedRotation_ : box->rotation();
}

void QZTextOverlayView::setKeyboardShowing(bool showing)
{
    keyboardShowing_ = showing;
    if (auto box = textView()) {
        box->setDraggingEnabled(!showing);
        box->setRotationEnabled(!showing);
    }
}

void QZTextOverlayView::deselectTextView(UITapGestureRecognizer* recognizer)
{
    if (recognizer->state() != UIGestureRecognizerStateEnded) return;
    auto box = textView();
    if (!box) return;
    if (keyboardShowing_)
        box->endEditing(true);
    else
        box->setSelectionState(QZTextViewUnselectedState);
}

void QZTextOverlayView::startEditing()
{
    if (auto box = textView()) box->startEditing();
}

void QZTextOverlayView::setInputAccessoryView(std::shared_ptr<UIView> view)
{
    if (auto box = textView()) box->setInputAccessoryView(std::move(view));
}

CGRect QZTextOverlayView::rectForTextInViewScale(const UIView& view, CGFloat)
{
    auto box = textView();
    if (!box) return CGRectZero;
    return keyboardShowing_ ? box->rectForTextInView(view, savedCenter_) : box->rectForTextInView(view);
}

void QZTextOverlayView::drawTextInRect(CGRect rect)
{
    if (auto box = textView()) box->drawTextInRect(rect, placedRotation());
}

// ---- The keyboard ----

void QZTextOverlayView::startObservingKeyboard()
{
    if (observingKeyboard_) return;
    auto center = NSNotificationCenter::defaultCenter();
    auto me = self<QZTextOverlayView>();
    center->addObserver(me, &QZTextOverlayView::keyboardWillShow_QZ, UIKeyboardWillShowNotification);
    center->addObserver(me, &QZTextOverlayView::keyboardWillHide_QZ, UIKeyboardWillHideNotification);
    center->addObserver(me, &QZTextOverlayView::keyboardDidHide_QZ, UIKeyboardDidHideNotification);
    observingKeyboard_ = true;
}

void QZTextOverlayView::stopObservingKeyboard()
{
    if (!observingKeyboard_) return;
    auto center = NSNotificationCenter::defaultCenter();
    center->removeObserver(this, UIKeyboardWillShowNotification, nullptr);
    center->removeObserver(this, UIKeyboardWillHideNotification, nullptr);
    center->removeObserver(this, UIKeyboardDidHideNotification, nullptr);
    observingKeyboard_ = false;
}

void QZTextOverlayView::keyboardWillShow_QZ(const std::shared_ptr<NSNotification>& notification)
{
    auto box = textView();
    if (!box) return;
    savedCenter_ = box->center();
    savedScale_ = box->scale();
    savedRotation_ = box->rotation();
    savedBounds_ = box->bounds();
    CGRect keyboard = CGRectNull;
    if (auto end = notification->userInfo()[UIKeyboardFrameEndUserInfoKey].object<NSValue>())
        keyboard = convertRectFromView(end->CGRectValue(), UIApplication::sharedApplication()->keyWindow().get());
    const CGRect b = bounds();
    const CGFloat overlap =
        CGRectIsNull(keyboard) ? 0 : std::max<CGFloat>(0, CGRectGetMaxY(b) - CGRectGetMinY(keyboard));
    const CGRect visible =
        CGRectMake(b.origin.x, b.origin.y, b.size.width, std::max<CGFloat>(0, b.size.height - overlap));
    box->setScalingEnabled(false);
    if (auto d = delegate()) d->textOverlayViewDidBeginEditing(this);
    QZPerformUIViewAnimation(
        durationOf(notification),
        [box, visible] {
            box->setCenter(QZCGRectGetCenter(visible));
            // However long the line typed grows, the box stays in sight: shown shrunk into the
            // visible area, at its own size again once the keyboard goes.
            box->setShownSizeLimit(visible.size);
            box->setRotation(0);
            box->handle()->setAlpha(0);
        },
        nullptr);
    setKeyboardShowing(true);
}

void QZTextOverlayView::keyboardWillHide_QZ(const std::shared_ptr<NSNotification>& notification)
{
    auto box = textView();
    if (!box) return;
    std::weak_ptr<QZTextOverlayView> weakOverlay = weakSelf<QZTextOverlayView>();
    std::weak_ptr<QZTextView> weakBox = box;
    const CGPoint centre = savedCenter_;
    const CGFloat rotation = savedRotation_;
    QZPerformUIViewAnimation(
        durationOf(notification),
        [box, centre, rotation] {
            box->setCenter(centre);
            box->setShownSizeLimit(CGSizeMake(0, 0));
            box->setRotation(rotation);
            box->handle()->setAlpha(1);
        },
        [weakOverlay, weakBox](bool finished) {
            auto overlay = weakOverlay.lock();
            auto textView = weakBox.lock();
            // Cut short by the keyboard coming back, the box stays as typing keeps it.
            if (overlay && textView && (finished || !overlay->keyboardShowing_)) textView->setScalingEnabled(true);
        });
    if (auto d = delegate()) d->textOverlayViewDidEndEditing(this);
}

void QZTextOverlayView::keyboardDidHide_QZ(const std::shared_ptr<NSNotification>&)
{
    setKeyboardShowing(false);
}

// ---- Turning the device ----

void QZTextOverlayView::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZView::willRotateToInterfaceOrientation(orientation, duration);
    auto box = textView();
    if (!box) return;
    auto d = delegate();
    const CGRect image = d ? d->rectForImageInTextOverlayView(this) : CGRectZero;
    preRotationImageRect_ = image;
    preRotationTextCenter_ = CGPointMake(box->center().x - image.origin.x, box->center().y - image.origin.y);
    preRotationTextScale_ = box->scale();
    preRotationTextRotation_ = box->rotation();
    QZPerformUIViewAnimation(
        kRotationFade,
        [box] {
            box->setAlpha(0);
            box->setScale(1);
            box->setRotation(0);
        },
        nullptr);
}

void QZTextOverlayView::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZView::didRotateFromInterfaceOrientation(orientation);
    auto box = textView();
    if (!box) return;
    auto d = delegate();
    const CGRect image = d ? d->rectForImageInTextOverlayView(this) : CGRectZero;
    // Without an image rectangle before or after (no image view yet) there is no proportion to
    // keep: the box stays where it is rather than taking 0 / 0.
    if (hasArea(preRotationImageRect_) && hasArea(image)) {
        const CGRect old = preRotationImageRect_;
        box->setCenter(
            CGPointMake(preRotationTextCenter_.x / old.size.width * image.size.width + CGRectGetMinX(image),
                        preRotationTextCenter_.y / old.size.height * image.size.height + CGRectGetMinY(image)));
    }
    setNeedsLayout();
    const CGFloat scale = preRotationTextScale_, rotation = preRotationTextRotation_;
    QZPerformUIViewAnimation(
        kRotationFade,
        [box, scale, rotation] {
            box->setAlpha(1);
            box->setScale(scale);
            box->setRotation(rotation);
        },
        nullptr);
}
