#pragma once
// A table view whose owner may decide whether a drag takes touches from its content, and that
// runs an extra drawing block after drawing itself.

#include "UIKit/UITableView.h"

#include <functional>
#include <memory>

class QZTableView;

class QZTableViewDelegate {
public:
    virtual ~QZTableViewDelegate() = default;
    // The table's answer when this returns YES is `*response` as left here (it starts YES). The
    // default answers NO, which leaves the plain table's answer.
    virtual bool tableViewTouchesShouldCancelInContentViewResponse(QZTableView*, UIView*, bool* /*response*/)
    {
        return false;
    }
};

class QZTableView : public UITableView {
public:
    using UITableView::UITableView;

    std::weak_ptr<QZTableViewDelegate> touchDelegate() const { return touchDelegate_; }
    void setTouchDelegate(std::weak_ptr<QZTableViewDelegate> delegate) { touchDelegate_ = std::move(delegate); }
    const std::function<void()>& drawRectBlock() const { return drawRectBlock_; }
    void setDrawRectBlock(std::function<void()> block) { drawRectBlock_ = std::move(block); }

    bool touchesShouldCancelInContentView(UIView* view) override;
    void drawRect(CGRect rect) override;

private:
    std::weak_ptr<QZTableViewDelegate> touchDelegate_;
    std::function<void()> drawRectBlock_;
};
