#pragma once
// The store page of a sticker pack: three rows of five thumbnails a page.

#include "TesselSDK/packs/QZContentPackDetailIAPViewController.h"

class QZStickerContentPackDetailIAPViewController : public QZContentPackDetailIAPViewController {
public:
    using QZContentPackDetailIAPViewController::QZContentPackDetailIAPViewController;

    std::string titleDescriptor() const override;
    std::string countDescriptor() const override;
    NSInteger numberOfRows() const override { return 3; }
    NSInteger numberOfColumnsPerPage() const override { return 5; }
    void viewDidAppear(bool animated) override;
};
