#include "TesselSDK/packs/QZContentPackIAPPageItemView.h"

#include <algorithm>

void QZContentPackIAPPageItemView::setRowCount(NSInteger rows)
{
    rowCount_ = rows;
    setNeedsLayout();
}

void QZContentPackIAPPageItemView::setImageViewsWithImages(const std::vector<std::shared_ptr<UIImage>>& images)
{
    while (imageViews_.size() < images.size()) imageViews_.push_back(UIView::viewWithFrame<UIImageView>());
    for (std::size_t i = 0; i < imageViews_.size(); ++i) {
        auto view = std::static_pointer_cast<UIImageView>(imageViews_[i]);
        if (i < images.size()) {
            view->setContentMode(UIViewContentModeScaleAspectFit);
            view->setImage(images[i]);
            if (view->superview().get() != this) addSubview(view);
        } else {
            view->setImage(nullptr);
            view->removeFromSuperview();
        }
    }
    setNeedsLayout();
}

void QZContentPackIAPPageItemView::layoutSubviews()
{
    QZScrollBarPageItemView::layoutSubviews();
    const CGRect b = bounds();
    const CGFloat rows = CGFloat(std::max<NSInteger>(rowCount_, 1));
    const CGFloat label = labelHeight_;
    const CGFloat side =
        std::max(CGFloat(0), std::min((b.size.height - rows * label - 5 - 2.5f * (rows - 1)) / rows, b.size.width - 5));
    const CGFloat gap = std::max(CGFloat(0), (b.size.height - rows * (side + label)) / (rows + 1));
    for (std::size_t i = 0; i < imageViews_.size(); ++i)
        imageViews_[i]->setFrame(CGRectIntegral(
            CGRectMake((b.size.width - side) * 0.5f, CGFloat(i) * (gap + side + label) + gap, side, side + label)));
}
