#pragma once
// Lines: laid-out glyphs on one baseline. Line space is y up with the origin on the baseline at
// the line's start. Ranges count UTF-16 units.

#include <string>
#include <vector>

#include "CoreGraphics/CGContext.h"
#include "CoreText/CFAttributedString.h"

struct CTLine;
typedef const CTLine* CTLineRef;

enum CTLineTruncationType : uint32_t {
    kCTLineTruncationStart = 0,
    kCTLineTruncationEnd = 1,
    kCTLineTruncationMiddle = 2,
};

// The whole string on one line; line breaks take no room.
CTLineRef CTLineCreateWithAttributedString(CFAttributedStringRef string);
CTLineRef CFRetain(CTLineRef line);
void CFRelease(CTLineRef line);

// The line cut to `width` with the token in place of what is cut; spaces next to the cut go too.
// A line that fits comes back as it is; null when not even the token fits. A null token is "…" in
// the attributes of the first character cut.
CTLineRef CTLineCreateTruncatedLine(CTLineRef line, double width, CTLineTruncationType truncationType,
                                    CTLineRef truncationToken);

// The advance width (a line wrapped at white space leaves out the one space it broke at); ascent
// and descent (positive) of the tallest font on the line; leading 0.
double CTLineGetTypographicBounds(CTLineRef line, CGFloat* ascent, CGFloat* descent, CGFloat* leading);
// Of the white space ending the line (included in the width).
double CTLineGetTrailingWhitespaceWidth(CTLineRef line);
// Where a line starts so that it sits at `flushFactor` (0 left, 0.5 centre, 1 right) of `flushWidth`,
// its trailing white space not counted; 0 for a line as wide or wider.
double CTLineGetPenOffsetForFlush(CTLineRef line, CGFloat flushFactor, double flushWidth);
// The inked box of the glyphs, in line space moved to the context's text position (null context:
// from the origin).
CGRect CTLineGetImageBounds(CTLineRef line, CGContextRef context);
// The text the line holds, its line feed included.
CFRange CTLineGetStringRange(CTLineRef line);

// Carets stand at the edges of composed characters (never inside a cluster) from the line's first
// index to the end of its text; a trailing line feed has its caret before it only.
// The x of the caret at UTF-16 `charIndex` from the line's origin (the leading edge of the
// character there; the text's end for its end). An index between carets takes the one before
// it; one before the line's first or past its last takes that caret. `secondaryOffset`, when
// given, gets the same x: carets here are never split.
CGFloat CTLineGetOffsetForStringIndex(CTLineRef line, CFIndex charIndex, CGFloat* secondaryOffset);
// The index of the caret nearest the position's x in line space: the line's first index before
// its start, the last caret past its end (before a trailing line feed, else the line's end).
// kCFNotFound for a line without characters.
CFIndex CTLineGetStringIndexForPosition(CTLineRef line, CGPoint position);

// One shaped run of a line, for inspection: the text it covers, the face that drew it after
// fallback, and its direction.
struct CTGlyphRunInfo {
    CFRange range;
    std::string fontFullName;  // such as "DejaVu Sans"
    bool rightToLeft = false;
};
// In logical order.
std::vector<CTGlyphRunInfo> CTLineGetGlyphRuns(CTLineRef line);

// Draws the line with its origin at the text position, through the text matrix and the CTM, with the
// context's alpha, blend mode, clip and shadow. Glyphs are upright where user space is y up. The
// glyph outlines are filled in the foreground colour when the stroke width is 0 or negative, then
// stroked in the stroke colour when it is not 0.
void CTLineDraw(CTLineRef line, CGContextRef context);
