#pragma once
// Page dots: one image per page, the current page's in the active image. Observable under the
// keys "numberOfPages" and "currentPage". Main thread only.

#include "Foundation/NSKeyValueObserving.h"
#include "TesselSDKFoundation/QZView.h"
#include "UIKit/UIImageView.h"

#include <vector>

class QZPageControl : public QZView, public NSKeyValueObservable {
public:
    using QZView::QZView;

    bool showsSinglePage() const { return showsSinglePage_; }
    void setShowsSinglePage(bool shows) { showsSinglePage_ = shows; }
    NSUInteger numberOfPages() const { return numberOfPages_; }
    // Keeps the dots below n, adds fresh ones (zero frames until the next layout).
    void setNumberOfPages(NSUInteger pages);
    NSUInteger currentPage() const { return currentPage_; }
    // A page at or past numberOfPages is ignored: nothing stored, announced or redrawn.
    void setCurrentPage(NSUInteger page);
    CGFloat dotRadius() const { return dotRadius_; }
    void setDotRadius(CGFloat radius) { dotRadius_ = radius; }
    CGFloat dotPadding() const { return dotPadding_; }
    void setDotPadding(CGFloat padding) { dotPadding_ = padding; }
    const std::vector<std::shared_ptr<UIImageView>>& dotImageViews() const { return dotImageViews_; }
    const std::shared_ptr<UIImage>& activePageImage() const { return activePageImage_; }
    void setActivePageImage(std::shared_ptr<UIImage> image) { activePageImage_ = std::move(image); }
    const std::shared_ptr<UIImage>& defaultPageImage() const { return defaultPageImage_; }
    void setDefaultPageImage(std::shared_ptr<UIImage> image) { defaultPageImage_ = std::move(image); }

    // Lays out nothing below two pages unless showsSinglePage.
    void layoutSubviews() override;

protected:
    void prepareView() override;

private:
    bool showsSinglePage_ = false;
    NSUInteger numberOfPages_ = 0;
    NSUInteger currentPage_ = 0;
    CGFloat dotRadius_ = 6;
    CGFloat dotPadding_ = 4.5f;
    std::vector<std::shared_ptr<UIImageView>> dotImageViews_;
    std::shared_ptr<UIImage> activePageImage_;
    std::shared_ptr<UIImage> defaultPageImage_;
};
