#include "TesselSDK/tools/QZAdjustToolWrapper.h"

void QZAdjustToolWrapper::setSelected(bool selected)
{
    selected_ = selected;
    if (button_) button_->setSelected(selected);
}
