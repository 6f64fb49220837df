#pragma once
// A bar of items, laid out left to right: each item's view keeps its own width and is centred
// vertically; flexible spaces share what width is left equally. The styles are the platform's:
// default (light grey) and black, opaque or translucent (black translucent lets the view behind
// show through).

#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIView.h"

#include <memory>
#include <vector>

enum UIBarStyle : NSInteger {
    UIBarStyleDefault = 0,
    UIBarStyleBlack = 1,
    UIBarStyleBlackTranslucent = 2,  // black, translucent
};

class UIToolbar : public UIView {
public:
    using UIView::UIView;
    bool initWithFrame(CGRect frame) override;

    UIBarStyle barStyle() const { return barStyle_; }
    // Black translucent also turns translucent on.
    void setBarStyle(UIBarStyle style);
    bool isTranslucent() const { return translucent_; }
    void setTranslucent(bool translucent);
    const std::vector<std::shared_ptr<UIBarButtonItem>>& items() const { return items_; }
    void setItems(std::vector<std::shared_ptr<UIBarButtonItem>> items);

    void layoutSubviews() override;
    void drawRect(CGRect rect) override;

private:
    UIBarStyle barStyle_ = UIBarStyleDefault;
    bool translucent_ = false;
    std::vector<std::shared_ptr<UIBarButtonItem>> items_;
};
