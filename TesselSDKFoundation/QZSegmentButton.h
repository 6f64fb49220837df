#pragma once
// One button of a segmented bar: a themed background piece chosen by the button's place in the
// bar, and an icon; both show their highlighted look while the button is selected.

#include "UIKit/UIButton.h"

enum QZSegmentedButtonStyle : NSInteger {
    QZSegmentedButtonStyleLeftCap = 0,
    QZSegmentedButtonStyleCenter = 1,
    QZSegmentedButtonStyleRightCap = 2,
    QZSegmentedButtonStyleSingle = 3,
};

class QZSegmentButton : public UIButton {
public:
    using UIButton::UIButton;

    static std::shared_ptr<QZSegmentButton> make(CGRect frame, QZSegmentedButtonStyle style,
                                                 std::shared_ptr<UIImage> defaultIcon,
                                                 std::shared_ptr<UIImage> highlightedIcon)
    {
        return NSObject::create<QZSegmentButton>([&](QZSegmentButton& button) {
            return button.initWithFrame(frame, style, std::move(defaultIcon), std::move(highlightedIcon));
        });
    }
    bool initWithFrame(CGRect frame, QZSegmentedButtonStyle style, std::shared_ptr<UIImage> defaultIcon,
                       std::shared_ptr<UIImage> highlightedIcon);
    using UIButton::initWithFrame;

    // The resizable background of the style ("-active" when highlighted); null for a value that
    // is no style.
    std::shared_ptr<UIImage> imageForStyle(QZSegmentedButtonStyle style, bool highlighted) const;

    void setSelected(bool selected) override;
    void layoutSubviews() override;

    const std::shared_ptr<UIImageView>& iconImageView() const { return iconImageView_; }
    const std::shared_ptr<UIImageView>& backgroundImageView() const { return backgroundImageView_; }
    QZSegmentedButtonStyle style() const { return style_; }
    void setStyle(QZSegmentedButtonStyle style) { style_ = style; }

private:
    std::shared_ptr<UIImageView> iconImageView_;
    std::shared_ptr<UIImageView> backgroundImageView_;
    QZSegmentedButtonStyle style_ = QZSegmentedButtonStyleLeftCap;
};
