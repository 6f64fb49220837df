#include "TesselSDK/shell/QZResetOverlayView.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "UIKit/UIImageView.h"

std::shared_ptr<QZResetOverlayView>
QZResetOverlayView::overlayViewWithTitle(const std::string& title, std::weak_ptr<QZResetOverlayViewDelegate> delegate)
{
    auto overlay = UIView::viewWithFrame<QZResetOverlayView>(CGRectZero);
    overlay->button_ = overlay->makeButton(title, kQZResetButtonOneIndex);
    overlay->delegate_ = std::move(delegate);
    return overlay;
}

std::shared_ptr<QZResetOverlayView>
QZResetOverlayView::overlayViewWithFirstButtonTitle(const std::string& firstTitle, const std::string& secondTitle,
                                                    std::weak_ptr<QZResetOverlayViewDelegate> delegate)
{
    auto overlay = overlayViewWithTitle(firstTitle, std::move(delegate));
    overlay->button2_ = overlay->makeButton(secondTitle, kQZResetButtonTwoIndex);
    return overlay;
}

std::shared_ptr<QZNavigationItemButton> QZResetOverlayView::makeButton(const std::string& title, NSInteger tag)
{
    auto button = QZNavigationItemButton::buttonWithTitle(
        title, QZNavigationItemButtonStyleCancel, self<QZResetOverlayView>(), &QZResetOverlayView::buttonPressed);
    button->setTag(tag);
    return button;
}

void QZResetOverlayView::buttonPressed(UIControl* sender)
{
    if (!sender) return;
    if (auto delegate = delegate_.lock()) delegate->resetOverlayPressedButtonAtIndex(this, sender->tag());
}

CGRect QZResetOverlayView::downBounds() const
{
    return QZCGRectBoundsForInnerRectAndInsets(button_->bounds(), kQZResetButtonInsetBottom);
}

CGRect QZResetOverlayView::leftBounds() const
{
    return QZCGRectBoundsForInnerRectAndInsets(button_->bounds(), kQZResetButtonInsetLeft);
}

CGRect QZResetOverlayView::rightBounds() const
{
    return QZCGRectBoundsForInnerRectAndInsets(button_->bounds(), kQZResetButtonInsetRight);
}

CGRect QZResetOverlayView::twoButtonsViewBounds() const
{
    CGSize first = button_->bounds().size;
    CGFloat second = button2_ ? button2_->bounds().size.width : 0;
    return CGRectMake(0, 0, first.width + kQZResetTwoButtonsGap + second, first.height);
}

CGRect QZResetOverlayView::twoButtonsUpBounds() const
{
    return QZCGRectBoundsForInnerRectAndInsets(twoButtonsViewBounds(), kQZResetButtonInsetRight);
}

void QZResetOverlayView::addPiece(const std::string& imageName, UIEdgeInsets caps, CGRect frame)
{
    auto piece = UIView::viewWithFrame<UIImageView>(frame);
    piece->setImage(QZSDKResources::stretchableImageNamed(imageName, caps));
    addSubview(piece);
}

void QZResetOverlayView::layoutForPosition(QZResetOverlayViewPosition position)
{
    CGRect size = CGRectZero;
    switch (position) {
    case QZResetOverlayViewPositionLeft: size = leftBounds(); break;
    case QZResetOverlayViewPositionRight: size = rightBounds(); break;
    case QZResetOverlayViewPositionDown: size = downBounds(); break;
    case QZResetOverlayViewPositionUpTwoButtons: size = twoButtonsUpBounds(); break;
    }
    setBounds(size);
    const CGFloat W = size.size.width, H = size.size.height;

    auto background = UIView::viewWithFrame<UIImageView>(CGRectMake(0, 0, W, H));
    addSubview(background);
    CGFloat buttonX = 0;
    switch (position) {
    case QZResetOverlayViewPositionLeft:
        background->setImage(
            QZSDKResources::stretchableImageNamed("restoreBackgroundRight.png", UIEdgeInsetsMake(20, 14, 20, 20)));
        buttonX = 12;
        break;
    case QZResetOverlayViewPositionRight:
        background->setImage(
            QZSDKResources::stretchableImageNamed("restoreBackgroundLeft.png", UIEdgeInsetsMake(20, 20, 20, 14)));
        buttonX = 20;
        break;
    case QZResetOverlayViewPositionDown: {
        auto centre = QZSDKResources::imageNamed("restoreBackgroundBottomCenter.png");
        CGSize w = centre ? centre->size() : CGSizeZero;
        auto centreView = UIImageView::imageViewWithImage(centre);
        centreView->setFrame(QZCGRectCenterInRect(QZCGRectWithSize(w), bounds()));
        addSubview(centreView);
        CGFloat side = (W - w.width) / 2;
        addPiece("restoreBackgroundBottomLeft.png", UIEdgeInsetsMake(0, 15, 0, 0), CGRectMake(0, 0, side, H));
        addPiece("restoreBackgroundBottomRight.png", UIEdgeInsetsMake(0, 0, 0, 15), CGRectMake(W - side, 0, side, H));
        buttonX = 15;
        break;
    }
    case QZResetOverlayViewPositionUpTwoButtons: {
        auto arrow = QZSDKResources::imageNamed("restoreBackgroundTopCenter.png");
        CGSize w = arrow ? arrow->size() : CGSizeZero;
        auto arrowView = UIImageView::imageViewWithImage(arrow);
        arrowView->setFrame(CGRectMake(kQZResetPositionUpArrowPosition, 0, w.width, w.height));
        addSubview(arrowView);
        addPiece("restoreBackgroundBottomLeft.png", UIEdgeInsetsMake(0, 15, 0, 0),
                 CGRectMake(0, 0, kQZResetPositionUpArrowPosition, H));
        CGFloat right = kQZResetPositionUpArrowPosition + w.width;
        addPiece("restoreBackgroundBottomRight.png", UIEdgeInsetsMake(0, 0, 0, 15), CGRectMake(right, 0, W - right, H));
        CGRect inner = twoButtonsViewBounds();
        // At 15 points, where the other positions put their button, though the size allowed 20:
        // 17 points remain right of the second button.
        auto container = UIView::viewWithFrame(CGRectMake(15, 20, inner.size.width, inner.size.height));
        CGSize first = button_->bounds().size;
        button_->setFrame(QZCGRectWithSize(first));
        container->addSubview(button_);
        if (button2_) {
            button2_->setFrame(CGRectMake(first.width + kQZResetTwoButtonsGap, 0, button2_->bounds().size.width,
                                          button2_->bounds().size.height));
            container->addSubview(button2_);
        }
        addSubview(container);
        return;
    }
    default: return;
    }
    CGSize first = button_->bounds().size;
    button_->setFrame(CGRectMake(buttonX, 20, first.width, first.height));
    addSubview(button_);
}
