#pragma once
// Many stickers as one layer, as the stickers tool's Apply lays them on the preview: on the GPU
// every sticker is drawn into one zero-filled buffer of the image's size, which is composited over
// the image once; on the CPU every sticker is drawn over the image's own buffer in one step. So a
// replay of many stickers makes one pass over the image, not one per sticker. Stickers drawn this
// way equal the same stickers run one by one on the CPU (source-over is associative).

#include "TesselSDKImaging/Processors/QZStickerProcessor.h"

#include <memory>
#include <vector>

class QZStickerLayerProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZStickerLayerProcessor> make(std::vector<std::shared_ptr<QZStickerProcessor>> stickers)
    {
        return NSObject::create<QZStickerLayerProcessor>(&QZStickerLayerProcessor::initWithStickers,
                                                         std::move(stickers));
    }

    // The list with every run of two or more consecutive stickers gathered into one layer, in its
    // place; everything else, frame pieces included (they are drawn inside their frame's effect),
    // stays as it was.
    static QZProcessorList gatheringStickers(const QZProcessorList& processors);

    const std::vector<std::shared_ptr<QZStickerProcessor>>& stickers() const { return stickers_; }

    QZBitmapBlock bitmapBlock() const override;
    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    void initWithStickers(std::vector<std::shared_ptr<QZStickerProcessor>> stickers);

    std::vector<std::shared_ptr<QZStickerProcessor>> stickers_;
};
