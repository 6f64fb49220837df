#pragma once
// A stack of screens under a 44-point navigation bar: the bar shows the top screen's navigation
// item, the top screen's view fills the rest. A push slides the new view in from the right over
// 0.3 s while the old one leaves to the left (a pop mirrors it), the bar pushing or popping the
// item along; while the controller's view is in a window the two screens are told
// viewWillAppear/viewWillDisappear before the slide and viewDidAppear/viewDidDisappear after it,
// as a modal presentation tells them. The controller's own appearance calls pass to the top
// screen. One transition at a time: a push or pop during one is logged and ignored. Main thread.

#include "UIKit/UINavigationBar.h"
#include "UIKit/UIViewController.h"

#include <memory>
#include <vector>

class UINavigationController : public UIViewController, public UINavigationBarDelegate {
public:
    using UIViewController::UIViewController;
    ~UINavigationController() override;

    template <class T = UINavigationController>
    static std::shared_ptr<T> makeWithRootViewController(const std::shared_ptr<UIViewController>& root)
    {
        return NSObject::create<T>([&](T& controller) { return controller.initWithRootViewController(root); });
    }
    // init, then the root screen as the stack's only one.
    virtual bool initWithRootViewController(const std::shared_ptr<UIViewController>& root);

    // Made with the controller; placed at the top of its view once the view loads.
    const std::shared_ptr<UINavigationBar>& navigationBar() const { return navigationBar_; }
    const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const { return viewControllers_; }
    std::shared_ptr<UIViewController> topViewController() const;
    bool isTransitioning() const { return transitioning_; }

    // A controller already in a navigation stack is not pushed (logged).
    void pushViewController(const std::shared_ptr<UIViewController>& controller, bool animated);
    // Answers the popped screen; null (nothing happens) when only the root is left.
    std::shared_ptr<UIViewController> popViewControllerAnimated(bool animated);

    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    bool shouldAutorotateToInterfaceOrientation(UIInterfaceOrientation orientation) override;

    // The bar's own back gesture pops the screen with the item.
    std::optional<bool> navigationBarShouldPopItem(UINavigationBar* bar, UINavigationItem* item) override;

private:
    // Where the screens' views lie: below the bar.
    CGRect contentFrame();
    // Slides `incoming` in from `direction` (1: from the right) and `outgoing` out the other way.
    void transition(const std::shared_ptr<UIViewController>& incoming,
                    const std::shared_ptr<UIViewController>& outgoing, int direction, bool animated);

    std::shared_ptr<UINavigationBar> navigationBar_;
    std::vector<std::shared_ptr<UIViewController>> viewControllers_;
    bool transitioning_ = false;
    bool poppingFromController_ = false;
};
