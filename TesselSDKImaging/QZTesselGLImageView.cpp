#include "TesselSDKImaging/QZTesselGLImageView.h"

#include "CoreGraphics/CGObjectValue.h"
#include "QuartzCore/CAAnimation.h"
#include "TesselSDKImaging/QZOpenGLManager.h"

#include <algorithm>
#include <typeinfo>

QZTesselGLImageView::~QZTesselGLImageView()
{
    // The GL view's renderbuffer goes on the GPU queue, after this view is gone: the block holds
    // the GL view itself, never this one. No manager, no context: nothing was ever made.
    auto manager = QZOpenGLManager::existingOpenGLManager();
    if (!manager || !openGLView_) return;
    const int queue = manager->generateQueueWithType(QZQueueTypeDestroy);
    manager->addBlock([view = openGLView_] { view->releaseRenderbufferAndCheckAgainstID(0, nullptr); }, queue);
    manager->destroyQueueWithIdentifier(queue);
}

bool QZTesselGLImageView::initWithFrame(CGRect frame)
{
    if (!UIScrollView::initWithFrame(frame)) return false;
    setup();
    return true;
}

void QZTesselGLImageView::setup()
{
    setDelegate(std::weak_ptr<UIScrollViewDelegate>(self<QZTesselGLImageView>()));
    setBounces(true);
    setBouncesZoom(true);
    setShowsHorizontalScrollIndicator(false);
    setShowsVerticalScrollIndicator(false);
    setUserInteractionEnabled(false);
    imageView_ = UIView::viewWithFrame<UIImageView>(CGRectZero);
    imageView_->setContentMode(UIViewContentModeScaleAspectFit);
    imageView_->setUserInteractionEnabled(true);
    openGLView_ = QZOpenGLView::make();
    openGLView_->setFrame(imageView_->bounds());
    openGLView_->setHidden(true);
    imageView_->addSubview(openGLView_);
    addSubview(imageView_);
}

void QZTesselGLImageView::setFrame(CGRect frame)
{
    UIScrollView::setFrame(frame);
    if (!imageView_) return;  // during construction
    recalculateAndSetZoomBoundaries();
    zoomOutAnimated(false);
}

void QZTesselGLImageView::layoutSubviews()
{
    UIScrollView::layoutSubviews();
    centerImageView();
    recalculateAndSetZoomBoundaries();
}

void QZTesselGLImageView::centerImageView()
{
    if (!imageView_) return;
    CGRect image = imageView_->frame();
    CGSize space = frame().size;
    CGPoint origin = CGPointMake(image.size.width < space.width ? (space.width - image.size.width) * 0.5f : 0,
                                 image.size.height < space.height ? (space.height - image.size.height) * 0.5f : 0);
    // Moved by its centre, so a zoomed image view keeps its exact size.
    CGPoint centre = imageView_->center();
    imageView_->setCenter(CGPointMake(centre.x + origin.x - image.origin.x, centre.y + origin.y - image.origin.y));
}

void QZTesselGLImageView::calculateZoomBoundariesForImageSize(CGSize imageSize, float* minimum, float* maximum) const
{
    float low = 1, high = 1;
    CGSize b = bounds().size;
    UIEdgeInsets insets = contentInset();
    float availableWidth = b.width - (insets.left + insets.right);
    float availableHeight = b.height - (insets.top + insets.bottom);
    // Without room (no frame yet, insets past the bounds) the fitted scale would be 0 or less and
    // a zoom out would make the image view's transform singular: treated as an empty image.
    if (imageSize.width != 0 && imageSize.height != 0 && availableWidth > 0 && availableHeight > 0) {
        if (CGRectEqualToRect(minimumImageRect_, CGRectZero))
            low = std::min(availableWidth / imageSize.width, availableHeight / imageSize.height);
        else
            low = std::max(minimumImageRect_.size.height / imageSize.height,
                           minimumImageRect_.size.width / imageSize.width);
        // A minimum image rectangle of no size would do the same.
        if (low > 0)
            high = std::max(low, 2.0f);
        else
            low = 1;
    }
    if (minimum) *minimum = low;
    if (maximum) *maximum = high;
}

void QZTesselGLImageView::recalculateAndSetZoomBoundaries()
{
    if (!imageView_) return;
    calculateZoomBoundariesForImageSize(imageView_->bounds().size, &calculatedMinimumZoomScale_,
                                        &calculatedMaximumZoomScale_);
    if (positionLocked_) return;
    setMinimumZoomScale(calculatedMinimumZoomScale_);
    setMaximumZoomScale(calculatedMaximumZoomScale_);
}

float QZTesselGLImageView::calculatedRelativeZoomScale() const
{
    if (calculatedMaximumZoomScale_ == calculatedMinimumZoomScale_) return 1;
    return (zoomScale() - calculatedMinimumZoomScale_) / (calculatedMaximumZoomScale_ - calculatedMinimumZoomScale_);
}

void QZTesselGLImageView::zoomOutAnimated(bool animated)
{
    setZoomScale(calculatedMinimumZoomScale_, animated);
}

void QZTesselGLImageView::setPositionLocked(bool locked)
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

bool QZTesselGLImageView::imageViewIsPlain() const
{
    return imageView_ && typeid(*imageView_) == typeid(UIImageView);
}

void QZTesselGLImageView::setImage(std::shared_ptr<UIImage> image)
{
    if (imageView_) imageView_->setHidden(false);
    if (openGLView_) openGLView_->setHidden(true);
    setImageNeedsLayout(std::move(image), true);
}

void QZTesselGLImageView::setImageNeedsLayout(std::shared_ptr<UIImage> image, bool needsLayout)
{
    if (!imageViewIsPlain()) return;
    imageView_->setImage(image);
    if (!needsLayout) return;
    imageView_->sizeToFit();
    if (openGLView_) openGLView_->setFrame(imageView_->bounds());
    if (!image) return;
    setContentSize(image->size());
    recalculateAndSetZoomBoundaries();
    zoomOutAnimated(false);
}

void QZTesselGLImageView::setImageNeedsLayoutAnimated(std::shared_ptr<UIImage> image, bool needsLayout, bool animated)
{
    if (!imageViewIsPlain()) return;
    if (animated) {
        auto fade = CABasicAnimation::animationWithKeyPath("contents");
        auto old = imageView_->image();
        fade->setFromValue(CGObjectValue::valueWithCGImage(old ? old->CGImage() : nullptr));
        fade->setToValue(CGObjectValue::valueWithCGImage(image ? image->CGImage() : nullptr));
        fade->setDuration(0.2);
        imageView_->layer()->addAnimation(fade, "animateContents");
    }
    setImageNeedsLayout(std::move(image), needsLayout);
}

void QZTesselGLImageView::setImageAnimated(std::shared_ptr<UIImage> image, bool animated)
{
    setImageNeedsLayoutAnimated(std::move(image), false, animated);
}

std::shared_ptr<UIImage> QZTesselGLImageView::image() const
{
    return imageViewIsPlain() ? imageView_->image() : nullptr;
}

void QZTesselGLImageView::showOpenGLViewInternal(bool show)
{
    if (openGLView_) openGLView_->setHidden(!show);
    if (imageView_) imageView_->setImage(nullptr);
}

UIView* QZTesselGLImageView::viewForZoomingInScrollView(UIScrollView* scrollView)
{
    return scrollView == this ? imageView_.get() : nullptr;
}
