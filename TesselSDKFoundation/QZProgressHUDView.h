#pragma once
// A heads-up panel with a large white activity indicator spinning at its centre for its whole life.

#include "TesselSDKFoundation/QZHUDView.h"

class QZProgressHUDView : public QZHUDView {
public:
    using QZHUDView::QZHUDView;

protected:
    void prepareView() override;
};
