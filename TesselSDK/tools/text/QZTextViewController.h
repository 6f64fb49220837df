#pragma once
// The text tool: one text, typed on the keyboard, coloured from a strip, moved, turned and scaled
// on the photo, then applied. Its static overlay holds the text box; Apply bakes the text into a
// bitmap of the preview's size, blends it over the preview, and hands over a module that draws the
// same text with a text processor on any image. Main thread only, but for the present that Apply
// queues on the GL queue.

#include "TesselSDK/tools/brush/QZColorConveyorController.h"
#include "TesselSDK/tools/text/QZTextOverlayView.h"

#include "TesselSDK/shell/QZConveyorViewController.h"

#include "UIKit/UIToolbar.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QZTextViewController : public QZConveyorViewController,
                             public QZColorConveyorControllerDelegate,
                             public QZTextOverlayViewDelegate {
public:
    using QZConveyorViewController::QZConveyorViewController;
    ~QZTextViewController() override;

    using QZConveyorViewController::initWithGLInstance;
    // The base's, then cells 52 points wide.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                            bool quickLaunch) override;

    // ---- Class hooks ----
    QZOverlayViewFactory staticOverlayViewClass() const override;
    bool usesStaticImageView() const override { return false; }
    // "editor.tool.text".
    std::string customizationKeyPath() const override;

    // ---- View lifecycle ----
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;

    std::shared_ptr<QZTextOverlayView> textOverlayView() const;
    // The keyboard bar's Done: the typing ends.
    void dismissKeyboard();

    // ---- The colour strip ----
    const std::shared_ptr<QZColorConveyorController>& colorConveyorController() const
    {
        return colorConveyorController_;
    }
    void colorControllerDidSelectColorAtIndex(QZColorConveyorController*, const std::shared_ptr<UIColor>& color,
                                              NSInteger index) override;
    void colorControllerDidScrollToColorAtIndex(QZColorConveyorController*, const std::shared_ptr<UIColor>& color,
                                                NSInteger index) override;
    // The strip has no eraser here: only a log line.
    void colorControllerDidSelectEraser(QZColorConveyorController*, bool selected) override;
    void colorControllerDidScrollToEraser(QZColorConveyorController*, bool selected) override;

    // ---- The overlay ----
    // The canvas's image view bounds in the overlay; zero without an image view.
    CGRect rectForImageInTextOverlayView(QZTextOverlayView* overlay) override;

    // ---- Apply ----
    // Bakes the text into the bitmap, blends it over the preview, then finishes from the GL queue.
    // Entered again while that is queued, it queues nothing more.
    void finishApplying() override;
    // A block module drawing the applied text with a text processor; the values are taken now.
    std::shared_ptr<QZModule> outputModule() override;

    // What Apply took from the box, for the output module.
    const std::string& text() const { return text_; }
    const std::shared_ptr<UIColor>& backgroundColor() const { return backgroundColor_; }
    CGRect relativeTextRect() const { return relativeTextRect_; }
    CGFloat rotation() const { return rotation_; }
    CGFloat scale() const { return scale_; }
    // The keyboard's bar.
    const std::shared_ptr<UIToolbar>& keyboardToolbar() const { return keyboardToolbar_; }

private:
    void setTextColors(const std::shared_ptr<UIColor>& color);

    std::shared_ptr<QZColorConveyorController> colorConveyorController_;
    std::string text_;
    std::shared_ptr<UIColor> backgroundColor_;
    CGRect relativeTextRect_ = CGRectZero;
    CGFloat rotation_ = 0;
    CGFloat scale_ = 0;
    CGContextRef contextForGL_ = nullptr;
    std::vector<std::uint8_t> bitmapData_;
    CGSize bitmapSize_{0, 0};
    std::shared_ptr<UIToolbar> keyboardToolbar_;
    bool finishQueued_ = false;
};
