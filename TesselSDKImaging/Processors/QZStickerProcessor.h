#pragma once
// One picture drawn onto the image: a sticker placed, sized and rotated by the user, or a piece of
// a frame (stretched to fill, snapped to whole pixels, repeated tileX x tileY, never rotated on the
// GPU). The rectangle is relative to the image, so one processor serves the preview and the
// full-size image. On the GPU a picture is rasterised no larger than the area it covers, nor than
// its own resolution, and enlarged by the GPU; frame pieces are drawn inside the effect that the
// frames tool opens around them.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include <cstdint>
#include <memory>

class UIImage;

class QZStickerProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZStickerProcessor> make()
    {
        return NSObject::create<QZStickerProcessor>(&QZStickerProcessor::initSticker);
    }

    const std::shared_ptr<UIImage>& stickerImage() const { return stickerImage_; }
    void setStickerImage(std::shared_ptr<UIImage> image) { stickerImage_ = std::move(image); }
    // Origin and size in 0..1 of the image's width and height, from the top-left.
    CGRect relativeStickerRect() const { return relativeStickerRect_; }
    void setRelativeStickerRect(CGRect rect) { relativeStickerRect_ = rect; }
    // About the rectangle's centre, radians; positive turns clockwise on the image.
    float rotation() const { return rotation_; }
    void setRotation(float rotation) { rotation_ = rotation; }
    std::int32_t tileX() const { return tileX_; }
    void setTileX(std::int32_t tiles) { tileX_ = tiles; }
    std::int32_t tileY() const { return tileY_; }
    void setTileY(std::int32_t tiles) { tileY_ = tiles; }
    bool isFrameType() const { return frameType_; }
    void setFrameType(bool frameType) { frameType_ = frameType; }

    // Both blocks capture every parameter, the tiling and the frame flag included, when they are
    // made: a block made for one run never draws with values set for a later one.
    QZBitmapBlock bitmapBlock() const override;
    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    // init, then one tile each way.
    void initSticker();

    std::shared_ptr<UIImage> stickerImage_;
    CGRect relativeStickerRect_{{0, 0}, {0, 0}};
    float rotation_ = 0;
    std::int32_t tileX_ = 1;
    std::int32_t tileY_ = 1;
    bool frameType_ = false;
};
