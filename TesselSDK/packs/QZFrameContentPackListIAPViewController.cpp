#include "TesselSDK/packs/QZFrameContentPackListIAPViewController.h"

#include "TesselSDK/packs/QZFrameContentPackDetailIAPViewController.h"

std::shared_ptr<QZContentPackDetailIAPViewController>
QZFrameContentPackListIAPViewController::loadDetailViewControllerWithContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    return QZContentPackDetailIAPViewController::makeWithType<QZFrameContentPackDetailIAPViewController>(
        QZContentPackDetailIAPViewControllerTypeList, pack);
}
