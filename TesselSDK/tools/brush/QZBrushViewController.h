#pragma once
// The base of every stroke tool (blemish, whiten, colour splash, draw). Single-finger touches on
// the draw overlay become QZBrushStroke records, whose points are relative to the image and whose
// brush size is the strip's on-screen size in image points at the canvas's zoom, so a brush keeps
// its width on screen at any zoom. The screen keeps the finished strokes in order, offers the size
// strip, the spot HUD and the zoom toggle, and hands its subclasses four hooks. Main thread only.

#include "TesselSDK/tools/brush/QZBrushViewControllerZoomView.h"
#include "TesselSDK/tools/brush/QZDrawOverlayView.h"
#include "TesselSDK/tools/brush/QZSizeConveyorController.h"
#include "TesselSDK/tools/brush/QZSpotEditingHUD.h"
#include "TesselSDK/tools/brush/QZSpotEditingZoomButton.h"

#include "TesselSDK/shell/QZConveyorViewController.h"

#include "TesselSDKImaging/Processors/QZBrushStrokesProcessor.h"

#include <memory>

class QZBrushViewController : public QZConveyorViewController,
                              public QZSizeConveyorControllerDelegate,
                              public QZDrawOverlayViewDelegate {
public:
    using QZConveyorViewController::QZConveyorViewController;

    using QZConveyorViewController::initWithGLInstance;
    // The tool base's, then an empty list of strokes.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                            bool quickLaunch) override;

    // ---- Class hooks ----
    bool usesStaticImageView() const override { return false; }
    QZOverlayViewFactory scrollableOverlayViewClass() const override;

    // ---- Hooks for the stroke tools (nothing in the base) ----
    virtual void didBeginStroke(const std::shared_ptr<QZBrushStroke>&) {}
    // After each point.
    virtual void didModifyStroke(const std::shared_ptr<QZBrushStroke>&) {}
    // When the finger lifts (the stroke then complete), or when a new size is chosen mid-stroke.
    virtual void didFinishStroke(const std::shared_ptr<QZBrushStroke>&) {}
    // The module of the given strokes; none in the base.
    virtual std::shared_ptr<QZModule> outputModuleWithStrokes(QZBrushStrokeList strokes);
    // outputModuleWithStrokes with a copy of the finished strokes.
    std::shared_ptr<QZModule> outputModule() override;

    // ---- View lifecycle ----
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;

    // ---- Zoom mode ----
    // The tool base's (the canvas unlocked, the overlay's touches off), then, while the zoom
    // button is enabled, its look and the dimming over the controls.
    void setZoomEnabled(bool enabled) override;
    void zoomButtonPressed();
    void imageViewBeganZooming(QZScrollingImageView* canvas) override;
    void imageViewStoppedZooming(QZScrollingImageView* canvas) override;
    void imageViewBeganDragging(QZScrollingImageView* canvas) override;
    void imageViewStoppedDragging(QZScrollingImageView* canvas) override;
    void imageViewDidZoom(QZScrollingImageView* canvas) override;

    // An on-screen size in image points: divided by the canvas's own zoom scale (1 without a
    // canvas, or for a zoom that is no finite number above 0).
    CGFloat scaledSize(CGFloat size) const;

    // ---- The strip and the overlay ----
    void sizeControllerDidSelectSize(QZSizeConveyorController* controller, CGFloat size) override;
    void sizeControllerDidScrollToSize(QZSizeConveyorController* controller, CGFloat size) override;
    void drawOverlayDidStartDrawing(QZDrawOverlayView* overlay) override;
    void drawOverlayDidDrawPoint(QZDrawOverlayView* overlay, CGPoint point) override;
    void drawOverlayDidDrawLineFromPointToPoint(QZDrawOverlayView* overlay, CGPoint from, CGPoint to) override;
    void drawOverlayDidFinishDrawingPoints(QZDrawOverlayView* overlay, const std::vector<CGPoint>& points) override;

    // ---- Properties ----
    const std::shared_ptr<QZSizeConveyorController>& sizeConveyorController() const { return sizeConveyorController_; }
    const std::shared_ptr<QZSpotEditingZoomButton>& zoomButton() const { return zoomButton_; }
    // The scrollable overlay; null (logged) when it is of another class.
    std::shared_ptr<QZDrawOverlayView> drawOverlayView() const;
    const std::shared_ptr<QZSpotEditingHUD>& spotHUDView() const { return spotHUDView_; }
    const QZBrushStrokeList& strokes() const { return strokes_; }
    // The size strip: the conveyor base's strip (none where a tool has no strip).
    std::shared_ptr<QZConveyorView> sizeConveyor() const { return conveyorView(); }
    // Made on first use.
    const std::shared_ptr<QZBrushViewControllerZoomView>& disabledView();
    const std::shared_ptr<QZBrushStroke>& currentStroke() const { return currentStroke_; }
    bool previousZoomState() const { return previousZoomState_; }

private:
    std::shared_ptr<QZSizeConveyorController> sizeConveyorController_;
    std::shared_ptr<QZSpotEditingZoomButton> zoomButton_;
    std::shared_ptr<QZSpotEditingHUD> spotHUDView_;
    QZBrushStrokeList strokes_;
    std::shared_ptr<QZBrushViewControllerZoomView> disabledView_;
    std::shared_ptr<QZBrushStroke> currentStroke_;
    bool previousZoomState_ = false;
};
