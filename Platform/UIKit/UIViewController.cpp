#include "UIKit/UIViewController.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSBundle.h"
#include "Foundation/NSLog.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UILayoutBuilder.h"
#include "UIKit/UINavigationItem.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIWindow.h"

#include <cmath>

namespace {
constexpr double kModalSlide = 0.3;
constexpr CGFloat kFormSheetWidth = 540;
constexpr CGFloat kFormSheetHeight = 620;
constexpr CGFloat kDimmingAlpha = 0.4f;
constexpr UIViewAutoresizing kFlexibleDimensions = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;

CGRect formSheetFrame(CGRect windowBounds)
{
    return CGRectMake(std::round(CGRectGetMidX(windowBounds) - kFormSheetWidth / 2),
                      std::round(CGRectGetMidY(windowBounds) - kFormSheetHeight / 2), kFormSheetWidth,
                      kFormSheetHeight);
}
}  // namespace

bool UIViewController::presentsAsPanel() const
{
    return modalPresentationStyle_ == UIModalPresentationFormSheet &&
           UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad;
}

UIViewController::~UIViewController() = default;

bool UIViewController::initWithNibName(const std::string& nibName, std::shared_ptr<NSBundle> bundle)
{
    nibName_ = nibName;
    nibBundle_ = std::move(bundle);
    return true;
}

const std::shared_ptr<UIView>& UIViewController::view()
{
    if (!view_) {
        DispatchMainQueue::requireMainThread("-[UIViewController view]");
        loadView();
        if (!view_) view_ = UIView::viewWithFrame(UIScreen::mainScreen()->bounds());
        viewDidLoad();
    }
    return view_;
}

void UIViewController::setView(std::shared_ptr<UIView> view)
{
    view_ = std::move(view);
}

void UIViewController::loadView()
{
    if (!nibName_.empty()) {
        if (UILayoutBuilder builder = UILayoutBuilderForNibName(nibName_)) {
            setView(builder(*this));
            return;
        }
        NSLog("%s %@", "-[UIViewController loadView]", "no layout builder for the nib named " + nibName_);
    }
    setView(UIView::viewWithFrame(UIScreen::mainScreen()->bounds()));
}

std::shared_ptr<UINavigationItem> UIViewController::navigationItem()
{
    if (!navigationItem_) navigationItem_ = UINavigationItem::makeWithTitle(title_);
    return navigationItem_;
}

UIInterfaceOrientationMask UIViewController::supportedInterfaceOrientations()
{
    return UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad
               ? UIInterfaceOrientationMaskAll
               : UIInterfaceOrientationMaskAllButUpsideDown;
}

bool UIViewController::shouldAutorotateToInterfaceOrientation(UIInterfaceOrientation orientation)
{
    return (supportedInterfaceOrientations() & (UIInterfaceOrientationMask(1) << orientation)) != 0;
}

UIInterfaceOrientation UIViewController::interfaceOrientation() const
{
    return UIApplication::sharedApplication()->statusBarOrientation();
}

std::shared_ptr<UIResponder> UIViewController::nextResponder() const
{
    return view_ ? std::static_pointer_cast<UIResponder>(view_->superview()) : nullptr;
}

// ---- Modal presentation ----

void UIViewController::presentViewController(const std::shared_ptr<UIViewController>& controller, bool animated,
                                             std::function<void()> completion)
{
    DispatchMainQueue::requireMainThread("-[UIViewController presentViewController:animated:completion:]");
    const char* method = "-[UIViewController presentViewController:animated:completion:]";
    if (!controller || controller.get() == this) return;
    if (presented_ || transitioning_) {
        NSLog("%s %@", method, "this controller presents another already");
        return;
    }
    if (controller->presentingViewController()) {
        NSLog("%s %@", method, "the controller is presented already");
        return;
    }
    std::shared_ptr<UIWindow> window = isViewLoaded() ? view_->window() : nullptr;
    if (!window) window = UIApplication::sharedApplication()->keyWindow();
    if (!window) {
        NSLog("%s %@", method, "there is no window to present in");
        return;
    }

    auto presenter = self<UIViewController>();
    presented_ = controller;
    controller->presenting_ = presenter;
    transitioning_ = true;

    const bool panel = controller->presentsAsPanel();
    const std::shared_ptr<UIView>& cover = controller->view();
    const CGRect windowBounds = window->bounds();
    const CGRect shown = panel ? formSheetFrame(windowBounds) : windowBounds;
    if (panel) {
        controller->dimmingView_ = UIView::viewWithFrame(windowBounds);
        controller->dimmingView_->setAutoresizingMask(kFlexibleDimensions);
        controller->dimmingView_->setBackgroundColor(UIColor::blackColor());
        controller->dimmingView_->setAlpha(animated ? 0 : kDimmingAlpha);
        window->addSubview(controller->dimmingView_);
        cover->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin |
                                   UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin);
    } else {
        cover->setAutoresizingMask(kFlexibleDimensions);
    }
    cover->setFrame(animated ? CGRectOffset(shown, 0, CGRectGetMaxY(windowBounds) - shown.origin.y) : shown);
    window->addSubview(cover);

    controller->viewWillAppear(animated);
    if (!panel) viewWillDisappear(animated);
    auto finish = [presenter, controller, animated, panel, completion = std::move(completion)](bool) {
        presenter->transitioning_ = false;
        if (!panel && presenter->isViewLoaded() && presenter->view_->superview()) {
            presenter->coveredSuperview_ = presenter->view_->superview();
            presenter->view_->removeFromSuperview();
        }
        controller->viewDidAppear(animated);
        if (!panel) presenter->viewDidDisappear(animated);
        if (completion) completion();
    };
    if (!animated) {
        finish(true);
        return;
    }
    UIView::animateWithDuration(
        kModalSlide,
        [&] {
            cover->setFrame(shown);
            if (panel) controller->dimmingView_->setAlpha(kDimmingAlpha);
        },
        std::move(finish));
}

void UIViewController::dismissViewControllerAnimated(bool animated, std::function<void()> completion)
{
    DispatchMainQueue::requireMainThread("-[UIViewController dismissViewControllerAnimated:completion:]");
    // What this controller presented, else this controller from its presenter.
    std::shared_ptr<UIViewController> presenter = presented_ ? self<UIViewController>() : presentingViewController();
    if (!presenter || !presenter->presented_) return;
    if (presenter->transitioning_) {
        NSLog("%s %@", "-[UIViewController dismissViewControllerAnimated:completion:]",
              "a presentation or dismissal is under way");
        return;
    }
    std::shared_ptr<UIViewController> controller = presenter->presented_;
    presenter->transitioning_ = true;
    const bool panel = controller->dimmingView_ != nullptr;

    // The presenter's view goes back under the cover before the cover slides away.
    const std::shared_ptr<UIView>& cover = controller->view();
    if (auto superview = presenter->coveredSuperview_.lock(); superview && presenter->isViewLoaded()) {
        if (cover->superview() == superview)
            superview->insertSubviewBelowSubview(presenter->view_, cover.get());
        else
            superview->addSubview(presenter->view_);
    }
    presenter->coveredSuperview_.reset();

    controller->viewWillDisappear(animated);
    if (!panel) presenter->viewWillAppear(animated);
    auto finish = [presenter, controller, animated, panel, completion = std::move(completion)](bool) {
        controller->view()->removeFromSuperview();
        if (controller->dimmingView_) controller->dimmingView_->removeFromSuperview();
        controller->dimmingView_.reset();
        presenter->presented_.reset();
        controller->presenting_.reset();
        presenter->transitioning_ = false;
        controller->viewDidDisappear(animated);
        if (!panel) presenter->viewDidAppear(animated);
        if (completion) completion();
    };
    if (!animated || !cover->superview()) {
        finish(true);
        return;
    }
    const CGRect windowBounds = cover->superview()->bounds();
    const CGRect away = CGRectOffset(cover->frame(), 0, CGRectGetMaxY(windowBounds) - cover->frame().origin.y);
    UIView::animateWithDuration(
        kModalSlide,
        [&] {
            cover->setFrame(away);
            if (controller->dimmingView_) controller->dimmingView_->setAlpha(0);
        },
        std::move(finish));
}
