#include "TesselSDK/packs/QZContentPackDownloadSelectionViewCell.h"

#include "TesselSDK/packs/QZContentPackDisplayState.h"

namespace {
constexpr double kFade = 0.1;
constexpr CGFloat kDimmedPreview = 0.6f;
}  // namespace

bool QZContentPackDownloadSelectionViewCell::initWithStyle(UITableViewCellStyle style,
                                                           const std::string& reuseIdentifier)
{
    if (!QZContentPackUnifiedSelectionViewCell::initWithStyle(style, reuseIdentifier)) return false;
    downloadProgressView_ = UIProgressView::progressViewWithStyle(UIProgressViewStyleDefault);
    downloadProgressView_->setAlpha(0);
    addSubview(downloadProgressView_);
    return true;
}

void QZContentPackDownloadSelectionViewCell::layoutSubviews()
{
    QZContentPackUnifiedSelectionViewCell::layoutSubviews();
    const CGRect preview = previewContainerView()->frame();
    downloadProgressView_->setFrame(
        CGRectMake(preview.origin.x + 2, 0.75f * CGRectGetMaxY(preview), preview.size.width - 4, 5));
}

void QZContentPackDownloadSelectionViewCell::setContentPack(std::shared_ptr<QZContentPack> pack)
{
    QZContentPackUnifiedSelectionViewCell::setContentPack(std::move(pack));
    updateProgressViewAnimated(false);
}

void QZContentPackDownloadSelectionViewCell::setContentPackItem(std::shared_ptr<QZContentPackItem> item)
{
    QZContentPackUnifiedSelectionViewCell::setContentPackItem(std::move(item));
    updateProgressViewAnimated(false);
}

void QZContentPackDownloadSelectionViewCell::update()
{
    updateProgressViewAnimated(true);
}

void QZContentPackDownloadSelectionViewCell::updateProgressViewAnimated(bool animated)
{
    const std::shared_ptr<QZContentPack>& pack = contentPack();
    if (pack && QZContentPackRequiresDownload(*pack) &&
        pack->highResolutionResourceProvider()->state() == QZContentPackResourceProviderStateDownloading) {
        downloadProgressView_->setAlpha(1);
        previewContainerView()->setAlpha(kDimmedPreview);
        downloadProgressView_->setProgress(pack->highResolutionResourceProvider()->downloadProgress(), animated);
        return;
    }
    auto bar = downloadProgressView_;
    auto preview = previewContainerView();
    // Already there (a later progress report): an animation now would cut short the preview's
    // own, such as the fly-in of an item cell that has just replaced the pack's.
    if (bar->alpha() == 0 && preview->alpha() == 1) return;
    UIView::animateWithDuration(kFade, [&] {
        bar->setAlpha(0);
        preview->setAlpha(1);
    });
}
