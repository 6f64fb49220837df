#include "UIKit/UIWindow.h"

#include "Dispatch/DispatchMainQueue.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIKeyboard.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UIViewController.h"

std::shared_ptr<UIWindow> UIWindow::window()
{
    return UIView::viewWithFrame<UIWindow>(UIScreen::mainScreen()->bounds());
}

UIWindow::~UIWindow() = default;

void UIWindow::makeKeyAndVisible()
{
    DispatchMainQueue::requireMainThread("-[UIWindow makeKeyAndVisible]");
    const bool appearing = !visible_;
    visible_ = true;
    auto root = rootViewController_;
    if (appearing && root) root->viewWillAppear(false);
    setHidden(false);
    UIApplication::sharedApplication()->windowBecameKey(self<UIWindow>());
    if (appearing && root) root->viewDidAppear(false);
}

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> controller)
{
    DispatchMainQueue::requireMainThread("-[UIWindow setRootViewController:]");
    if (controller == rootViewController_) return;
    auto old = std::move(rootViewController_);
    rootViewController_ = std::move(controller);
    if (old) {
        if (visible_) old->viewWillDisappear(false);
        if (old->isViewLoaded() && old->view()->superview().get() == this) old->view()->removeFromSuperview();
        if (visible_) old->viewDidDisappear(false);
    }
    if (auto root = rootViewController_) {
        const std::shared_ptr<UIView>& view = root->view();
        view->setFrame(bounds());
        view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        if (visible_) root->viewWillAppear(false);
        addSubview(view);
        if (visible_) root->viewDidAppear(false);
    }
}

bool UIWindow::isKeyWindow() const
{
    return UIApplication::sharedApplication()->keyWindow().get() == this;
}

std::shared_ptr<UIResponder> UIWindow::nextResponder() const
{
    return UIApplication::sharedApplication();
}

std::shared_ptr<UIWindow> UIWindow::windowForFirstResponder() const
{
    return std::const_pointer_cast<UIWindow>(self<const UIWindow>());
}

void UIWindow::didAddSubview(UIView* view)
{
    UIView::didAddSubview(view);
    UIKeyboard::sharedKeyboard()->keepFrontmostIn(*this, view);
}

void UIWindow::resignFirstResponderInside(const UIView& view)
{
    auto responder = firstResponder();
    auto responderView = std::dynamic_pointer_cast<UIView>(responder);
    if (!responderView || !responderView->isDescendantOfView(&view)) return;
    responder->leaveFirstResponder(*this);
    UIKeyboard::sharedKeyboard()->update();
}

std::shared_ptr<UIImage> UIViewSnapshot(UIView& view)
{
    DispatchMainQueue::requireMainThread("UIViewSnapshot");
    view.layoutIfNeeded();
    CGRect b = view.bounds();
    UIGraphicsBeginImageContextWithOptions(b.size, false, 0);
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return nullptr;
    CGContextTranslateCTM(context, -b.origin.x, -b.origin.y);
    view.layer()->renderInContext(context);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

std::shared_ptr<UIImage> UIWindow::snapshot()
{
    return UIViewSnapshot(*this);
}

bool UIWindow::writeSnapshotPNG(const std::string& path)
{
    return UIImageWritePNGToFile(snapshot(), path);
}
