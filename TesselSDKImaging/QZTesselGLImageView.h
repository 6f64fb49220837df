#pragma once
// A zoomable image view for hosts: the image is centred within the frame, a new frame zooms out
// again, and setting an image shows the image view over the GL view. It is built with
// interaction off: a host that wants pinches turns it on. Nothing in the editor makes one (the
// canvas is a zoomable image view of its own).

#include "TesselSDKImaging/QZZoomableImageView.h"

class QZTesselGLImageView : public QZZoomableImageView {
public:
    using QZZoomableImageView::QZZoomableImageView;
    // Does nothing: the class is always linked in.
    static void forceLinkerLoad_() {}

    // Stored only.
    bool useImageViewSizeForScaling() const { return useImageViewSizeForScaling_; }
    void setUseImageViewSizeForScaling(bool use) { useImageViewSizeForScaling_ = use; }

    // The base, then the limits recalculated and the image zoomed out.
    void setFrame(CGRect frame) override;
    // The base, then the image centred and the limits recalculated.
    void layoutSubviews() override;
    // Centred within the frame's size.
    void centerImageView();

    // Shows the image view (the GL view hidden) with the image, laid out.
    void setImage(std::shared_ptr<UIImage> image) override;
    // Does nothing.
    void showOpenGLView(bool) override {}
    // Shows or hides the GL view and clears the image view's image.
    void showOpenGLViewInternal(bool show) { QZZoomableImageView::showOpenGLView(show); }

protected:
    void setup() override;
    // A nil image only empties the image view: the last image's layout stays.
    bool keepsLayoutWithoutImage() const override { return true; }

private:
    bool useImageViewSizeForScaling_ = false;
};
