#pragma once
// The base of the editor's own views: one set-up hook, prepareView, run once right after the
// initialiser, and helpers that add typed subviews.

#include "TesselSDKFoundation/QZGeometry.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIView.h"

#include <concepts>
#include <memory>

class QZView : public UIView {
public:
    using UIView::UIView;
    // Does nothing: the class is always linked in.
    static void forceLinkerLoad_() {}

    // The base initialiser, then prepareView once.
    bool initWithFrame(CGRect frame) override;

    // Screens forward rotation here; empty in the base.
    virtual void willRotateToInterfaceOrientation(UIInterfaceOrientation, double /*duration*/) {}
    virtual void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation, double /*duration*/) {}
    virtual void didRotateFromInterfaceOrientation(UIInterfaceOrientation) {}

    // A new T (a view class: nothing else can be named) made with the frame and the mask, added
    // as a subview; the caller keeps it where it wants.
    template <class T>
    requires std::derived_from<T, UIView> std::shared_ptr<T> addSubviewOfClass(UIViewAutoresizing mask, CGRect frame)
    {
        auto view = UIView::viewWithFrame<T>(frame);
        view->setAutoresizingMask(mask);
        addSubview(view);
        return view;
    }
    // Framed to the receiver's bounds.
    template <class T>
    requires std::derived_from<T, UIView> std::shared_ptr<T> addSubviewOfClass(UIViewAutoresizing mask)
    {
        return addSubviewOfClass<T>(mask, bounds());
    }
    // Filling the receiver and resizing with it.
    template <class T>
    requires std::derived_from<T, UIView> std::shared_ptr<T> addSubviewOfClass()
    {
        return addSubviewOfClass<T>(QZUIViewAutoresizingFlexibleDimensions);
    }

protected:
    // Subclasses build their subviews and appearance here, calling the base first.
    virtual void prepareView() {}
};
