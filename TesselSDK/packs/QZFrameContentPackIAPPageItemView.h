#pragma once
// A column of frame previews: each frame's thumbnail over the default frame thumbnail, which shows
// until (and around) it.

#include "TesselSDK/packs/QZContentPackIAPPageItemView.h"

#include <map>

class QZFrameContentPackIAPPageItemView : public QZContentPackIAPPageItemView {
public:
    using QZContentPackIAPPageItemView::QZContentPackIAPPageItemView;

    void setImageViewsWithImages(const std::vector<std::shared_ptr<UIImage>>& images) override;
    // The thumbnail view inside the placeholder of row i (made once, kept); null before.
    std::shared_ptr<UIImageView> thumbnailViewAtIndex(std::size_t index) const;

private:
    std::map<const UIView*, std::shared_ptr<UIImageView>> thumbnailViews_;
};
