#pragma once
// A zoomable image view: a scroll view (its own delegate) holding an aspect-fit image view with a
// hidden GL view inside. It computes its zoom limits from the image's size, centres the image,
// can lock zoom and scrolling at the current scale, and cross-fades images. It is built with
// interaction off: a host that wants pinches turns it on. Nothing in the editor makes one (the
// canvas has a scrolling image view of its own).

#include "TesselSDKImaging/QZOpenGLView.h"

#include "UIKit/UIImageView.h"
#include "UIKit/UIScrollView.h"

#include <memory>

class QZTesselGLImageView : public UIScrollView, public UIScrollViewDelegate {
public:
    using UIScrollView::UIScrollView;
    ~QZTesselGLImageView() override;
    // Does nothing: the class is always linked in.
    static void forceLinkerLoad_() {}

    // The base initialiser, then setup.
    bool initWithFrame(CGRect frame) override;

    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }
    void setImageView(std::shared_ptr<UIImageView> view) { imageView_ = std::move(view); }
    const std::shared_ptr<QZOpenGLView>& openGLView() const { return openGLView_; }
    void setOpenGLView(std::shared_ptr<QZOpenGLView> view) { openGLView_ = std::move(view); }
    float calculatedMinimumZoomScale() const { return calculatedMinimumZoomScale_; }
    float calculatedMaximumZoomScale() const { return calculatedMaximumZoomScale_; }
    // Where the zoom scale lies between the calculated limits (1 when they are equal).
    float calculatedRelativeZoomScale() const;
    // Not the zero rectangle: the smallest area (points) the image covers at the minimum zoom.
    CGRect minimumImageRect() const { return minimumImageRect_; }
    void setMinimumImageRect(CGRect rect) { minimumImageRect_ = rect; }
    // Locked: both zoom limits pinned at the current scale, no bouncing zoom, no scrolling.
    bool isPositionLocked() const { return positionLocked_; }
    void setPositionLocked(bool locked);
    // Stored only.
    bool useImageViewSizeForScaling() const { return useImageViewSizeForScaling_; }
    void setUseImageViewSizeForScaling(bool use) { useImageViewSizeForScaling_ = use; }

    // The base, then the limits recalculated and the image zoomed out.
    void setFrame(CGRect frame) override;
    // The base, then the image centred and the limits recalculated.
    void layoutSubviews() override;
    void centerImageView();
    // The fitted minimum and the maximum (at least 2) for an image of this size; 1 and 1 when the
    // image or the space for it (the bounds less the insets) is empty.
    void calculateZoomBoundariesForImageSize(CGSize imageSize, float* minimum, float* maximum) const;
    void recalculateAndSetZoomBoundaries();
    void zoomOutAnimated(bool animated);

    // Shows the image view (the GL view hidden) with the image, laid out.
    void setImage(std::shared_ptr<UIImage> image);
    // The image methods act only while the image view is exactly a UIImageView.
    void setImageNeedsLayout(std::shared_ptr<UIImage> image, bool needsLayout);
    // Animated: a 0.2 s cross-fade of the image view's layer contents ("animateContents").
    void setImageNeedsLayoutAnimated(std::shared_ptr<UIImage> image, bool needsLayout, bool animated);
    void setImageAnimated(std::shared_ptr<UIImage> image, bool animated);
    std::shared_ptr<UIImage> image() const;
    // Does nothing.
    void showOpenGLView(bool) {}
    // Shows or hides the GL view and clears the image view's image.
    void showOpenGLViewInternal(bool show);

    // UIScrollViewDelegate: the image view, when asked about this view.
    UIView* viewForZoomingInScrollView(UIScrollView* scrollView) override;

private:
    void setup();
    bool imageViewIsPlain() const;

    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<QZOpenGLView> openGLView_;
    float calculatedMinimumZoomScale_ = 1;
    float calculatedMaximumZoomScale_ = 1;
    CGRect minimumImageRect_ = CGRectZero;
    bool positionLocked_ = false;
    bool useImageViewSizeForScaling_ = false;
};
