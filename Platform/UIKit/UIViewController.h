#pragma once
// A controller of one screen: its view made lazily (from the nib name's layout builder, else a
// plain view the size of the screen), appearance and rotation calls, memory warnings, modal
// presentation (full screen, or a form sheet on a tablet) and the navigation controller it is in.
//
// Appearance calls come only from the window (its root controller, when it becomes visible),
// from modal presentation and dismissal, and from owners calling them by hand: a view entering a
// window tells its controller nothing.

#include "UIKit/UIApplication.h"
#include "UIKit/UIResponder.h"
#include "UIKit/UIView.h"

#include <functional>
#include <memory>
#include <string>

class NSBundle;
class UINavigationController;
class UINavigationItem;

enum UIModalPresentationStyle : NSInteger {
    UIModalPresentationFullScreen = 0,
    UIModalPresentationPageSheet = 1,
    UIModalPresentationFormSheet = 2,
};

class UIViewController : public UIResponder {
public:
    using UIResponder::UIResponder;
    ~UIViewController() override;

    // A controller of class T made with init.
    template <class T = UIViewController>
    static std::shared_ptr<T> make()
    {
        return NSObject::create<T>([](T& controller) { return controller.init(); });
    }
    // initWithNibName(nil, nil): a subclass overriding initWithNibName sees every
    // creation.
    bool init() { return initWithNibName("", nullptr); }
    // Every initialiser ends here; an empty name is nil. The bundle is kept and not read: layouts
    // are code (UILayoutBuilder.h).
    virtual bool initWithNibName(const std::string& nibName, std::shared_ptr<NSBundle> bundle);
    const std::string& nibName() const { return nibName_; }
    const std::shared_ptr<NSBundle>& nibBundle() const { return nibBundle_; }

    // ---- The view ----
    // Loads it on first use: loadView, then viewDidLoad once.
    const std::shared_ptr<UIView>& view();
    bool isViewLoaded() const { return view_ != nullptr; }
    void setView(std::shared_ptr<UIView> view);
    // Sets the view: the nib name's builder, else (logged when a name has none) a plain view of
    // the screen's bounds. Subclasses may build their own instead of calling up.
    virtual void loadView();
    virtual void viewDidLoad() {}

    const std::string& title() const { return title_; }
    virtual void setTitle(std::string title) { title_ = std::move(title); }
    // The item a navigation bar shows for this screen, made on first use.
    virtual std::shared_ptr<UINavigationItem> navigationItem();

    // ---- Appearance ----
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidDisappear(bool /*animated*/) {}

    // ---- Rotation ----
    virtual bool shouldAutorotate() { return true; }
    // All four on a tablet, all but upside down on a phone.
    virtual UIInterfaceOrientationMask supportedInterfaceOrientations();
    // The older question: whether the orientation is in the supported mask.
    virtual bool shouldAutorotateToInterfaceOrientation(UIInterfaceOrientation orientation);
    virtual void willRotateToInterfaceOrientation(UIInterfaceOrientation, double /*duration*/) {}
    virtual void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation, double /*duration*/) {}
    virtual void didRotateFromInterfaceOrientation(UIInterfaceOrientation) {}
    UIInterfaceOrientation interfaceOrientation() const;

    virtual void didReceiveMemoryWarning() {}
    virtual UIStatusBarStyle preferredStatusBarStyle() { return UIStatusBarStyleDefault; }
    virtual bool disablesAutomaticKeyboardDismissal() { return false; }

    // ---- Modal presentation ----
    // The controller's view covers the window of this one's view (else the key window), sliding
    // up from the bottom over 0.3 s when animated. The presented controller is told viewWillAppear,
    // this one viewWillDisappear; after the slide the presented one viewDidAppear, this one
    // viewDidDisappear (its view leaves the window), then the completion runs. A controller
    // presents one at a time: a second presentation, or one without a window, is logged and
    // ignored.
    //
    // A form sheet (the presented controller's style) on a tablet is a 540 x 620 point panel
    // centred in the window over a dimming view (black, alpha 0.4, fading in and out with the
    // slide); this controller's view stays in the window and is told nothing. On a phone a form
    // sheet covers the window as a full-screen presentation does.
    void presentViewController(const std::shared_ptr<UIViewController>& controller, bool animated,
                               std::function<void()> completion = nullptr);
    // Dismisses what this controller presented, or, when it presented nothing, this controller
    // from its presenter: the mirror of presenting.
    void dismissViewControllerAnimated(bool animated, std::function<void()> completion = nullptr);
    std::shared_ptr<UIViewController> presentedViewController() const { return presented_; }
    std::shared_ptr<UIViewController> presentingViewController() const { return presenting_.lock(); }
    // How this controller is shown when presented.
    UIModalPresentationStyle modalPresentationStyle() const { return modalPresentationStyle_; }
    void setModalPresentationStyle(UIModalPresentationStyle style) { modalPresentationStyle_ = style; }

    // The navigation controller whose stack holds this controller, if any.
    std::shared_ptr<UINavigationController> navigationController() const { return navigationController_.lock(); }

    // The view's superview.
    std::shared_ptr<UIResponder> nextResponder() const override;

private:
    friend class UINavigationController;
    // A form sheet on a tablet: a panel over a dimming view, the presenter staying in view.
    bool presentsAsPanel() const;

    std::string nibName_;
    std::shared_ptr<NSBundle> nibBundle_;
    std::shared_ptr<UIView> view_;
    std::string title_;
    std::shared_ptr<UINavigationItem> navigationItem_;
    std::shared_ptr<UIViewController> presented_;
    std::weak_ptr<UIViewController> presenting_;
    // Where this controller's view was before what it presented covered it.
    std::weak_ptr<UIView> coveredSuperview_;
    bool transitioning_ = false;
    UIModalPresentationStyle modalPresentationStyle_ = UIModalPresentationFullScreen;
    std::shared_ptr<UIView> dimmingView_;  // behind a presented panel
    std::weak_ptr<UINavigationController> navigationController_;
};
