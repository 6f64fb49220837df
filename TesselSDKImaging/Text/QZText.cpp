#include "TesselSDKImaging/Text/QZText.h"

#include "TesselSDKImaging/QZBitmap.h"
#include "TesselSDKImaging/QZOpenGLManager.h"
#include "TesselSDKFoundation/QZGeometry.h"

#include "QopLite/QopGLBitmapBlend.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

bool stopped(const std::atomic<bool>* stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

bool endsWithLineFeed(const std::string& text)
{
    return !text.empty() && text.back() == '\n';
}

CGRect pixelRect(CGRect relativeRect, CGFloat width, CGFloat height)
{
    return CGRectMake(relativeRect.origin.x * width, relativeRect.origin.y * height, relativeRect.size.width * width,
                      relativeRect.size.height * height);
}

// The meme's box shrunk by the enlargement and centred where it was: enlarged back, the text wraps
// at its drawn size.
CGRect memeLayoutRect(CGRect rect, CGFloat imgResScale)
{
    return QZCGRectCenterInRect(QZCGRectScale(rect, 1 / imgResScale), rect);
}

// Lays the text out in the rectangle and draws it with the context's current transforms.
void drawInRect(CGContextRef context, CGRect rect, const std::string& text,
                const std::shared_ptr<UIColor>& foregroundColor, const std::shared_ptr<UIColor>& backgroundColor,
                QZTextVerticalAlignment alignment, CGFloat imgResScale, CTFontRef font)
{
    CGPathRef path = CGPathCreateWithRect(rect, nullptr);
    CTFrameRef frame = formatedCTFrameWithPath(path, text, font, foregroundColor, backgroundColor);
    drawTextLinesCentered(context, frame, rect, alignment, QZTextLanguageDirection(text), imgResScale,
                          endsWithLineFeed(text));
    CFRelease(frame);
    CGPathRelease(path);
}

// The enlargement kept within the largest size a font takes: drawn past it, glyphs grow without end
// in time and in Pango's integer sizes, and nothing larger than half the widest image could show.
CGFloat cappedEnlargement(CGFloat imgResScale, CTFontRef font)
{
    const CGFloat fontSize = CTFontGetSize(font);
    return fontSize > 0 ? std::min(imgResScale, kCTFontLargestSize / fontSize) : imgResScale;
}

// The GL limit of the shared manager; no limit where none was made (no GL).
CGSize glMaxSize()
{
    std::shared_ptr<QZOpenGLManager> manager = QZOpenGLManager::existingOpenGLManager();
    constexpr CGFloat kNoLimit = std::numeric_limits<CGFloat>::max();
    return manager ? manager->maxSize() : CGSizeMake(kNoLimit, kNoLimit);
}

}  // namespace

CFMutableAttributedStringRef QZTextAttributedString(const std::string& text, CTFontRef font,
                                                    const std::shared_ptr<UIColor>& foregroundColor,
                                                    const std::shared_ptr<UIColor>& backgroundColor)
{
    CFMutableAttributedStringRef string = CFAttributedStringCreateMutable();
    CFAttributedStringReplaceString(string, CFRangeMake(0, 0), text);
    CFRange all = CFRangeMake(0, CFAttributedStringGetLength(string));
    CFAttributedStringSetAttribute(string, all, kCTFontAttributeName, font);
    if (foregroundColor)
        CFAttributedStringSetAttribute(string, all, kCTForegroundColorAttributeName, foregroundColor->CGColor());
    CGFloat strokeWidth = -3.0f;
    CFNumberRef width = CFNumberCreate(nullptr, kCFNumberCGFloatType, &strokeWidth);
    CFAttributedStringSetAttribute(string, all, kCTStrokeWidthAttributeName, width);
    CFRelease(width);
    if (backgroundColor)
        CFAttributedStringSetAttribute(string, all, kCTStrokeColorAttributeName, backgroundColor->CGColor());
    return string;
}

CTFrameRef formatedCTFrameWithPath(CGPathRef path, const std::string& text, CTFontRef font,
                                   const std::shared_ptr<UIColor>& foregroundColor,
                                   const std::shared_ptr<UIColor>& backgroundColor)
{
    CFMutableAttributedStringRef string = QZTextAttributedString(text, font, foregroundColor, backgroundColor);
    CTFramesetterRef framesetter = CTFramesetterCreateWithAttributedString(string);
    CFRelease(string);
    CTFrameRef frame = CTFramesetterCreateFrame(framesetter, CFRangeMake(0, 0), path, nullptr);
    CFRelease(framesetter);
    return frame;
}

void drawTextLinesCentered(CGContextRef context, CTFrameRef frame, CGRect textBounds, QZTextVerticalAlignment alignment,
                           NSLocaleLanguageDirection, CGFloat scale, bool newLineTerminated)
{
    const std::vector<CTLineRef>& lines = CTFrameGetLines(frame);
    if (lines.empty()) return;
    std::vector<CGPoint> origins(lines.size());
    CTFrameGetLineOrigins(frame, CFRangeMake(0, 0), origins.data());
    std::vector<QZTextLineMetrics> metrics;
    for (size_t i = 0; i < lines.size(); ++i) {
        CGFloat ascent = 0, descent = 0;
        CTLineGetTypographicBounds(lines[i], &ascent, &descent, nullptr);
        // The frame sets a right-to-left paragraph's line at its right edge, a left-to-right one at
        // its left: the way back to the centre follows the paragraph's own direction, as the layout
        // resolved it, not the language guessed from the letters (a leading right-to-left mark
        // before Latin letters makes a right-to-left paragraph of a left-to-right language).
        const CGFloat towardsCentre = origins[i].x > 0 ? -1 : 1;
        metrics.push_back({origins[i], ascent, descent,
                           towardsCentre * CGFloat(CTLineGetPenOffsetForFlush(lines[i], 0.5f, textBounds.size.width))});
    }
    std::vector<CGPoint> positions = QZTextLinePositions(metrics, textBounds, alignment,
                                                         NSLocaleLanguageDirectionLeftToRight, scale, newLineTerminated);
    for (size_t i = 0; i < lines.size(); ++i) {
        CGContextSetTextPosition(context, positions[i].x, positions[i].y);
        CTLineDraw(lines[i], context);
    }
}

NSLocaleLanguageDirection QZTextLanguageDirection(const std::string& text)
{
    std::string language = CFStringTokenizerCopyBestStringLanguage(text, CFRangeMake(0, 0));
    return language.empty() ? NSLocaleLanguageDirectionLeftToRight : NSLocale::characterDirectionForLanguage(language);
}

void QZText(CGContextRef context, const std::atomic<bool>* stop, const std::string& text,
            const std::shared_ptr<UIColor>& foregroundColor, const std::shared_ptr<UIColor>& backgroundColor,
            QZTextVerticalAlignment alignment, CGRect relativeRect, CGFloat scale, CGFloat rotation, CTFontRef font,
            bool isMeme)
{
    if (!context || stopped(stop)) return;
    auto w = CGFloat(CGBitmapContextGetWidth(context)), h = CGFloat(CGBitmapContextGetHeight(context));
    CGFloat imgResScale = cappedEnlargement(QZTextImageResolutionScale(relativeRect, w, h, scale, 1), font);
    if (imgResScale == 0) return;
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, 0, h);
    CGContextScaleCTM(context, 1, -1);
    CGRect textRect = pixelRect(relativeRect, w, h);
    textRect = isMeme ? memeLayoutRect(textRect, imgResScale) : QZTextLayoutRectForScale(textRect, imgResScale);
    CGContextSetTextMatrix(context, CGAffineTransformIdentity);
    CGPoint centre = QZCGRectGetCenter(textRect);
    CGContextTranslateCTM(context, centre.x, centre.y);
    CGContextScaleCTM(context, imgResScale, -imgResScale);
    CGContextRotateCTM(context, -rotation);
    CGContextTranslateCTM(context, -centre.x, -centre.y);
    drawInRect(context, textRect, text, foregroundColor, backgroundColor, alignment, imgResScale, font);
    CGContextRestoreGState(context);
}

void QZQopText(QopBitmap_t* bitmap, const std::atomic<bool>* stop, const std::string& text,
               const std::shared_ptr<UIColor>& foregroundColor, const std::shared_ptr<UIColor>& backgroundColor,
               QZTextVerticalAlignment alignment, CGRect relativeRect, CGFloat scale, CGFloat rotation, CTFontRef font,
               bool isMeme)
{
    if (!bitmap || !bitmap->glData || stopped(stop)) return;
    auto w = CGFloat(bitmap->width), h = CGFloat(bitmap->height);
    CGRect textRect = CGRectIntegral(pixelRect(relativeRect, w, h));
    CGRect padded = QZTextPaddedRect(textRect);
    QopBitmapResizeRect_t quad = QZTextQuadrilateral(padded, rotation, w, h);
    CGSize maxSize = glMaxSize();
    CGFloat factor = 1;
    CGRect textureRect = QZScaledAndCenteredRectForMaxSize(padded, maxSize, &factor);
    // The CPU's enlargement, shrunk as the texture was: the full-size text does not depend on the path.
    CGFloat imgResScale = cappedEnlargement(QZTextImageResolutionScale(relativeRect, w, h, scale, factor), font);
    if (imgResScale == 0) return;
    CGSize contextSize = CGSizeMake(std::floor(textureRect.size.width), std::floor(textureRect.size.height));
    std::vector<QopColor_t> buffer(size_t(contextSize.width) * size_t(contextSize.height));
    CGContextRef context = buffer.empty() ? nullptr : QZCGContextCreateWithData(buffer.data(), contextSize);
    if (!context) return;
    CGRect layoutRect = QZScaledAndCenteredRectForMaxSize(textRect, maxSize, nullptr);
    layoutRect = isMeme ? CGRectIntegral(memeLayoutRect(layoutRect, imgResScale))
                        : QZTextLayoutRectForScale(layoutRect, imgResScale);
    layoutRect = QZCGRectCenterInRect(layoutRect, CGRectMake(0, 0, contextSize.width, contextSize.height));
    CGContextSetTextMatrix(context, CGAffineTransformIdentity);
    CGPoint centre = QZCGRectGetCenter(layoutRect);
    CGContextTranslateCTM(context, centre.x, centre.y);
    CGContextScaleCTM(context, imgResScale, imgResScale);
    CGContextTranslateCTM(context, -centre.x, -centre.y);
    drawInRect(context, layoutRect, text, foregroundColor, backgroundColor, alignment, imgResScale, font);
    CGContextRelease(context);
    QopBitmap_t source{buffer.data(), size_t(contextSize.width), size_t(contextSize.height), bitmap->glData};
    QopGLEffectBitmapCompositeWithPosition(bitmap, &source, &quad);
}
