#pragma once
// The store page's view: a light grey panel with a hairline and a soft shade under its 88-point
// header, a shade along its bottom edge, over the same white lip as the store list's.

#include "TesselSDKFoundation/QZView.h"

class QZDetailIAPContainerView : public QZView {
public:
    using QZView::QZView;

    static constexpr CGFloat kHeaderHeight = 88;
    static constexpr CGFloat kLipHeight = 8;

    void drawRect(CGRect rect) override;

protected:
    void prepareView() override;
};
