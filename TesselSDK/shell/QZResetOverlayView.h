#pragma once
// A small speech-bubble callout holding one or two bar buttons, its arrow on the side its
// position names (the cancel confirmation points up at Cancel). The owner lays it out for a
// position once, then places it; the delegate hears which button was pressed.

#include "TesselSDKFoundation/QZView.h"
#include "TesselSDK/shell/QZNavigationItemButton.h"
#include "UIKit/UIGeometry.h"

#include <memory>
#include <string>

class QZResetOverlayView;

enum QZResetOverlayViewPosition : NSInteger {
    QZResetOverlayViewPositionLeft = 0,
    QZResetOverlayViewPositionRight = 1,
    QZResetOverlayViewPositionDown = 2,
    QZResetOverlayViewPositionUpTwoButtons = 3,
};

// Room around the buttons inside the bubble (top, left, bottom, right), the arrow's side included.
inline constexpr UIEdgeInsets kQZResetButtonInsetBottom = {20, 15, 20, 15};
inline constexpr UIEdgeInsets kQZResetButtonInsetLeft = {20, 12, 20, 20};
inline constexpr UIEdgeInsets kQZResetButtonInsetRight = {20, 20, 20, 12};
inline constexpr UIEdgeInsets kQZResetButtonInsetTop = {20, 15, 20, 15};
inline constexpr CGFloat kQZResetTwoButtonsGap = 5.0f;
inline constexpr CGFloat kQZResetPositionUpArrowPosition = 15.0f;
inline constexpr NSInteger kQZResetButtonOneIndex = 0;
inline constexpr NSInteger kQZResetButtonTwoIndex = 1;

class QZResetOverlayViewDelegate {
public:
    virtual ~QZResetOverlayViewDelegate() = default;
    // Optional: the button's tag (kQZResetButtonOneIndex or kQZResetButtonTwoIndex).
    virtual void resetOverlayPressedButtonAtIndex(QZResetOverlayView*, NSInteger /*index*/) {}
};

class QZResetOverlayView : public QZView {
public:
    using QZView::QZView;

    // Of zero frame, with one Cancel-style button (tag 0) until laid out.
    static std::shared_ptr<QZResetOverlayView> overlayViewWithTitle(const std::string& title,
                                                                    std::weak_ptr<QZResetOverlayViewDelegate> delegate);
    // The same with a second button (tag 1).
    static std::shared_ptr<QZResetOverlayView>
    overlayViewWithFirstButtonTitle(const std::string& firstTitle, const std::string& secondTitle,
                                    std::weak_ptr<QZResetOverlayViewDelegate> delegate);

    std::weak_ptr<QZResetOverlayViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZResetOverlayViewDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::shared_ptr<QZNavigationItemButton>& button() const { return button_; }
    // Null for a one-button overlay.
    const std::shared_ptr<QZNavigationItemButton>& button2() const { return button2_; }

    // Sizes the overlay for the position and builds its bubble around the buttons; an unknown
    // position gives a zero size. Call once.
    void layoutForPosition(QZResetOverlayViewPosition position);
    void buttonPressed(UIControl* sender);

    // Sizes at the origin: the first button (or both with the gap) grown by the position's insets.
    CGRect downBounds() const;
    CGRect leftBounds() const;
    CGRect rightBounds() const;
    CGRect twoButtonsViewBounds() const;
    CGRect twoButtonsUpBounds() const;

private:
    std::shared_ptr<QZNavigationItemButton> makeButton(const std::string& title, NSInteger tag);
    void addPiece(const std::string& imageName, UIEdgeInsets caps, CGRect frame);

    std::weak_ptr<QZResetOverlayViewDelegate> delegate_;
    std::shared_ptr<QZNavigationItemButton> button_;
    std::shared_ptr<QZNavigationItemButton> button2_;
};
