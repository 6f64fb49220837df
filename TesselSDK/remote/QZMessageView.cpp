#include "TesselSDK/remote/QZMessageView.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "Foundation/NSLog.h"
#include "QuartzCore/CALayer.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZViewAnimation.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZContentPackResourceArchive.h"
#include "TesselSDK/remote/QZMessageText.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIScreen.h"

namespace {

constexpr CGFloat kCornerRadius = 11;
constexpr CGFloat kButtonBarHeight = 60;
constexpr CGFloat kButtonInset = 9;
constexpr CGFloat kLabelGap = 5;
constexpr double kAnimationDuration = 0.2;
constexpr CGFloat kEntranceScale = 1.2f;
constexpr const char* kFactory = "+[QZMessageView messageViewWithMessage:]";

// The banner as stored; "@2x" in the name gives scale 2. Null when absent, undecodable or larger
// than a downloaded image may be.
std::shared_ptr<UIImage> loadBanner(const std::string& path)
{
    if (path.empty()) return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const CGFloat scale = path.find("@2x.") != std::string::npos ? 2 : 1;
    return UIImage::imageWithData(bytes, scale, QZContentPackResourceArchive::kMaximumImagePixels);
}

std::shared_ptr<QZMessageView> makeCard(const std::string& layoutStyle)
{
    static const std::map<std::string, std::function<std::shared_ptr<QZMessageView>()>> styles = {
        {"overlay", [] { return UIView::viewWithFrame<QZOverlayMessageView>(CGRectZero); }},
        {"solidBody", [] { return UIView::viewWithFrame<QZSolidBodyMessageView>(CGRectZero); }},
    };
    auto style = styles.find(layoutStyle);
    return style == styles.end() ? nullptr : style->second();
}

std::string textOf(const std::shared_ptr<QZMessageText>& text)
{
    return text ? QZLocalizedString(text->text()) : std::string();
}

}  // namespace

std::shared_ptr<QZMessageView> QZMessageView::messageViewWithMessage(const std::shared_ptr<QZMessage>& message)
{
    std::shared_ptr<QZMessageView> card = message ? makeCard(message->layoutStyle()) : nullptr;
    if (!card) {
        NSLog("%s %@", kFactory, "expected non-nil message class");
        return nullptr;
    }
    if (!card->prepareView(message)) {
        // A zero-width card would leave its dimmer over the editor with no button to take it away.
        NSLog("%s %@", kFactory,
              NSStringWithFormat("the banner of message %@ does not load: no card", message->identifier()));
        return nullptr;
    }
    return card;
}

bool QZMessageView::prepareView(const std::shared_ptr<QZMessage>& message)
{
    auto banner = loadBanner(message->bannerImagePath());
    if (!banner) return false;
    message_ = message;
    identifier_ = message->identifier();
    action_ = message->action();
    setBackgroundColor(UIColor::clearColor());
    const CGSize size = banner->size();

    bannerView_ = UIImageView::imageViewWithImage(banner);
    bannerView_->setFrame(CGRectMake(0, 0, size.width, size.height));
    bannerView_->setContentMode(UIViewContentModeScaleAspectFit);
    auto overlay = UIImageView::imageViewWithImage(QZSDKResources::stretchableImageNamed(
        "message_overlay.png", UIEdgeInsetsMake(kCornerRadius, kCornerRadius, kCornerRadius, kCornerRadius)));
    overlay->setFrame(bannerView_->bounds());
    overlay->setContentMode(UIViewContentModeScaleToFill);
    bannerView_->addSubview(overlay);

    // Taller than the banner by the corner radius, which lies behind the body: only the top
    // corners show rounded.
    bannerContainer_ = UIView::viewWithFrame<UIView>(CGRectMake(0, 0, size.width, size.height + kCornerRadius));
    bannerContainer_->setBackgroundColor(UIColor::clearColor());
    bannerContainer_->layer()->setCornerRadius(kCornerRadius);
    bannerContainer_->setClipsToBounds(true);
    bannerContainer_->addSubview(bannerView_);
    addSubview(bannerContainer_);

    buttonContainerView_ = UIImageView::imageViewWithImage(
        QZSDKResources::stretchableImageNamed("message_bottom.png", UIEdgeInsetsMake(2, 13, 13, 13)));
    buttonContainerView_->setFrame(CGRectMake(0, 0, size.width, kButtonBarHeight));
    buttonContainerView_->setUserInteractionEnabled(true);
    buttonContainerView_->setContentMode(UIViewContentModeScaleToFill);
    addSubview(buttonContainerView_);

    if (message->isSplitButton()) {
        actionButton_ = createActionButtonWithText(textOf(message->actionButtonText()));
        dismissButton_ = createDismissButtonWithActionColor(false, textOf(message->dismissButtonText()));
    } else {
        dismissButton_ = createDismissButtonWithActionColor(true, textOf(message->dismissButtonText()));
    }

    bodyView_ = bodyViewForWidth(size.width);
    if (bodyView_) addSubview(bodyView_);

    if (message->showsNewBanner()) {
        flagView_ = UIImageView::imageViewWithImage(QZSDKResources::imageNamed("new_ribbon.png"));
        flagView_->sizeToFit();
        addSubview(flagView_);
    }
    QZAnalytics::reportEvent(NSStringWithFormat("%@ Presented", identifier_), Value());
    return true;
}

std::shared_ptr<UIButton> QZMessageView::createActionButtonWithText(const std::string& text)
{
    auto button = makeButton(true, text);
    button->addTarget(self<QZMessageView>(), &QZMessageView::actionButtonPressed, UIControlEventTouchUpInside);
    buttonContainerView_->addSubview(button);
    return button;
}

std::shared_ptr<UIButton> QZMessageView::createDismissButtonWithActionColor(bool actionColor, const std::string& text)
{
    auto button = makeButton(actionColor, text);
    button->addTarget(self<QZMessageView>(), &QZMessageView::dismissButtonPressed, UIControlEventTouchUpInside);
    buttonContainerView_->addSubview(button);
    return button;
}

std::shared_ptr<UIButton> QZMessageView::makeButton(bool actionColor, const std::string& text)
{
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    const UIEdgeInsets caps = UIEdgeInsetsMake(10, 10, 10, 10);
    button->setBackgroundImage(
        QZSDKResources::stretchableImageNamed(actionColor ? "about_blue_button.png" : "about_grey_button.png", caps),
        UIControlStateNormal);
    button->setBackgroundImage(QZSDKResources::stretchableImageNamed(
                                   actionColor ? "about_blue_button_active.png" : "about_grey_button_active.png", caps),
                               UIControlStateHighlighted);
    button->titleLabel()->setFont(UIFont::boldSystemFontOfSize(17));
    button->setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
    button->titleLabel()->setShadowColor(UIColor::colorWithWhite(0, 0.4f));
    button->titleLabel()->setShadowOffset(CGSizeMake(0, 1));
    button->setTitle(text, UIControlStateNormal);
    return button;
}

CGSize QZMessageView::sizeThatFits(CGSize) const
{
    const CGSize banner = bannerView_ ? bannerView_->bounds().size : CGSizeMake(0, 0);
    return CGSizeMake(banner.width, banner.height + kButtonBarHeight + bodyHeight());
}

void QZMessageView::layoutSubviews()
{
    UIView::layoutSubviews();
    const CGRect b = bounds();
    buttonContainerView_->setFrame(CGRectMake(0, CGRectGetMaxY(b) - kButtonBarHeight, b.size.width, kButtonBarHeight));
    layoutButtons();
    if (bodyView_) {
        const CGFloat h = bodyView_->frame().size.height;
        bodyView_->setFrame(
            CGRectMake(CGRectGetMinX(b), CGRectGetMinY(buttonContainerView_->frame()) - h, b.size.width, h));
    }
    if (flagView_) {
        CGRect flag = flagView_->frame();
        flag.origin = CGPointMake(-4, 7);
        flagView_->setFrame(flag);
    }
}

void QZMessageView::layoutButtons()
{
    const CGRect r = CGRectInset(buttonContainerView_->bounds(), kButtonInset, kButtonInset);
    if (actionButton_) {
        const CGFloat width = (r.size.width - kButtonInset) / 2;
        dismissButton_->setFrame(CGRectMake(CGRectGetMinX(r), CGRectGetMinY(r), width, r.size.height));
        actionButton_->setFrame(CGRectMake(CGRectGetMaxX(r) - width, CGRectGetMinY(r), width, r.size.height));
    } else if (dismissButton_) {
        dismissButton_->setFrame(r);
    }
}

void QZMessageView::presentInView(const std::shared_ptr<UIView>& view)
{
    if (!view) return;
    auto dimmer = UIView::viewWithFrame<QZView>(view->bounds());
    dimmer->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    dimmer->setBackgroundColor(UIColor::colorWithWhite(0, 0.7f));
    dimmer->setAlpha(0);
    view->addSubview(dimmer);
    dimmerView_ = dimmer;

    sizeToFit();
    setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin |
                        UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin);
    const CGRect b = view->bounds();
    setCenter(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)));
    setAlpha(0);
    setAutoresizesSubviews(true);
    setTransform(CGAffineTransformMakeScale(kEntranceScale, kEntranceScale));
    view->addSubview(self<QZMessageView>());

    // No touches reach the buttons while the card moves (the dimmer still takes them).
    setUserInteractionEnabled(false);
    std::weak_ptr<QZMessageView> weak = self<QZMessageView>();
    QZPerformUIViewAnimation(
        kAnimationDuration,
        [weak] {
            auto card = weak.lock();
            if (!card) return;
            if (card->dimmerView_) card->dimmerView_->setAlpha(1);
            card->setTransform(CGAffineTransformIdentity);
            card->setAlpha(1);
        },
        [weak](bool) {
            if (auto card = weak.lock()) card->setUserInteractionEnabled(true);
        });
}

void QZMessageView::dismiss()
{
    // Held until the exit ends: nothing else may keep the card once it is off the screen.
    auto card = self<QZMessageView>();
    setUserInteractionEnabled(false);
    QZPerformUIViewAnimation(
        kAnimationDuration,
        [card] {
            card->setAlpha(0);
            card->setTransform(CGAffineTransformMakeScale(kEntranceScale, kEntranceScale));
            if (card->dimmerView_) card->dimmerView_->setAlpha(0);
        },
        [card](bool) {
            card->removeFromSuperview();
            if (card->dimmerView_) card->dimmerView_->removeFromSuperview();
        });
}

void QZMessageView::dismissButtonPressed(UIButton*)
{
    QZAnalytics::reportEvent(NSStringWithFormat("%@ Dismiss Pressed", identifier_), Value());
    dismiss();
    if (message_) message_->cleanupAssets();
}

void QZMessageView::actionButtonPressed(UIButton*)
{
    QZAnalytics::reportEvent(NSStringWithFormat("%@ Action Pressed", identifier_), Value());
    performAction(action_);
}

void QZMessageView::performAction(const std::string& action)
{
    // Held for the call: the block may release the screen that holds this card.
    auto keep = self<QZMessageView>();
    const std::string copied = action;
    dismiss();
    if (message_) message_->cleanupAssets();
    ActionBlock block = std::move(actionBlock_);
    actionBlock_ = nullptr;
    if (block) block(copied);
}

CGFloat QZMessageView::addLabelWithText(const std::shared_ptr<QZMessageText>& text, QZMessageLabelType type,
                                        CGFloat offset, CGFloat width, UIView& view)
{
    if (!text) return offset;
    auto label = QZMessageLabel::labelWithType(type, *text, width);
    view.addSubview(label);
    label->setFrame(CGRectOffset(label->frame(), 0, offset));
    return offset + label->frame().size.height + kLabelGap;
}

std::shared_ptr<UIView> QZSolidBodyMessageView::bodyViewForWidth(CGFloat width)
{
    auto container = UIView::viewWithFrame<UIView>(CGRectZero);
    container->setBackgroundColor(UIColor::clearColor());
    auto panel = [] {
        auto view = UIImageView::imageViewWithImage(
            QZSDKResources::stretchableImageNamed("message_body.png", UIEdgeInsetsMake(4, 2, 4, 2)));
        view->setContentMode(UIViewContentModeScaleToFill);
        return view;
    };
    CGFloat top = 0;
    if (auto title = message()->title()) {
        const CGFloat offset = addLabelWithText(title, QZMessageLabelTypeTitle, 10, width, *container);
        auto titlePanel = panel();
        titlePanel->setFrame(CGRectMake(0, 0, width, offset + 5));
        container->insertSubviewAtIndex(titlePanel, 0);
        top = offset + 5;
    }
    // The paragraph is made last, in the room the banner, the buttons and the other runs leave on
    // the screen, so a long one never pushes the buttons off it.
    std::vector<std::shared_ptr<QZMessageLabel>> stack;
    CGFloat others = top + 5;
    auto add = [&](const std::shared_ptr<QZMessageText>& text, QZMessageLabelType type) {
        if (!text) return;
        stack.push_back(QZMessageLabel::labelWithType(type, *text, width));
        others += stack.back()->frame().size.height + kLabelGap;
    };
    add(message()->header(), QZMessageLabelTypeHeader);
    const std::size_t paragraphAt = stack.size();
    for (const auto& bullet : message()->orderedBullets()) add(bullet, QZMessageLabelTypeBullet);
    if (auto paragraph = message()->paragraph()) {
        // No screen (a height of 0) leaves the label to its own limit.
        const CGFloat screen = UIScreen::mainScreen()->bounds().size.height;
        const CGFloat room = screen > 0 ? std::max<CGFloat>(0, screen - bannerView()->bounds().size.height -
                                                                   kButtonBarHeight - others - kLabelGap)
                                        : -1;
        stack.insert(stack.begin() + std::ptrdiff_t(paragraphAt),
                     QZMessageLabel::labelWithType(QZMessageLabelTypeParagraph, *paragraph, width, room));
    }
    CGFloat offset = top + 5;
    for (const auto& label : stack) {
        container->addSubview(label);
        label->setFrame(CGRectOffset(label->frame(), 0, offset));
        offset += label->frame().size.height + kLabelGap;
    }
    container->setFrame(CGRectMake(0, 0, width, offset));
    auto bodyPanel = panel();
    bodyPanel->setFrame(CGRectMake(0, top, width, offset - top));
    container->insertSubviewAtIndex(bodyPanel, 0);
    bodyHeight_ = offset;
    return container;
}

std::shared_ptr<UIView> QZOverlayMessageView::bodyViewForWidth(CGFloat width)
{
    auto container = UIView::viewWithFrame<UIView>(CGRectZero);
    container->setBackgroundColor(UIColor::colorWithWhite(0, 0.7f));
    CGFloat offset = addLabelWithText(message()->title(), QZMessageLabelTypeOverlayTitle, 5, width, *container);
    offset = addLabelWithText(message()->paragraph(), QZMessageLabelTypeParagraph, offset, width, *container);
    container->setFrame(CGRectMake(0, 0, width, offset));
    return container;
}
