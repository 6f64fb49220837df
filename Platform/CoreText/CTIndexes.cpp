// Crossing between the interface's UTF-16 positions and the UTF-8 text inside.

#include <algorithm>

#include "CTInternal.h"
#include "Foundation/NSStringUTF16.h"

CFIndex CTUTF16Length(const std::string& text)
{
    return CFIndex(NSStringUTF16Length(text));
}

CFIndex CTByteOffset(const std::string& text, CFIndex utf16Index)
{
    return CFIndex(NSStringUTF8OffsetForUTF16Index(text, NSUInteger(std::max<CFIndex>(utf16Index, 0))));
}

CFIndex CTUTF16Index(const std::string& text, CFIndex byteOffset)
{
    return CFIndex(NSStringUTF16IndexForUTF8Offset(text, size_t(std::max<CFIndex>(byteOffset, 0))));
}

CFRange CTByteRange(const std::string& text, CFRange utf16Range)
{
    CFIndex start = CTByteOffset(text, utf16Range.location);
    CFIndex end = CTByteOffset(text, utf16Range.location + std::max<CFIndex>(utf16Range.length, 0));
    return CFRangeMake(start, std::max<CFIndex>(end - start, 0));
}

CFRange CTUTF16Range(const std::string& text, CFRange byteRange)
{
    CFIndex start = CTUTF16Index(text, byteRange.location);
    CFIndex end = CTUTF16Index(text, byteRange.location + byteRange.length);
    return CFRangeMake(start, end - start);
}

CFIndex CTUTF16Walker::indexAt(CFIndex byteOffset)
{
    const CFIndex size = CFIndex(text_.size());
    const CFIndex target = std::clamp<CFIndex>(byteOffset, 0, size);
    if (target < byte_) {
        byte_ = target < markByte_ ? 0 : markByte_;
        unit_ = target < markByte_ ? 0 : markUnit_;
    }
    const std::string_view rest = std::string_view(text_).substr(size_t(byte_));
    const CFIndex unit = unit_ + CFIndex(NSStringUTF16IndexForUTF8Offset(rest, size_t(target - byte_)));
    // Only a character's edge is a place to count on from.
    if (target == size || (static_cast<unsigned char>(text_[size_t(target)]) & 0xC0) != 0x80) {
        byte_ = target;
        unit_ = unit;
    }
    return unit;
}

CFRange CTUTF16Walker::range(CFRange byteRange)
{
    const CFIndex start = indexAt(byteRange.location);
    const CFIndex end = indexAt(byteRange.location + byteRange.length);
    return CFRangeMake(start, end - start);
}

void CTUTF16Walker::mark()
{
    markByte_ = byte_;
    markUnit_ = unit_;
}
