#include "TesselSDKFoundation/QZTableView.h"

bool QZTableView::touchesShouldCancelInContentView(UIView* view)
{
    if (auto delegate = touchDelegate_.lock()) {
        bool response = true;
        if (delegate->tableViewTouchesShouldCancelInContentViewResponse(this, view, &response)) return response;
    }
    return UITableView::touchesShouldCancelInContentView(view);
}

void QZTableView::drawRect(CGRect rect)
{
    // The plain table draws nothing of its own; the base call only marks the view as drawing
    // nothing, which would drop what the block draws.
    if (!drawRectBlock_) return UITableView::drawRect(rect);
    drawRectBlock_();
}
