#include "TesselSDK/packs/QZContentPackDetailIAPViewController.h"

#include "TesselSDK/packs/QZContentPackDisplayState.h"
#include "TesselSDK/packs/QZContentPackIAPPageItemView.h"
#include "TesselSDK/packs/QZContentPackStoreStyle.h"
#include "TesselSDK/packs/QZDetailIAPContainerView.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackItem.h"
#include "TesselSDK/shell/QZNavigationItemButton.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"

#include "Foundation/NSString.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UIScreen.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr const char* kPageItemIdentifier = "QZ_DETAIL_SCROLLBAR_PAGE_ITEM";
constexpr CGFloat kHeader = QZDetailIAPContainerView::kHeaderHeight;
constexpr CGFloat kIconSide = 55;
// The smallest description font the header shrinks to.
constexpr CGFloat kSmallestDescriptionFont = 8;
constexpr double kFadeOut = 0.2;
constexpr double kFadeIn = 0.3;

std::string codeName(const std::shared_ptr<QZContentPack>& pack)
{
    return pack ? pack->valueForKey("codeName").stringValue() : std::string();
}
}  // namespace

bool QZContentPackDetailIAPViewController::initWithType(NSInteger type, std::shared_ptr<QZContentPack> pack)
{
    if (!init()) return false;
    type_ = type;
    contentPack_ = std::move(pack);
    return true;
}

std::shared_ptr<QZScrollBarPageItemView>
QZContentPackDetailIAPViewController::makePageItem(const std::string& reuseIdentifier) const
{
    return QZScrollBarPageItemView::itemWithReuseIdentifier<QZContentPackIAPPageItemView>(reuseIdentifier);
}

void QZContentPackDetailIAPViewController::loadView()
{
    setView(UIView::viewWithFrame<QZDetailIAPContainerView>(UIScreen::mainScreen()->bounds()));
    const std::shared_ptr<UIView>& container = view();

    packPreviewImageView_ = UIView::viewWithFrame<UIImageView>(CGRectZero);
    packPreviewImageView_->setContentMode(UIViewContentModeScaleAspectFit);
    downloadProgressView_ = UIProgressView::progressViewWithStyle(UIProgressViewStyleDefault);
    downloadProgressView_->setAlpha(0);
    packNameLabel_ = UIView::viewWithFrame<UILabel>(CGRectZero);
    packNameLabel_->setFont(UIFont::boldSystemFontOfSize(16));
    countLabel_ = UIView::viewWithFrame<UILabel>(CGRectZero);
    countLabel_->setFont(UIFont::systemFontOfSize(12));
    installButton_ = QZMakeStoreInstallButton();
    installButton_->addTarget(self<QZContentPackDetailIAPViewController>(),
                              &QZContentPackDetailIAPViewController::installButtonPressed, UIControlEventTouchUpInside);
    installLabel_ = UIView::viewWithFrame<UILabel>(CGRectZero);
    installLabel_->setFont(UIFont::boldSystemFontOfSize(12));
    installLabel_->setTextAlignment(NSTextAlignmentCenter);
    descriptionLabel_ = UIView::viewWithFrame<UILabel>(CGRectZero);
    descriptionLabel_->setFont(UIFont::systemFontOfSize(12));
    descriptionLabel_->setNumberOfLines(0);
    descriptionLabel_->setLineBreakMode(NSLineBreakByWordWrapping);
    for (const auto& label : {packNameLabel_, countLabel_, installLabel_, descriptionLabel_}) QZStyleStoreLabel(*label);

    pageControl_ = UIView::viewWithFrame<QZPageControl>(CGRectZero);
    pageControl_->setDotRadius(3.5f);
    pageControl_->setDotPadding(2.5f);
    scrollBarView_ = UIView::viewWithFrame<QZScrollBarView>(CGRectZero);
    scrollBarView_->setBackgroundColor(UIColor::clearColor());
    scrollBarView_->setDelegate(
        std::static_pointer_cast<QZScrollBarViewDelegate>(self<QZContentPackDetailIAPViewController>()));
    scrollBarView_->setPageControl(pageControl_);

    for (const std::shared_ptr<UIView>& subview :
         {std::static_pointer_cast<UIView>(scrollBarView_), std::static_pointer_cast<UIView>(pageControl_),
          std::static_pointer_cast<UIView>(packPreviewImageView_),
          std::static_pointer_cast<UIView>(downloadProgressView_), std::static_pointer_cast<UIView>(packNameLabel_),
          std::static_pointer_cast<UIView>(countLabel_), std::static_pointer_cast<UIView>(descriptionLabel_),
          std::static_pointer_cast<UIView>(installButton_), std::static_pointer_cast<UIView>(installLabel_)})
        container->addSubview(subview);
    updateViewForContentPack();
}

void QZContentPackDetailIAPViewController::viewDidLoad()
{
    QZViewController::viewDidLoad();
    const auto& item = customNavigationItem();
    item->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextColor"));
    item->setTextShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextShadowColor"));
    const bool fromList = type_ == QZContentPackDetailIAPViewControllerTypeList;
    auto button = QZNavigationItemButton::buttonWithTitle(
        QZLocalizedString(fromList ? "Store" : "Close"),
        fromList ? QZNavigationItemButtonStyleBack : QZNavigationItemButtonStyleCancel,
        self<QZContentPackDetailIAPViewController>(), &QZContentPackDetailIAPViewController::backButtonPressed);
    dismissButton_ = UIBarButtonItem::makeWithCustomView(button);
    item->setLeftBarButtonItem(dismissButton_);
    setTitle(NSStringWithFormat("%@ %@", titleDescriptor(), QZLocalizedString("Store")));
    item->setTitle(title());
}

void QZContentPackDetailIAPViewController::viewWillAppear(bool animated)
{
    QZViewController::viewWillAppear(animated);
    layoutContentPackInformation();
    layoutScrollBarViews();
}

void QZContentPackDetailIAPViewController::updateViewForContentPack()
{
    if (!packPreviewImageView_) return;
    packPreviewImageView_->setImage(contentPack_ ? contentPack_->packPreviewImage() : nullptr);
    packNameLabel_->setText(contentPack_ ? contentPack_->localizedDisplayName() : std::string());
    countLabel_->setText(
        NSStringWithFormat("(%d %@)", contentPack_ ? int(contentPack_->orderedItems().size()) : 0, countDescriptor()));
    descriptionLabel_->setText(contentPack_ ? contentPack_->localizedDisplayDescription() : std::string());
    configureForPackState();
}

void QZContentPackDetailIAPViewController::configureForPackState()
{
    if (!contentPack_ || !installButton_) return;
    switch (QZContentPackDisplayStateOfPack(*contentPack_)) {
    case QZContentPackDisplayState::Installed:
        installLabel_->setText(QZLocalizedString("Installed"));
        installLabel_->setHidden(false);
        installButton_->setHidden(true);
        downloadProgressView_->setAlpha(0);
        break;
    case QZContentPackDisplayState::NotDownloaded:
        installButton_->setTitle(QZLocalizedString("Download"), UIControlStateNormal);
        installButton_->setEnabled(true);
        installButton_->setHidden(false);
        installLabel_->setHidden(true);
        downloadProgressView_->setAlpha(0);
        break;
    case QZContentPackDisplayState::Installing:
        installLabel_->setText(QZLocalizedString("Installing"));
        installLabel_->setHidden(false);
        installButton_->setHidden(true);
        downloadProgressView_->setAlpha(1);
        downloadProgressView_->setProgress(contentPack_->highResolutionResourceProvider()->downloadProgress(), false);
        break;
    }
}

void QZContentPackDetailIAPViewController::updateDownloadProgress()
{
    if (!contentPack_ || !downloadProgressView_) return;
    downloadProgressView_->setProgress(contentPack_->highResolutionResourceProvider()->downloadProgress(), true);
}

void QZContentPackDetailIAPViewController::layoutContentPackInformation()
{
    if (!isViewLoaded()) return;
    const CGRect b = view()->bounds();
    const CGRect icon = CGRectMake(0, 16.5f, kIconSide, kIconSide);
    packPreviewImageView_->setFrame(icon);
    downloadProgressView_->setFrame(CGRectMake(icon.origin.x + 2, 0.75f * CGRectGetMaxY(icon), icon.size.width - 4, 5));
    const CGRect button = CGRectIntegral(CGRectMake(CGRectGetMaxX(b) - 70, 29, 65, 30));
    installButton_->setFrame(button);
    installLabel_->setFrame(button);

    const CGSize name = packNameLabel_->sizeThatFits(CGSizeZero);
    const CGFloat width = std::max(CGFloat(0), button.origin.x - CGRectGetMaxX(icon) - 10);
    auto measure = [&] {
        CGSize size = descriptionLabel_->sizeThatFits(CGSizeMake(width, std::numeric_limits<CGFloat>::max()));
        size.width = std::min(size.width, width);
        return size;
    };
    CGSize description = measure();
    CGFloat top = (kHeader - (name.height + description.height)) * 0.5f;
    // A long description shrinks until the block fits the header, down to a size still readable.
    while (top < 0 && descriptionLabel_->font()->pointSize() - 1 >= kSmallestDescriptionFont) {
        descriptionLabel_->setFont(UIFont::systemFontOfSize(descriptionLabel_->font()->pointSize() - 1));
        description = measure();
        top = (kHeader - (name.height + description.height)) * 0.5f;
    }
    const CGRect nameFrame = CGRectIntegral(CGRectMake(CGRectGetMaxX(icon) + 5, top, name.width, name.height));
    packNameLabel_->setFrame(nameFrame);
    const CGSize count = countLabel_->sizeThatFits(CGSizeZero);
    countLabel_->setFrame(CGRectIntegral(CGRectMake(
        CGRectGetMaxX(nameFrame) + 5, CGRectGetMidY(nameFrame) - count.height / 2, count.width, count.height)));
    descriptionLabel_->setFrame(CGRectIntegral(
        CGRectMake(nameFrame.origin.x, CGRectGetMaxY(nameFrame), description.width, description.height)));
}

void QZContentPackDetailIAPViewController::layoutScrollBarViews()
{
    if (!isViewLoaded()) return;
    const CGSize size = view()->bounds().size;
    pageControl_->setFrame(CGRectMake(0, size.height - 8.5f, size.width, 8));
    const NSInteger columns = std::max<NSInteger>(numberOfColumnsPerPage(), 1);
    scrollBarView_->setColumnWidth((size.width - 20) / CGFloat(columns));
    scrollBarView_->setMaxNumberOfColumnsPerPage(NSUInteger(columns));
    scrollBarView_->setFrame(CGRectMake(0, kHeader, size.width, std::max(CGFloat(0), size.height - 8 - kHeader)));
    scrollBarView_->setNeedsReload();
}

NSUInteger QZContentPackDetailIAPViewController::numberOfItems()
{
    const NSUInteger n = contentPack_ ? NSUInteger(contentPack_->orderedItems().size()) : 0;
    const NSUInteger rows = NSUInteger(std::max<NSInteger>(numberOfRows(), 1));
    const NSUInteger columns = NSUInteger(std::max<NSInteger>(numberOfColumnsPerPage(), 1));
    const NSUInteger full = n / (rows * columns);
    return columns * full + std::min(columns, n - rows * columns * full);
}

std::vector<std::shared_ptr<QZContentPackItem>> QZContentPackDetailIAPViewController::itemsForColumn(NSUInteger column)
{
    std::vector<std::shared_ptr<QZContentPackItem>> items;
    if (!contentPack_) return items;
    const std::vector<std::shared_ptr<QZContentPackItem>> ordered = contentPack_->orderedItems();
    const NSUInteger rows = NSUInteger(std::max<NSInteger>(numberOfRows(), 1));
    const NSUInteger columns = NSUInteger(std::max<NSInteger>(numberOfColumnsPerPage(), 1));
    const NSUInteger page = column / columns;
    const NSUInteger col = column % columns;
    for (NSUInteger row = 0; row < rows; ++row) {
        const NSUInteger index = page * rows * columns + row * columns + col;
        if (index < ordered.size()) items.push_back(ordered[index]);
    }
    return items;
}

NSUInteger QZContentPackDetailIAPViewController::numberOfItemsInScrollBar(QZScrollBarView*)
{
    return numberOfItems();
}

std::shared_ptr<QZScrollBarPageItemView>
QZContentPackDetailIAPViewController::scrollBarItemViewForColumnAtIndex(QZScrollBarView* scrollBar, NSUInteger column)
{
    return scrollBarItemViewForContentPackItems(scrollBar, itemsForColumn(column));
}

std::shared_ptr<QZScrollBarPageItemView> QZContentPackDetailIAPViewController::scrollBarItemViewForContentPackItems(
    QZScrollBarView* scrollBar, const std::vector<std::shared_ptr<QZContentPackItem>>& items)
{
    std::shared_ptr<QZScrollBarPageItemView> reused = scrollBar->dequeueReusableItemWithIdentifier(kPageItemIdentifier);
    auto item =
        std::dynamic_pointer_cast<QZContentPackIAPPageItemView>(reused ? reused : makePageItem(kPageItemIdentifier));
    if (!item) return reused;
    item->setRowCount(numberOfRows());
    std::vector<std::shared_ptr<UIImage>> images;
    for (const auto& packItem : items)
        if (auto thumbnail = packItem->thumbnailImage()) images.push_back(thumbnail);
    item->setImageViewsWithImages(images);
    return item;
}

void QZContentPackDetailIAPViewController::installButtonPressed()
{
    if (auto delegate = delegate_.lock()) delegate->detailIAPViewControllerBeganInstalling(this, contentPack_);
    const bool fromList = type_ == QZContentPackDetailIAPViewControllerTypeList;
    QZAnalytics::reportEvent(NSStringWithFormat(fromList ? "DetailView(%@) : installed" : "Featured(%@) : installed",
                                                codeName(contentPack_)),
                             Value());
}

void QZContentPackDetailIAPViewController::backButtonPressed()
{
    if (type_ == QZContentPackDetailIAPViewControllerTypeList) {
        if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
        QZAnalytics::reportEvent(NSStringWithFormat("DetailView(%@) : closed", titleDescriptor()), Value());
        return;
    }
    if (auto delegate = delegate_.lock()) delegate->detailIAPControllerFinished(this);
    QZAnalytics::reportEvent(NSStringWithFormat("Featured(%@) : cancelled", titleDescriptor()), Value());
}

std::vector<std::shared_ptr<UIView>> QZContentPackDetailIAPViewController::fadingViews() const
{
    return {packPreviewImageView_, packNameLabel_, countLabel_,   descriptionLabel_,
            scrollBarView_,        pageControl_,   installButton_};
}

void QZContentPackDetailIAPViewController::setContentPack(std::shared_ptr<QZContentPack> pack)
{
    const bool shown = contentPack_ && isViewLoaded();
    contentPack_ = std::move(pack);
    if (!shown) return;
    const std::vector<std::shared_ptr<UIView>> views = fadingViews();
    std::weak_ptr<QZContentPackDetailIAPViewController> weakSelf = self<QZContentPackDetailIAPViewController>();
    UIView::animateWithDuration(
        kFadeOut,
        [&] {
            for (const auto& faded : views) faded->setAlpha(0);
        },
        [weakSelf](bool) {
            auto page = weakSelf.lock();
            if (!page) return;
            page->updateViewForContentPack();
            page->layoutContentPackInformation();
            page->scrollBarView_->setNeedsReload();
            const std::vector<std::shared_ptr<UIView>> fading = page->fadingViews();
            UIView::animateWithDuration(kFadeIn, [&] {
                for (const auto& faded : fading) faded->setAlpha(1);
            });
        });
}
