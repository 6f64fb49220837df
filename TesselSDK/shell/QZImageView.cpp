#include "TesselSDK/shell/QZImageView.h"

void QZImageView::setContext(std::shared_ptr<QZImageViewContext> context)
{
    context_ = std::move(context);
    if (context_) context_->setDelegate(self<QZImageView>());
}

void QZImageView::imageViewContextSetImage(QZImageViewContext* context, std::shared_ptr<UIImage> image)
{
    if (context && context == context_.get()) setImage(std::move(image));
}

void QZImageView::setImage(std::shared_ptr<UIImage> image)
{
    const bool detaches = !image;
    UIImageView::setImage(std::move(image));
    if (detaches) context_.reset();
}

void QZImageViewContext::setImage(std::shared_ptr<UIImage> image)
{
    if (auto view = delegate_.lock()) view->imageViewContextSetImage(this, std::move(image));
}
