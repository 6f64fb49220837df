#pragma once
// The draw tool: coloured freehand lines and an eraser over the photo. The size strip takes the
// upper half of the tool view and a colour strip, with an eraser cell at either end, the lower
// half. While the finger moves the picture is the overlay's own trail; after each stroke the whole
// trail is copied into a bitmap of the preview's pixel size, and Apply blends that bitmap over the
// preview. The output module redraws every stroke with a draw processor, at any size. Main thread
// only, but for the blend and present that Apply queues on the GL queue.

#include "TesselSDK/tools/brush/QZBrushViewController.h"
#include "TesselSDK/tools/brush/QZColorConveyorController.h"

#include <cstdint>
#include <memory>
#include <vector>

class QZDrawViewController : public QZBrushViewController, public QZColorConveyorControllerDelegate {
public:
    using QZBrushViewController::QZBrushViewController;
    ~QZDrawViewController() override;

    // ---- Class hooks ----
    bool usesSplitConveyorLayout() const override { return true; }
    // "editor.tool.draw".
    std::string customizationKeyPath() const override;

    // ---- View lifecycle ----
    // The brush base's, then the palette, the colour strip, the bitmap and the half-height look.
    void loadView() override;
    // The brush base's, then the palette's first colour (with more than one) and the screen's name.
    void viewDidAppear(bool animated) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;

    // ---- Strokes ----
    // Clear while erasing, else Normal; the overlay's colour either way.
    void didBeginStroke(const std::shared_ptr<QZBrushStroke>& stroke) override;
    // The base's bookkeeping, then the trail's copy into the bitmap, posted to the main queue.
    void drawOverlayDidFinishDrawingPoints(QZDrawOverlayView* overlay, const std::vector<CGPoint>& points) override;
    // A block module making a new draw processor with the strokes at every ask.
    std::shared_ptr<QZModule> outputModuleWithStrokes(QZBrushStrokeList strokes) override;

    // ---- Apply ----
    // Blends the bitmap over the preview, presents it and finishes from the GL queue. Entered
    // again while that is queued, it queues nothing more.
    void finishApplying() override;

    // ---- The colour strip ----
    void colorControllerDidSelectColorAtIndex(QZColorConveyorController*, const std::shared_ptr<UIColor>& color,
                                              NSInteger index) override;
    void colorControllerDidScrollToColorAtIndex(QZColorConveyorController*, const std::shared_ptr<UIColor>& color,
                                                NSInteger index) override;
    void colorControllerDidSelectEraser(QZColorConveyorController*, bool selected) override;
    void colorControllerDidScrollToEraser(QZColorConveyorController*, bool selected) override;

    // ---- Properties ----
    const std::shared_ptr<QZColorConveyorController>& colorConveyorController() const
    {
        return colorConveyorController_;
    }
    // The colour strip's view.
    std::shared_ptr<QZConveyorView> colorConveyor() const;
    // Over bitmapData, flipped to a top-left origin; null where the preview's size is no pixel size.
    CGContextRef contextForGL() const { return contextForGL_; }
    // RGBA, premultiplied, zero-filled (transparent) until the first stroke is copied in.
    const std::vector<std::uint8_t>& bitmapData() const { return bitmapData_; }
    CGSize bitmapSize() const { return bitmapSize_; }

private:
    void makeBitmap();
    // Every stroke so far, as the trail shows it, replaces the bitmap's content.
    void copyTrailIntoBitmap();
    // The spot HUD shown (hiding by itself) with that spot colour.
    void showSpotColor(std::shared_ptr<UIColor> color);

    std::shared_ptr<QZColorConveyorController> colorConveyorController_;
    CGContextRef contextForGL_ = nullptr;
    std::vector<std::uint8_t> bitmapData_;
    CGSize bitmapSize_{0, 0};
    bool finishQueued_ = false;
};
