#include "TesselSDK/shell/QZScrollingImageView.h"

#include "CoreGraphics/CGObjectValue.h"
#include "CoreGraphics/CGPath.h"
#include "QuartzCore/CAAnimation.h"
#include "TesselSDKFoundation/QZViewAnimation.h"
#include "TesselSDKImaging/QZOpenGLManager.h"

#include <algorithm>
#include <typeinfo>

namespace {
constexpr double kPressDuration = 0.05;
constexpr double kContentsFade = 0.2;
constexpr double kZoomBack = 0.1;
constexpr float kZoomedOutTolerance = 0.0001f;
constexpr float kLeastMaximumZoom = 2.0f;
}  // namespace

QZScrollingImageView::~QZScrollingImageView()
{
    // The GL view's renderbuffer goes on the GPU queue, the block holding the GL view alone. No
    // manager: no context, so nothing was ever made.
    auto manager = QZOpenGLManager::existingOpenGLManager();
    if (!manager || !openGLView_) return;
    const int queue = manager->generateQueueWithType(QZQueueTypeDestroy);
    manager->addBlock([view = openGLView_] { view->releaseRenderbufferAndCheckAgainstID(0, nullptr); }, queue);
    manager->destroyQueueWithIdentifier(queue);
}

bool QZScrollingImageView::initWithFrame(CGRect frame)
{
    if (!UIScrollView::initWithFrame(frame)) return false;
    setup();
    return true;
}

void QZScrollingImageView::setup()
{
    setDelegate(std::weak_ptr<UIScrollViewDelegate>(self<QZScrollingImageView>()));
    setBounces(true);
    setBouncesZoom(true);
    setDecelerationRate(UIScrollViewDecelerationRateFast);
    setShowsHorizontalScrollIndicator(false);
    setShowsVerticalScrollIndicator(false);
    setMultipleTouchEnabled(true);

    imageView_ = UIView::viewWithFrame<UIImageView>(CGRectZero);
    imageView_->setContentMode(UIViewContentModeScaleAspectFit);
    imageView_->setUserInteractionEnabled(true);
    openGLView_ = QZOpenGLView::make();
    openGLView_->setFrame(imageView_->bounds());
    imageView_->addSubview(openGLView_);
    addSubview(imageView_);

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

bool QZScrollingImageView::imageViewIsPlain() const
{
    // Exactly the platform class: a subclass draws its own way.
    return imageView_ && typeid(*imageView_) == typeid(UIImageView);
}

std::shared_ptr<UIImage> QZScrollingImageView::image() const
{
    return imageViewIsPlain() ? imageView_->image() : nullptr;
}

void QZScrollingImageView::setImageNeedsLayout(std::shared_ptr<UIImage> image, bool needsLayout)
{
    if (!imageViewIsPlain()) return;
    imageView_->setImage(image);
    if (!needsLayout) return;
    imageView_->sizeToFit();
    openGLView_->setFrame(imageView_->bounds());
    setContentSize(image ? image->size() : CGSizeZero);
    recalculateAndSetZoomBoundaries();
    zoomOutAnimated(false);
}

void QZScrollingImageView::setImageNeedsLayoutAnimated(std::shared_ptr<UIImage> image, bool needsLayout, bool animated)
{
    if (!imageViewIsPlain()) return;
    if (animated) {
        auto fade = CABasicAnimation::animationWithKeyPath("contents");
        auto old = imageView_->image();
        fade->setFromValue(CGObjectValue::valueWithCGImage(old ? old->CGImage() : nullptr));
        fade->setToValue(CGObjectValue::valueWithCGImage(image ? image->CGImage() : nullptr));
        fade->setDuration(kContentsFade);
        imageView_->layer()->addAnimation(fade, "animateContents");
    }
    setImageNeedsLayout(std::move(image), needsLayout);
}

void QZScrollingImageView::setImageSize(CGSize size, bool zoomOut)
{
    const CGPoint centre = imageView_->center();
    imageView_->setBounds(CGRectMake(0, 0, size.width, size.height));
    imageView_->setCenter(centre);
    openGLView_->setFrame(imageView_->bounds());
    setContentSize(size);
    recalculateAndSetZoomBoundaries();
    if (zoomOut) zoomOutAnimated(false);
    if (auto delegate = canvasDelegate_.lock()) delegate->imageViewDidResizeOpenGLView(this, openGLView_.get());
}

void QZScrollingImageView::showOpenGLView(bool show)
{
    openGLView_->setHidden(!show);
    imageView_->setImage(nullptr);
}

void QZScrollingImageView::setImageOverlayView(std::shared_ptr<QZView> view)
{
    if (view && view == imageOverlayView_) return;
    if (imageOverlayView_) imageOverlayView_->removeFromSuperview();
    imageOverlayView_ = std::move(view);
    if (!imageOverlayView_) return;
    imageOverlayView_->setFrame(imageView_->bounds());
    imageView_->addSubview(imageOverlayView_);
}

// ---- Zoom ----

CGSize QZScrollingImageView::availableSize() const
{
    const CGSize b = bounds().size;
    const UIEdgeInsets insets = contentInset();
    return CGSizeMake(b.width - insets.left - insets.right, b.height - insets.top - insets.bottom);
}

void QZScrollingImageView::calculateZoomBoundariesForImageSize(CGSize size, float* minimum, float* maximum) const
{
    float low = 1, high = 1;
    const CGSize available = availableSize();
    // Without an image or room for it the scale would be 0, infinite or not a number, and a zoom
    // to it would make the image view's transform singular.
    if (size.width > 0 && size.height > 0 && available.width > 0 && available.height > 0) {
        if (CGRectEqualToRect(minimumImageRect_, CGRectZero)) {
            low = std::min(available.width / size.width, available.height / size.height);
            if (!allowsScaleUp_) low = std::min(low, 1.0f);
        } else {
            low = std::max(minimumImageRect_.size.height / size.height, minimumImageRect_.size.width / size.width);
        }
        if (low > 0)
            high = std::max(low, kLeastMaximumZoom);
        else
            low = 1;  // a minimum rectangle of no size
    }
    if (minimum) *minimum = low;
    if (maximum) *maximum = high;
}

void QZScrollingImageView::recalculateAndSetZoomBoundaries()
{
    calculateZoomBoundariesForImageSize(imageView_->bounds().size, &calculatedMinimumZoomScale_,
                                        &calculatedMaximumZoomScale_);
    if (positionLocked_) return;
    setMinimumZoomScale(calculatedMinimumZoomScale_);
    setMaximumZoomScale(calculatedMaximumZoomScale_);
}

float QZScrollingImageView::calculatedRelativeZoomScale() const
{
    if (calculatedMaximumZoomScale_ == calculatedMinimumZoomScale_) return 1;
    return (zoomScale() - calculatedMinimumZoomScale_) / (calculatedMaximumZoomScale_ - calculatedMinimumZoomScale_);
}

void QZScrollingImageView::zoomOutAnimated(bool animated)
{
    setZoomScale(calculatedMinimumZoomScale_, animated);
    configureTouchListening();
}

void QZScrollingImageView::setMinimumImageRect(CGRect rect, bool animated)
{
    minimumImageRect_ = rect;
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

void QZScrollingImageView::setPositionLocked(bool locked)
{
    positionLocked_ = locked;
    if (locked) {
        setMinimumZoomScale(zoomScale());
        setMaximumZoomScale(zoomScale());
    } else {
        setMinimumZoomScale(calculatedMinimumZoomScale_);
        setMaximumZoomScale(calculatedMaximumZoomScale_);
    }
    setBouncesZoom(!locked);
    setScrollEnabled(!locked);
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
    UIScrollView::layoutSubviews();
    const CGSize available = availableSize();
    const CGRect image = imageView_->frame();
    const CGPoint origin =
        CGPointMake(image.size.width < available.width ? (available.width - image.size.width) * 0.5f : 0,
                    image.size.height < available.height ? (available.height - image.size.height) * 0.5f : 0);
    // Moved by its centre, so a zoomed image view keeps its exact size.
    const CGPoint centre = imageView_->center();
    imageView_->setCenter(CGPointMake(centre.x + origin.x - image.origin.x, centre.y + origin.y - image.origin.y));

    CGPathRef shadow = CGPathCreateWithRect(imageView_->bounds(), nullptr);
    imageView_->layer()->setShadowPath(shadow);
    CGPathRelease(shadow);
    if (imageOverlayView_)
        imageOverlayView_->setFrame(QZCGRectCenterInRect(imageOverlayView_->frame(), imageView_->bounds()));
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

UIView* QZScrollingImageView::viewForZoomingInScrollView(UIScrollView* scrollView)
{
    return scrollView == this ? imageView_.get() : nullptr;
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
