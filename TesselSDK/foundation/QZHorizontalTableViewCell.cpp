#include "TesselSDK/foundation/QZHorizontalTableViewCell.h"

#include "QuartzCore/CATransaction.h"

#include <cmath>

bool QZHorizontalTableViewCell::initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier)
{
    if (!UITableViewCell::initWithStyle(style, reuseIdentifier)) return false;
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    setTransform(CGAffineTransformMakeRotation(float(M_PI / 2)));
    CATransaction::commit();
    return true;
}
