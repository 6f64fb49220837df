#include "TesselSDK/packs/QZStickerContentPackListIAPViewController.h"

#include "TesselSDK/packs/QZStickerContentPackDetailIAPViewController.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZLocalizedString.h"

std::string QZStickerContentPackListIAPViewController::typeDescriptor() const
{
    return QZLocalizedString("Sticker");
}

std::shared_ptr<QZContentPackDetailIAPViewController>
QZStickerContentPackListIAPViewController::loadDetailViewControllerWithContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    return QZContentPackDetailIAPViewController::makeWithType<QZStickerContentPackDetailIAPViewController>(
        QZContentPackDetailIAPViewControllerTypeList, pack);
}

void QZStickerContentPackListIAPViewController::viewDidAppear(bool animated)
{
    QZContentPackListIAPViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Stickers Store");
}
