#pragma once
// The view of an in-app message over the editor. Acting on it hands the message's action string to
// the action block and takes the view away.

#include "TesselSDK/foundation/QZView.h"
#include "TesselSDK/remote/QZMessage.h"

#include <functional>
#include <memory>
#include <string>

class QZMessageView : public QZView {
public:
    using ActionBlock = std::function<void(const std::string& action)>;
    using QZView::QZView;

    static std::shared_ptr<QZMessageView> messageViewWithMessage(const std::shared_ptr<QZMessage>& message);

    const std::shared_ptr<QZMessage>& message() const { return message_; }
    const ActionBlock& actionBlock() const { return actionBlock_; }
    void setActionBlock(ActionBlock block) { actionBlock_ = std::move(block); }
    // Covers the view and stays until acted on.
    void presentInView(const std::shared_ptr<UIView>& view);
    // The user acted on the message: the block hears the action, the view goes.
    void performAction(const std::string& action);

private:
    std::shared_ptr<QZMessage> message_;
    ActionBlock actionBlock_;
};
