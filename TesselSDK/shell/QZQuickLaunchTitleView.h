#pragma once
// The title of every editor screen: a bold label, or the "tessel.png" logo when there is no
// title, over a hidden Edit button. Showing the Edit button slides both up by 30 points inside
// the clipped 200 x 30 view, so the button takes the title's place.

#include "TesselSDKFoundation/QZView.h"
#include "TesselSDK/shell/QZNavigationItemButton.h"

#include <memory>
#include <optional>
#include <string>

class QZQuickLaunchTitleView : public QZView {
public:
    using QZView::QZView;

    const std::optional<std::string>& title() const { return title_; }
    // A title (the empty one included) shows a label; nil shows the logo, except while there is
    // no title view yet, which gets an empty label.
    void setTitle(std::optional<std::string> title);
    const std::string& editButtonTitle() const { return editButtonTitle_; }
    void setEditButtonTitle(std::string title);

    const std::shared_ptr<UIView>& titleView() const { return titleView_; }
    const std::shared_ptr<QZNavigationItemButton>& editButton() const { return editButton_; }

    // Hidden: the Edit button 30 points above the centre and the title at the centre; shown: the
    // button at the centre and the title 30 points below. Animated over 0.3 s.
    void setEditButtonHidden(bool hidden, bool animated);

    // The label's colours; nothing (nil) while the title view is the logo.
    std::shared_ptr<UIColor> textColor() const;
    void setTextColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIColor> shadowColor() const;
    void setShadowColor(std::shared_ptr<UIColor> color);

    // The Edit button's touch-up-inside action.
    template <class T, class C, class... Args>
    void addTarget(const std::shared_ptr<T>& target, void (C::*action)(Args...))
    {
        editButton_->addTarget(target, action, UIControlEventTouchUpInside);
    }
    // Every target of the Edit button, for all events.
    void removeAllTargets();

    // Always 200 x 30.
    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;
    // Both subviews to the horizontal centre, each keeping its vertical centre.
    void centerSubviews();

protected:
    void prepareView() override;

private:
    std::shared_ptr<UILabel> titleLabel() const;

    std::optional<std::string> title_;
    std::string editButtonTitle_;
    std::shared_ptr<UIView> titleView_;
    std::shared_ptr<QZNavigationItemButton> editButton_;
};
