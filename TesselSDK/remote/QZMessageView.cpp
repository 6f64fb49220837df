#include "TesselSDK/remote/QZMessageView.h"

std::shared_ptr<QZMessageView> QZMessageView::messageViewWithMessage(const std::shared_ptr<QZMessage>& message)
{
    auto view = UIView::viewWithFrame<QZMessageView>(CGRectZero);
    view->message_ = message;
    return view;
}

void QZMessageView::presentInView(const std::shared_ptr<UIView>& view)
{
    if (!view) return;
    setFrame(view->bounds());
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    view->addSubview(std::static_pointer_cast<UIView>(shared_from_this()));
}

void QZMessageView::performAction(const std::string& action)
{
    // Held for the call: the block may release the screen that holds this view.
    auto self = std::static_pointer_cast<QZMessageView>(shared_from_this());
    removeFromSuperview();
    if (actionBlock_) actionBlock_(action);
}
