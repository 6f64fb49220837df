#include "TesselSDKFoundation/QZScrollBarPageItemView.h"

bool QZScrollBarPageItemView::initWithReuseIdentifier(const std::string& reuseIdentifier)
{
    if (!initWithFrame(CGRectZero)) return false;
    reuseIdentifier_ = reuseIdentifier;
    return true;
}
