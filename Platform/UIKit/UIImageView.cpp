#include "UIKit/UIImageView.h"

std::shared_ptr<UIImageView> UIImageView::imageViewWithImage(std::shared_ptr<UIImage> image)
{
    CGSize size = image ? image->size() : CGSizeZero;
    auto view = UIView::viewWithFrame<UIImageView>(CGRectMake(0, 0, size.width, size.height));
    view->setImage(std::move(image));
    return view;
}

bool UIImageView::initWithFrame(CGRect frame)
{
    if (!UIView::initWithFrame(frame)) return false;
    setUserInteractionEnabled(false);
    return true;
}

void UIImageView::setImage(std::shared_ptr<UIImage> image)
{
    if (image == image_) return;
    image_ = std::move(image);
    setNeedsDisplay();
}

void UIImageView::setHighlightedImage(std::shared_ptr<UIImage> image)
{
    highlightedImage_ = std::move(image);
    if (highlighted_) setNeedsDisplay();
}

void UIImageView::setHighlighted(bool highlighted)
{
    if (highlighted == highlighted_) return;
    highlighted_ = highlighted;
    setNeedsDisplay();
}

CGSize UIImageView::sizeThatFits(CGSize) const
{
    return image_ ? image_->size() : CGSizeZero;
}

void UIImageView::drawRect(CGRect rect)
{
    const auto& shown = highlighted_ && highlightedImage_ ? highlightedImage_ : image_;
    if (!shown) return UIView::drawRect(rect);
    UIViewContentMode mode = contentMode() == UIViewContentModeRedraw ? UIViewContentModeScaleToFill : contentMode();
    shown->drawInRect(CALayerGravityRect(UIViewContentModeGravity(mode), rect, shown->size()));
}
