#include "TesselSDKImaging/Processors/QZMemeProcessor.h"

#include "TesselSDKImaging/Text/QZText.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "Foundation/NSBundle.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "Foundation/NSStringNumericCompare.h"
#include "Foundation/PlatformSettings.h"
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
    bool fromBundle = false;  // older systems: the face in the bundle's Impact.ttf, else by name
    std::string fontFile;     // that file; empty when the bundle has none (no caption is drawn)
    std::shared_ptr<UIColor> fill = UIColor::whiteColor();
    std::shared_ptr<UIColor> outline = UIColor::colorWithWhite(0, 0.9f);

    // A fresh font for the caption at its own size; the caller releases it.
    CTFontRef makeFont(CGFloat size) const
    {
        CTFontDescriptorRef descriptor = CTFontDescriptorCreateWithNameAndSize("Impact", size);
        CTFontRef font = nullptr;
        if (!fromBundle) {
            font = CTFontCreateWithFontDescriptor(descriptor, size, nullptr);
        } else if (!fontFile.empty()) {
            CGDataProviderRef provider = CGDataProviderCreateWithFilename(fontFile);
            CGFontRef graphicsFont = CGFontCreateWithDataProvider(provider);
            font = CTFontCreateWithGraphicsFont(graphicsFont, size, nullptr, descriptor);
            CGFontRelease(graphicsFont);
            CGDataProviderRelease(provider);
        }
        CFRelease(descriptor);
        return font;
    }

    template <class Draw>
    void forEachCaption(const Draw& draw) const
    {
        for (const Caption& caption : captions) {
            CTFontRef font = makeFont(caption.fontSize);
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
    drawing.fromBundle = NSStringCompareNumeric(PlatformSettings::systemVersion(), "4.1") == NSOrderedAscending;
    if (drawing.fromBundle) {
        std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle();
        if (std::optional<std::string> path = bundle ? bundle->pathForResource("Impact", "ttf") : std::nullopt)
            drawing.fontFile = *path;
        else
            NSLog("%s %@", "QZMemeProcessor", "the resource bundle holds no Impact.ttf: no caption is drawn");
    }
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
