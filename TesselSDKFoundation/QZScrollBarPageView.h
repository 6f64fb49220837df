#pragma once
// One page of a scroll bar: the item views of its columns, centred as one block, or the extra
// page's view.

#include "TesselSDKFoundation/QZScrollBarPageItemView.h"
#include "TesselSDKFoundation/QZView.h"

#include <vector>

class QZScrollBarView;

class QZScrollBarPageView : public QZView {
public:
    using QZView::QZView;

    static std::shared_ptr<QZScrollBarPageView> make(const std::shared_ptr<QZScrollBarView>& scrollBar)
    {
        return NSObject::create<QZScrollBarPageView>(
            [&](QZScrollBarPageView& page) { return page.initWithScrollBar(scrollBar); });
    }
    bool initWithScrollBar(const std::shared_ptr<QZScrollBarView>& scrollBar);

    // Hands the old item views back to the bar's pool and asks the delegate for this page's.
    void updateWithItemsForIndex(NSUInteger index);
    void reloadItems() { updateWithItemsForIndex(index_); }
    NSUInteger index() const { return index_; }
    // Refills the page.
    void setIndex(NSUInteger index);
    const std::vector<std::shared_ptr<UIView>>& items() const { return items_; }
    void setItems(std::vector<std::shared_ptr<UIView>> items) { items_ = std::move(items); }
    std::shared_ptr<QZScrollBarView> scrollBar() const { return scrollBar_.lock(); }

    void layoutSubviews() override;

protected:
    void prepareView() override;

private:
    std::vector<std::shared_ptr<UIView>> items_;
    std::weak_ptr<QZScrollBarView> scrollBar_;
    NSUInteger index_ = 0;
};
