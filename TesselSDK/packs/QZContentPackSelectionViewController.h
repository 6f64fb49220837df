#pragma once
// The base of the pack tools (effects, frames, stickers): a tool screen that the root screen may
// ask, before presenting it, to open one pack's detail page when it appears. The pack screens
// themselves come with the pack tools.

#include "TesselSDK/shell/QZToolViewController.h"

#include <memory>

class QZContentPack;

class QZContentPackSelectionViewController : public QZToolViewController {
public:
    using QZToolViewController::QZToolViewController;

    // Keeps the pack whose detail page opens on appearance.
    void presentDetaiIAPViewControllerOnAppearanceWithContentPack(std::shared_ptr<QZContentPack> pack)
    {
        contentPackToPresentOnAppearance_ = std::move(pack);
    }
    const std::shared_ptr<QZContentPack>& contentPackToPresentOnAppearance() const
    {
        return contentPackToPresentOnAppearance_;
    }

private:
    std::shared_ptr<QZContentPack> contentPackToPresentOnAppearance_;
};
