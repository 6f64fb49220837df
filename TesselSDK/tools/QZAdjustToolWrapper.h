#pragma once
// One sub-tool of the adjust tool: its processor key, its button and the slider value it keeps
// while another sub-tool is shown.

#include "TesselSDK/tools/QZAdjustButton.h"

#include "Foundation/NSObject.h"

#include <memory>
#include <string>

class QZAdjustToolWrapper : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZAdjustToolWrapper> make(std::string processorKey, std::shared_ptr<QZAdjustButton> button)
    {
        auto wrapper = NSObject::create<QZAdjustToolWrapper>();
        wrapper->processorKey_ = std::move(processorKey);
        wrapper->button_ = std::move(button);
        return wrapper;
    }

    bool isSelected() const { return selected_; }
    // Also selects the button.
    void setSelected(bool selected);
    float value() const { return value_; }
    void setValue(float value) { value_ = value; }
    const std::string& processorKey() const { return processorKey_; }
    const std::shared_ptr<QZAdjustButton>& button() const { return button_; }

private:
    bool selected_ = false;
    float value_ = 0;
    std::string processorKey_;
    std::shared_ptr<QZAdjustButton> button_;
};
