#include "TesselSDKFoundation/QZPageControl.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include <cmath>

void QZPageControl::prepareView()
{
    QZView::prepareView();
    defaultPageImage_ = QZSDKResources::imageNamed("pagination.png");
    activePageImage_ = QZSDKResources::imageNamed("pagination_active.png");
    setOpaque(false);
    setBackgroundColor(UIColor::colorWithRed(0, 0, 0, 0));
    numberOfPages_ = 0;
    currentPage_ = 0;
    showsSinglePage_ = false;
    dotImageViews_.clear();
    dotRadius_ = 6;
    dotPadding_ = 4.5f;
}

void QZPageControl::setNumberOfPages(NSUInteger pages)
{
    willChangeValueForKey("numberOfPages");
    std::vector<std::shared_ptr<UIImageView>> dots;
    dots.reserve(pages);
    for (size_t i = 0; i < dotImageViews_.size(); ++i) {
        if (i < pages)
            dots.push_back(dotImageViews_[i]);
        else
            dotImageViews_[i]->removeFromSuperview();
    }
    for (NSUInteger i = numberOfPages_; i < pages; ++i) {
        auto dot = UIView::viewWithFrame<UIImageView>(CGRectZero);
        addSubview(dot);
        dots.push_back(dot);
    }
    dotImageViews_ = std::move(dots);
    numberOfPages_ = pages;
    didChangeValueForKey("numberOfPages");
    setNeedsLayout();
}

void QZPageControl::setCurrentPage(NSUInteger page)
{
    // No dot to mark: a page past the end would index past the dots.
    if (page >= numberOfPages_) return;
    willChangeValueForKey("currentPage");
    if (page != currentPage_) {
        // The old page's dot may be gone with a smaller page count.
        if (currentPage_ < dotImageViews_.size()) dotImageViews_[currentPage_]->setImage(defaultPageImage_);
        dotImageViews_[page]->setImage(activePageImage_);
    }
    currentPage_ = page;
    didChangeValueForKey("currentPage");
}

void QZPageControl::layoutSubviews()
{
    QZView::layoutSubviews();
    CGFloat r = dotRadius_, g = dotPadding_;
    if (!showsSinglePage_ && numberOfPages_ < 2) return;
    CGRect b = bounds();
    CGFloat total = CGFloat(numberOfPages_) * 2 * (r + g);
    CGFloat x0 = std::roundf((b.size.width - total) * 0.5f);
    CGFloat y = std::roundf((b.size.height - 2 * r) * 0.5f);
    for (size_t i = 0; i < dotImageViews_.size(); ++i) {
        dotImageViews_[i]->setFrame(CGRectMake(x0 + g + CGFloat(i) * (2 * r + 2 * g), y, 2 * r, 2 * r));
        dotImageViews_[i]->setImage(i == currentPage_ ? activePageImage_ : defaultPageImage_);
    }
}
