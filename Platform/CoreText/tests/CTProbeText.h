#pragma once
// One fixed drawing of text, made alike by the test process and by the probe program that runs
// under other font settings.

#include <cstdint>
#include <vector>

#include "CTTestSupport.h"

constexpr size_t kProbeWidth = 160, kProbeHeight = 48;

// A line in two faces at fractional sizes and positions, rotated a little: any hinting, snapping or
// change of face or antialiasing shows in the pixels.
inline std::vector<uint8_t> drawProbeText()
{
    TextCanvas canvas(kProbeWidth, kProbeHeight);
    HeldFont regular = font("ArialMT", 13.3f), caption = font("Impact", 17.7f);
    CGColorRef ink = rgbColor(0.1f, 0.2f, 0.7f, 1);
    HeldString string = attributed("Hamburg fonts ", regular.get(), ink);
    CFAttributedStringReplaceString(string.get(), CFRangeMake(CFAttributedStringGetLength(string.get()), 0), "WAVE");
    CFAttributedStringSetAttribute(string.get(), CFRangeMake(14, 4), kCTFontAttributeName, caption.get());
    CGColorRelease(ink);
    HeldLine line(CTLineCreateWithAttributedString(string.get()));
    CGContextRotateCTM(canvas.context, 0.05f);
    CGContextSetTextPosition(canvas.context, 3.37f, 12.61f);
    CTLineDraw(line.get(), canvas.context);
    return canvas.bytes;
}
