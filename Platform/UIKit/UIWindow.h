#pragma once
// A window: the root view of a tree shown on the screen, the screen's bounds by default. It draws
// offscreen (snapshots for tests and screenshots); a host may also show it in a window of its own.

#include "UIKit/UIImage.h"
#include "UIKit/UIView.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIViewController;

class UIWindow : public UIView {
public:
    using UIView::UIView;
    // A window of the screen's bounds.
    static std::shared_ptr<UIWindow> window();
    ~UIWindow() override;

    // Becomes the application's key window and is shown. The first time, the root controller is
    // told viewWillAppear before and viewDidAppear after.
    void makeKeyAndVisible();
    // Its view fills the window and resizes with it. Once the window is visible, the old root is
    // told it disappears and the new one that it appears.
    const std::shared_ptr<UIViewController>& rootViewController() const { return rootViewController_; }
    void setRootViewController(std::shared_ptr<UIViewController> controller);
    bool isKeyWindow() const;
    // The application.
    std::shared_ptr<UIResponder> nextResponder() const override;

    // The responder of this window that takes key input, if any (UIResponder::becomeFirstResponder).
    std::shared_ptr<UIResponder> firstResponder() const { return firstResponder_.lock(); }

    // Lays out and draws the whole tree as it looks now, at the screen scale.
    std::shared_ptr<UIImage> snapshot();
    // The same as a PNG file; false (and nothing written) when it cannot be written.
    bool writeSnapshotPNG(const std::string& path);

protected:
    std::shared_ptr<UIWindow> windowForFirstResponder() const override;
    // Views added later (a presented screen) go below the keyboard.
    void didAddSubview(UIView* view) override;

private:
    friend class UIResponder;
    friend class UIView;
    // The first responder leaves: `view` or a view inside it is leaving the window. It resigns
    // even if it would refuse, since it can take no input outside the window.
    void resignFirstResponderInside(const UIView& view);

    std::shared_ptr<UIViewController> rootViewController_;
    bool visible_ = false;
    std::weak_ptr<UIResponder> firstResponder_;
};

// Draws a view and its subviews as they look now into an image at the screen scale (the view's
// bounds, its own transform not applied).
std::shared_ptr<UIImage> UIViewSnapshot(UIView& view);
