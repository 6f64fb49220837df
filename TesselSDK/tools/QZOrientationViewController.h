#pragma once
// The orientation tool: quarter turns and flips from two momentary segmented controls, and a
// straightening of up to 45 degrees either way from the knob of the straighten overlay. Every
// change is shown at once by animating the canvas's own layer; no pixel is touched until Apply,
// which renders the one orientation module once on the full-size image server and hands that
// module to the session. The logical orientation (`transform`) and its canvas form
// (`straightenBaselineTransform`) are products of exact 0 / +-1 matrices, so any number of taps
// keeps them exact. Main thread only.

#include "TesselSDK/tools/QZStraightenOverlayView.h"

#include "TesselSDKFoundation/QZSegmentedControl.h"
#include "TesselSDK/shell/QZToolViewController.h"

#include "TesselSDKImaging/Modules/QZOrientationModule.h"

#include "QuartzCore/CAAnimation.h"
#include "UIKit/UILabel.h"

#include <memory>
#include <vector>

class QZOrientationViewController : public QZToolViewController,
                                    public QZSegmentedControlDelegate,
                                    public QZStraightenOverlayDelegate,
                                    public CAAnimationDelegate {
public:
    using QZToolViewController::QZToolViewController;

    using QZToolViewController::initWithGLInstance;
    // Identity transform, the screen restores the canvas itself, a new orientation module.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                            bool quickLaunch) override;

    // ---- Hooks ----
    bool needsLayoutOnSuccess() const override { return true; }
    // The straighten overlay.
    QZOverlayViewFactory staticOverlayViewClass() const override;
    // "editor.tool.orientation".
    std::string customizationKeyPath() const override;
    // A uniform scale fitting the picture's larger side, with room around it, into the overlay
    // (never above 0.94); remembered as currentImageViewTransform.
    CGAffineTransform imageViewTransform() const override;
    std::shared_ptr<QZModule> outputModule() override { return orientationModule_; }

    // ---- View lifecycle ----
    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;

    // ---- Apply ----
    // Nothing changed: the canvas goes back and the base finishes at once. A change: the inputs
    // lock and the module renders once at full size. Ignored once the tool finished, was cancelled
    // or is applying.
    void applyButtonPressed() override;
    // The commit is the render's own: the base never commits here.
    void finishApplying() override;
    void beginRender();

    // ---- Editing ----
    void rotateClockwise(bool clockwise);
    // NO: a vertical flip.
    void flipHorizontal(bool horizontal);
    // value in [-0.5, 0.5], the knob's: the angle value x pi / 2 and the zoom that keeps the
    // turned picture filling its frame.
    void straightenWithValue(float value) override;
    // The knob back to the centre, no angle, no zoom; the layer keeps what it shows (the next
    // turn or flip ends without the straightening).
    void resetStraighten();
    void setOverlayImageFrame();
    // The module takes the orientation, angle and zoom; Apply will have to render.
    void setRender();
    // A scale that keeps the picture inside the overlay while it stands diagonal mid-turn.
    CGAffineTransform rotatingImageViewTransform() const;

    void segmentedControlDidSelectItemAtIndex(QZSegmentedControl* control, NSInteger index) override;
    void animationDidStopFinished(CAAnimation* animation, bool finished) override;

    // ---- Properties ----
    const std::shared_ptr<QZSegmentedControl>& rotateControl() const { return rotateControl_; }
    const std::shared_ptr<QZSegmentedControl>& flipControl() const { return flipControl_; }
    CGAffineTransform transform() const { return transform_; }
    CGAffineTransform originalTransform() const { return originalTransform_; }
    // Odd flips so far: a turn seen clockwise runs the other way on the layer.
    bool rotateReversed() const { return rotateReversed_; }
    // Odd quarter turns so far: a flip seen horizontal runs about the other axis on the layer.
    bool flipReversed() const { return flipReversed_; }
    const std::shared_ptr<QZOrientationModule>& orientationModule() const { return orientationModule_; }
    float currentStraightenRotation() const { return currentStraightenRotation_; }
    float currentStraightenScale() const { return currentStraightenScale_; }
    CGAffineTransform straightenBaselineTransform() const { return straightenBaselineTransform_; }
    CGAffineTransform currentImageViewTransform() const { return currentImageViewTransform_; }
    std::shared_ptr<QZStraightenOverlayView> straightenOverlay() const;
    const std::vector<std::shared_ptr<UILabel>>& controlLabels() const { return controlLabels_; }

private:
    // The turn or flip's animation on the canvas layer, which then holds `to`.
    void animateCanvasLayer(const std::shared_ptr<CAAnimation>& animation, const CATransform3D& to);

    std::shared_ptr<QZSegmentedControl> rotateControl_;
    std::shared_ptr<QZSegmentedControl> flipControl_;
    CGAffineTransform transform_ = CGAffineTransformIdentity;
    CGAffineTransform originalTransform_ = CGAffineTransformIdentity;
    bool rotateReversed_ = false;
    bool flipReversed_ = false;
    std::shared_ptr<QZOrientationModule> orientationModule_;
    float currentStraightenRotation_ = 0;
    float currentStraightenScale_ = 1;
    CGAffineTransform straightenBaselineTransform_ = CGAffineTransformIdentity;
    mutable CGAffineTransform currentImageViewTransform_ = CGAffineTransformIdentity;
    std::vector<std::shared_ptr<UILabel>> controlLabels_;
};
