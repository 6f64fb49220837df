#include "TesselSDK/packs/QZFrameContentPackDetailIAPViewController.h"

#include "TesselSDK/packs/QZFrameContentPackIAPPageItemView.h"

#include "TesselSDKFoundation/QZLocalizedString.h"

std::string QZFrameContentPackDetailIAPViewController::titleDescriptor() const
{
    return QZLocalizedString("Frame");
}

std::string QZFrameContentPackDetailIAPViewController::countDescriptor() const
{
    return QZLocalizedString("Frames");
}

std::shared_ptr<QZScrollBarPageItemView>
QZFrameContentPackDetailIAPViewController::makePageItem(const std::string& reuseIdentifier) const
{
    return QZScrollBarPageItemView::itemWithReuseIdentifier<QZFrameContentPackIAPPageItemView>(reuseIdentifier);
}
