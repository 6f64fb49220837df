#pragma once
// What follows a section in the strip when the next one has a divider: the shade the section
// casts on that divider.

#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIImageView.h"

class QZContentPackSelectionViewSectionFooterView : public QZView {
public:
    using QZView::QZView;

    const std::shared_ptr<UIImageView>& footerImageView() const { return footerImageView_; }

protected:
    void prepareView() override;

private:
    std::shared_ptr<UIImageView> footerImageView_;
};
