#pragma once
// The small "powered by" logo button that opens the developer-info panel. It draws its lettering
// as an image, so it carries the words as its accessibility label.

#include "UIKit/UIButton.h"
#include "UIKit/UIImageView.h"

class QZLogoButton : public UIButton {
public:
    using UIButton::UIButton;
    bool initWithFrame(CGRect frame) override;

    const std::shared_ptr<UIImageView>& logoView() const { return logoView_; }

    void setHighlighted(bool highlighted) override;
    void layoutSubviews() override;

private:
    std::shared_ptr<UIImageView> logoView_;
};
