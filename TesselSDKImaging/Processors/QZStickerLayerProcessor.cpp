#include "TesselSDKImaging/Processors/QZStickerLayerProcessor.h"

#include "TesselSDKImaging/QZBitmap.h"

#include "CoreGraphics/CGContext.h"
#include "QopLite/QopBitmap.h"

namespace {

using StickerBlocks = std::vector<QZBitmapBlock>;

void drawStickers(CGContextRef context, const StickerBlocks& stickers, const std::atomic<bool>* stop)
{
    for (const QZBitmapBlock& sticker : stickers) {
        if (stop && stop->load()) return;
        sticker(context, stop);
    }
}

}  // namespace

void QZStickerLayerProcessor::initWithStickers(std::vector<std::shared_ptr<QZStickerProcessor>> stickers)
{
    init();
    stickers_ = std::move(stickers);
}

QZProcessorList QZStickerLayerProcessor::gatheringStickers(const QZProcessorList& processors)
{
    QZProcessorList gathered;
    std::vector<std::shared_ptr<QZStickerProcessor>> run;
    const auto endRun = [&] {
        if (run.size() == 1)
            gathered.push_back(run.front());
        else if (!run.empty())
            gathered.push_back(make(std::move(run)));
        run.clear();
    };
    for (const std::shared_ptr<QZProcessor>& processor : processors) {
        auto sticker = std::dynamic_pointer_cast<QZStickerProcessor>(processor);
        if (sticker && !sticker->isFrameType()) {
            run.push_back(std::move(sticker));
            continue;
        }
        endRun();
        gathered.push_back(processor);
    }
    endRun();
    return gathered;
}

QZBitmapBlock QZStickerLayerProcessor::bitmapBlock() const
{
    StickerBlocks stickers;
    for (const auto& sticker : stickers_)
        if (sticker) stickers.push_back(sticker->bitmapBlock());
    return [stickers = std::move(stickers)](CGContextRef context, const std::atomic<bool>* stop) {
        if (context) drawStickers(context, stickers, stop);
    };
}

QZQopBitmapBlock QZStickerLayerProcessor::qopBitmapBlock() const
{
    StickerBlocks stickers;
    for (const auto& sticker : stickers_)
        if (sticker) stickers.push_back(sticker->bitmapBlock());
    return [stickers = std::move(stickers)](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if (!bitmap || !bitmap->glData || bitmap->width < 1 || bitmap->height < 1 || (stop && stop->load())) return;
        std::vector<QopColor_t> layer(std::size_t(bitmap->width) * std::size_t(bitmap->height));
        CGContextRef context = QZCGContextCreateWithData(layer.data(), CGSizeMake(CGFloat(bitmap->width),
                                                                                 CGFloat(bitmap->height)));
        if (!context) return;
        drawStickers(context, stickers, stop);
        CGContextRelease(context);
        if (stop && stop->load()) return;
        QopBitmap_t source{layer.data(), bitmap->width, bitmap->height, bitmap->glData};
        QopBitmapEffectBitmapComposite(bitmap, &source);
    };
}
