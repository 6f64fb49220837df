#pragma once
// The adjust tool's name box: the selected sub-tool's name in a rounded box over the canvas, shown
// for a moment at each switch and hidden at once when the slider moves.

#include "TesselSDKFoundation/QZView.h"

#include "Foundation/NSTimer.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"

#include <memory>
#include <string>

class QZAdjustToolLabel : public QZView {
public:
    using QZView::QZView;

    // Shown at once, faded out after one second.
    void setTemporarilyVisible();
    // Faded out at once.
    void setInvisible();
    // Alpha 1 or 0, over 0.2 s after `delay` when animated, else at once. An undelayed change
    // drops whatever change was still to come.
    void setVisible(bool visible, bool animated, double delay);

    std::string title() const { return label_ ? label_->text() : std::string(); }
    void setTitle(std::string title);

    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }
    const std::shared_ptr<UILabel>& label() const { return label_; }

protected:
    void prepareView() override;

private:
    void animateAlpha(bool visible);

    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UILabel> label_;
    std::shared_ptr<NSTimer> delayedChange_;
};
