#include "TesselSDKFoundation/QZScrollBarScrollView.h"

#include "UIKit/UISlider.h"

bool QZScrollBarScrollView::touchesShouldCancelInContentView(UIView* view)
{
    return !(view && view->isKindOfClass<UISlider>());
}
