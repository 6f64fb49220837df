#pragma once
// A cell of a horizontal table: turned a quarter turn clockwise, so that its content reads
// upright inside the counterclockwise table; its bounds are then the on-screen width and height.

#include "UIKit/UITableViewCell.h"

class QZHorizontalTableViewCell : public UITableViewCell {
public:
    using UITableViewCell::UITableViewCell;
    bool initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier) override;
};
