#include "TesselSDKFoundation/QZHorizontalTableViewCell.h"

#include "QuartzCore/CATransaction.h"

#include <cmath>

bool QZHorizontalTableViewCell::initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier)
{
    if (!UITableViewCell::initWithStyle(style, reuseIdentifier)) return false;
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    // An exact quarter turn: the rounded sine and cosine of pi/2 would leave the turned content a
    // hair short of its bounds, and a pixel column shows through when it is drawn.
    setTransform(CGAffineTransformMake(0, 1, -1, 0, 0, 0));
    CATransaction::commit();
    return true;
}
