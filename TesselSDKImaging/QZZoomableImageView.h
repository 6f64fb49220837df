#pragma once
// What every zoomable image view shares: a scroll view (its own delegate) zooming an aspect-fit
// image view with a GL view inside, between limits computed from the image's size and the room
// it has; it can pin zoom and scrolling at the current scale and cross-fade images. Subclasses
// decide how they take touches, where they centre the image, and what they add around it.

#include "TesselSDKImaging/QZOpenGLView.h"

#include "UIKit/UIImageView.h"
#include "UIKit/UIScrollView.h"

#include <memory>

class QZZoomableImageView : public UIScrollView, public UIScrollViewDelegate {
public:
    using UIScrollView::UIScrollView;
    // The GL view's renderbuffer is released on the GPU queue.
    ~QZZoomableImageView() override;
    // The base initialiser, then setup.
    bool initWithFrame(CGRect frame) override;

    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }
    void setImageView(std::shared_ptr<UIImageView> view) { imageView_ = std::move(view); }
    const std::shared_ptr<QZOpenGLView>& openGLView() const { return openGLView_; }
    void setOpenGLView(std::shared_ptr<QZOpenGLView> view) { openGLView_ = std::move(view); }

    // ---- Image ----
    // The image view's image; nil unless the image view is exactly a UIImageView.
    std::shared_ptr<UIImage> image() const;
    virtual void setImage(std::shared_ptr<UIImage> image) { setImageNeedsLayout(std::move(image), true); }
    // The image methods act only while the image view is exactly a UIImageView. Laid out: the
    // image view sized to the image, the GL view to it, the content size, the limits, zoomed out.
    void setImageNeedsLayout(std::shared_ptr<UIImage> image, bool needsLayout);
    // Animated: the image view's contents cross-fade over 0.2 s ("animateContents").
    void setImageNeedsLayoutAnimated(std::shared_ptr<UIImage> image, bool needsLayout, bool animated);
    void setImageAnimated(std::shared_ptr<UIImage> image, bool animated)
    {
        setImageNeedsLayoutAnimated(std::move(image), false, animated);
    }
    // Shows or hides the GL view; the image view's image goes either way.
    virtual void showOpenGLView(bool show);

    // ---- Zoom ----
    // The fitted scale within the bounds less the insets, or the scale covering the minimum image
    // rectangle; the maximum is at least 2. An image or a room of no size gives 1 and 1.
    void calculateZoomBoundariesForImageSize(CGSize imageSize, float* minimum, float* maximum) const;
    // For the image view's size; the scroll view takes them unless the position is locked.
    void recalculateAndSetZoomBoundaries();
    float calculatedMinimumZoomScale() const { return calculatedMinimumZoomScale_; }
    float calculatedMaximumZoomScale() const { return calculatedMaximumZoomScale_; }
    // Where the zoom scale lies between the calculated limits (1 when they are equal).
    float calculatedRelativeZoomScale() const;
    virtual void zoomOutAnimated(bool animated);
    // Not the zero rectangle: the smallest area (points) the image covers at the minimum zoom.
    CGRect minimumImageRect() const { return minimumImageRect_; }
    virtual void setMinimumImageRect(CGRect rect) { minimumImageRect_ = rect; }
    // Locked: both zoom limits pinned at the current scale, no bouncing zoom, no scrolling.
    bool isPositionLocked() const { return positionLocked_; }
    void setPositionLocked(bool locked);

    // UIScrollViewDelegate: the image view, when asked about this view.
    UIView* viewForZoomingInScrollView(UIScrollView* scrollView) override;

protected:
    // Subclasses add their own settings after the base's.
    virtual void setup();
    // Whether a fitted image may be shown larger than its own size.
    virtual bool scalesUpToFit() const { return true; }
    // Whether laying out a nil image keeps the last image's content size and zoom.
    virtual bool keepsLayoutWithoutImage() const { return false; }
    // The bounds less the content insets: the room the image is fitted into.
    CGSize availableSize() const;
    // The image view centred where it is smaller than `space`, at the content's origin elsewhere.
    void centerImageViewInSize(CGSize space);

private:
    bool imageViewIsPlain() const;

    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<QZOpenGLView> openGLView_;
    float calculatedMinimumZoomScale_ = 1;
    float calculatedMaximumZoomScale_ = 1;
    CGRect minimumImageRect_ = CGRectZero;
    bool positionLocked_ = false;
};
