#pragma once
// A sticker in a pack page's strip: the item's small image, and two presses that tell the page
// what the finger does. "select" (held 0.2 s) picks the sticker up to drag it out; "tap" (at
// once, but only once "select" has failed) places it on a plain tap, or drags it out when the
// finger leaves the strip. Both run alongside any other recogniser (the strip's scrolling) and
// report the touch in the cell's coordinates; a press cancelled after it began is reported as
// such. An item whose large image could not be read shows dimmed: it cannot be placed. Main
// thread only.

#include "TesselSDKFoundation/QZHorizontalTableViewCell.h"

#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILongPressGestureRecognizer.h"

#include <memory>

class QZStickerContentPackItem;
class QZStickerContentPackItemSelectionViewCell;

// The item is the cell's; points are in the cell's coordinates.
class QZStickerContentPackSelectionViewCellDelegate {
public:
    virtual ~QZStickerContentPackSelectionViewCellDelegate() = default;
    virtual void stickerViewCellDidSelectSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                                 const std::shared_ptr<QZStickerContentPackItem>& item,
                                                 CGPoint point) = 0;
    virtual void stickerViewCellDidMoveSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                               const std::shared_ptr<QZStickerContentPackItem>& item,
                                               CGPoint point) = 0;
    virtual void stickerViewCellDidDropSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                               const std::shared_ptr<QZStickerContentPackItem>& item,
                                               CGPoint point) = 0;
    virtual void stickerViewCellDidTapWithSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                                  const std::shared_ptr<QZStickerContentPackItem>& item,
                                                  CGPoint point) = 0;
    virtual void stickerViewCellTapDidMoveWithSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                                      const std::shared_ptr<QZStickerContentPackItem>& item,
                                                      CGPoint point) = 0;
    virtual void stickerViewCellTapDidEndWithSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                                     const std::shared_ptr<QZStickerContentPackItem>& item,
                                                     CGPoint point) = 0;
    // Either press was cancelled after it began.
    virtual void stickerViewCellTouchWasCancelled(QZStickerContentPackItemSelectionViewCell* cell,
                                                  const std::shared_ptr<QZStickerContentPackItem>& item) = 0;
};

class QZStickerContentPackItemSelectionViewCell : public QZHorizontalTableViewCell, public UIGestureRecognizerDelegate {
public:
    static constexpr double kSelectPressDuration = 0.2;

    using QZHorizontalTableViewCell::QZHorizontalTableViewCell;
    bool initWithStyle(UITableViewCellStyle style, const std::string& reuseIdentifier) override;

    const std::shared_ptr<QZStickerContentPackItem>& contentPackItem() const { return contentPackItem_; }
    // Also the cell's accessibility label: the item's shown name.
    void setContentPackItem(std::shared_ptr<QZStickerContentPackItem> item);
    const std::shared_ptr<UIImageView>& imgView() const { return imgView_; }
    std::shared_ptr<QZStickerContentPackSelectionViewCellDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<QZStickerContentPackSelectionViewCellDelegate> delegate)
    {
        delegate_ = std::move(delegate);
    }
    const std::shared_ptr<UILongPressGestureRecognizer>& selectRecognizer() const { return selectRecognizer_; }
    const std::shared_ptr<UILongPressGestureRecognizer>& tapRecognizer() const { return tapRecognizer_; }

    // The small image shrunk (never enlarged) into the bounds inset by 6 points across and 10 down.
    CGSize stickerSize() const;
    static constexpr CGFloat kUnavailableAlpha = 0.3f;
    // The item's large image was looked for and could not be read.
    bool showsUnavailable() const;
    void layoutSubviews() override;

    void selectRecognized(UILongPressGestureRecognizer* recognizer);
    void tapRecognized(UILongPressGestureRecognizer* recognizer);
    std::optional<bool>
    gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(UIGestureRecognizer*,
                                                                        UIGestureRecognizer*) override;

private:
    std::shared_ptr<QZStickerContentPackItem> contentPackItem_;
    std::shared_ptr<UIImageView> imgView_;
    std::weak_ptr<QZStickerContentPackSelectionViewCellDelegate> delegate_;
    std::shared_ptr<UILongPressGestureRecognizer> selectRecognizer_;
    std::shared_ptr<UILongPressGestureRecognizer> tapRecognizer_;
};
