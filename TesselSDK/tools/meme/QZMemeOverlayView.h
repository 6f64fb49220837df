#pragma once
// The meme tool's overlay, inside the canvas's image view so that it zooms and scrolls with the
// photo (its points are the editing image's pixels). It holds the top and the bottom caption, each
// a third of the image high, and draws them into a bitmap when the tool applies.
//
// While the keyboard is up the canvas is shortened by the part of it the keyboard covers (kept in
// keyboardOverlap) and zoomed so that the photo fills the window's width; hiding the keyboard, or
// scrollToOriginalPosition before Apply and Back, gives that height back. A keyboard that shows
// again while the canvas is already short (the platform announces it for every caption that takes
// the keys) changes nothing, so the height is given back exactly once. Main thread only.

#include "TesselSDK/tools/meme/QZMemeOverlayViewDelegate.h"
#include "TesselSDK/tools/meme/QZMemeTextView.h"

#include "TesselSDKFoundation/QZOverlayView.h"
#include "TesselSDK/shell/QZScrollingImageView.h"

#include "Foundation/NSNotification.h"

#include <memory>

class QZMemeOverlayView : public QZOverlayView, public QZTextFieldDelegate {
public:
    using QZOverlayView::QZOverlayView;
    ~QZMemeOverlayView() override;

    const std::shared_ptr<QZMemeTextView>& topTextView() const { return topTextView_; }
    const std::shared_ptr<QZMemeTextView>& bottomTextView() const { return bottomTextView_; }
    // The caption of the box; null for none.
    std::shared_ptr<QZMemeTextView> textViewForBox(QZMemeTextBoxType box) const;
    // The canvas moved out of the keyboard's way.
    std::shared_ptr<QZScrollingImageView> scrollingImageView() const { return scrollingImageView_.lock(); }
    void setScrollingImageView(std::weak_ptr<QZScrollingImageView> canvas) { scrollingImageView_ = std::move(canvas); }
    std::shared_ptr<QZMemeOverlayViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<QZMemeOverlayViewDelegate> delegate) { delegate_ = std::move(delegate); }
    // The caption typed last.
    QZMemeTextBoxType currentTextView() const { return currentTextView_; }
    bool isObservingKeyboard() const { return observingKeyboard_; }
    bool isKeyboardShowing() const { return keyboardShowing_; }
    // How many points the canvas is shortened by for the keyboard; 0 when it is not.
    CGFloat keyboardOverlap() const { return keyboardOverlap_; }

    // The captions' frames: the top and the bottom third of the bounds.
    void layoutSubviews() override;
    // Each passed on to both captions (interaction after the overlay's own).
    void setInputAccessoryView(const std::shared_ptr<UIView>& view);
    void setScale(CGFloat scale);
    void createFont();
    void setUserInteractionEnabled(bool enabled) override;

    // Draws the box's caption into the rectangle of the current context; nothing for another box.
    void drawTextBox(QZMemeTextBoxType box, CGRect rect);

    // QZTextFieldDelegate: a caption took the keys.
    void textFieldDidBeginEditing(QZTextField* field) override;

    // ---- The keyboard ----
    void startObservingKeyboard();
    void stopObservingKeyboard();
    void keyboardWillShow_QZ(const std::shared_ptr<NSNotification>& notification);
    void keyboardWillHide_QZ(const std::shared_ptr<NSNotification>& notification);
    void keyboardDidHide_QZ(const std::shared_ptr<NSNotification>& notification);
    // Up: the canvas shortened by its overlap with the keyboard's end frame and zoomed to the
    // window's width, unless it is short already. Down: the overlap given back, the photo scrolled
    // home, and zoomed back to the whole image when it no longer fits. Over the keyboard's time,
    // linearly.
    void resizeForKeyboard(const std::shared_ptr<NSNotification>& notification, bool up);
    // As the keyboard going down, over 0.3 s (0.2 s when zooming back), for Apply and Back.
    void scrollToOriginalPosition();

protected:
    // The base overlay's, then the two captions with this view as their delegate.
    void prepareView() override;

private:
    // The canvas's frame with the overlap given back (and the overlap forgotten), then `restore`
    // run with whether the content fits that frame.
    void giveBackOverlap(const std::function<void(bool fits, CGRect frame)>& restore);

    std::shared_ptr<QZMemeTextView> topTextView_;
    std::shared_ptr<QZMemeTextView> bottomTextView_;
    std::weak_ptr<QZScrollingImageView> scrollingImageView_;
    std::weak_ptr<QZMemeOverlayViewDelegate> delegate_;
    QZMemeTextBoxType currentTextView_ = QZMemeTopTextBox;
    bool observingKeyboard_ = false;
    bool keyboardShowing_ = false;
    CGFloat keyboardOverlap_ = 0;
};
