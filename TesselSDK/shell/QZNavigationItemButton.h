#pragma once
// The themed bar button of every editor screen (Cancel, Done, Back, Apply, Edit): a stretchable
// background of the style with a centred bold title, or the camera icon for the gallery style.

#include "UIKit/UIControl.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"

#include <memory>
#include <string>

using QZNavigationItemButtonStyle = NSUInteger;
inline constexpr QZNavigationItemButtonStyle QZNavigationItemButtonStyleApply = 0;
inline constexpr QZNavigationItemButtonStyle QZNavigationItemButtonStyleCancel = 1;
inline constexpr QZNavigationItemButtonStyle QZNavigationItemButtonStyleRestore = 2;
inline constexpr QZNavigationItemButtonStyle QZNavigationItemButtonStyleBack = 3;
inline constexpr QZNavigationItemButtonStyle QZNavigationItemButtonStyleCameraCancel = 4;
inline constexpr QZNavigationItemButtonStyle QZNavigationItemButtonStyleCameraCancelIpad = 5;
inline constexpr QZNavigationItemButtonStyle QZNavigationItemButtonStyleGalleryCamera = 6;

class QZNavigationItemButton : public UIControl {
public:
    using UIControl::UIControl;

    // A button of the style with the title, sized to fit and laid out, sending the action on
    // touch-up-inside.
    template <class T, class C, class... Args>
    static std::shared_ptr<QZNavigationItemButton>
    buttonWithTitle(const std::string& title, QZNavigationItemButtonStyle style, const std::shared_ptr<T>& target,
                    void (C::*action)(Args...))
    {
        auto button = buttonWithTitle(title, style);
        if (target && action) button->addTarget(target, action, UIControlEventTouchUpInside);
        return button;
    }
    // The same without a target.
    static std::shared_ptr<QZNavigationItemButton> buttonWithTitle(const std::string& title,
                                                                   QZNavigationItemButtonStyle style);

    // The subviews of the style; the background images come with setStyle.
    bool initWithFrame(CGRect frame, QZNavigationItemButtonStyle style);
    // The Apply style's subviews.
    bool initWithFrame(CGRect frame) override { return initWithFrame(frame, QZNavigationItemButtonStyleApply); }

    // The style's stretchable backgrounds; none for a style past the gallery one.
    static std::shared_ptr<UIImage> defaultImageForStyle(QZNavigationItemButtonStyle style);
    static std::shared_ptr<UIImage> highlightedImageForStyle(QZNavigationItemButtonStyle style);

    QZNavigationItemButtonStyle style() const { return style_; }
    void setStyle(QZNavigationItemButtonStyle style);
    std::string title() const;
    // Sizes the button to fit and lays it out.
    void setTitle(const std::string& title);

    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }
    const std::shared_ptr<UIImageView>& iconView() const { return iconView_; }
    std::shared_ptr<UILabel> titleLabel() const { return titleLabel_.lock(); }

    // Stored for owners; the button reads none of them.
    bool showsDisabledState() const { return showsDisabledState_; }
    void setShowsDisabledState(bool shows) { showsDisabledState_ = shows; }
    const std::shared_ptr<UIImage>& backgroundImage() const { return backgroundImage_; }
    void setBackgroundImage(std::shared_ptr<UIImage> image) { backgroundImage_ = std::move(image); }
    const std::shared_ptr<UIImage>& highlightedBackgroundImage() const { return highlightedBackgroundImage_; }
    void setHighlightedBackgroundImage(std::shared_ptr<UIImage> image)
    {
        highlightedBackgroundImage_ = std::move(image);
    }

    void setHighlighted(bool highlighted) override;
    // The title's width on one line plus 16, at least 56 (44 for the gallery style), by 30.
    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;

private:
    QZNavigationItemButtonStyle style_ = QZNavigationItemButtonStyleApply;
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UIImageView> iconView_;
    std::weak_ptr<UILabel> titleLabel_;
    bool showsDisabledState_ = false;
    std::shared_ptr<UIImage> backgroundImage_;
    std::shared_ptr<UIImage> highlightedBackgroundImage_;
};
