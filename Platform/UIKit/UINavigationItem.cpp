#include "UIKit/UINavigationItem.h"

#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UINavigationBar.h"

bool UINavigationItem::initWithTitle(std::string title)
{
    title_ = std::move(title);
    return true;
}

void UINavigationItem::setTitle(std::string title)
{
    title_ = std::move(title);
    changed();
}

void UINavigationItem::setTitleView(std::shared_ptr<UIView> view)
{
    titleView_ = std::move(view);
    changed();
}

void UINavigationItem::setLeftBarButtonItem(std::shared_ptr<UIBarButtonItem> item, bool /*animated*/)
{
    leftItem_ = std::move(item);
    changed();
}

void UINavigationItem::setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item, bool /*animated*/)
{
    rightItem_ = std::move(item);
    changed();
}

void UINavigationItem::changed()
{
    if (auto bar = bar_.lock()) bar->itemChanged(*this);
}
