#pragma once
// The transparent layer over the picture on which the stickers tool places its stickers. It keeps
// them in stacking order (the last is the active one: controls shown, in front), adds new ones in
// its middle or takes over ones dragged in from the pack strip, removes them with a short fade,
// reports deletions, and keeps every sticker's place on the picture across an interface rotation.
// Main thread only.
//
// A sticker whose removal began stays in stickerViews until its fade ends, but it is no longer
// placed: placedStickerViews leaves it out, and the tool bakes only those.

#include "TesselSDK/tools/QZStickerView.h"

#include "TesselSDKFoundation/QZOverlayView.h"

#include "Foundation/Value.h"

#include <memory>
#include <vector>

class QZStickerContentPackItem;
class QZStickersOverlayView;

class QZStickersOverlayViewDelegate {
public:
    virtual ~QZStickersOverlayViewDelegate() = default;
    // The rectangle the picture occupies in the layer's coordinates.
    virtual CGRect rectForImageInStickersOverlayView(QZStickersOverlayView* overlay) = 0;
};

class QZStickersOverlayView : public QZOverlayView {
public:
    using QZOverlayView::QZOverlayView;
    using StickerViews = std::vector<std::shared_ptr<QZStickerView>>;

    static constexpr CGFloat kNewStickerScale = 0.2f;
    static constexpr double kFadeDuration = 0.1;

    // In stacking order, the active one last.
    const StickerViews& stickerViews() const { return stickerViews_; }
    // stickerViews without the ones whose removal began.
    StickerViews placedStickerViews() const;
    bool isRemovingStickerView(const QZStickerView& view) const;
    const std::vector<Value>& stickerViewRotationInfos() const { return stickerViewRotationInfos_; }
    CGRect preRotationImageRect() const { return preRotationImageRect_; }
    std::shared_ptr<QZStickersOverlayViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<QZStickersOverlayViewDelegate> delegate) { delegate_ = std::move(delegate); }

    // A new sticker of the item at scale 0.2, brought to a size the layer shows well
    // (QZStickerView::fitStartingSizeToCanvas), centred in the layer, made active. Nothing is
    // placed, and false answered, for an item whose large image cannot be read.
    bool addNewStickerView(const std::shared_ptr<QZStickerContentPackItem>& item);
    // An existing sticker (dragged in from the strip) made active where it stands.
    void addStickerView(const std::shared_ptr<QZStickerView>& view);
    // Controls off on every sticker but the last, on for the last (unless its removal began), which
    // comes to the front.
    void updateActiveSticker();
    // Sent by a touched sticker: it trades places with the last one and becomes active.
    void stickerViewBecameActive(QZStickerView* view);
    // Fades the sticker out over 0.1 s; it leaves the layer and stickerViews when the fade ends.
    void removeStickerView(const std::shared_ptr<QZStickerView>& view);
    void removeAllStickers();
    // The close button of a sticker: reports the deletion and removes the sticker.
    void closeButtonPressed(UIButton* button);
    // "<identifier> :deleted".
    void reportStickerDeleted(const std::shared_ptr<QZStickerContentPackItem>& item);
    // {"stickerView", "position" (centre minus the picture's origin), "rotation", "scale"}.
    Value rotationInfoForStickerView(const std::shared_ptr<QZStickerView>& view, CGRect imageRect) const;

    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    // Puts each sticker at the same fractions of the new picture rectangle (its centre unchanged
    // when either rectangle has no width or height) with its scale and turn, and fades it back.
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;

protected:
    void prepareView() override;

private:
    CGRect imageRect();
    // Appends the sticker and wires its close button.
    void adopt(const std::shared_ptr<QZStickerView>& view);

    StickerViews stickerViews_;
    StickerViews removing_;
    std::vector<Value> stickerViewRotationInfos_;
    CGRect preRotationImageRect_ = CGRectZero;
    std::weak_ptr<QZStickersOverlayViewDelegate> delegate_;
};
