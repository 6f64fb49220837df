#pragma once
// The store list's first row while the store checks for new content: the message with a wheel
// under it.

#include "UIKit/UIActivityIndicatorView.h"
#include "UIKit/UITableViewCell.h"

class QZContentPackListIAPViewLoadingCell : public UITableViewCell {
public:
    using UITableViewCell::UITableViewCell;
    bool initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier) override;

    const std::shared_ptr<UIActivityIndicatorView>& activityIndicator() const { return activityIndicator_; }

    // The message centred a third of the way down, the wheel a sixth below the middle, spinning.
    void layoutSubviews() override;

private:
    std::shared_ptr<UIActivityIndicatorView> activityIndicator_;
};
