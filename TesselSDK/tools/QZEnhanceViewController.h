#pragma once
// The one-tap enhance tool: three modes in a segmented control. Choosing one renders its module on
// the preview; touching it again turns it off and shows the photo as it was; Apply hands over the
// mode the preview shows, or nothing. Main thread only.

#include "TesselSDKFoundation/QZSegmentedControl.h"
#include "TesselSDK/shell/QZToolViewController.h"

#include "UIKit/UILabel.h"

#include <memory>
#include <string>
#include <vector>

class QZEnhanceViewController : public QZToolViewController, public QZSegmentedControlDelegate {
public:
    using QZToolViewController::QZToolViewController;

    using QZToolViewController::initWithGLInstance;
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                            bool quickLaunch) override;

    std::string customizationKeyPath() const override;
    bool needsLayoutOnFailure() const override { return false; }
    bool supportsViewOriginalWithTouch() const override { return true; }

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void segmentedControlDidSelectItemAtIndex(QZSegmentedControl* control, NSInteger index) override;
    void segmentedControlDidDeselectItemAtIndex(QZSegmentedControl* control, NSInteger index) override;

    // The chosen mode's module; nil when none is chosen.
    std::shared_ptr<QZModule> outputModule() override { return activeModule_; }
    // {"filter": the chosen mode's key} when one is chosen.
    void reportApplied() override;

    const std::shared_ptr<QZModule>& activeModule() const { return activeModule_; }
    const std::vector<std::shared_ptr<QZModule>>& modules() const { return modules_; }
    const std::vector<std::string>& moduleKeyNames() const { return moduleKeyNames_; }
    const std::shared_ptr<QZSegmentedControl>& segmentedControl() const { return segmentedControl_; }
    // NSNotFound when none is chosen.
    NSUInteger selectedIndex() const { return selectedIndex_; }
    const std::vector<std::shared_ptr<UILabel>>& nameLabels() const { return nameLabels_; }

private:
    void cancelServers();

    std::shared_ptr<QZModule> activeModule_;
    std::vector<std::shared_ptr<QZModule>> modules_;
    std::vector<std::string> moduleKeyNames_;
    std::shared_ptr<QZSegmentedControl> segmentedControl_;
    NSUInteger selectedIndex_ = NSNotFound;
    std::vector<std::shared_ptr<UILabel>> nameLabels_;
};
