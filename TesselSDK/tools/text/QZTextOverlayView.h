#pragma once
// The text tool's overlay over the canvas: it holds the one text box, takes every touch over the
// canvas (a tap ends the typing, or else deselects the box), keeps the box above the keyboard
// while the person types and puts it back afterwards, and keeps its place on the image when the
// device turns. Main thread only.

#include "TesselSDK/tools/text/QZTextOverlayViewDelegate.h"
#include "TesselSDK/tools/text/QZTextView.h"

#include "Foundation/NSNotification.h"
#include "UIKit/UITapGestureRecognizer.h"

#include <memory>

class QZTextOverlayView : public QZView {
public:
    using QZView::QZView;
    ~QZTextOverlayView() override;

    std::shared_ptr<QZTextView> textView() const { return textView_.lock(); }
    std::shared_ptr<QZTextOverlayViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<QZTextOverlayViewDelegate> delegate) { delegate_ = std::move(delegate); }
    // The box's text colour and outline colour (the overlay design's foregroundColor and
    // backgroundColor; the second is named apart from the view's own background colour).
    std::shared_ptr<UIColor> foregroundColor() const;
    std::shared_ptr<UIColor> textBackgroundColor() const;
    // The box's turn.
    CGFloat rotation() const;
    // The turn Apply bakes: the box's, or while the keyboard holds the box straight above it, the
    // one the person gave it before editing began.
    CGFloat placedRotation() const;
    bool isObservingKeyboard() const { return observingKeyboard_; }
    bool isKeyboardShowing() const { return keyboardShowing_; }
    // While the keyboard shows the box can be neither dragged nor turned.
    void setKeyboardShowing(bool showing);
    CGRect preRotationImageRect() const { return preRotationImageRect_; }
    CGPoint preRotationTextCenter() const { return preRotationTextCenter_; }
    CGFloat preRotationTextScale() const { return preRotationTextScale_; }
    CGFloat preRotationTextRotation() const { return preRotationTextRotation_; }

    void deselectTextView(UITapGestureRecognizer* recognizer);
    void startEditing();
    void setInputAccessoryView(std::shared_ptr<UIView> view);
    // The box's text rectangle in `view`'s coordinates (`scale` is not used), and its text drawn
    // there turned, both where the person put the box: while the keyboard is up, its place and turn
    // from before editing began, not the keyboard's.
    CGRect rectForTextInViewScale(const UIView& view, CGFloat scale);
    void drawTextInRect(CGRect rect);

    void startObservingKeyboard();
    void stopObservingKeyboard();
    void keyboardWillShow_QZ(const std::shared_ptr<NSNotification>& notification);
    void keyboardWillHide_QZ(const std::shared_ptr<NSNotification>& notification);
    void keyboardDidHide_QZ(const std::shared_ptr<NSNotification>& notification);

    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;

protected:
    // The base's is not called.
    void prepareView() override;

private:
    std::weak_ptr<QZTextView> textView_;
    std::weak_ptr<QZTextOverlayViewDelegate> delegate_;
    bool observingKeyboard_ = false;
    bool keyboardShowing_ = false;
    CGRect preRotationImageRect_ = CGRectZero;
    CGPoint preRotationTextCenter_{};
    CGFloat preRotationTextScale_ = 1;
    CGFloat preRotationTextRotation_ = 0;
    // Where the box was when the keyboard came.
    CGPoint savedCenter_{};
    CGFloat savedScale_ = 1;
    CGFloat savedRotation_ = 0;
    CGRect savedBounds_ = CGRectZero;
};
