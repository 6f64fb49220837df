#include "CoreText/CTFrame.h"

#include <algorithm>

#include "CTInternal.h"

CTFrame::~CTFrame()
{
    for (CTLineRef line : lines) CFRelease(line);
}

CTFrameRef CFRetain(CTFrameRef frame)
{
    if (frame) const_cast<CTFrame*>(frame)->retain();
    return frame;
}

void CFRelease(CTFrameRef frame)
{
    if (frame) const_cast<CTFrame*>(frame)->release();
}

const std::vector<CTLineRef>& CTFrameGetLines(CTFrameRef frame)
{
    static const std::vector<CTLineRef> none;
    return frame ? frame->lines : none;
}

void CTFrameGetLineOrigins(CTFrameRef frame, CFRange range, CGPoint origins[])
{
    if (!frame || !origins) return;
    CFIndex count = CFIndex(frame->origins.size());
    CFIndex start = std::clamp<CFIndex>(range.location, 0, count);
    CFIndex end = range.length == 0 ? count : std::clamp<CFIndex>(start + range.length, start, count);
    std::copy(frame->origins.begin() + start, frame->origins.begin() + end, origins);
}

CFRange CTFrameGetVisibleStringRange(CTFrameRef frame)
{
    return frame && frame->string ? CTUTF16Range(frame->string->text, frame->visible) : CFRangeMake(0, 0);
}
