#include "UIKit/UIWindow.h"

#include "Dispatch/DispatchMainQueue.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIScreen.h"

std::shared_ptr<UIWindow> UIWindow::window()
{
    return UIView::viewWithFrame<UIWindow>(UIScreen::mainScreen()->bounds());
}

UIWindow::~UIWindow() = default;

void UIWindow::makeKeyAndVisible()
{
    DispatchMainQueue::requireMainThread("-[UIWindow makeKeyAndVisible]");
    setHidden(false);
    UIApplication::sharedApplication()->windowBecameKey(self<UIWindow>());
}

bool UIWindow::isKeyWindow() const
{
    return UIApplication::sharedApplication()->keyWindow().get() == this;
}

std::shared_ptr<UIResponder> UIWindow::nextResponder() const
{
    return UIApplication::sharedApplication();
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
