#pragma once
// The store list of frame packs.

#include "TesselSDK/packs/QZContentPackListIAPViewController.h"

class QZFrameContentPackListIAPViewController : public QZContentPackListIAPViewController {
public:
    using QZContentPackListIAPViewController::QZContentPackListIAPViewController;

    std::string typeDescriptor() const override { return "Frame"; }
    std::shared_ptr<QZContentPackDetailIAPViewController>
    loadDetailViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack) override;
};
