#pragma once
// A row of icon buttons drawn as one segmented bar. Single selection, shown on touch-down and
// committed on release; touching the selected button again deselects it (when allowed). In
// momentary mode a button lights up only while pressed. Main thread only.

#include "TesselSDKFoundation/QZSegmentButton.h"
#include "UIKit/UIView.h"

#include <string>
#include <vector>

class QZSegmentedControl;

class QZSegmentedControlDelegate {
public:
    virtual ~QZSegmentedControlDelegate() = default;
    // A button became selected (on touch-down).
    virtual void segmentedControlDidSelectItemAtIndex(QZSegmentedControl*, NSInteger) {}
    // The selected button was touched again and released, with deselection allowed.
    virtual void segmentedControlDidDeselectItemAtIndex(QZSegmentedControl*, NSInteger) {}
};

class QZSegmentedControl : public UIView {
public:
    using UIView::UIView;

    static std::shared_ptr<QZSegmentedControl> make(CGRect frame, std::vector<std::string> defaultNames,
                                                    std::vector<std::string> highlightedNames)
    {
        return NSObject::create<QZSegmentedControl>([&](QZSegmentedControl& control) {
            return control.initWithFrame(frame, std::move(defaultNames), std::move(highlightedNames));
        });
    }
    // One button per normal icon name; unequal counts are logged and tolerated.
    bool initWithFrame(CGRect frame, std::vector<std::string> defaultNames, std::vector<std::string> highlightedNames);
    using UIView::initWithFrame;

    void layoutSubviews() override;

    bool isMomentary() const { return momentary_; }
    // A momentary button also lets go when the finger leaves it.
    void setMomentary(bool momentary);
    bool allowsDeselection() const { return allowsDeselection_; }
    void setAllowsDeselection(bool allows) { allowsDeselection_ = allows; }
    std::weak_ptr<QZSegmentedControlDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZSegmentedControlDelegate> delegate) { delegate_ = std::move(delegate); }
    // NSNotFound when none. The setter only stores.
    NSInteger selectedIndex() const { return selectedIndex_; }
    void setSelectedIndex(NSInteger index) { selectedIndex_ = index; }
    const std::vector<std::shared_ptr<QZSegmentButton>>& buttons() const { return buttons_; }
    const std::vector<std::string>& defaultNames() const { return defaultNames_; }
    const std::vector<std::string>& highlightedNames() const { return highlightedNames_; }

    // The touch-down handling of that button (selectedIndex unchanged); nothing out of range.
    void pressButtonAtIndex(NSInteger index);
    // Unselects every button; tells nobody and keeps selectedIndex.
    void deselectAll();

    // Actions of the buttons.
    void buttonPressed(QZSegmentButton* button);
    void buttonUnpressed(QZSegmentButton* button);

protected:
    virtual void prepareView();

private:
    NSInteger indexOfButton(const QZSegmentButton* button) const;

    bool momentary_ = false;
    bool allowsDeselection_ = false;
    std::weak_ptr<QZSegmentedControlDelegate> delegate_;
    NSInteger selectedIndex_ = NSNotFound;
    std::vector<std::shared_ptr<QZSegmentButton>> buttons_;
    std::vector<std::string> defaultNames_;
    std::vector<std::string> highlightedNames_;
};
