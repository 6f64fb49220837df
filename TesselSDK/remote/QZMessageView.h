#pragma once
// The card of an in-app message over the editor: the banner on top, a body of styled text, and a
// bar with one or two buttons, over a dimmer that takes every touch. The body comes from the
// subclass the message's layout style names ("solidBody": panels below the banner; "overlay": a
// translucent box over its lower part). A card is made only for a known style and a banner that
// loads within the downloaded-image limit; otherwise `messageViewWithMessage` answers nil (logged).
// Either button dismisses the card (0.2 s) and cleans the message's assets up; the action button
// also hands the message's action string to the action block, once.

#include <functional>
#include <memory>
#include <string>

#include "TesselSDKFoundation/QZView.h"
#include "TesselSDK/remote/QZMessage.h"
#include "TesselSDK/remote/QZMessageLabel.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIImageView.h"

class QZMessageView : public UIView {
public:
    using ActionBlock = std::function<void(const std::string& action)>;
    using UIView::UIView;

    static std::shared_ptr<QZMessageView> messageViewWithMessage(const std::shared_ptr<QZMessage>& message);

    const std::shared_ptr<QZMessage>& message() const { return message_; }
    const ActionBlock& actionBlock() const { return actionBlock_; }
    void setActionBlock(ActionBlock block) { actionBlock_ = std::move(block); }
    const std::shared_ptr<UIImageView>& bannerView() const { return bannerView_; }
    const std::shared_ptr<UIImageView>& flagView() const { return flagView_; }
    const std::shared_ptr<UIImageView>& buttonContainerView() const { return buttonContainerView_; }
    const std::shared_ptr<UIButton>& dismissButton() const { return dismissButton_; }
    const std::shared_ptr<UIButton>& actionButton() const { return actionButton_; }
    const std::shared_ptr<UIView>& dimmerView() const { return dimmerView_; }
    const std::shared_ptr<UIView>& bodyView() const { return bodyView_; }

    // Dims `view` and brings the card in over 0.2 s, centred.
    void presentInView(const std::shared_ptr<UIView>& view);
    void dismiss();
    void dismissButtonPressed(UIButton* sender);
    void actionButtonPressed(UIButton* sender);
    // What the action button does, with the given action string: dismiss, clean up, the block once.
    void performAction(const std::string& action);

    // The subclass's body.
    virtual std::shared_ptr<UIView> bodyViewForWidth(CGFloat width) = 0;
    virtual CGFloat bodyHeight() const = 0;

    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;
    void layoutButtons();

protected:
    // Adds the text's label at `offset` in `view`; answers the next offset (unchanged without text).
    CGFloat addLabelWithText(const std::shared_ptr<QZMessageText>& text, QZMessageLabelType type, CGFloat offset,
                             CGFloat width, UIView& view);

private:
    // False when the banner does not load.
    bool prepareView(const std::shared_ptr<QZMessage>& message);
    std::shared_ptr<UIButton> createActionButtonWithText(const std::string& text);
    std::shared_ptr<UIButton> createDismissButtonWithActionColor(bool actionColor, const std::string& text);
    static std::shared_ptr<UIButton> makeButton(bool actionColor, const std::string& text);

    std::shared_ptr<QZMessage> message_;
    std::string identifier_;
    std::string action_;
    ActionBlock actionBlock_;
    std::shared_ptr<UIView> bannerContainer_;
    std::shared_ptr<UIImageView> bannerView_;
    std::shared_ptr<UIImageView> flagView_;
    std::shared_ptr<UIImageView> buttonContainerView_;
    std::shared_ptr<UIButton> dismissButton_;
    std::shared_ptr<UIButton> actionButton_;
    std::shared_ptr<UIView> dimmerView_;
    std::shared_ptr<UIView> bodyView_;
};

class QZSolidBodyMessageView : public QZMessageView {
public:
    using QZMessageView::QZMessageView;
    std::shared_ptr<UIView> bodyViewForWidth(CGFloat width) override;
    CGFloat bodyHeight() const override { return bodyHeight_; }

private:
    CGFloat bodyHeight_ = 0;
};

class QZOverlayMessageView : public QZMessageView {
public:
    using QZMessageView::QZMessageView;
    std::shared_ptr<UIView> bodyViewForWidth(CGFloat width) override;
    CGFloat bodyHeight() const override { return 0; }
};
