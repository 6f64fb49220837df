#include "TesselSDK/packs/QZEffectContentPackListIAPViewController.h"

#include "TesselSDK/packs/QZEffectContentPackDetailIAPViewController.h"

#include "TesselSDKFoundation/QZAnalytics.h"

std::shared_ptr<QZContentPackDetailIAPViewController>
QZEffectContentPackListIAPViewController::loadDetailViewControllerWithContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    auto page = QZContentPackDetailIAPViewController::makeWithType<QZEffectContentPackDetailIAPViewController>(
        QZContentPackDetailIAPViewControllerTypeList, pack);
    if (page) page->setThumbnailGenerator(thumbnailGenerator_);
    return page;
}

void QZEffectContentPackListIAPViewController::viewDidAppear(bool animated)
{
    QZContentPackListIAPViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Effects Store");
}
