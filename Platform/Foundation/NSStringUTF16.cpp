#include "Foundation/NSStringUTF16.h"

#include <unicode/ubrk.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// One character of the walk: its bytes and its UTF-16 units. ICU's U8_NEXT decides where an
// ill-formed subpart ends, so our positions agree with the break iterator's on bad input too.
struct Character {
    std::size_t bytes;
    NSUInteger units;
};

Character characterAt(std::string_view utf8, std::size_t offset)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    std::size_t next = offset;
    UChar32 codePoint = 0;
    U8_NEXT(bytes, next, utf8.size(), codePoint);
    return {next - offset, codePoint > 0xFFFF ? 2u : 1u};
}

// A break iterator per thread: opening one loads its rules, and one may not be shared.
UBreakIterator* characterBreakIterator()
{
    struct Holder {
        UBreakIterator* iterator = nullptr;
        ~Holder()
        {
            if (iterator) ubrk_close(iterator);
        }
    };
    thread_local Holder holder;
    if (!holder.iterator) {
        UErrorCode status = U_ZERO_ERROR;
        holder.iterator = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status);
        if (U_FAILURE(status)) holder.iterator = nullptr;
    }
    return holder.iterator;
}

struct ByteRange {
    std::size_t start;
    std::size_t end;
};

// The grapheme cluster holding the character that starts at `offset` (< utf8.size()). Where ICU
// cannot help (no iterator, a string beyond its 32-bit offsets) the cluster is that one character.
ByteRange graphemeAt(std::string_view utf8, std::size_t offset)
{
    const ByteRange single{offset, offset + characterAt(utf8, offset).bytes};
    UBreakIterator* iterator = characterBreakIterator();
    if (!iterator || utf8.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return single;

    UErrorCode status = U_ZERO_ERROR;
    UText text = UTEXT_INITIALIZER;
    utext_openUTF8(&text, utf8.data(), static_cast<std::int64_t>(utf8.size()), &status);
    ubrk_setUText(iterator, &text, &status);
    ByteRange range = single;
    if (U_SUCCESS(status)) {
        const std::int32_t end = ubrk_following(iterator, static_cast<std::int32_t>(offset));
        const std::int32_t start = end == UBRK_DONE ? UBRK_DONE : ubrk_preceding(iterator, end);
        if (start != UBRK_DONE && static_cast<std::size_t>(start) <= offset && static_cast<std::size_t>(end) > offset)
            range = {static_cast<std::size_t>(start), static_cast<std::size_t>(end)};
    }
    utext_close(&text);
    return range;
}

}  // namespace

NSUInteger NSStringUTF16Length(std::string_view utf8)
{
    NSUInteger units = 0;
    for (std::size_t offset = 0; offset < utf8.size();) {
        const Character character = characterAt(utf8, offset);
        offset += character.bytes;
        units += character.units;
    }
    return units;
}

std::size_t NSStringUTF8OffsetForUTF16Index(std::string_view utf8, NSUInteger index)
{
    std::uint64_t units = 0;
    for (std::size_t offset = 0; offset < utf8.size();) {
        const Character character = characterAt(utf8, offset);
        if (units + character.units > index) return offset;
        offset += character.bytes;
        units += character.units;
    }
    return utf8.size();
}

NSUInteger NSStringUTF16IndexForUTF8Offset(std::string_view utf8, std::size_t offset)
{
    NSUInteger units = 0;
    for (std::size_t position = 0; position < utf8.size();) {
        const Character character = characterAt(utf8, position);
        if (position + character.bytes > offset) return units;
        position += character.bytes;
        units += character.units;
    }
    return units;
}

std::string NSStringSubstringWithUTF16Range(std::string_view utf8, NSRange range)
{
    const std::uint64_t end = std::uint64_t{range.location} + range.length;
    const std::size_t startByte = NSStringUTF8OffsetForUTF16Index(utf8, range.location);
    const std::size_t endByte = NSStringUTF8OffsetForUTF16Index(
        utf8, static_cast<NSUInteger>(std::min<std::uint64_t>(end, std::numeric_limits<NSUInteger>::max())));
    return std::string(utf8.substr(startByte, endByte - startByte));
}

NSRange NSStringRangeOfComposedCharacterSequenceAtIndex(std::string_view utf8, NSUInteger index)
{
    const std::size_t offset = NSStringUTF8OffsetForUTF16Index(utf8, index);
    if (offset >= utf8.size()) return NSMakeRange(NSStringUTF16Length(utf8), 0);
    const ByteRange cluster = graphemeAt(utf8, offset);
    const NSUInteger start = NSStringUTF16IndexForUTF8Offset(utf8, cluster.start);
    const NSUInteger end = NSStringUTF16IndexForUTF8Offset(utf8, cluster.end);
    return NSMakeRange(start, end - start);
}
