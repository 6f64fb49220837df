#pragma once
// A bar showing how far a task has come: a rounded track with the filled part from its left end,
// as wide as the progress (0 to 1) says. An animated change eases the fill over 0.25 s.
// Interaction is off.

#include "UIKit/UIView.h"

#include <memory>

enum UIProgressViewStyle : NSInteger {
    UIProgressViewStyleDefault = 0,
    UIProgressViewStyleBar = 1,
};

class UIProgressView : public UIView {
public:
    using UIView::UIView;
    static std::shared_ptr<UIProgressView> progressViewWithStyle(UIProgressViewStyle style);
    bool initWithFrame(CGRect frame) override;

    UIProgressViewStyle progressViewStyle() const { return style_; }
    void setProgressViewStyle(UIProgressViewStyle style);
    float progress() const { return progress_; }
    // Clamped to 0 ... 1.
    void setProgress(float progress) { setProgress(progress, false); }
    void setProgress(float progress, bool animated);
    const std::shared_ptr<UIColor>& progressTintColor() const { return progressTintColor_; }
    void setProgressTintColor(std::shared_ptr<UIColor> color);
    const std::shared_ptr<UIColor>& trackTintColor() const { return trackTintColor_; }
    void setTrackTintColor(std::shared_ptr<UIColor> color);

    // The width given, 9 points high (the bar style 3).
    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;

private:
    CGRect fillFrame() const;

    UIProgressViewStyle style_ = UIProgressViewStyleDefault;
    float progress_ = 0;
    std::shared_ptr<UIColor> progressTintColor_;
    std::shared_ptr<UIColor> trackTintColor_;
    std::shared_ptr<UIView> track_;
    std::shared_ptr<UIView> fill_;
};
