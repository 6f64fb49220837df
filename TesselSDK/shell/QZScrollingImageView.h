#pragma once
// The editor's canvas: a scroll view (its own delegate) zooming an aspect-fit image view that
// holds the GL view the preview is presented in, between limits computed from the image's size;
// it keeps the image centred, carries an overlay that zooms with the image, can freeze zoom and
// scrolling, and reports zooming, dragging and, while zoomed out, touches on the image.

#include "TesselSDKFoundation/QZView.h"
#include "TesselSDKImaging/QZOpenGLView.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILongPressGestureRecognizer.h"
#include "UIKit/UIScrollView.h"
#include "UIKit/UITapGestureRecognizer.h"

#include <memory>
#include <optional>

class QZScrollingImageView;

class QZScrollingImageViewDelegate {
public:
    virtual ~QZScrollingImageViewDelegate() = default;
    virtual void imageViewBeganZooming(QZScrollingImageView* canvas) = 0;
    virtual void imageViewStoppedZooming(QZScrollingImageView* canvas) = 0;
    virtual void imageViewBeganDragging(QZScrollingImageView* canvas) = 0;
    virtual void imageViewStoppedDragging(QZScrollingImageView* canvas) = 0;
    virtual void imageViewDidZoom(QZScrollingImageView* canvas) = 0;
    // nullopt (not implemented): the scroll view answers itself.
    virtual std::optional<bool> imageViewIsPointInsideEvent(QZScrollingImageView*, CGPoint, const UIEvent*)
    {
        return std::nullopt;
    }
    virtual void imageViewDidResizeOpenGLView(QZScrollingImageView*, QZOpenGLView*) {}
    virtual void imageViewDidReceiveTouchDown(QZScrollingImageView*) {}
    virtual void imageViewDidReceiveTouchUp(QZScrollingImageView*) {}
};

class QZScrollingImageView : public UIScrollView, public UIScrollViewDelegate {
public:
    using UIScrollView::UIScrollView;
    ~QZScrollingImageView() override;
    // The base initialiser, then setup.
    bool initWithFrame(CGRect frame) override;

    std::weak_ptr<QZScrollingImageViewDelegate> scrollingImageViewDelegate() const { return canvasDelegate_; }
    void setScrollingImageViewDelegate(std::weak_ptr<QZScrollingImageViewDelegate> delegate)
    {
        canvasDelegate_ = std::move(delegate);
    }
    const std::shared_ptr<QZOpenGLView>& openGLView() const { return openGLView_; }
    void setOpenGLView(std::shared_ptr<QZOpenGLView> view) { openGLView_ = std::move(view); }
    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }
    void setImageView(std::shared_ptr<UIImageView> view) { imageView_ = std::move(view); }
    const std::shared_ptr<QZView>& imageOverlayView() const { return imageOverlayView_; }
    // The same view again changes nothing; another replaces the old one, framed to the image
    // view's bounds inside it; nil removes it.
    void setImageOverlayView(std::shared_ptr<QZView> view);

    // ---- Image and size ----
    // The image view's image; nil unless the image view is exactly a UIImageView.
    std::shared_ptr<UIImage> image() const;
    void setImage(std::shared_ptr<UIImage> image) { setImageNeedsLayout(std::move(image), true); }
    // Laid out: the image view sized to the image, the GL view to it, the content size, the zoom
    // limits, zoomed out.
    void setImageNeedsLayout(std::shared_ptr<UIImage> image, bool needsLayout);
    // Animated: the image view's contents cross-fade over 0.2 s ("animateContents").
    void setImageNeedsLayoutAnimated(std::shared_ptr<UIImage> image, bool needsLayout, bool animated);
    void setImageAnimated(std::shared_ptr<UIImage> image, bool animated)
    {
        setImageNeedsLayoutAnimated(std::move(image), false, animated);
    }
    // The image view keeps its centre and takes the size; the GL view follows, the delegate is
    // told it was resized.
    void setImageSize(CGSize size) { setImageSize(size, true); }
    void setImageSize(CGSize size, bool zoomOut);
    // Shows or hides the GL view; the image view's image goes either way.
    void showOpenGLView(bool show);

    // ---- Zoom ----
    // The fitted scale within the canvas less its insets (at most 1 without scale-up), or the
    // scale covering the minimum image rectangle; the maximum is at least 2. An image or an area
    // of no size gives 1 and 1.
    void calculateZoomBoundariesForImageSize(CGSize size, float* minimum, float* maximum) const;
    // For the image view's size; the scroll view takes them unless the position is locked.
    void recalculateAndSetZoomBoundaries();
    float calculatedMinimumZoomScale() const { return calculatedMinimumZoomScale_; }
    float calculatedMaximumZoomScale() const { return calculatedMaximumZoomScale_; }
    // Where the zoom lies between the calculated limits (1 when they are equal).
    float calculatedRelativeZoomScale() const;
    void zoomOutAnimated(bool animated);
    bool allowsScaleUp() const { return allowsScaleUp_; }
    void setAllowsScaleUp(bool allows) { allowsScaleUp_ = allows; }
    CGRect minimumImageRect() const { return minimumImageRect_; }
    void setMinimumImageRect(CGRect rect) { setMinimumImageRect(rect, false); }
    // A rectangle becomes the content insets, so the zoomed-out image lies in it; the zero one
    // zooms back (over 0.1 s when animated) and clears them.
    void setMinimumImageRect(CGRect rect, bool animated);
    // Locked: zoom pinned at the current scale, no zoom bounce, no scrolling.
    bool isPositionLocked() const { return positionLocked_; }
    void setPositionLocked(bool locked);
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration);

    // ---- Touch listening ----
    bool shouldEnableTouchListeningWhenZoomedOut() const { return touchListening_; }
    void setTouchListeningEnabled(bool enabled);
    // The press and tap recognisers are on exactly while zoomed out with listening on.
    void configureTouchListening();
    CGPoint currentTouchLocation() const { return currentTouchLocation_; }
    const std::shared_ptr<UILongPressGestureRecognizer>& longPressRecognizer() const { return longPress_; }
    const std::shared_ptr<UITapGestureRecognizer>& tapRecognizer() const { return tap_; }

    // ---- Views ----
    void layoutSubviews() override;
    bool pointInside(CGPoint point, const UIEvent* event) const override;

    // UIScrollViewDelegate
    UIView* viewForZoomingInScrollView(UIScrollView* scrollView) override;
    void scrollViewWillBeginZoomingWithView(UIScrollView*, UIView*) override;
    void scrollViewDidEndZoomingWithViewAtScale(UIScrollView*, UIView*, CGFloat) override;
    void scrollViewWillBeginDragging(UIScrollView*) override;
    void scrollViewDidEndDraggingWillDecelerate(UIScrollView*, bool) override;
    void scrollViewDidZoom(UIScrollView*) override;

protected:
    virtual void setup();

private:
    bool isZoomedOut() const;
    bool imageViewIsPlain() const;
    void handlePress(UILongPressGestureRecognizer* recognizer);
    void handleTap(UITapGestureRecognizer* recognizer);
    void reportTouchDown();
    void reportTouchUp();
    CGSize availableSize() const;

    std::weak_ptr<QZScrollingImageViewDelegate> canvasDelegate_;
    std::shared_ptr<QZOpenGLView> openGLView_;
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<QZView> imageOverlayView_;
    bool positionLocked_ = false;
    float calculatedMinimumZoomScale_ = 1;
    float calculatedMaximumZoomScale_ = 1;
    bool allowsScaleUp_ = false;
    CGPoint currentTouchLocation_{};
    CGRect minimumImageRect_ = CGRectZero;
    std::shared_ptr<UILongPressGestureRecognizer> longPress_;
    std::shared_ptr<UITapGestureRecognizer> tap_;
    bool touchListening_ = false;
};
