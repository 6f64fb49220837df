#include "TesselSDK/tools/QZOrientationViewController.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZViewAnimation.h"

#include "TesselSDKImaging/QZStraightenedSize.h"

#include "Foundation/NSLog.h"
#include "Foundation/NSValue.h"
#include "GLES/EAGLContext.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UIFont.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat kPadInset = 70;
constexpr CGFloat kControlTop = 12;
constexpr CGFloat kControlHeight = 64;
constexpr CGFloat kLabelInset = 8;
constexpr CGFloat kLabelGap = 16;
constexpr double kTurnSeconds = 0.2;
constexpr double kCanvasSeconds = 0.3;
constexpr double kRotationHideSeconds = 0.1;
constexpr double kRotationShowSeconds = 0.2;
// The flip swings through depth on its way.
constexpr CGFloat kFlipPerspective = -1.0f / 300;
constexpr CGFloat kHalfPi = CGFloat(M_PI_2);

// Quarter turns and flips as exact matrices: built with cos and sin, each would leave an error of
// about 4e-8, and a few hundred taps would drift past what the orientation lookup accepts.
CGAffineTransform quarterTurn(bool clockwise)
{
    return clockwise ? CGAffineTransformMake(0, 1, -1, 0, 0, 0) : CGAffineTransformMake(0, -1, 1, 0, 0, 0);
}
CGAffineTransform mirror(bool horizontal)
{
    return horizontal ? CGAffineTransformMake(-1, 0, 0, 1, 0, 0) : CGAffineTransformMake(1, 0, 0, -1, 0, 0);
}

Value transformValue(const CATransform3D& t)
{
    return NSValue::valueWithCATransform3D(t);
}

}  // namespace

bool QZOrientationViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance,
                                                     Value settings, bool quickLaunch)
{
    if (!QZToolViewController::initWithGLInstance(glInstance, std::move(settings), quickLaunch)) return false;
    transform_ = CGAffineTransformIdentity;
    setWillHandleImageViewResizing(true);
    orientationModule_ = QZOrientationModule::make();
    return true;
}

QZOverlayViewFactory QZOrientationViewController::staticOverlayViewClass() const
{
    return
        [](CGRect frame) -> std::shared_ptr<QZView> { return UIView::viewWithFrame<QZStraightenOverlayView>(frame); };
}

std::string QZOrientationViewController::customizationKeyPath() const
{
    return QZToolViewController::customizationKeyPath() + ".orientation";
}

std::shared_ptr<QZStraightenOverlayView> QZOrientationViewController::straightenOverlay() const
{
    return std::dynamic_pointer_cast<QZStraightenOverlayView>(staticOverlayView());
}

// ---- Layout ----

void QZOrientationViewController::loadView()
{
    QZToolViewController::loadView();
    const std::shared_ptr<UIView>& view = this->view();
    const CGRect bounds = view->bounds();
    const CGFloat p = UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad ? kPadInset : 0;
    const CGFloat width = bounds.size.width;
    const CGFloat c = std::floor((width - 2 * p) * 0.5f);
    auto me = std::static_pointer_cast<QZSegmentedControlDelegate>(self<QZOrientationViewController>());

    rotateControl_ =
        QZSegmentedControl::make(CGRectMake(p, kControlTop, c, kControlHeight), {"rotate_l.png", "rotate_r.png"},
                                 {"rotate_l-active.png", "rotate_r-active.png"});
    rotateControl_->setMomentary(true);
    rotateControl_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleRightMargin |
                                        UIViewAutoresizingFlexibleHeight);
    rotateControl_->setDelegate(me);
    view->addSubview(rotateControl_);

    flipControl_ =
        QZSegmentedControl::make(CGRectMake(CGRectGetMaxX(rotateControl_->frame()), kControlTop, c, kControlHeight),
                                 {"flip_v.png", "flip_h.png"}, {"flip_v-active.png", "flip_h-active.png"});
    flipControl_->setMomentary(true);
    flipControl_->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleWidth |
                                      UIViewAutoresizingFlexibleHeight);
    flipControl_->setDelegate(me);
    view->addSubview(flipControl_);

    const char* segmentLabels[2][2] = {{"Rotate left", "Rotate right"}, {"Flip vertical", "Flip horizontal"}};
    const std::shared_ptr<QZSegmentedControl>* controls[2] = {&rotateControl_, &flipControl_};
    for (int control = 0; control < 2; ++control) {
        const auto& buttons = (*controls[control])->buttons();
        for (std::size_t i = 0; i < buttons.size() && i < 2; ++i)
            buttons[i]->setAccessibilityLabel(QZLocalizedString(segmentLabels[control][i]));
    }

    const CGFloat labelWidth = std::floor((width - 2 * p) / 2 - kLabelGap);
    const CGFloat controlMaxY = CGRectGetMaxY(rotateControl_->frame());
    const char* titles[2] = {"Rotate", "Flip"};
    for (int i = 0; i < 2; ++i) {
        auto label = UIView::viewWithFrame<UILabel>(CGRectZero);
        label->setText(QZLocalizedString(titles[i]));
        label->setFont(UIFont::boldSystemFontOfSize(12));
        label->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor"));
        label->setTextAlignment(NSTextAlignmentCenter);
        label->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
        label->setShadowOffset(CGSizeMake(0, 1));
        label->setBackgroundColor(UIColor::clearColor());
        const CGFloat h = label->sizeThatFits(CGSizeMake(labelWidth, 10000)).height;
        const CGFloat v = (CGRectGetMaxY(bounds) - controlMaxY) * 0.5f - h;
        label->setFrame(CGRectIntegral(
            CGRectMake(p + kLabelInset + CGFloat(i) * (labelWidth + kLabelGap), v + controlMaxY, labelWidth, h)));
        label->setAutoresizingMask(i == 0 ? UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleRightMargin
                                          : UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleWidth);
        view->addSubview(label);
        controlLabels_.push_back(label);
    }

    currentStraightenRotation_ = 0;
    currentStraightenScale_ = 1;
    straightenBaselineTransform_ = CGAffineTransformIdentity;
    setZoomEnabled(true);
}

// ---- Appearing ----

void QZOrientationViewController::viewWillAppear(bool animated)
{
    if (auto canvas = scrollableImageView()) canvas->zoomOutAnimated(true);
    QZToolViewController::viewWillAppear(animated);
}

void QZOrientationViewController::viewDidAppear(bool animated)
{
    QZToolViewController::viewDidAppear(animated);
    if (auto canvas = scrollableImageView()) originalTransform_ = canvas->transform();
    setOverlayImageFrame();
    if (auto overlay = straightenOverlay())
        overlay->setDelegate(
            std::static_pointer_cast<QZStraightenOverlayDelegate>(self<QZOrientationViewController>()));
    QZAnalytics::reportScreen("Orientation");
}

CGAffineTransform QZOrientationViewController::imageViewTransform() const
{
    auto canvas = scrollableImageView();
    const std::shared_ptr<QZView>& overlay = staticOverlayView();
    if (!canvas || !overlay || !canvas->imageView()) return currentImageViewTransform_;
    const std::shared_ptr<UIImageView>& imageView = canvas->imageView();
    const CGRect r = overlay->convertRectFromView(imageView->frame(), imageView->superview().get());
    const CGFloat longest = std::max(r.size.width, r.size.height);
    const CGRect room = CGRectInset(overlay->bounds(), 5, 50);
    const CGFloat s = std::min(room.size.width, room.size.height) / longest;
    const CGFloat scale = s > 1 ? 0.94f : s * 0.94f;
    currentImageViewTransform_ = CGAffineTransformMakeScale(scale, scale);
    return currentImageViewTransform_;
}

CGAffineTransform QZOrientationViewController::rotatingImageViewTransform() const
{
    auto gl = glInstance();
    const std::shared_ptr<QZView>& overlay = staticOverlayView();
    if (!gl || !overlay) return CGAffineTransformIdentity;
    const CGSize room = overlay->bounds().size;
    const CGSize fitted = QZCGSizeScaleToMaxSize(gl->currentImageSize(), room, nullptr);
    const CGFloat diagonal = std::sqrt(fitted.width * fitted.width + fitted.height * fitted.height);
    const CGFloat k = std::min({room.width / diagonal, room.height / diagonal, CGFloat(1)});
    const CGFloat scale = 0.95f * std::sqrt(k);
    return CGAffineTransformMakeScale(scale, scale);
}

// ---- Turns and flips ----

void QZOrientationViewController::animateCanvasLayer(const std::shared_ptr<CAAnimation>& animation,
                                                     const CATransform3D& to)
{
    auto canvas = scrollableImageView();
    if (!canvas) return;
    animation->setDelegate(std::static_pointer_cast<CAAnimationDelegate>(self<QZOrientationViewController>()));
    canvas->layer()->addAnimation(animation, "transform");
    canvas->layer()->setTransform(to);
}

void QZOrientationViewController::rotateClockwise(bool clockwise)
{
    const CGAffineTransform turn = quarterTurn(clockwise);
    straightenBaselineTransform_ = CGAffineTransformConcat(straightenBaselineTransform_, turn);

    if (auto canvas = scrollableImageView()) {
        const CATransform3D from = canvas->layer()->transform();
        // After an odd number of flips the layer's own turn shows mirrored.
        const bool effective = clockwise != rotateReversed_;
        const CGFloat k = rotateReversed_ ? -1 : 1;
        // The straightening is taken out in the same turn.
        const CGFloat a = (effective ? kHalfPi : -kHalfPi) - k * currentStraightenRotation_;
        const CATransform3D safe = CATransform3DMakeAffineTransform(rotatingImageViewTransform());
        const CATransform3D q1 = CATransform3DConcat(CATransform3DRotate(from, a * 0.25f, 0, 0, 1), safe);
        const CATransform3D q3 = CATransform3DConcat(CATransform3DRotate(from, a * 0.75f, 0, 0, 1), safe);
        const CGFloat unzoom = 1 / currentStraightenScale_;
        const CATransform3D to = CATransform3DScale(CATransform3DRotate(from, a, 0, 0, 1), unzoom, unzoom, 1);

        auto turning = CAKeyframeAnimation::animationWithKeyPath("transform");
        turning->setValues({transformValue(from), transformValue(q1), transformValue(q3), transformValue(to)});
        turning->setKeyTimes({0, 0.25, 0.75, 1.0});
        turning->setDuration(kTurnSeconds);
        turning->setCalculationMode(kCAAnimationCubicPaced);
        animateCanvasLayer(turning, to);
    }

    transform_ = CGAffineTransformConcat(transform_, turn);
    flipReversed_ = !flipReversed_;
}

void QZOrientationViewController::flipHorizontal(bool horizontal)
{
    const CGAffineTransform flip = mirror(horizontal);
    straightenBaselineTransform_ = CGAffineTransformConcat(straightenBaselineTransform_, flip);

    if (auto canvas = scrollableImageView()) {
        const CATransform3D from = canvas->layer()->transform();
        // After an odd number of quarter turns the picture's horizontal is the layer's vertical.
        const bool effective = horizontal != flipReversed_;
        const CGFloat k = rotateReversed_ ? -1 : 1;
        CATransform3D to = effective ? CATransform3DRotate(from, CGFloat(M_PI), 0, 1, 0)
                                     : CATransform3DRotate(from, CGFloat(M_PI), 1, 0, 0);
        to = CATransform3DRotate(to, k * currentStraightenRotation_, 0, 0, 1);
        const CGFloat unzoom = 1 / currentStraightenScale_;
        to = CATransform3DScale(to, unzoom, unzoom, 1);
        CATransform3D swing = to;
        swing.m34 = kFlipPerspective;

        auto flipping = CABasicAnimation::animationWithKeyPath("transform");
        flipping->setFromValue(transformValue(from));
        flipping->setToValue(transformValue(swing));
        flipping->setDuration(kTurnSeconds);
        flipping->setFillMode(kCAFillModeForwards);
        animateCanvasLayer(flipping, to);
    }

    transform_ = CGAffineTransformConcat(transform_, flip);
    rotateReversed_ = !rotateReversed_;
}

void QZOrientationViewController::segmentedControlDidSelectItemAtIndex(QZSegmentedControl* control, NSInteger index)
{
    if (auto overlay = straightenOverlay()) overlay->setOverlayVisible(false, false);
    if (control == rotateControl_.get()) {
        if (index == 1) rotateClockwise(true);
        if (index == 0) rotateClockwise(false);
    } else if (control == flipControl_.get()) {
        if (index == 1) flipHorizontal(true);
        if (index == 0) flipHorizontal(false);
    }
    resetStraighten();
    setRender();
}

void QZOrientationViewController::animationDidStopFinished(CAAnimation*, bool)
{
    if (auto overlay = straightenOverlay()) overlay->setOverlayVisible(true, true);
}

// ---- Straightening ----

void QZOrientationViewController::straightenWithValue(float value)
{
    auto overlay = straightenOverlay();
    if (!overlay) return;
    const CGRect f = overlay->imageFrame();
    const CGFloat longer = std::max(f.size.width, f.size.height), shorter = std::min(f.size.width, f.size.height);
    const CGFloat angle = value * kHalfPi;
    const CGFloat alpha = std::fabs(angle);

    // The frame's top edge, centred on the origin, and the same edge turned by the angle: where
    // they cross says how far the turned picture falls short of the frame's corner.
    const CGPoint a = CGPointMake(-longer / 2, shorter / 2), b = CGPointMake(longer / 2, shorter / 2);
    const CGAffineTransform turn = CGAffineTransformMakeRotation(alpha);
    const QZCGLine edge{a, b};
    const QZCGLine turned{CGPointApplyAffineTransform(a, turn), CGPointApplyAffineTransform(b, turn)};
    CGPoint crossing;
    // Parallel at no angle: nothing falls short.
    const CGFloat h = QZCGLineIntersection(edge, turned, &crossing) ? QZCGLineLength(QZCGLine{crossing, a}) : 0;
    const CGFloat scale = shorter > 0 ? 1 + 2 * std::sin(alpha) * h / shorter : 1;

    if (auto canvas = scrollableImageView()) {
        CGAffineTransform shown = CGAffineTransformConcat(currentImageViewTransform_, straightenBaselineTransform_);
        shown = CGAffineTransformConcat(shown, CGAffineTransformMakeScale(scale, scale));
        shown = CGAffineTransformConcat(shown, CGAffineTransformMakeRotation(angle));
        canvas->layer()->setTransform(CATransform3DMakeAffineTransform(shown));
    }
    currentStraightenRotation_ = angle;
    currentStraightenScale_ = scale;
    setRender();
}

void QZOrientationViewController::resetStraighten()
{
    setOverlayImageFrame();
    if (auto overlay = straightenOverlay()) overlay->resetHandle();
    currentStraightenRotation_ = 0;
    currentStraightenScale_ = 1;
}

void QZOrientationViewController::setOverlayImageFrame()
{
    auto canvas = scrollableImageView();
    auto overlay = straightenOverlay();
    if (!canvas || !overlay || !canvas->imageView()) return;
    const std::shared_ptr<UIImageView>& imageView = canvas->imageView();
    const CGRect frame = overlay->convertRectFromView(imageView->bounds(), imageView.get());
    overlay->setImageSliderFrame(CGRectIntersection(frame, overlay->bounds()));
}

void QZOrientationViewController::setRender()
{
    orientationModule_->setOrientation(QZUIImageOrientationForTransform(transform_));
    orientationModule_->setBasedOnCurrentOrientation(false);
    orientationModule_->setRotation(currentStraightenRotation_);
    orientationModule_->setScale(currentStraightenScale_);
    setReadyToApply(false);
}

// ---- Apply ----

void QZOrientationViewController::applyButtonPressed()
{
    if (wasBackButtonPressed() || successfullyApplied() || applyType() != 0) return;
    if (isReadyToApply()) {
        std::weak_ptr<QZScrollingImageView> canvas = scrollableImageView();
        QZPerformUIViewAnimation(
            kCanvasSeconds,
            [canvas] {
                if (auto view = canvas.lock()) {
                    view->setTransform(CGAffineTransformIdentity);
                    view->zoomOutAnimated(false);
                }
            },
            nullptr);
        QZToolViewController::applyButtonPressed();
        return;
    }
    // The status the root screen hears, the locked inputs and the guard against a second render
    // all come from the apply type.
    setApplyType(isQuickLaunch() ? QZToolViewControllerApplyTypeQuickLaunchDone
                                 : QZToolViewControllerApplyTypeStandard);
    beginRender();
}

void QZOrientationViewController::finishApplying()
{
    const bool waiting = shouldWaitForGLCommit();
    setShouldWaitForGLCommit(true);
    QZToolViewController::finishApplying();
    setShouldWaitForGLCommit(waiting);
}

void QZOrientationViewController::beginRender()
{
    setRenderStartDate();
    const std::shared_ptr<QZImageServer>& server = highResolutionServer();
    std::shared_ptr<QZOpenGLInstance> gl = glInstance();
    if (!server || !gl) {
        NSLog("%s %@", "-[QZOrientationViewController beginRender]", "No image server to render on");
        QZToolViewController::finishApplying();
        return;
    }
    const CGSize size = server->size();
    CGSize out = QZStraightenedSize(size, currentStraightenScale_);
    if (QZImageOrientationIsTurned(QZUIImageOrientationForTransform(transform_)))
        out = CGSizeMake(out.height, out.width);
    gl->setDestinationImageSizeAndClear(out);
    orientationModule_->setOriginalSize(size);
    server->runModule(orientationModule_, false, nullptr);
    orientationModule_->setIsHiRes(true);

    // Queued before the root screen hears the finish, and committing on the GL queue: a
    // quick-launched root reads the image back at once, behind this block.
    std::weak_ptr<QZOrientationViewController> weak = weakSelf<QZOrientationViewController>();
    std::weak_ptr<QZScrollingImageView> weakCanvas = scrollableImageView();
    const CGAffineTransform original = originalTransform_;
    server->runBlock([weak, weakCanvas, gl, out, original] {
        gl->presentRenderbufferFromGLQueue();
        gl->commitChangesFromGLQueue();
        EAGLContext::dispatchSyncToMainHandingOverCurrentContext([&] {
            if (auto canvas = weakCanvas.lock()) {
                canvas->setImageSize(out, false);
                canvas->setTransform(original);
                QZPerformUIViewAnimation(
                    kCanvasSeconds,
                    [canvas] {
                        canvas->setTransform(CGAffineTransformIdentity);
                        canvas->zoomOutAnimated(false);
                    },
                    nullptr);
            }
            gl->renderIdentityImageWithCompletion(nullptr);
            if (auto screen = weak.lock()) screen->setRenderEndDate();
        });
    });

    setShouldWaitForGLCommit(true);
    QZToolViewController::finishApplying();
    setShouldWaitForGLCommit(false);
}

// ---- Device rotation ----

void QZOrientationViewController::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZToolViewController::willRotateToInterfaceOrientation(orientation, duration);
    auto overlay = straightenOverlay();
    if (overlay) overlay->setUserInteractionEnabled(false);
    std::weak_ptr<QZStraightenOverlayView> weakOverlay = overlay;
    std::weak_ptr<QZScrollingImageView> weakCanvas = scrollableImageView();
    QZPerformUIViewAnimation(
        kRotationHideSeconds,
        [weakOverlay, weakCanvas] {
            if (auto view = weakOverlay.lock()) {
                view->setOverlayVisible(false, false);
                view->endEditing();
            }
            if (auto canvas = weakCanvas.lock()) {
                canvas->setAlpha(0);
                canvas->setTransform(CGAffineTransformIdentity);
            }
        },
        nullptr);
}

void QZOrientationViewController::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                            double duration)
{
    QZToolViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    auto canvas = scrollableImageView();
    if (!canvas) return;
    canvas->setAlpha(1);
    canvas->zoomOutAnimated(false);
    canvas->setTransform(CGAffineTransformConcat(imageViewTransform(), straightenBaselineTransform_));
}

void QZOrientationViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZToolViewController::didRotateFromInterfaceOrientation(orientation);
    // The turn redrew the canvas without the straightening; the module must not keep it either,
    // or Apply would cut a region the person no longer sees.
    const bool wasStraightened = currentStraightenRotation_ != 0 || currentStraightenScale_ != 1;
    resetStraighten();
    std::weak_ptr<QZStraightenOverlayView> weakOverlay = straightenOverlay();
    QZPerformUIViewAnimation(
        kRotationShowSeconds,
        [weakOverlay] {
            if (auto view = weakOverlay.lock()) view->setOverlayVisible(true, false);
        },
        nullptr);
    if (auto overlay = straightenOverlay()) overlay->setUserInteractionEnabled(false);
    if (wasStraightened) setRender();
}
