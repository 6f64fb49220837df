#pragma once
// The store list of effect packs; its pages render the effects with the store's shared preview
// generator.

#include "TesselSDK/packs/QZContentPackListIAPViewController.h"

class QZEffectContentPackThumnailGenerator;

class QZEffectContentPackListIAPViewController : public QZContentPackListIAPViewController {
public:
    using QZContentPackListIAPViewController::QZContentPackListIAPViewController;

    std::string typeDescriptor() const override { return "Effect"; }
    std::shared_ptr<QZContentPackDetailIAPViewController>
    loadDetailViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack) override;
    void viewDidAppear(bool animated) override;

    // Set by the effects tool: the generator its store pages share.
    const std::shared_ptr<QZEffectContentPackThumnailGenerator>& thumbnailGenerator() const
    {
        return thumbnailGenerator_;
    }
    void setThumbnailGenerator(std::shared_ptr<QZEffectContentPackThumnailGenerator> generator)
    {
        thumbnailGenerator_ = std::move(generator);
    }

private:
    std::shared_ptr<QZEffectContentPackThumnailGenerator> thumbnailGenerator_;
};
