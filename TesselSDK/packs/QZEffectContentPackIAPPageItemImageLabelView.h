#pragma once
// One effect preview on a store page: the rendered thumbnail over the effect's name.

#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"

#include <string>

class QZEffectContentPackIAPPageItemImageLabelView : public QZView {
public:
    using QZView::QZView;

    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }
    const std::shared_ptr<UILabel>& label() const { return label_; }
    const std::shared_ptr<QZView>& labelBackground() const { return labelBackground_; }
    // Replaces the image view (aspect-fit) and shows the text under it.
    void setImageView(std::shared_ptr<UIImageView> imageView, const std::string& label);

    // The name in the bottom 18 points, the image above it.
    void layoutSubviews() override;

protected:
    void prepareView() override;

private:
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UILabel> label_;
    std::shared_ptr<QZView> labelBackground_;
};
