#pragma once
// The base of every editor screen: its navigation item is the editor's own, so a bar shows the
// quick-launch title view, and a title given before the view loads is shown once it has.

#include "TesselSDK/shell/QZNavigationItem.h"
#include "UIKit/UIViewController.h"

#include <memory>

class QZViewController : public UIViewController {
public:
    using UIViewController::UIViewController;
    // Does nothing: sending it keeps a class that only the tool table names linked.
    static void forceLinkerLoad_() {}

    // The platform initialiser, then the navigation item, with a white title colour.
    bool initWithNibName(const std::string& nibName, std::shared_ptr<NSBundle> bundle) override;
    // The custom navigation item, to every caller.
    std::shared_ptr<UINavigationItem> navigationItem() override { return customNavigationItem_; }
    // Calls up, then shows the screen's title in the navigation item.
    void viewDidLoad() override;

    const std::shared_ptr<QZNavigationItem>& customNavigationItem() const { return customNavigationItem_; }
    void setCustomNavigationItem(std::shared_ptr<QZNavigationItem> item) { customNavigationItem_ = std::move(item); }

private:
    std::shared_ptr<QZNavigationItem> customNavigationItem_;
};
