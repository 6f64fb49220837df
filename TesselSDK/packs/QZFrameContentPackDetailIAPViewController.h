#pragma once
// The store page of a frame pack: each frame's thumbnail over the default frame thumbnail.

#include "TesselSDK/packs/QZContentPackDetailIAPViewController.h"

class QZFrameContentPackDetailIAPViewController : public QZContentPackDetailIAPViewController {
public:
    using QZContentPackDetailIAPViewController::QZContentPackDetailIAPViewController;

    std::string titleDescriptor() const override;
    std::string countDescriptor() const override;
    std::shared_ptr<QZScrollBarPageItemView> makePageItem(const std::string& reuseIdentifier) const override;
};
