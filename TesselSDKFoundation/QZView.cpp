#include "TesselSDKFoundation/QZView.h"

bool QZView::initWithFrame(CGRect frame)
{
    if (!UIView::initWithFrame(frame)) return false;
    prepareView();
    return true;
}
