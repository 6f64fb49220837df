#include "TesselSDKFoundation/QZProgressHUDView.h"

#include "UIKit/UIActivityIndicatorView.h"

void QZProgressHUDView::prepareView()
{
    QZHUDView::prepareView();
    auto indicator = UIActivityIndicatorView::indicatorWithStyle(UIActivityIndicatorViewStyleWhiteLarge);
    indicator->setCenter(QZCGRectGetCenter(bounds()));
    indicator->setAutoresizingMask(QZUIViewAutoresizingFlexibleMargins);
    indicator->startAnimating();
    addSubview(indicator);
}
