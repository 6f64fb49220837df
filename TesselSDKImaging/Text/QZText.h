#pragma once
// The text core: one block of outlined, optionally rotated text in a box given relative to the
// image (0..1 from the top-left), drawn by Core Text into a bitmap context (QZText, the CPU path)
// or laid out in a bitmap of its own and composited through a turned quadrilateral onto a
// GL-backed bitmap (QZQopText, the GPU path). Both enlarge the text about the box centre by
// `scale` x the image's larger side, so one layout serves the preview and the full-size image.
// A box without positive, finite sides, or a scale that gives no positive size, draws nothing.

#include "TesselSDKImaging/Text/QZTextLayout.h"

#include "CoreText/CoreText.h"
#include "QopLite/QopTypes.h"
#include "UIKit/UIColor.h"

#include <atomic>
#include <memory>
#include <string>

// The text with the font, the fill colour, stroke width -3 (fill, then an outline 3 % of the font
// size wide) and the outline colour over its whole length: every drawing of a text, on screen and
// in the image, lays out this one string. A nil colour leaves its attribute unset (black fill; the
// outline in the fill colour). The caller releases it.
CFMutableAttributedStringRef QZTextAttributedString(const std::string& text, CTFontRef font,
                                                    const std::shared_ptr<UIColor>& foregroundColor,
                                                    const std::shared_ptr<UIColor>& backgroundColor);

// QZTextAttributedString laid out in the path. The caller releases the frame.
CTFrameRef formatedCTFrameWithPath(CGPathRef path, const std::string& text, CTFontRef font,
                                   const std::shared_ptr<UIColor>& foregroundColor,
                                   const std::shared_ptr<UIColor>& backgroundColor);

// Draws the frame's lines, each centred in the width of `textBounds`, placed as
// QZTextLinePositions says.
void drawTextLinesCentered(CGContextRef context, CTFrameRef frame, CGRect textBounds, QZTextVerticalAlignment alignment,
                           NSLocaleLanguageDirection languageDirection, CGFloat scale, bool newLineTerminated);

// The character direction of the text's best-guess language; left to right when there is none.
NSLocaleLanguageDirection QZTextLanguageDirection(const std::string& text);

// Both return at once when `stop` (may be null) is set. The meme form wraps the text inside its
// box at the enlarged size.
void QZText(CGContextRef context, const std::atomic<bool>* stop, const std::string& text,
            const std::shared_ptr<UIColor>& foregroundColor, const std::shared_ptr<UIColor>& backgroundColor,
            QZTextVerticalAlignment alignment, CGRect relativeRect, CGFloat scale, CGFloat rotation, CTFontRef font,
            bool isMeme);
// The bitmap's glData must be set; its current effect receives one composite pass. The text is
// rasterised once, into a bitmap no larger than the GL manager's maxSize.
void QZQopText(QopBitmap_t* bitmap, const std::atomic<bool>* stop, const std::string& text,
               const std::shared_ptr<UIColor>& foregroundColor, const std::shared_ptr<UIColor>& backgroundColor,
               QZTextVerticalAlignment alignment, CGRect relativeRect, CGFloat scale, CGFloat rotation, CTFontRef font,
               bool isMeme);
