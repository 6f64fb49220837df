#include "TesselSDK/packs/QZStickerContentPackDetailIAPViewController.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZLocalizedString.h"

std::string QZStickerContentPackDetailIAPViewController::titleDescriptor() const
{
    return QZLocalizedString("Sticker");
}

std::string QZStickerContentPackDetailIAPViewController::countDescriptor() const
{
    return QZLocalizedString("Stickers");
}

void QZStickerContentPackDetailIAPViewController::viewDidAppear(bool animated)
{
    QZContentPackDetailIAPViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Stickers Store Detail");
}
