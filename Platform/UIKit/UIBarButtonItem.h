#pragma once
// A bar button item showing a custom view. Its enabled state reaches the view: a control's
// enabled, any other view's user interaction, so a disabled item takes no taps.

#include "Foundation/NSObject.h"

#include <memory>

class UIView;

class UIBarButtonItem : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<UIBarButtonItem> makeWithCustomView(std::shared_ptr<UIView> view);
    bool initWithCustomView(std::shared_ptr<UIView> view);

    const std::shared_ptr<UIView>& customView() const { return customView_; }
    void setCustomView(std::shared_ptr<UIView> view);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

private:
    void applyEnabled();

    std::shared_ptr<UIView> customView_;
    bool enabled_ = true;
};
