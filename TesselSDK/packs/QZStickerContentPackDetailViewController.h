#pragma once
// The stickers tool's pack page: a strip of the pack's stickers (cells 100 points long). A plain
// tap on a sticker places it in the middle of the stickers layer; a sticker held for 0.2 s, or
// dragged off the strip, follows the finger over the editor and lands where it is let go (back on
// the strip it returns to its cell and nothing is placed). Back removes every placed sticker.
// It never commits the GL image itself: the list tool's Apply does. Main thread only.

#include "TesselSDK/packs/QZContentPackDetailSelectionViewController.h"
#include "TesselSDK/packs/QZStickerContentPackItemSelectionViewCell.h"

#include "TesselSDK/tools/QZStickerView.h"
#include "TesselSDK/tools/QZStickersOverlayView.h"

#include <memory>

class QZStickerContentPackItem;

class QZStickerContentPackDetailViewController : public QZContentPackDetailSelectionViewController,
                                                 public QZStickerContentPackSelectionViewCellDelegate {
public:
    static constexpr CGFloat kCellLength = 100;
    static constexpr CGFloat kDraggedStickerScale = 1.75f;
    static constexpr double kFadeDuration = 0.2;
    static constexpr double kReturnDuration = 0.1;
    static constexpr double kPopDuration = 0.4;

    using QZContentPackDetailSelectionViewController::QZContentPackDetailSelectionViewController;
    using QZContentPackDetailSelectionViewController::initWithGLInstance;

    // Every initialiser comes through here: the page leaves the GL commit to the list tool.
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, bool selectionView) override;
    std::string customizationKeyPath() const override;

    std::shared_ptr<QZStickerView> draggingSticker() const { return draggingSticker_.lock(); }
    CGPoint offset() const { return offset_; }
    CGRect origFrame() const { return origFrame_; }
    bool didDrag() const { return didDrag_; }
    // The overlay of the list tool, on which stickers are placed.
    std::shared_ptr<QZStickersOverlayView> stickersOverlayView() const;
    // The root screen's view (the list tool's delegate's), over which a sticker is dragged.
    std::shared_ptr<UIView> editorView();

    // Canvas zoom off while the page is up.
    void loadContentPackItemSelectionView() override;
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;
    void viewDidAppear(bool animated) override;
    // Every placed sticker goes, then the base's.
    void backButtonPressed() override;

    std::optional<CGFloat> selectionViewHeightForRowAtIndexPath(QZContentPackSelectionView*,
                                                                const std::shared_ptr<NSIndexPath>&) override
    {
        return kCellLength;
    }
    std::shared_ptr<UITableViewCell>
    selectionViewCellForContentPackItem(const std::shared_ptr<QZContentPackItem>& item) override;
    void selectionViewDidSelectContentPackItem(const std::shared_ptr<QZContentPackItem>& item) override;
    // "<identifier> : selected" under the page's analytics key.
    void reportStickerSelected(const std::shared_ptr<QZStickerContentPackItem>& item);

    // ---- The cells ----
    void stickerViewCellDidSelectSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                         const std::shared_ptr<QZStickerContentPackItem>& item, CGPoint point) override;
    void stickerViewCellDidMoveSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                       const std::shared_ptr<QZStickerContentPackItem>& item, CGPoint point) override;
    void stickerViewCellDidDropSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                       const std::shared_ptr<QZStickerContentPackItem>& item, CGPoint point) override;
    void stickerViewCellDidTapWithSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                          const std::shared_ptr<QZStickerContentPackItem>& item,
                                          CGPoint point) override;
    void stickerViewCellTapDidMoveWithSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                              const std::shared_ptr<QZStickerContentPackItem>& item,
                                              CGPoint point) override;
    void stickerViewCellTapDidEndWithSticker(QZStickerContentPackItemSelectionViewCell* cell,
                                             const std::shared_ptr<QZStickerContentPackItem>& item,
                                             CGPoint point) override;
    // The system took the touch away (a call, a gesture of its own): the pick-up ends as a lift
    // away from the canvas does, the dragged sticker flying back to its cell, nothing placed.
    void stickerViewCellTouchWasCancelled(QZStickerContentPackItemSelectionViewCell* cell,
                                          const std::shared_ptr<QZStickerContentPackItem>& item) override;

    // A new sticker of the cell's item over its image, 1.75 x the fit of the large image into the
    // cell's sticker size, invisible, on the editor's view: the one being dragged. None for an
    // item whose large image cannot be read (the cell then shows it unavailable).
    void configureStickerViewWithStickerViewCell(QZStickerContentPackItemSelectionViewCell& cell,
                                                 const std::shared_ptr<QZStickerContentPackItem>& item);
    // The dragged sticker's centre follows the touch (cell coordinates) less the offset.
    void moveStickerViewWithStickerViewCell(QZStickerContentPackItemSelectionViewCell& cell, CGPoint point);
    // Lands the dragged sticker (back to its cell when dropped on the strip, else onto the layer)
    // and pops the cell's image back in.
    void animateStickerViewCellIn(QZStickerContentPackItemSelectionViewCell& cell);

private:
    void setStripScrolling(bool enabled);
    CGPoint pointInEditorView(const UIView& from, CGPoint point);
    void startDragging(QZStickerContentPackItemSelectionViewCell& cell,
                       const std::shared_ptr<QZStickerContentPackItem>& item);
    void popImageOfCell(QZStickerContentPackItemSelectionViewCell& cell);
    // The dragged sticker back to its cell's image, where it vanishes.
    void returnDraggedStickerHome(QZStickerContentPackItemSelectionViewCell& cell);

    std::weak_ptr<QZStickerView> draggingSticker_;
    CGPoint offset_{0, 0};
    CGRect origFrame_{{0, 0}, {0, 0}};
    bool didDrag_ = false;
};
