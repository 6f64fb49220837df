#include "TesselSDK/packs/QZStickerContentPackItemSelectionViewCell.h"

#include "TesselSDK/remote/QZStickerContentPackItem.h"

#include "TesselSDKFoundation/QZGeometry.h"

namespace {
constexpr CGFloat kSideInset = 6;
constexpr CGFloat kInset = 10;
}  // namespace

bool QZStickerContentPackItemSelectionViewCell::initWithStyle(UITableViewCellStyle style,
                                                              const std::string& reuseIdentifier)
{
    if (!QZHorizontalTableViewCell::initWithStyle(style, reuseIdentifier)) return false;
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    setBackgroundColor(UIColor::clearColor());
    imgView_ = UIView::viewWithFrame<UIImageView>(CGRectZero);
    imgView_->setBackgroundColor(UIColor::clearColor());
    addSubview(imgView_);

    auto me = self<QZStickerContentPackItemSelectionViewCell>();
    auto delegate = std::static_pointer_cast<UIGestureRecognizerDelegate>(me);
    selectRecognizer_ = UIGestureRecognizer::recognizerWithTarget<UILongPressGestureRecognizer>(
        me, &QZStickerContentPackItemSelectionViewCell::selectRecognized);
    selectRecognizer_->setMinimumPressDuration(kSelectPressDuration);
    selectRecognizer_->setDelegate(delegate);
    addGestureRecognizer(selectRecognizer_);
    tapRecognizer_ = UIGestureRecognizer::recognizerWithTarget<UILongPressGestureRecognizer>(
        me, &QZStickerContentPackItemSelectionViewCell::tapRecognized);
    tapRecognizer_->setMinimumPressDuration(0);
    tapRecognizer_->requireGestureRecognizerToFail(selectRecognizer_);
    tapRecognizer_->setDelegate(delegate);
    addGestureRecognizer(tapRecognizer_);
    return true;
}

void QZStickerContentPackItemSelectionViewCell::setContentPackItem(std::shared_ptr<QZStickerContentPackItem> item)
{
    contentPackItem_ = std::move(item);
    setAccessibilityLabel(contentPackItem_ ? contentPackItem_->localizedDisplayName() : std::string());
    setNeedsLayout();
}

CGSize QZStickerContentPackItemSelectionViewCell::stickerSize() const
{
    auto image = contentPackItem_ ? contentPackItem_->smallImage() : nullptr;
    if (!image) return CGSizeZero;
    const CGRect area = CGRectInset(bounds(), kSideInset, kInset);
    if (CGRectIsNull(area)) return CGSizeZero;
    return QZCGSizeScaleToMaxSize(image->size(), area.size, nullptr);
}

bool QZStickerContentPackItemSelectionViewCell::showsUnavailable() const
{
    return contentPackItem_ && contentPackItem_->largeImageUnreadable();
}

void QZStickerContentPackItemSelectionViewCell::layoutSubviews()
{
    QZHorizontalTableViewCell::layoutSubviews();
    setAlpha(showsUnavailable() ? kUnavailableAlpha : 1);
    imgView_->setImage(contentPackItem_ ? contentPackItem_->smallImage() : nullptr);
    const CGRect area = CGRectInset(bounds(), kInset, kInset);
    const CGSize size = stickerSize();
    imgView_->setFrame(
        QZCGRectCenterInRectIntegral(QZCGRectWithSize(size), CGRectIsNull(area) ? bounds() : area, true));
    imgView_->setCenter(QZCGRectGetCenter(bounds()));
}

void QZStickerContentPackItemSelectionViewCell::selectRecognized(UILongPressGestureRecognizer* recognizer)
{
    auto listener = delegate_.lock();
    if (!listener || !recognizer) return;
    const CGPoint point = recognizer->locationInView(this);
    switch (recognizer->state()) {
    case UIGestureRecognizerStateBegan: listener->stickerViewCellDidSelectSticker(this, contentPackItem_, point); break;
    case UIGestureRecognizerStateChanged: listener->stickerViewCellDidMoveSticker(this, contentPackItem_, point); break;
    case UIGestureRecognizerStateEnded: listener->stickerViewCellDidDropSticker(this, contentPackItem_, point); break;
    case UIGestureRecognizerStateCancelled: listener->stickerViewCellTouchWasCancelled(this, contentPackItem_); break;
    default: break;
    }
}

void QZStickerContentPackItemSelectionViewCell::tapRecognized(UILongPressGestureRecognizer* recognizer)
{
    auto listener = delegate_.lock();
    if (!listener || !recognizer) return;
    const CGPoint point = recognizer->locationInView(this);
    switch (recognizer->state()) {
    case UIGestureRecognizerStateBegan:
        listener->stickerViewCellDidTapWithSticker(this, contentPackItem_, point);
        break;
    case UIGestureRecognizerStateChanged:
        listener->stickerViewCellTapDidMoveWithSticker(this, contentPackItem_, point);
        break;
    case UIGestureRecognizerStateEnded:
        listener->stickerViewCellTapDidEndWithSticker(this, contentPackItem_, point);
        break;
    case UIGestureRecognizerStateCancelled: listener->stickerViewCellTouchWasCancelled(this, contentPackItem_); break;
    default: break;
    }
}

std::optional<bool>
QZStickerContentPackItemSelectionViewCell::gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(
    UIGestureRecognizer*, UIGestureRecognizer*)
{
    return true;
}
