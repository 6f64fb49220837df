#pragma once
// What a navigation bar shows for one screen: a title (shown as a label when there is no title
// view), a title view, and left and right bar button items. Changes reach the bar showing the
// item at once.

#include "Foundation/NSObject.h"

#include <memory>
#include <string>

class UIBarButtonItem;
class UINavigationBar;
class UIView;

class UINavigationItem : public NSObject {
public:
    using NSObject::NSObject;
    // An item of class T made with init.
    template <class T = UINavigationItem>
    static std::shared_ptr<T> make()
    {
        return NSObject::create<T>([](T& item) { return item.init(); });
    }
    template <class T = UINavigationItem>
    static std::shared_ptr<T> makeWithTitle(std::string title)
    {
        return NSObject::create<T>([&](T& item) { return item.initWithTitle(std::move(title)); });
    }
    virtual bool init() { return true; }
    virtual bool initWithTitle(std::string title);

    const std::string& title() const { return title_; }
    virtual void setTitle(std::string title);
    const std::shared_ptr<UIView>& titleView() const { return titleView_; }
    virtual void setTitleView(std::shared_ptr<UIView> view);
    const std::shared_ptr<UIBarButtonItem>& leftBarButtonItem() const { return leftItem_; }
    void setLeftBarButtonItem(std::shared_ptr<UIBarButtonItem> item, bool animated = false);
    const std::shared_ptr<UIBarButtonItem>& rightBarButtonItem() const { return rightItem_; }
    void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item, bool animated = false);

    // The bar this item is on, if any.
    std::shared_ptr<UINavigationBar> navigationBar() const { return bar_.lock(); }

private:
    friend class UINavigationBar;
    void changed();

    std::string title_;
    std::shared_ptr<UIView> titleView_;
    std::shared_ptr<UIBarButtonItem> leftItem_;
    std::shared_ptr<UIBarButtonItem> rightItem_;
    std::weak_ptr<UINavigationBar> bar_;
};
