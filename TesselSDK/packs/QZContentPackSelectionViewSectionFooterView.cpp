#include "TesselSDK/packs/QZContentPackSelectionViewSectionFooterView.h"

#include "TesselSDKFoundation/QZSDKResources.h"

void QZContentPackSelectionViewSectionFooterView::prepareView()
{
    QZView::prepareView();
    setBackgroundColor(UIColor::clearColor());
    footerImageView_ = addSubviewOfClass<UIImageView>(QZUIViewAutoresizingFlexibleDimensions);
    footerImageView_->setImage(QZSDKResources::imageNamed("contentPackDividerShadow.png"));
    footerImageView_->setContentMode(UIViewContentModeBottomRight);
}
