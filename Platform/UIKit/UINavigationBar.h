#pragma once
// A bar showing the top item of a stack of navigation items: the title view centred (a label of
// the title when the item has none), the left and right items' custom views vertically centred,
// 5 points from the edges below system version 7 and 16 points from version 7. Push and pop
// cross-fade the two items' views over 0.3 s when animated; afterwards only the top item's views
// are subviews. The bar draws only its background image for the default metrics, stretched over
// its bounds; subclasses draw, calling up.

#include "UIKit/UIBarMetrics.h"
#include "UIKit/UIImage.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIView.h"

#include <memory>
#include <optional>
#include <vector>

class UINavigationBar;
class UINavigationItem;

class UINavigationBarDelegate {
public:
    virtual ~UINavigationBarDelegate() = default;
    // Whether the item may be popped; nullopt (not implemented) lets it go.
    virtual std::optional<bool> navigationBarShouldPopItem(UINavigationBar*, UINavigationItem*) { return std::nullopt; }
};

class UINavigationBar : public UIView {
public:
    using UIView::UIView;
    ~UINavigationBar() override;

    std::weak_ptr<UINavigationBarDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<UINavigationBarDelegate> delegate) { delegate_ = std::move(delegate); }

    const std::vector<std::shared_ptr<UINavigationItem>>& items() const { return items_; }
    std::shared_ptr<UINavigationItem> topItem() const;
    std::shared_ptr<UINavigationItem> backItem() const;
    // An item already in the stack is not pushed again (logged).
    void pushNavigationItem(const std::shared_ptr<UINavigationItem>& item, bool animated);
    // Asks the delegate first; answers the popped item, or null (no item, or the delegate said no).
    std::shared_ptr<UINavigationItem> popNavigationItemAnimated(bool animated);
    // Replaces the whole stack, the delegate unasked; the last item is shown, cross-faded when
    // animated. Null items, repeats and items on another bar are left out (logged).
    void setItems(const std::vector<std::shared_ptr<UINavigationItem>>& items, bool animated);

    // Only the default metrics' image is drawn (the bar has one height).
    void setBackgroundImage(std::shared_ptr<UIImage> image, UIBarMetrics metrics);
    std::shared_ptr<UIImage> backgroundImageForBarMetrics(UIBarMetrics metrics) const;

    // The arrow of a back button; this bar draws none.
    virtual std::shared_ptr<UIImage> backIndicatorImage() const { return nullptr; }

    // The bounds' width, 44 points high.
    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;
    void drawRect(CGRect rect) override;

private:
    friend class UINavigationItem;
    // What one item puts on the bar.
    struct Shown {
        std::shared_ptr<UINavigationItem> item;
        std::shared_ptr<UIView> title;  // the item's title view, or the label below
        std::shared_ptr<UILabel> label;
        std::shared_ptr<UIView> left;
        std::shared_ptr<UIView> right;
        std::vector<std::shared_ptr<UIView>> views() const;
    };
    void itemChanged(UINavigationItem& item);
    Shown viewsForItem(const std::shared_ptr<UINavigationItem>& item) const;
    // Replaces what is shown with the top item's views, cross-fading when animated.
    void showTopItem(bool animated);
    void placeShownViews();

    std::weak_ptr<UINavigationBarDelegate> delegate_;
    std::shared_ptr<UIImage> backgroundImages_[2];
    std::vector<std::shared_ptr<UINavigationItem>> items_;
    Shown shown_;
};
