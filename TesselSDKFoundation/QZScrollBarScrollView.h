#pragma once
// The paging scroll view of a scroll bar: sliders inside items keep their drags, any other touch
// may turn into a scroll.

#include "UIKit/UIScrollView.h"

class QZScrollBarScrollView : public UIScrollView {
public:
    using UIScrollView::UIScrollView;
    bool touchesShouldCancelInContentView(UIView* view) override;
};
