#pragma once
// The focus tool: one zone of the photo stays sharp, a disc (radial) or a band (linear), and the
// rest is blurred. Pan moves the zone, pinch resizes it and rotation turns the band, over a white
// guide that fades shortly after the fingers lift. Every change renders the preview on the GL
// instance with at most one render in flight; changes that arrive meanwhile are rendered right
// after it, so Apply always waits for the preview of the values the output module records. Main
// thread only.

#include "TesselSDK/tools/QZTiltShiftOverlayView.h"

#include "TesselSDKFoundation/QZSegmentedControl.h"
#include "TesselSDK/shell/QZToolViewController.h"

#include "TesselSDKImaging/Processors/QZTiltShiftProcessor.h"

#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UIPinchGestureRecognizer.h"
#include "UIKit/UIRotationGestureRecognizer.h"

#include <memory>
#include <vector>

class QZTiltShiftViewController : public QZToolViewController,
                                  public QZSegmentedControlDelegate,
                                  public UIGestureRecognizerDelegate,
                                  public QZTiltShiftOverlayViewDelegate {
public:
    using QZToolViewController::QZToolViewController;

    // ---- Class hooks ----
    QZOverlayViewFactory scrollableOverlayViewClass() const override;
    bool usesStaticImageView() const override { return false; }
    // The base's scrollable overlay.
    std::shared_ptr<QZTiltShiftOverlayView> tiltShiftOverlayView() const;

    // ---- Lifecycle ----
    // The style picker with its caption, the canvas locked in place and the guide shown.
    void viewDidLoad() override;
    // The gestures, the first zone and its render, and the guide's fade after 1.0 s.
    void viewWillAppear(bool animated) override;
    // No fade on a screen that is going away.
    void viewWillDisappear(bool animated) override;
    // The canvas gets its own gestures back only while the device turns.
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;
    void setupGestureRecognizers();
    // A centred zone of the overlay, unturned, with the radius of min(w, h) x 0.45 capped at 200;
    // one render.
    void setupOverlayInitialView();

    // ---- The zone: its only writers, each a no-op when the clamped value is unchanged ----
    CGPoint center() const { return center_; }
    // Clamped to the overlay's bounds.
    void setCenter(CGPoint center);
    CGFloat radius() const { return radius_; }
    // Between min(w, h) / 15 and min(w, h) / 2 of the overlay.
    void setRadius(CGFloat radius);
    CGFloat rotation() const { return rotation_; }
    void setRotation(CGFloat rotation);
    QZTiltShiftStyle tiltShiftStyle() const { return tiltShiftStyle_; }
    // Always acts: the zone back to its initial place, the guide shown for 1.0 s, the choice
    // reported.
    void setTiltShiftStyle(QZTiltShiftStyle style);
    CGPoint originalCenter() const { return originalCenter_; }
    CGFloat originalRadius() const { return originalRadius_; }
    CGFloat originalRotation() const { return originalRotation_; }

    // ---- Gestures and touches ----
    void panDetected(UIPanGestureRecognizer* recognizer);
    void pinchDetected(UIPinchGestureRecognizer* recognizer);
    void rotationDetected(UIRotationGestureRecognizer* recognizer);
    // The three run together.
    std::optional<bool>
    gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(UIGestureRecognizer*,
                                                                        UIGestureRecognizer*) override
    {
        return true;
    }
    void tiltShiftOverlayTouchedDown(QZTiltShiftOverlayView* overlay) override;
    void tiltShiftOverlayTouchedUp(QZTiltShiftOverlayView* overlay) override;
    // The picker sends no value-changed event; kept for a control that does.
    void segmentedControlDidChangeValue();
    void segmentedControlDidSelectItemAtIndex(QZSegmentedControl* control, NSInteger index) override;
    void segmentedControlDidDeselectItemAtIndex(QZSegmentedControl*, NSInteger) override {}
    // Animates the guide out over 0.2 s.
    void fadeOutOverlay();

    // ---- Preview and output ----
    // Made on first use, for the GL instance; its mask takes the GL image's size.
    const std::shared_ptr<QZTiltShiftProcessor>& processor();
    // Renders the current zone, or, while a render is in flight, marks that the zone must be
    // rendered again once it is done.
    void updateGLView();
    // A full-size processor of the current zone, in the preview's mask space.
    std::shared_ptr<QZModule> outputModule() override;

    // ---- Analytics: every event carries the style ----
    Value overlayStyleAnalyticsAttributes() const;
    void reportOpened() override;
    void reportCancelled() override;
    void reportApplied() override;

    // ---- Properties ----
    bool isCurrentlyRendering() const { return currentlyRendering_; }
    bool requiresFurtherRender() const { return requiresFurtherRender_; }
    const std::shared_ptr<QZSegmentedControl>& segmentedControl() const { return segmentedControl_; }
    const std::vector<std::shared_ptr<UILabel>>& captionLabels() const { return captionLabels_; }
    const std::shared_ptr<UIPanGestureRecognizer>& panRecognizer() const { return panRecognizer_; }
    const std::shared_ptr<UIPinchGestureRecognizer>& pinchRecognizer() const { return pinchRecognizer_; }
    const std::shared_ptr<UIRotationGestureRecognizer>& rotationRecognizer() const { return rotationRecognizer_; }

protected:
    // A new preview processor; tests record its runs through a subclass.
    virtual std::shared_ptr<QZTiltShiftProcessor> makeProcessor() const { return QZTiltShiftProcessor::make(); }

private:
    void layoutStylePicker();
    // Back on the main queue after a render was presented.
    void previewRendered();
    // Cancels the pending fade and shows the guide.
    void showGuide();
    void scheduleFade(double delay);

    CGPoint center_{0, 0};
    CGFloat radius_ = 0;
    CGFloat rotation_ = 0;
    QZTiltShiftStyle tiltShiftStyle_ = QZTiltShiftStyleRadial;
    CGPoint originalCenter_{0, 0};
    CGFloat originalRadius_ = 0;
    CGFloat originalRotation_ = 0;
    // A render is in flight: set on the main thread when queued, cleared there by its hop back.
    bool currentlyRendering_ = false;
    bool requiresFurtherRender_ = false;
    // Keeps the initial zone's centre and rotation from rendering before its radius.
    bool suppressesRender_ = false;
    std::shared_ptr<QZTiltShiftProcessor> processor_;
    std::shared_ptr<QZSegmentedControl> segmentedControl_;
    std::vector<std::shared_ptr<UILabel>> captionLabels_;
    std::shared_ptr<UIPanGestureRecognizer> panRecognizer_;
    std::shared_ptr<UIPinchGestureRecognizer> pinchRecognizer_;
    std::shared_ptr<UIRotationGestureRecognizer> rotationRecognizer_;
};
