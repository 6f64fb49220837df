#include "UIKit/UIBarButtonItem.h"

#include "UIKit/UIControl.h"

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::makeWithCustomView(std::shared_ptr<UIView> view)
{
    return NSObject::create<UIBarButtonItem>(&UIBarButtonItem::initWithCustomView, std::move(view));
}

bool UIBarButtonItem::initWithCustomView(std::shared_ptr<UIView> view)
{
    setCustomView(std::move(view));
    return true;
}

void UIBarButtonItem::setCustomView(std::shared_ptr<UIView> view)
{
    customView_ = std::move(view);
    applyEnabled();
}

void UIBarButtonItem::setEnabled(bool enabled)
{
    enabled_ = enabled;
    applyEnabled();
}

void UIBarButtonItem::applyEnabled()
{
    if (!customView_) return;
    if (auto* control = dynamic_cast<UIControl*>(customView_.get()))
        control->setEnabled(enabled_);
    else
        customView_->setUserInteractionEnabled(enabled_);
}
