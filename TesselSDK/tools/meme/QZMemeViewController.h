#pragma once
// The meme tool: a top and a bottom caption typed on the photo in the caption face, each shrinking
// its type to fit its third of the image. The captions live on the canvas (the overlay); the
// panel's two fields mirror them, clear them and start typing them; the keyboard's bar moves
// between them. Apply bakes the captions into the preview and hands over a block module whose meme
// processor draws them again at any size. Main thread only, but for the present that Apply queues
// on the GL queue.

#include "TesselSDK/tools/meme/QZMemeOverlayView.h"
#include "TesselSDK/tools/meme/QZMemeTextField.h"

#include "TesselSDK/shell/QZToolViewController.h"

#include "UIKit/UIToolbar.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QZMemeViewController : public QZToolViewController,
                             public QZMemeOverlayViewDelegate,
                             public QZMemeTextFieldDelegate {
public:
    using QZToolViewController::QZToolViewController;
    ~QZMemeViewController() override;

    // ---- Class hooks ----
    QZOverlayViewFactory scrollableOverlayViewClass() const override;
    bool usesStaticImageView() const override { return false; }
    // "editor.tool.meme".
    std::string customizationKeyPath() const override;
    // The base's scrollable overlay.
    std::shared_ptr<QZMemeOverlayView> memeOverlayView() const;

    // ---- View lifecycle ----
    // The fields, the caption face made known once per process, the overlay, the drawing surface
    // and the keyboard's bar.
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    // The typing ends (the keyboard goes) and the keyboard is no longer followed.
    void viewWillDisappear(bool animated) override;

    // ---- Apply and back: the canvas gets its height back first ----
    void applyButtonPressed() override;
    void backButtonPressed() override;
    // Bakes both captions into the surface, blends it over the preview, then finishes from the GL
    // queue. Entered again while that is queued, it queues nothing more.
    void finishApplying() override;
    // A block module adding a new meme processor with the values taken in finishApplying.
    std::shared_ptr<QZModule> outputModule() override;

    // ---- Typing ----
    // The keyboard bar's "Next": the bottom caption after the top one, else the keyboard goes.
    void nextPressed();
    // "Prev": the top caption.
    void prevPressed();
    // "Done": the typing ends.
    void dismissKeyboard();
    // Where the canvas scrolls to show the caption typed: centred across when the photo is wider
    // than the canvas; its top for the top caption, its bottom for the other.
    CGPoint createContentOffset() const;
    void scrollToTextBox();
    void imageViewStoppedDragging(QZScrollingImageView* canvas) override;

    void memeOverlayDidBeginEditing(QZMemeOverlayView* overlay, QZMemeTextBoxType box) override;
    void memeOverlayDidEndEditing(QZMemeOverlayView* overlay) override;
    void memeTextFieldDidClear(QZMemeTextField* field) override;
    void memeTextFieldDidTap(QZMemeTextField* field) override;

    // ---- Properties ----
    const std::shared_ptr<QZMemeTextField>& topTextField() const { return topTextField_; }
    const std::shared_ptr<QZMemeTextField>& bottomTextField() const { return bottomTextField_; }
    QZMemeTextBoxType activeTextBox() const { return activeTextBox_; }
    const std::shared_ptr<UIBarButtonItem>& prevBBI() const { return prevBBI_; }
    const std::shared_ptr<UIBarButtonItem>& nextBBI() const { return nextBBI_; }
    const std::shared_ptr<UIToolbar>& keyboardToolbar() const { return keyboardToolbar_; }
    // What finishApplying took, for the output module.
    const std::string& topText() const { return topText_; }
    const std::string& bottomText() const { return bottomText_; }
    CGFloat topFontSize() const { return topFontSize_; }
    CGFloat bottomFontSize() const { return bottomFontSize_; }
    CGRect topRect() const { return topRect_; }
    CGRect bottomRect() const { return bottomRect_; }
    CGFloat scale() const { return scale_; }

private:
    void layoutTextFields();
    void makeDrawingSurface();
    void makeKeyboardToolbar();

    std::shared_ptr<QZMemeTextField> topTextField_;
    std::shared_ptr<QZMemeTextField> bottomTextField_;
    QZMemeTextBoxType activeTextBox_ = QZMemeTextBoxNone;
    std::shared_ptr<UIBarButtonItem> prevBBI_;
    std::shared_ptr<UIBarButtonItem> nextBBI_;
    std::shared_ptr<UIToolbar> keyboardToolbar_;
    std::string topText_;
    std::string bottomText_;
    CGFloat topFontSize_ = 0;
    CGFloat bottomFontSize_ = 0;
    CGRect topRect_ = CGRectZero;
    CGRect bottomRect_ = CGRectZero;
    CGFloat scale_ = 0;
    // The captions are baked here, at the GL image's size, drawn with a top-left origin.
    CGContextRef contextForGL_ = nullptr;
    std::vector<std::uint8_t> bitmapData_;
    CGSize bitmapSize_{0, 0};
    bool finishQueued_ = false;
};
