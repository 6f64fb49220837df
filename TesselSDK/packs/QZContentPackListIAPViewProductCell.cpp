#include "TesselSDK/packs/QZContentPackListIAPViewProductCell.h"

#include "TesselSDK/packs/QZContentPackDisplayState.h"
#include "TesselSDK/packs/QZContentPackStoreStyle.h"
#include "TesselSDK/remote/QZContentPack.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "Foundation/NSString.h"
#include "UIKit/UIDevice.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr CGFloat kIconSide = 55;

bool isPhone()
{
    return UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPhone;
}

// "Effects", "Frames" or "Stickers" by the pack's class; none for another.
std::string countWord(QZContentPack& pack)
{
    if (dynamic_cast<QZEffectContentPack*>(&pack)) return "Effects";
    if (dynamic_cast<QZFrameContentPack*>(&pack)) return "Frames";
    if (dynamic_cast<QZStickerContentPack*>(&pack)) return "Stickers";
    return "";
}
}  // namespace

bool QZContentPackListIAPViewProductCell::initWithStyle(UITableViewCellStyle, const std::string& reuseIdentifier)
{
    if (!UITableViewCell::initWithStyle(UITableViewCellStyleSubtitle, reuseIdentifier)) return false;
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    setBackgroundView(UIView::viewWithFrame());
    showBackgroundColor();

    installButton_ = QZMakeStoreInstallButton();
    installButton_->addTarget(self<QZContentPackListIAPViewProductCell>(),
                              &QZContentPackListIAPViewProductCell::installButtonPressed, UIControlEventTouchUpInside);
    contentView()->addSubview(installButton_);
    installedLabel_ = UIView::viewWithFrame<UILabel>();
    installedLabel_->setText(QZLocalizedString("Installed"));
    installedLabel_->setTextAlignment(NSTextAlignmentCenter);
    installedLabel_->setFont(UIFont::boldSystemFontOfSize(12));
    QZStyleStoreLabel(*installedLabel_);
    contentView()->addSubview(installedLabel_);
    downloadProgressView_ = UIProgressView::progressViewWithStyle(UIProgressViewStyleDefault);
    downloadProgressView_->setAlpha(0);
    contentView()->addSubview(downloadProgressView_);
    if (!isPhone()) {
        countLabel_ = UIView::viewWithFrame<UILabel>();
        countLabel_->setFont(UIFont::systemFontOfSize(12));
        countLabel_->setNumberOfLines(1);
        QZStyleStoreLabel(*countLabel_);
        contentView()->addSubview(countLabel_);
    }
    textLabel()->setFont(UIFont::boldSystemFontOfSize(18));
    QZStyleStoreLabel(*textLabel());
    detailTextLabel()->setFont(UIFont::systemFontOfSize(12));
    detailTextLabel()->setNumberOfLines(isPhone() ? 1 : 0);
    QZStyleStoreLabel(*detailTextLabel());
    auto arrow = UIView::viewWithFrame<UIImageView>();
    arrow->setImage(QZSDKResources::imageNamed("list_arrow.png"));
    arrow->sizeToFit();
    setAccessoryView(arrow);
    imageView()->setContentMode(UIViewContentModeScaleAspectFit);
    return true;
}

void QZContentPackListIAPViewProductCell::setCellColor(NSInteger color)
{
    cellColor_ = color;
    showBackgroundColor();
}

void QZContentPackListIAPViewProductCell::showBackgroundColor()
{
    if (!backgroundView()) return;
    if (isHighlighted())
        backgroundView()->setBackgroundColor(UIColor::colorWithRed(0, 183 / 255.0f, 254 / 255.0f, 1));
    else
        backgroundView()->setBackgroundColor(cellColor_ == 0 ? QZStoreBackgroundColor()
                                                             : UIColor::colorWithWhite(231 / 255.0f, 1));
}

void QZContentPackListIAPViewProductCell::setHighlighted(bool highlighted, bool animated)
{
    UITableViewCell::setHighlighted(highlighted, animated);
    showBackgroundColor();
}

void QZContentPackListIAPViewProductCell::setContentPack(std::shared_ptr<QZContentPack> pack)
{
    contentPack_ = std::move(pack);
    configureCellForContentPack();
}

void QZContentPackListIAPViewProductCell::configureCellForContentPack()
{
    if (!contentPack_) return;
    imageView()->setImage(contentPack_->packPreviewImage());
    textLabel()->setText(contentPack_->localizedDisplayName());
    const std::string word = countWord(*contentPack_);
    const std::string count =
        word.empty() ? std::string()
                     : NSStringWithFormat("(%d %@)", int(contentPack_->orderedItems().size()), QZLocalizedString(word));
    if (isPhone()) {
        detailTextLabel()->setText(count);
    } else {
        countLabel_->setText(count);
        detailTextLabel()->setText(contentPack_->valueForKey("displayDescription").stringValue());
    }
    configureForPackState();
    setNeedsLayout();
}

void QZContentPackListIAPViewProductCell::configureForPackState()
{
    if (!contentPack_) return;
    switch (QZContentPackDisplayStateOfPack(*contentPack_)) {
    case QZContentPackDisplayState::Installed:
        installedLabel_->setText(QZLocalizedString("Installed"));
        installedLabel_->setHidden(false);
        installButton_->setHidden(true);
        downloadProgressView_->setAlpha(0);
        break;
    case QZContentPackDisplayState::NotDownloaded:
        installButton_->setTitle(QZLocalizedString("Download"), UIControlStateNormal);
        installButton_->setEnabled(true);
        installButton_->setHidden(false);
        installedLabel_->setHidden(true);
        downloadProgressView_->setAlpha(0);
        break;
    case QZContentPackDisplayState::Installing:
        installedLabel_->setText(QZLocalizedString("Installing"));
        installedLabel_->setHidden(false);
        installButton_->setHidden(true);
        downloadProgressView_->setAlpha(1);
        downloadProgressView_->setProgress(contentPack_->highResolutionResourceProvider()->downloadProgress(), false);
        break;
    }
}

void QZContentPackListIAPViewProductCell::refresh()
{
    configureForPackState();
    updateProgessViewAnimated(true);
}

void QZContentPackListIAPViewProductCell::updateProgessViewAnimated(bool animated)
{
    if (!contentPack_) return;
    downloadProgressView_->setProgress(contentPack_->highResolutionResourceProvider()->downloadProgress(), animated);
}

void QZContentPackListIAPViewProductCell::installButtonPressed()
{
    if (auto delegate = delegate_.lock()) delegate->listIAPCellBeganInstalling(this, contentPack_);
}

void QZContentPackListIAPViewProductCell::layoutSubviews()
{
    UITableViewCell::layoutSubviews();
    const CGRect b = contentView()->bounds();
    const CGRect icon = CGRectMake(b.origin.x, std::round((b.size.height - kIconSide) * 0.5f), kIconSide, kIconSide);
    imageView()->setFrame(icon);
    downloadProgressView_->setFrame(CGRectMake(icon.origin.x + 2, 0.75f * CGRectGetMaxY(icon), icon.size.width - 4, 5));
    contentView()->bringSubviewToFront(downloadProgressView_.get());
    const CGRect button = CGRectIntegral(CGRectMake(CGRectGetMaxX(bounds()) - 95, CGRectGetMidY(b) - 15, 65, 30));
    installButton_->setFrame(button);
    installedLabel_->setFrame(button);

    const CGFloat textX = CGRectGetMaxX(icon) + 5;
    CGSize title = textLabel()->sizeThatFits(CGSizeZero);
    CGSize detail;
    if (isPhone()) {
        detail = detailTextLabel()->sizeThatFits(CGSizeZero);
    } else {
        const CGFloat width = std::max(CGFloat(0), button.origin.x - CGRectGetMaxX(icon) - 10);
        detail = detailTextLabel()->sizeThatFits(CGSizeMake(width, std::numeric_limits<CGFloat>::max()));
        detail.width = std::min(detail.width, width);
    }
    const CGFloat top = (b.size.height - (title.height + detail.height)) * 0.5f;
    const CGRect titleFrame = CGRectIntegral(CGRectMake(textX, top, title.width, title.height));
    textLabel()->setFrame(titleFrame);
    detailTextLabel()->setFrame(
        CGRectIntegral(CGRectMake(textX, CGRectGetMaxY(titleFrame), detail.width, detail.height)));
    if (countLabel_) {
        const CGSize count = countLabel_->sizeThatFits(CGSizeZero);
        countLabel_->setFrame(CGRectIntegral(CGRectMake(
            CGRectGetMaxX(titleFrame) + 5, CGRectGetMidY(titleFrame) - count.height / 2, count.width, count.height)));
    }
}
