#pragma once
// A column of effect previews on a store page: each effect rendered on the photo by the thumbnail
// generator, with its name under it.

#include "TesselSDK/packs/QZContentPackIAPPageItemView.h"

#include <memory>
#include <vector>

class QZContentPackItem;
class QZEffectContentPackThumnailGenerator;

class QZEffectContentPackIAPPageItemView : public QZContentPackIAPPageItemView {
public:
    using QZContentPackIAPPageItemView::QZContentPackIAPPageItemView;
    // The label's height: 10 points on a phone, 18 on a tablet.
    bool initWithReuseIdentifier(const std::string& reuseIdentifier) override;

    // One image-label view per item; each image arrives when the generator has rendered it.
    void setImagesWithContentPackItems(const std::vector<std::shared_ptr<QZContentPackItem>>& items,
                                       const std::shared_ptr<QZEffectContentPackThumnailGenerator>& generator);
};
