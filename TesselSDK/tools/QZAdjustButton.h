#pragma once
// One segment of the adjust tool's joined button row: a stretchable background piece chosen by the
// segment's place in the row, the sub-tool's icon and, on a pad, its name beside the icon. Both
// images show their active look while the button is pressed or selected.

#include "UIKit/UIControl.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"

#include <memory>
#include <string>

using QZAdjustButtonType = NSUInteger;
inline constexpr QZAdjustButtonType QZAdjustButtonTypeLeft = 0;
inline constexpr QZAdjustButtonType QZAdjustButtonTypeMiddle = 1;
inline constexpr QZAdjustButtonType QZAdjustButtonTypeRight = 2;

class QZAdjustButton : public UIControl {
public:
    using UIControl::UIControl;
    static std::shared_ptr<QZAdjustButton> make(CGRect frame, const std::string& processorKey,
                                                QZAdjustButtonType buttonType)
    {
        return NSObject::create<QZAdjustButton>(
            [&](QZAdjustButton& button) { return button.initWithFrame(frame, processorKey, buttonType); });
    }
    bool initWithFrame(CGRect frame, const std::string& processorKey, QZAdjustButtonType buttonType);
    using UIControl::initWithFrame;

    // "toolMergeButtonLeft/Middle/Right" (".png" or "-active.png"), stretchable between 30-point
    // caps; null for a value that is no type.
    static std::shared_ptr<UIImage> backgroundForType(QZAdjustButtonType type, bool active);
    // Both images highlighted while the button is highlighted or selected.
    void updateImageState();

    void setHighlighted(bool highlighted) override;
    void setSelected(bool selected) override;
    void layoutSubviews() override;

    const std::shared_ptr<UIImageView>& backgroundView() const { return backgroundView_; }
    const std::shared_ptr<UIImageView>& iconView() const { return iconView_; }
    // Only on a pad.
    const std::shared_ptr<UILabel>& titleLabel() const { return titleLabel_; }

private:
    std::shared_ptr<UIImageView> backgroundView_;
    std::shared_ptr<UIImageView> iconView_;
    std::shared_ptr<UILabel> titleLabel_;
};
