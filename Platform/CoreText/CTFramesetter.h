#pragma once
// Framesetters: wrap an attributed string into lines.

#include "CoreGraphics/CGPath.h"
#include "CoreText/CFAttributedString.h"
#include "CoreText/CTFrame.h"

struct CTFramesetter;
typedef const CTFramesetter* CTFramesetterRef;

// Works on a copy: later changes to the string do not reach it.
CTFramesetterRef CTFramesetterCreateWithAttributedString(CFAttributedStringRef string);
CTFramesetterRef CFRetain(CTFramesetterRef framesetter);
void CFRelease(CTFramesetterRef framesetter);

// The size the lines of `range` (length 0: to the end) take when wrapped to the constraint's width:
// the widest line without its trailing white space, and the lines' heights (ascent, descent and
// leading each) while they fit the constraint's height. `fitRange` gets the text they hold.
// Frame attributes are not read (pass null).
CGSize CTFramesetterSuggestFrameSizeWithConstraints(CTFramesetterRef framesetter, CFRange range,
                                                    const void* frameAttributes, CGSize constraints, CFRange* fitRange);
// The lines of `range` wrapped to the width of the path's bounding box (callers give rectangles),
// from its top down, as many as fit its height whole.
CTFrameRef CTFramesetterCreateFrame(CTFramesetterRef framesetter, CFRange range, CGPathRef path,
                                    const void* frameAttributes);
