#include "TesselSDK/shell/QZScrollingImageView.h"

#include "CoreGraphics/CGPath.h"
#include "TesselSDKFoundation/QZViewAnimation.h"

namespace {
constexpr double kPressDuration = 0.05;
constexpr double kZoomBack = 0.1;
constexpr float kZoomedOutTolerance = 0.0001f;
}  // namespace

void QZScrollingImageView::setup()
{
    QZZoomableImageView::setup();
    setDecelerationRate(UIScrollViewDecelerationRateFast);
    setMultipleTouchEnabled(true);
    allowsScaleUp_ = false;

    auto me = self<QZScrollingImageView>();
    longPress_ =
        UIGestureRecognizer::recognizerWithTarget<UILongPressGestureRecognizer>(me, &QZScrollingImageView::handlePress);
    longPress_->setMinimumPressDuration(kPressDuration);
    longPress_->setNumberOfTouchesRequired(1);
    addGestureRecognizer(longPress_);
    longPress_->setEnabled(false);
    tap_ = UIGestureRecognizer::recognizerWithTarget<UITapGestureRecognizer>(me, &QZScrollingImageView::handleTap);
    tap_->setNumberOfTouchesRequired(1);
    addGestureRecognizer(tap_);
    tap_->setEnabled(false);
}

// ---- Image and size ----

void QZScrollingImageView::setImageSize(CGSize size, bool zoomOut)
{
    const CGPoint centre = imageView()->center();
    imageView()->setBounds(CGRectMake(0, 0, size.width, size.height));
    imageView()->setCenter(centre);
    openGLView()->setFrame(imageView()->bounds());
    setContentSize(size);
    recalculateAndSetZoomBoundaries();
    if (zoomOut) zoomOutAnimated(false);
    if (auto delegate = canvasDelegate_.lock()) delegate->imageViewDidResizeOpenGLView(this, openGLView().get());
}

void QZScrollingImageView::setImageOverlayView(std::shared_ptr<QZView> view)
{
    if (view && view == imageOverlayView_) return;
    if (imageOverlayView_) imageOverlayView_->removeFromSuperview();
    imageOverlayView_ = std::move(view);
    if (!imageOverlayView_) return;
    imageOverlayView_->setFrame(imageView()->bounds());
    imageView()->addSubview(imageOverlayView_);
}

// ---- Zoom ----

void QZScrollingImageView::setAllowsScaleUp(bool allows)
{
    if (allowsScaleUp_ == allows) return;
    allowsScaleUp_ = allows;
    recalculateAndSetZoomBoundaries();
}

void QZScrollingImageView::zoomOutAnimated(bool animated)
{
    QZZoomableImageView::zoomOutAnimated(animated);
    configureTouchListening();
}

void QZScrollingImageView::setMinimumImageRect(CGRect rect, bool animated)
{
    QZZoomableImageView::setMinimumImageRect(rect);
    if (CGRectEqualToRect(rect, CGRectZero)) {
        auto zoomBack = [this] {
            const UIEdgeInsets insets = contentInset();
            const CGSize content = contentSize();
            zoomToRect(CGRectMake(insets.left, insets.top, content.width, content.height), false);
        };
        if (animated)
            QZPerformUIViewAnimation(kZoomBack, zoomBack, nullptr);
        else
            zoomBack();
        setContentInset(UIEdgeInsetsZero);
    } else {
        const CGRect b = bounds();
        setContentInset(UIEdgeInsetsMake(CGRectGetMinY(rect) - CGRectGetMinY(b), CGRectGetMinX(rect) - CGRectGetMinX(b),
                                         CGRectGetMaxY(b) - CGRectGetMaxY(rect),
                                         CGRectGetMaxX(b) - CGRectGetMaxX(rect)));
    }
    recalculateAndSetZoomBoundaries();
    zoomOutAnimated(animated);
}

void QZScrollingImageView::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation, double)
{
    recalculateAndSetZoomBoundaries();
    zoomOutAnimated(true);
}

// ---- Touch listening ----

bool QZScrollingImageView::isZoomedOut() const
{
    return zoomScale() - minimumZoomScale() < kZoomedOutTolerance;
}

void QZScrollingImageView::setTouchListeningEnabled(bool enabled)
{
    touchListening_ = enabled;
    configureTouchListening();
}

void QZScrollingImageView::configureTouchListening()
{
    const bool listen = isZoomedOut() && touchListening_;
    if (longPress_) longPress_->setEnabled(listen);
    if (tap_) tap_->setEnabled(listen);
}

void QZScrollingImageView::handlePress(UILongPressGestureRecognizer* recognizer)
{
    if (isZoomedOut()) {
        const UIGestureRecognizerState state = recognizer->state();
        if (state == UIGestureRecognizerStateBegan)
            reportTouchDown();
        else if (state == UIGestureRecognizerStateEnded || state == UIGestureRecognizerStateCancelled)
            reportTouchUp();
    }
    currentTouchLocation_ = recognizer->locationInView(this);
}

void QZScrollingImageView::handleTap(UITapGestureRecognizer* recognizer)
{
    if (!isZoomedOut() || recognizer->state() == UIGestureRecognizerStateCancelled) return;
    reportTouchDown();
    reportTouchUp();
}

void QZScrollingImageView::reportTouchDown()
{
    if (auto delegate = canvasDelegate_.lock()) delegate->imageViewDidReceiveTouchDown(this);
}

void QZScrollingImageView::reportTouchUp()
{
    if (auto delegate = canvasDelegate_.lock()) delegate->imageViewDidReceiveTouchUp(this);
}

// ---- Views ----

void QZScrollingImageView::layoutSubviews()
{
    QZZoomableImageView::layoutSubviews();
    centerImageViewInSize(availableSize());
    CGPathRef shadow = CGPathCreateWithRect(imageView()->bounds(), nullptr);
    imageView()->layer()->setShadowPath(shadow);
    CGPathRelease(shadow);
    if (imageOverlayView_)
        imageOverlayView_->setFrame(QZCGRectCenterInRect(imageOverlayView_->frame(), imageView()->bounds()));
    recalculateAndSetZoomBoundaries();
    setDelaysContentTouches(false);
}

bool QZScrollingImageView::pointInside(CGPoint point, const UIEvent* event) const
{
    if (auto delegate = canvasDelegate_.lock())
        if (std::optional<bool> inside =
                delegate->imageViewIsPointInsideEvent(const_cast<QZScrollingImageView*>(this), point, event))
            return *inside;
    return UIScrollView::pointInside(point, event);
}

void QZScrollingImageView::scrollViewWillBeginZoomingWithView(UIScrollView*, UIView*)
{
    if (auto delegate = canvasDelegate_.lock()) delegate->imageViewBeganZooming(this);
}

void QZScrollingImageView::scrollViewDidEndZoomingWithViewAtScale(UIScrollView*, UIView*, CGFloat)
{
    if (auto delegate = canvasDelegate_.lock()) delegate->imageViewStoppedZooming(this);
}

void QZScrollingImageView::scrollViewWillBeginDragging(UIScrollView*)
{
    if (auto delegate = canvasDelegate_.lock()) delegate->imageViewBeganDragging(this);
}

void QZScrollingImageView::scrollViewDidEndDraggingWillDecelerate(UIScrollView*, bool)
{
    if (auto delegate = canvasDelegate_.lock()) delegate->imageViewStoppedDragging(this);
}

void QZScrollingImageView::scrollViewDidZoom(UIScrollView*)
{
    if (auto delegate = canvasDelegate_.lock()) delegate->imageViewDidZoom(this);
    configureTouchListening();
}
