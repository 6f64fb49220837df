#pragma once
// The spinning wheel: twelve spokes fading round, white large (37 x 37), white or grey (20 x 20).
// Hidden while stopped unless told otherwise. Interaction is off.

#include "UIKit/UIView.h"

enum UIActivityIndicatorViewStyle : NSInteger {
    UIActivityIndicatorViewStyleWhiteLarge = 0,
    UIActivityIndicatorViewStyleWhite = 1,
    UIActivityIndicatorViewStyleGray = 2,
};

class UIActivityIndicatorView : public UIView {
public:
    using UIView::UIView;
    static std::shared_ptr<UIActivityIndicatorView> indicatorWithStyle(UIActivityIndicatorViewStyle style);

    UIActivityIndicatorViewStyle activityIndicatorViewStyle() const { return style_; }
    void setActivityIndicatorViewStyle(UIActivityIndicatorViewStyle style);
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return animating_; }
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool hides);

    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(CGRect rect) override;

private:
    bool initWithStyle(UIActivityIndicatorViewStyle style);

    UIActivityIndicatorViewStyle style_ = UIActivityIndicatorViewStyleWhite;
    bool animating_ = false;
    bool hidesWhenStopped_ = true;
};
