#pragma once
// A two-label title that slides a new text in from the top, the left or the right while the old
// one leaves the other way. Built for the adjust tool; nothing shows it yet.

#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIColor.h"
#include "UIKit/UILabel.h"

#include <memory>
#include <string>

using QZAdjustTitleViewAnimationStyle = NSUInteger;
inline constexpr QZAdjustTitleViewAnimationStyle QZAdjustTitleViewAnimationStyleTop = 0;
inline constexpr QZAdjustTitleViewAnimationStyle QZAdjustTitleViewAnimationStyleLeft = 1;
inline constexpr QZAdjustTitleViewAnimationStyle QZAdjustTitleViewAnimationStyleRight = 2;

class QZAdjustTitleView : public QZView {
public:
    using QZView::QZView;

    // The shown text.
    std::string title() const { return titleLabel_ ? titleLabel_->text() : std::string(); }
    // Puts the capitalised text into the off-screen label, sized to fit.
    void setTitle(const std::string& title);
    // setTitle:, then the new label slides in as the shown one slides out over 0.2 s; the two
    // labels exchange roles afterwards.
    void setTitle(const std::string& title, QZAdjustTitleViewAnimationStyle style);

    std::shared_ptr<UIColor> textColor() const { return titleLabel_ ? titleLabel_->textColor() : nullptr; }
    // Both labels; nil gives dark grey.
    void setTextColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIColor> textShadowColor() const { return titleLabel_ ? titleLabel_->shadowColor() : nullptr; }
    // Both labels; nil gives black.
    void setTextShadowColor(std::shared_ptr<UIColor> color);
    bool changedTitle() const { return changedTitle_; }
    void setChangedTitle(bool changed) { changedTitle_ = changed; }

    CGSize sizeThatFits(CGSize) const override { return CGSizeMake(200, 32); }

    const std::shared_ptr<UILabel>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<UILabel>& offscreenTitleLabel() const { return offscreenTitleLabel_; }

protected:
    void prepareView() override;

private:
    std::shared_ptr<UILabel> makeLabel() const;

    bool changedTitle_ = false;
    std::shared_ptr<UILabel> titleLabel_;
    std::shared_ptr<UILabel> offscreenTitleLabel_;
};
