#include "TesselSDKImaging/QZZoomableImageView.h"

#include "CoreGraphics/CGObjectValue.h"
#include "QuartzCore/CAAnimation.h"
#include "TesselSDKImaging/QZOpenGLManager.h"

#include <algorithm>
#include <typeinfo>

namespace {
constexpr double kContentsFade = 0.2;
constexpr float kLeastMaximumZoom = 2.0f;
}  // namespace

QZZoomableImageView::~QZZoomableImageView()
{
    // The GL view's renderbuffer goes on the GPU queue, after this view is gone: the block holds
    // the GL view itself, never this one. No manager, no context: nothing was ever made, or a
    // purge has torn the context down and the renderbuffer with it.
    auto manager = QZOpenGLManager::existingOpenGLManager();
    if (!manager || !manager->glContext() || !openGLView_) return;
    const int queue = manager->generateQueueWithType(QZQueueTypeDestroy);
    manager->addBlock([view = openGLView_] { view->releaseRenderbufferAndCheckAgainstID(0, nullptr); }, queue);
    manager->destroyQueueWithIdentifier(queue);
}

bool QZZoomableImageView::initWithFrame(CGRect frame)
{
    if (!UIScrollView::initWithFrame(frame)) return false;
    setup();
    return true;
}

void QZZoomableImageView::setup()
{
    setDelegate(std::weak_ptr<UIScrollViewDelegate>(self<QZZoomableImageView>()));
    setBounces(true);
    setBouncesZoom(true);
    setShowsHorizontalScrollIndicator(false);
    setShowsVerticalScrollIndicator(false);
    imageView_ = UIView::viewWithFrame<UIImageView>(CGRectZero);
    imageView_->setContentMode(UIViewContentModeScaleAspectFit);
    imageView_->setUserInteractionEnabled(true);
    openGLView_ = QZOpenGLView::make();
    openGLView_->setFrame(imageView_->bounds());
    imageView_->addSubview(openGLView_);
    addSubview(imageView_);
}

// ---- Image ----

bool QZZoomableImageView::imageViewIsPlain() const
{
    // Exactly the platform class: a subclass draws its own way.
    return imageView_ && typeid(*imageView_) == typeid(UIImageView);
}

std::shared_ptr<UIImage> QZZoomableImageView::image() const
{
    return imageViewIsPlain() ? imageView_->image() : nullptr;
}

void QZZoomableImageView::setImageNeedsLayout(std::shared_ptr<UIImage> image, bool needsLayout)
{
    if (!imageViewIsPlain()) return;
    imageView_->setImage(image);
    if (!needsLayout) return;
    imageView_->sizeToFit();
    if (openGLView_) openGLView_->setFrame(imageView_->bounds());
    if (!image && keepsLayoutWithoutImage()) return;
    setContentSize(image ? image->size() : CGSizeZero);
    recalculateAndSetZoomBoundaries();
    zoomOutAnimated(false);
}

void QZZoomableImageView::setImageNeedsLayoutAnimated(std::shared_ptr<UIImage> image, bool needsLayout, bool animated)
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

void QZZoomableImageView::showOpenGLView(bool show)
{
    if (openGLView_) openGLView_->setHidden(!show);
    if (imageView_) imageView_->setImage(nullptr);
}

// ---- Zoom ----

CGSize QZZoomableImageView::availableSize() const
{
    const CGSize b = bounds().size;
    const UIEdgeInsets insets = contentInset();
    return CGSizeMake(b.width - insets.left - insets.right, b.height - insets.top - insets.bottom);
}

void QZZoomableImageView::calculateZoomBoundariesForImageSize(CGSize imageSize, float* minimum, float* maximum) const
{
    float low = 1, high = 1;
    const CGSize available = availableSize();
    // Without an image or room for it (no frame yet, insets past the bounds) the scale would be
    // 0, infinite or not a number, and a zoom out would make the image view's transform singular.
    if (imageSize.width > 0 && imageSize.height > 0 && available.width > 0 && available.height > 0) {
        if (CGRectEqualToRect(minimumImageRect_, CGRectZero)) {
            low = std::min(available.width / imageSize.width, available.height / imageSize.height);
            if (!scalesUpToFit()) low = std::min(low, 1.0f);
        } else {
            low = std::max(minimumImageRect_.size.height / imageSize.height,
                           minimumImageRect_.size.width / imageSize.width);
        }
        if (low > 0)
            high = std::max(low, kLeastMaximumZoom);
        else
            low = 1;  // a minimum image rectangle of no size
    }
    if (minimum) *minimum = low;
    if (maximum) *maximum = high;
}

void QZZoomableImageView::recalculateAndSetZoomBoundaries()
{
    if (!imageView_) return;
    calculateZoomBoundariesForImageSize(imageView_->bounds().size, &calculatedMinimumZoomScale_,
                                        &calculatedMaximumZoomScale_);
    if (positionLocked_) return;
    setMinimumZoomScale(calculatedMinimumZoomScale_);
    setMaximumZoomScale(calculatedMaximumZoomScale_);
}

float QZZoomableImageView::calculatedRelativeZoomScale() const
{
    if (calculatedMaximumZoomScale_ == calculatedMinimumZoomScale_) return 1;
    return (zoomScale() - calculatedMinimumZoomScale_) / (calculatedMaximumZoomScale_ - calculatedMinimumZoomScale_);
}

void QZZoomableImageView::zoomOutAnimated(bool animated)
{
    setZoomScale(calculatedMinimumZoomScale_, animated);
}

void QZZoomableImageView::setPositionLocked(bool locked)
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

// ---- Views ----

void QZZoomableImageView::centerImageViewInSize(CGSize space)
{
    if (!imageView_) return;
    const CGRect image = imageView_->frame();
    const CGPoint origin =
        CGPointMake(image.size.width < space.width ? (space.width - image.size.width) * 0.5f : 0,
                    image.size.height < space.height ? (space.height - image.size.height) * 0.5f : 0);
    // Moved by its centre, so a zoomed image view keeps its exact size.
    const CGPoint centre = imageView_->center();
    imageView_->setCenter(CGPointMake(centre.x + origin.x - image.origin.x, centre.y + origin.y - image.origin.y));
}

UIView* QZZoomableImageView::viewForZoomingInScrollView(UIScrollView* scrollView)
{
    return scrollView == this ? imageView_.get() : nullptr;
}
