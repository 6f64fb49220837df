#include "TesselSDKImaging/Processors/QZTextProcessor.h"

#include "TesselSDKImaging/Text/QZText.h"

namespace {

// The block's own font, released with the last copy of the block.
std::shared_ptr<const CTFont> fontOwnedByBlock(const std::string& name)
{
    return std::shared_ptr<const CTFont>(CTFontCreateWithName(name, 30), [](CTFontRef font) { CFRelease(font); });
}

}  // namespace

QZBitmapBlock QZTextProcessor::bitmapBlock() const
{
    return [text = text_, foreground = foregroundColor_, background = backgroundColor_, rect = rect_, scale = scale_,
            rotation = rotation_,
            font = fontOwnedByBlock(fontName_)](CGContextRef context, const std::atomic<bool>* stop) {
        QZText(context, stop, text, foreground, background, QZTextCenterAlign, rect, scale, rotation, font.get(),
               false);
    };
}

QZQopBitmapBlock QZTextProcessor::qopBitmapBlock() const
{
    return
        [text = text_, foreground = foregroundColor_, background = backgroundColor_, rect = rect_, scale = scale_,
         rotation = rotation_, font = fontOwnedByBlock(fontName_)](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
            if (stop && stop->load()) return;
            QZQopText(bitmap, stop, text, foreground, background, QZTextCenterAlign, rect, scale, rotation, font.get(),
                      false);
        };
}
