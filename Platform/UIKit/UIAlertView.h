#pragma once
// An alert: a dimming view over the key window holding a panel with the title, the wrapped
// message and one titled button per title (the cancel title first). Tapping a button tells the
// delegate alertViewClickedButtonAtIndex, fades the alert out over 0.2 s, then tells it
// alertViewDidDismissWithButtonIndex. One alert is visible at a time: a second show waits until
// the first is dismissed. A shown alert keeps itself alive until it is dismissed.

#include "UIKit/UIButton.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIView.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIAlertView;

class UIAlertViewDelegate {
public:
    virtual ~UIAlertViewDelegate() = default;
    virtual void alertViewClickedButtonAtIndex(UIAlertView*, NSInteger /*buttonIndex*/) {}
    virtual void alertViewDidDismissWithButtonIndex(UIAlertView*, NSInteger /*buttonIndex*/) {}
};

class UIAlertView : public UIView {
public:
    using UIView::UIView;
    ~UIAlertView() override;
    static std::shared_ptr<UIAlertView> make(std::string title, std::string message,
                                             std::weak_ptr<UIAlertViewDelegate> delegate,
                                             std::optional<std::string> cancelButtonTitle,
                                             std::vector<std::string> otherButtonTitles = {});
    bool initWithTitle(std::string title, std::string message, std::weak_ptr<UIAlertViewDelegate> delegate,
                       std::optional<std::string> cancelButtonTitle, std::vector<std::string> otherButtonTitles);

    const std::string& title() const { return title_; }
    const std::string& message() const { return message_; }
    std::weak_ptr<UIAlertViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<UIAlertViewDelegate> delegate) { delegate_ = std::move(delegate); }
    // 0 when a cancel title was given, else -1.
    NSInteger cancelButtonIndex() const { return hasCancel_ ? 0 : -1; }
    NSInteger numberOfButtons() const { return NSInteger(buttonTitles_.size()); }
    // Empty outside the buttons.
    std::string buttonTitleAtIndex(NSInteger index) const;

    // Shows the alert over the key window, or queues it behind the visible one (logged and
    // dropped without a key window).
    void show();
    bool isVisible() const;
    // Fades the alert out (over 0.2 s when animated) and tells the delegate it was dismissed with
    // the index; the delegate is not told of a click.
    void dismissWithClickedButtonIndex(NSInteger index, bool animated);

    // The alert on screen, if any.
    static std::shared_ptr<UIAlertView> visibleAlert();
    // The button showing the title, if any.
    std::shared_ptr<UIButton> buttonWithTitle(const std::string& title) const;

    void layoutSubviews() override;

private:
    void present();
    void buttonPressed(UIButton* button);
    void buildPanel();

    std::string title_;
    std::string message_;
    std::weak_ptr<UIAlertViewDelegate> delegate_;
    std::vector<std::string> buttonTitles_;
    bool hasCancel_ = false;
    bool dismissing_ = false;
    std::shared_ptr<UIView> panel_;
    std::shared_ptr<UILabel> titleLabel_;
    std::shared_ptr<UILabel> messageLabel_;
    std::vector<std::shared_ptr<UIButton>> buttons_;
};
