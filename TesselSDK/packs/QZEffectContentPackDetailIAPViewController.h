#pragma once
// The store page of an effect pack: each effect rendered on the photo, with its name.

#include "TesselSDK/packs/QZContentPackDetailIAPViewController.h"

class QZEffectContentPackThumnailGenerator;

class QZEffectContentPackDetailIAPViewController : public QZContentPackDetailIAPViewController {
public:
    using QZContentPackDetailIAPViewController::QZContentPackDetailIAPViewController;

    std::string titleDescriptor() const override;
    std::string countDescriptor() const override;

    // The store's shared preview generator, set by whoever makes the page.
    const std::shared_ptr<QZEffectContentPackThumnailGenerator>& thumbnailGenerator() const
    {
        return thumbnailGenerator_;
    }
    void setThumbnailGenerator(std::shared_ptr<QZEffectContentPackThumnailGenerator> generator)
    {
        thumbnailGenerator_ = std::move(generator);
    }

    std::shared_ptr<QZScrollBarPageItemView>
    scrollBarItemViewForContentPackItems(QZScrollBarView* scrollBar,
                                         const std::vector<std::shared_ptr<QZContentPackItem>>& items) override;
    void viewDidAppear(bool animated) override;

private:
    std::shared_ptr<QZEffectContentPackThumnailGenerator> thumbnailGenerator_;
};
