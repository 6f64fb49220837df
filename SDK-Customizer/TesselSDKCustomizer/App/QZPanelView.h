#pragma once
// A panel's view as the window sees it: something that fades. What a panel shows inside it is the
// panel's own interface.

namespace customizer {

class QZPanelView {
public:
    virtual ~QZPanelView() = default;
    virtual void setAlpha(double alpha) = 0;
};

}  // namespace customizer
