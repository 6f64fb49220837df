#include "UIKit/UINavigationController.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSLog.h"
#include "UIKit/UINavigationItem.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIWindow.h"

#include <algorithm>

namespace {
constexpr double kSlide = 0.3;
constexpr CGFloat kBarHeight = 44;
constexpr UIViewAutoresizing kFlexibleDimensions = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;
}  // namespace

UINavigationController::~UINavigationController()
{
    // The stack's screens may outlive it: their back pointers read as none from now on.
    for (const auto& controller : viewControllers_) controller->navigationController_.reset();
}

bool UINavigationController::initWithRootViewController(const std::shared_ptr<UIViewController>& root)
{
    if (!init() || !root) return false;
    navigationBar_ = UIView::viewWithFrame<UINavigationBar>(
        CGRectMake(0, 0, UIScreen::mainScreen()->bounds().size.width, kBarHeight));
    navigationBar_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    navigationBar_->setDelegate(std::static_pointer_cast<UINavigationBarDelegate>(self<UINavigationController>()));
    viewControllers_.push_back(root);
    root->navigationController_ = self<UINavigationController>();
    navigationBar_->pushNavigationItem(root->navigationItem(), false);
    return true;
}

std::shared_ptr<UIViewController> UINavigationController::topViewController() const
{
    return viewControllers_.empty() ? nullptr : viewControllers_.back();
}

CGRect UINavigationController::contentFrame()
{
    CGRect b = view()->bounds();
    return CGRectMake(0, kBarHeight, b.size.width, std::max(CGFloat(0), b.size.height - kBarHeight));
}

void UINavigationController::loadView()
{
    auto container = UIView::viewWithFrame(UIScreen::mainScreen()->bounds());
    container->setClipsToBounds(true);
    setView(container);
    navigationBar_->setFrame(CGRectMake(0, 0, container->bounds().size.width, kBarHeight));
    const auto& top = topViewController()->view();
    top->setAutoresizingMask(kFlexibleDimensions);
    top->setFrame(contentFrame());
    container->addSubview(top);
    container->addSubview(navigationBar_);
}

void UINavigationController::viewWillAppear(bool animated)
{
    topViewController()->viewWillAppear(animated);
}

void UINavigationController::viewDidAppear(bool animated)
{
    topViewController()->viewDidAppear(animated);
}

void UINavigationController::viewWillDisappear(bool animated)
{
    topViewController()->viewWillDisappear(animated);
}

void UINavigationController::viewDidDisappear(bool animated)
{
    topViewController()->viewDidDisappear(animated);
}

bool UINavigationController::shouldAutorotateToInterfaceOrientation(UIInterfaceOrientation orientation)
{
    return topViewController()->shouldAutorotateToInterfaceOrientation(orientation);
}

void UINavigationController::pushViewController(const std::shared_ptr<UIViewController>& controller, bool animated)
{
    DispatchMainQueue::requireMainThread("-[UINavigationController pushViewController:animated:]");
    const char* method = "-[UINavigationController pushViewController:animated:]";
    if (!controller) return;
    if (transitioning_) {
        NSLog("%s %@", method, "a push or pop is under way");
        return;
    }
    if (controller->navigationController()) {
        NSLog("%s %@", method, "the controller is in a navigation stack already");
        return;
    }
    std::shared_ptr<UIViewController> outgoing = topViewController();
    viewControllers_.push_back(controller);
    controller->navigationController_ = self<UINavigationController>();
    navigationBar_->pushNavigationItem(controller->navigationItem(), animated);
    if (isViewLoaded()) transition(controller, outgoing, 1, animated);
}

std::shared_ptr<UIViewController> UINavigationController::popViewControllerAnimated(bool animated)
{
    DispatchMainQueue::requireMainThread("-[UINavigationController popViewControllerAnimated:]");
    if (viewControllers_.size() < 2) return nullptr;
    if (transitioning_) {
        NSLog("%s %@", "-[UINavigationController popViewControllerAnimated:]", "a push or pop is under way");
        return nullptr;
    }
    std::shared_ptr<UIViewController> outgoing = viewControllers_.back();
    viewControllers_.pop_back();
    poppingFromController_ = true;
    navigationBar_->popNavigationItemAnimated(animated);
    poppingFromController_ = false;
    if (isViewLoaded()) transition(topViewController(), outgoing, -1, animated);
    outgoing->navigationController_.reset();
    return outgoing;
}

std::optional<bool> UINavigationController::navigationBarShouldPopItem(UINavigationBar*, UINavigationItem*)
{
    if (poppingFromController_) return true;
    // A pop the bar starts goes through the stack, which pops the item itself.
    popViewControllerAnimated(true);
    return false;
}

void UINavigationController::transition(const std::shared_ptr<UIViewController>& incoming,
                                        const std::shared_ptr<UIViewController>& outgoing, int direction, bool animated)
{
    const std::shared_ptr<UIView>& container = view();
    const bool inWindow = container->window() != nullptr;
    const CGRect shown = contentFrame();
    const CGFloat width = shown.size.width;

    const std::shared_ptr<UIView>& incomingView = incoming->view();
    incomingView->setAutoresizingMask(kFlexibleDimensions);
    incomingView->setFrame(animated ? CGRectOffset(shown, direction * width, 0) : shown);
    container->insertSubviewBelowSubview(incomingView, navigationBar_.get());

    if (inWindow) {
        incoming->viewWillAppear(animated);
        outgoing->viewWillDisappear(animated);
    }
    transitioning_ = true;
    std::weak_ptr<UINavigationController> weakSelf = self<UINavigationController>();
    auto finish = [weakSelf, incoming, outgoing, animated, inWindow](bool) {
        outgoing->view()->removeFromSuperview();
        if (auto controller = weakSelf.lock()) controller->transitioning_ = false;
        if (inWindow) {
            incoming->viewDidAppear(animated);
            outgoing->viewDidDisappear(animated);
        }
    };
    if (!animated) {
        finish(true);
        return;
    }
    const std::shared_ptr<UIView>& outgoingView = outgoing->view();
    UIView::animateWithDuration(
        kSlide, 0, UIViewAnimationOptionCurveEaseInOut,
        [&] {
            incomingView->setFrame(shown);
            outgoingView->setFrame(CGRectOffset(shown, -direction * width, 0));
        },
        std::move(finish));
}
