#pragma once
// The navigation item of every editor screen: its title view is a QZQuickLaunchTitleView. Titles
// go to the title view only (the platform title stays as it was made); in quick-launch style the
// title view shows the logo and, a second later, slides in the Edit button.

#include "TesselSDK/shell/QZQuickLaunchTitleView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UINavigationItem.h"

#include <memory>
#include <optional>
#include <string>

class QZNavigationItem : public UINavigationItem {
public:
    using UINavigationItem::UINavigationItem;
    // The platform initialiser, then prepareItem.
    bool init() override;
    bool initWithTitle(std::string title) override;

    const std::shared_ptr<QZQuickLaunchTitleView>& quickLaunchTitle() const { return quickLaunchTitle_; }
    void setQuickLaunchTitle(std::shared_ptr<QZQuickLaunchTitleView> view) { quickLaunchTitle_ = std::move(view); }
    const std::optional<std::string>& currentTitle() const { return currentTitle_; }

    // Remembered as the current title; shown unless in quick-launch style.
    void setTitle(std::string title) override;
    bool isQuickLaunchStyle() const { return quickLaunchStyle_; }
    void setQuickLaunchStyle(bool quickLaunch);
    // The logo in place of the title, the Edit button titled "Edit Photo", revealed a second later.
    void configureForQuickLaunch();

    void setEditButtonTitle(const std::string& title);
    void setEditButtonHidden(bool hidden, bool animated);
    template <class T, class C, class... Args>
    void addTarget(const std::shared_ptr<T>& target, void (C::*action)(Args...))
    {
        if (auto view = titleViewForTitles()) view->addTarget(target, action);
    }
    void removeAllTargets();

    std::shared_ptr<UIColor> textColor() const;
    // Nil sets the theme's navigation bar text colour.
    void setTextColor(std::shared_ptr<UIColor> color);
    std::shared_ptr<UIColor> textShadowColor() const;
    // Nil sets the theme's navigation bar text shadow colour.
    void setTextShadowColor(std::shared_ptr<UIColor> color);

    // Sized to fit before it is installed.
    void setTitleView(std::shared_ptr<UIView> view) override;

    // Stored for owners; the item reads neither.
    const std::shared_ptr<UIColor>& navigationTitleColor() const { return navigationTitleColor_; }
    void setNavigationTitleColor(std::shared_ptr<UIColor> color) { navigationTitleColor_ = std::move(color); }
    const std::shared_ptr<UILabel>& titleLabel() const { return titleLabel_; }
    void setTitleLabel(std::shared_ptr<UILabel> label) { titleLabel_ = std::move(label); }

protected:
    virtual void prepareItem();

private:
    // The title view when it is a quick-launch title view.
    std::shared_ptr<QZQuickLaunchTitleView> titleViewForTitles() const;

    std::shared_ptr<QZQuickLaunchTitleView> quickLaunchTitle_;
    std::optional<std::string> currentTitle_;
    bool quickLaunchStyle_ = false;
    std::shared_ptr<UIColor> navigationTitleColor_;
    std::shared_ptr<UILabel> titleLabel_;
};
