#pragma once
// The store list of sticker packs.

#include "TesselSDK/packs/QZContentPackListIAPViewController.h"

class QZStickerContentPackListIAPViewController : public QZContentPackListIAPViewController {
public:
    using QZContentPackListIAPViewController::QZContentPackListIAPViewController;

    // The one type word that is translated.
    std::string typeDescriptor() const override;
    std::shared_ptr<QZContentPackDetailIAPViewController>
    loadDetailViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack) override;
    void viewDidAppear(bool animated) override;
};
