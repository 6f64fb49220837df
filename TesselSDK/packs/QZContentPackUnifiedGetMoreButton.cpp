#include "TesselSDK/packs/QZContentPackUnifiedGetMoreButton.h"

#include "TesselSDKFoundation/QZSDKResources.h"

void QZContentPackUnifiedGetMoreButton::drawRect(CGRect rect)
{
    UIButton::drawRect(rect);
    if (auto mark = QZSDKResources::imageNamed("more_icon.png")) mark->drawInRect(CGRectInset(bounds(), 14, 14));
}
