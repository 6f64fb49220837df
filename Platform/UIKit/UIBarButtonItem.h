#pragma once
// An item of a navigation bar or a toolbar: a custom view, a system item, or a titled item. System
// items: Done (a button titled "Done" sending the item's action) and the flexible space (no view:
// toolbars share their free width among them). A titled item is a button showing its title (framed
// in the bordered style) that sends the item's action. The enabled state reaches the item's view:
// a control's enabled, any other view's user interaction, so a disabled item takes no taps.

#include "UIKit/UIBarMetrics.h"
#include "Foundation/NSObject.h"
#include "UIKit/UIControl.h"
#include "UIKit/UITargetAction.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

class UIButton;
class UIImage;
class UIView;

enum UIBarButtonSystemItem : NSInteger {
    UIBarButtonSystemItemDone = 0,
    UIBarButtonSystemItemFlexibleSpace = 5,
};

enum UIBarButtonItemStyle : NSInteger {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleBordered = 1,
};

class UIBarButtonItem : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<UIBarButtonItem> makeWithCustomView(std::shared_ptr<UIView> view);
    bool initWithCustomView(std::shared_ptr<UIView> view);
    // A system item without an action (a flexible space).
    static std::shared_ptr<UIBarButtonItem> makeWithBarButtonSystemItem(UIBarButtonSystemItem item);
    // The action gets the item as the sender (UITargetAction's forms).
    template <class T, class C, class... Args>
    static std::shared_ptr<UIBarButtonItem> makeWithBarButtonSystemItem(UIBarButtonSystemItem item,
                                                                        const std::shared_ptr<T>& target,
                                                                        void (C::*action)(Args...))
    {
        auto made = makeWithBarButtonSystemItem(item);
        if (made) made->action_ = UITargetAction::make(target, action);
        return made;
    }
    bool initWithBarButtonSystemItem(UIBarButtonSystemItem item);
    // A titled item; the action gets the item as the sender.
    template <class T, class C, class... Args>
    static std::shared_ptr<UIBarButtonItem> makeWithTitle(std::string title, UIBarButtonItemStyle style,
                                                          const std::shared_ptr<T>& target, void (C::*action)(Args...))
    {
        auto made = NSObject::create<UIBarButtonItem>(&UIBarButtonItem::initWithTitle, std::move(title), style);
        if (made) made->action_ = UITargetAction::make(target, action);
        return made;
    }
    bool initWithTitle(std::string title, UIBarButtonItemStyle style);

    const std::shared_ptr<UIView>& customView() const { return customView_; }
    void setCustomView(std::shared_ptr<UIView> view);
    std::optional<UIBarButtonSystemItem> systemItem() const { return systemItem_; }
    bool isFlexibleSpace() const { return systemItem_ == UIBarButtonSystemItemFlexibleSpace; }
    // A titled item's; empty for the others.
    const std::string& title() const { return title_; }
    UIBarButtonItemStyle style() const { return style_; }
    // What a bar shows for the item: the custom view, or the system item's button; none for a
    // flexible space.
    std::shared_ptr<UIView> itemView() const;
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // Drawn behind a system item's title, stretched to its button.
    void setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state, UIBarMetrics metrics);
    std::shared_ptr<UIImage> backgroundImageForState(UIControlState state, UIBarMetrics metrics) const;

private:
    void applyEnabled();
    void buttonPressed(UIButton* button);
    // A button showing the title in a bold face of the size, sized to it, sending the action.
    void makeTitledButton(const std::string& title, CGFloat fontSize);

    std::shared_ptr<UIView> customView_;
    std::optional<UIBarButtonSystemItem> systemItem_;
    std::string title_;
    UIBarButtonItemStyle style_ = UIBarButtonItemStylePlain;
    std::shared_ptr<UIButton> button_;
    std::optional<UITargetAction> action_;
    std::map<UIControlState, std::shared_ptr<UIImage>> backgroundImages_;
    bool enabled_ = true;
};
