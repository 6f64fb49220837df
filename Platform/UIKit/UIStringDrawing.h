#pragma once
// Measuring and drawing plain strings in a font, as UIKit's string additions do. Measuring gives
// exactly the size that drawing (and a label) lays the text out in: see UITextLayout.

#include <memory>
#include <string>

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObjCRuntime.h"

class UIFont;

enum NSLineBreakMode : NSInteger {
    NSLineBreakByWordWrapping = 0,  // a word too long for a line breaks between characters
    NSLineBreakByCharWrapping = 1,
    NSLineBreakByClipping = 2,
    NSLineBreakByTruncatingHead = 3,
    NSLineBreakByTruncatingTail = 4,
    NSLineBreakByTruncatingMiddle = 5,
};
typedef NSLineBreakMode UILineBreakMode;
inline constexpr UILineBreakMode UILineBreakModeWordWrap = NSLineBreakByWordWrapping;
inline constexpr UILineBreakMode UILineBreakModeCharacterWrap = NSLineBreakByCharWrapping;
inline constexpr UILineBreakMode UILineBreakModeClip = NSLineBreakByClipping;
inline constexpr UILineBreakMode UILineBreakModeHeadTruncation = NSLineBreakByTruncatingHead;
inline constexpr UILineBreakMode UILineBreakModeTailTruncation = NSLineBreakByTruncatingTail;
inline constexpr UILineBreakMode UILineBreakModeMiddleTruncation = NSLineBreakByTruncatingMiddle;

enum NSTextAlignment : NSInteger {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentCenter = 1,
    NSTextAlignmentRight = 2,
};

// The text on one line (up to its first line break), unlimited in width; whole points.
CGSize sizeWithFont(const std::string& text, const std::shared_ptr<UIFont>& font);
// The text within the size: wrapped to the width, as many lines as the height holds (at least
// one), the last cut as the mode says; whole points. Empty text (or no font) measures 0 x 0.
CGSize sizeWithFont(const std::string& text, const std::shared_ptr<UIFont>& font, CGSize constrainedSize,
                    NSLineBreakMode lineBreakMode);
// Draws what sizeWithFont measures within the rectangle's size, from its top, each line aligned in
// its width, in the current context's fill colour; clipping mode clips to the rectangle. Answers
// the size drawn. The current context must be UIKit's (y down); none draws nothing.
CGSize drawInRect(const std::string& text, CGRect rect, const std::shared_ptr<UIFont>& font,
                  NSLineBreakMode lineBreakMode, NSTextAlignment alignment);
