#include "TesselSDKImaging/QZTesselGLImageView.h"

void QZTesselGLImageView::setup()
{
    QZZoomableImageView::setup();
    setUserInteractionEnabled(false);
    openGLView()->setHidden(true);
}

void QZTesselGLImageView::setFrame(CGRect frame)
{
    QZZoomableImageView::setFrame(frame);
    if (!imageView()) return;  // during construction
    recalculateAndSetZoomBoundaries();
    zoomOutAnimated(false);
}

void QZTesselGLImageView::layoutSubviews()
{
    QZZoomableImageView::layoutSubviews();
    centerImageView();
    recalculateAndSetZoomBoundaries();
}

void QZTesselGLImageView::centerImageView()
{
    centerImageViewInSize(frame().size);
}

void QZTesselGLImageView::setImage(std::shared_ptr<UIImage> image)
{
    if (imageView()) imageView()->setHidden(false);
    if (openGLView()) openGLView()->setHidden(true);
    QZZoomableImageView::setImage(std::move(image));
}
