#include "TesselSDKImaging/Processors/QZMemeProcessor.h"

#include "TesselSDKImaging/Text/QZMemeFont.h"
#include "TesselSDKImaging/Text/QZText.h"

#include "Foundation/NSLog.h"
#include "UIKit/UIColor.h"

namespace {

struct Caption {
    std::string text;
    CGRect rect = CGRectZero;
    QZTextVerticalAlignment alignment = QZTextTopAlign;
    CGFloat fontSize = 0;
};

// What both blocks capture: the captions in drawing order, the enlargement, and where the font
// comes from.
struct MemeDrawing {
    Caption captions[2];
    CGFloat scale = 0;
    QZMemeFontSource fontSource;
    std::shared_ptr<UIColor> fill = UIColor::whiteColor();
    std::shared_ptr<UIColor> outline = UIColor::colorWithWhite(0, 0.9f);

    template <class Draw>
    void forEachCaption(const Draw& draw) const
    {
        for (const Caption& caption : captions) {
            CTFontRef font = QZMemeFontCreateWithSource(fontSource, caption.fontSize);
            if (!font) continue;
            draw(caption, fill, outline, font);
            CFRelease(font);
        }
    }
};

MemeDrawing drawingOf(const QZMemeProcessor& meme)
{
    MemeDrawing drawing;
    drawing.captions[0] = {meme.topText(), meme.topRect(), QZTextTopAlign, meme.topFontSize()};
    drawing.captions[1] = {meme.bottomText(), meme.bottomRect(), QZTextBottomAlign, meme.bottomFontSize()};
    drawing.scale = meme.scale();
    drawing.fontSource = QZMemeFontSourceCurrent();
    if (drawing.fontSource.fromBundle && drawing.fontSource.file.empty())
        NSLog("%s %@", "QZMemeProcessor", "the resource bundle holds no Impact.ttf: no caption is drawn");
    return drawing;
}

}  // namespace

QZBitmapBlock QZMemeProcessor::bitmapBlock() const
{
    return [drawing = drawingOf(*this)](CGContextRef context, const std::atomic<bool>* stop) {
        drawing.forEachCaption([&](const Caption& c, const auto& fill, const auto& outline, CTFontRef font) {
            QZText(context, stop, c.text, fill, outline, c.alignment, c.rect, drawing.scale, 0, font, true);
        });
    };
}

QZQopBitmapBlock QZMemeProcessor::qopBitmapBlock() const
{
    return [drawing = drawingOf(*this)](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if (stop && stop->load()) return;
        drawing.forEachCaption([&](const Caption& c, const auto& fill, const auto& outline, CTFontRef font) {
            QZQopText(bitmap, stop, c.text, fill, outline, c.alignment, c.rect, drawing.scale, 0, font, true);
        });
    };
}
