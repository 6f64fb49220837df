#pragma once
// The store list's view: its table on white with a shade deepening towards the bottom, over a
// white lip with rounded bottom corners that casts a shadow on the editor below.

#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UITableView.h"

class QZDropdownIAPContainerView : public QZView {
public:
    using QZView::QZView;

    const std::shared_ptr<UITableView>& tableView() const { return tableView_; }
    // Added as a subview filling the bounds less the lip.
    void setTableView(std::shared_ptr<UITableView> tableView);

    void layoutSubviews() override;
    void drawRect(CGRect rect) override;

    // The lip's height below the table.
    static constexpr CGFloat kLipHeight = 8;

protected:
    void prepareView() override;

private:
    std::shared_ptr<UITableView> tableView_;
};
