#pragma once
// A sticker item: a thumbnail from the pack's thumbnails (read anew on each call) and a small and
// a large image from the high-resolution set (kept once loaded).

#include "TesselSDK/remote/QZContentPackItem.h"

class QZStickerContentPackItem : public QZContentPackItem {
public:
    using QZContentPackItem::QZContentPackItem;

    // "<identifier>_thumbnail.png"; a missing one is logged.
    std::shared_ptr<UIImage> thumbnailImage() override;
    // "<identifier>-small.png" and "<identifier>-large.png".
    std::shared_ptr<UIImage> smallImage();
    std::shared_ptr<UIImage> largeImage();
    // The large image was looked for in a pack that has its full-size set and could not be read:
    // the sticker cannot be placed.
    bool largeImageUnreadable() const { return largeImageUnreadable_; }
    void dropCachedImages() override
    {
        smallImage_.reset();
        largeImage_.reset();
        largeImageUnreadable_ = false;
    }

private:
    std::shared_ptr<UIImage> smallImage_;
    std::shared_ptr<UIImage> largeImage_;
    bool largeImageUnreadable_ = false;
};
