#pragma once
// The editor's canvas: a zoomable image view whose GL view the preview is presented in. It keeps
// the image centred in the room its insets leave, carries an overlay that zooms with the image,
// and reports zooming, dragging and, while zoomed out, touches on the image.

#include "TesselSDKFoundation/QZView.h"
#include "TesselSDKImaging/QZZoomableImageView.h"
#include "UIKit/UILongPressGestureRecognizer.h"
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

class QZScrollingImageView : public QZZoomableImageView {
public:
    using QZZoomableImageView::QZZoomableImageView;

    std::weak_ptr<QZScrollingImageViewDelegate> scrollingImageViewDelegate() const { return canvasDelegate_; }
    void setScrollingImageViewDelegate(std::weak_ptr<QZScrollingImageViewDelegate> delegate)
    {
        canvasDelegate_ = std::move(delegate);
    }
    const std::shared_ptr<QZView>& imageOverlayView() const { return imageOverlayView_; }
    // The same view again changes nothing; another replaces the old one, framed to the image
    // view's bounds inside it; nil removes it.
    void setImageOverlayView(std::shared_ptr<QZView> view);

    // ---- Image and size ----
    // The image view keeps its centre and takes the size; the GL view follows, the delegate is
    // told it was resized.
    void setImageSize(CGSize size) { setImageSize(size, true); }
    void setImageSize(CGSize size, bool zoomOut);

    // ---- Zoom ----
    // Zoomed out, the touch recognisers follow.
    void zoomOutAnimated(bool animated) override;
    // Without it a fitted image is shown at most at its own size. Setting it takes the new zoom
    // bounds at once, so that a zoom out straight after reaches the new fit.
    bool allowsScaleUp() const { return allowsScaleUp_; }
    void setAllowsScaleUp(bool allows);
    void setMinimumImageRect(CGRect rect) override { setMinimumImageRect(rect, false); }
    // A rectangle becomes the content insets, so the zoomed-out image lies in it; the zero one
    // zooms back (over 0.1 s when animated) and clears them.
    void setMinimumImageRect(CGRect rect, bool animated);
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
    // The image centred within the canvas less its insets, its shadow and the overlay following.
    void layoutSubviews() override;
    bool pointInside(CGPoint point, const UIEvent* event) const override;

    // UIScrollViewDelegate
    void scrollViewWillBeginZoomingWithView(UIScrollView*, UIView*) override;
    void scrollViewDidEndZoomingWithViewAtScale(UIScrollView*, UIView*, CGFloat) override;
    void scrollViewWillBeginDragging(UIScrollView*) override;
    void scrollViewDidEndDraggingWillDecelerate(UIScrollView*, bool) override;
    void scrollViewDidZoom(UIScrollView*) override;

protected:
    void setup() override;
    bool scalesUpToFit() const override { return allowsScaleUp_; }

private:
    bool isZoomedOut() const;
    void handlePress(UILongPressGestureRecognizer* recognizer);
    void handleTap(UITapGestureRecognizer* recognizer);
    void reportTouchDown();
    void reportTouchUp();

    std::weak_ptr<QZScrollingImageViewDelegate> canvasDelegate_;
    std::shared_ptr<QZView> imageOverlayView_;
    bool allowsScaleUp_ = false;
    CGPoint currentTouchLocation_{};
    std::shared_ptr<UILongPressGestureRecognizer> longPress_;
    std::shared_ptr<UITapGestureRecognizer> tap_;
    bool touchListening_ = false;
};
