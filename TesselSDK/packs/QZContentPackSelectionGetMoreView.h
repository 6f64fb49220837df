#pragma once
// A small Get More control for a strip's end: a square button turned with the strip, and the
// turned words "Get More" beside it. A press sends the action to the target with this view.

#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIButton.h"
#include "UIKit/UILabel.h"

#include <functional>
#include <memory>

class QZContentPackSelectionGetMoreView : public QZView {
public:
    using QZView::QZView;

    bool isHeader() const { return header_; }
    // The words sit 1.5 points up in a header, 1.5 down otherwise.
    void setHeader(bool header);
    const std::shared_ptr<UIButton>& button() const { return button_; }
    const std::shared_ptr<UILabel>& label() const { return label_; }

    // Kept weakly; replaces the last one.
    template <class T>
    void addTarget(const std::shared_ptr<T>& target, void (T::*action)(QZContentPackSelectionGetMoreView*))
    {
        target_ = target;
        action_ = [action](NSObject& object, QZContentPackSelectionGetMoreView* sender) {
            (static_cast<T&>(object).*action)(sender);
        };
    }
    std::shared_ptr<NSObject> target() const { return target_.lock(); }
    void getMorePressed();

    void layoutSubviews() override;

protected:
    void prepareView() override;

private:
    bool header_ = false;
    std::shared_ptr<UIButton> button_;
    std::shared_ptr<UILabel> label_;
    std::weak_ptr<NSObject> target_;
    std::function<void(NSObject&, QZContentPackSelectionGetMoreView*)> action_;
};
