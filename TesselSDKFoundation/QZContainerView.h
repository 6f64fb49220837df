#pragma once
// A pass-through holder: its interactive subviews take touches, the container itself never does.

#include "TesselSDKFoundation/QZView.h"

class QZContainerView : public QZView {
public:
    using QZView::QZView;
    std::shared_ptr<UIView> hitTest(CGPoint point, const UIEvent* event) override;
};
