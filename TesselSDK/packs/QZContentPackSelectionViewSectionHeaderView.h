#pragma once
// The divider before a pack's section in the strip, with the pack's name. It lies in the turned
// table like the rows, so its own vertical axis runs along the strip and the name reads upwards.

#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"

class QZContentPackSelectionViewSectionHeaderView : public QZView {
public:
    using QZView::QZView;

    const std::shared_ptr<UIImageView>& headerImageView() const { return headerImageView_; }
    const std::shared_ptr<UILabel>& label() const { return label_; }

    // The name is centred in the bounds less the padding after it, on whole window points.
    void layoutSubviews() override;

protected:
    void prepareView() override;

private:
    std::shared_ptr<UIImageView> headerImageView_;
    std::shared_ptr<UILabel> label_;
};
