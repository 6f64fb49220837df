#pragma once
// A button (the custom type): per state an image, a background image, a title, a title colour
// and a title shadow colour, each falling back to the normal state's when the state has none.
// The shadow's offset is the title label's. The background image
// fills the bounds; the image and the title sit side by side, centred.

#include "UIKit/UIControl.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"

#include <map>
#include <optional>
#include <string>

enum UIButtonType : NSInteger {
    UIButtonTypeCustom = 0,
};

class UIButton : public UIControl {
public:
    using UIControl::UIControl;
    static std::shared_ptr<UIButton> buttonWithType(UIButtonType type);
    bool initWithFrame(CGRect frame) override;

    UIButtonType buttonType() const { return UIButtonTypeCustom; }

    void setImage(std::shared_ptr<UIImage> image, UIControlState state);
    std::shared_ptr<UIImage> imageForState(UIControlState state) const;
    void setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state);
    std::shared_ptr<UIImage> backgroundImageForState(UIControlState state) const;
    void setTitle(std::optional<std::string> title, UIControlState state);
    std::optional<std::string> titleForState(UIControlState state) const;
    // The normal state's colour is white until set.
    void setTitleColor(std::shared_ptr<UIColor> color, UIControlState state);
    std::shared_ptr<UIColor> titleColorForState(UIControlState state) const;
    // No shadow until set.
    void setTitleShadowColor(std::shared_ptr<UIColor> color, UIControlState state);
    std::shared_ptr<UIColor> titleShadowColorForState(UIControlState state) const;

    std::shared_ptr<UIImage> currentImage() const { return imageForState(state()); }
    std::shared_ptr<UIImage> currentBackgroundImage() const { return backgroundImageForState(state()); }
    std::optional<std::string> currentTitle() const { return titleForState(state()); }
    std::shared_ptr<UIColor> currentTitleColor() const { return titleColorForState(state()); }
    std::shared_ptr<UIColor> currentTitleShadowColor() const { return titleShadowColorForState(state()); }

    const std::shared_ptr<UILabel>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }

    void setEnabled(bool enabled) override;
    void setHighlighted(bool highlighted) override;
    void setSelected(bool selected) override;

    // The image and title side by side, or the background image's size when larger.
    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;

private:
    struct Look {
        std::shared_ptr<UIImage> image;
        std::shared_ptr<UIImage> backgroundImage;
        std::optional<std::string> title;
        std::shared_ptr<UIColor> titleColor;
        std::shared_ptr<UIColor> titleShadowColor;
    };
    // The member of the state's look, else of the normal look.
    template <class T>
    T lookup(UIControlState state, T Look::*member) const;
    void show();

    std::map<UIControlState, Look> looks_;
    std::shared_ptr<UIImageView> backgroundView_;
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UILabel> titleLabel_;
};
