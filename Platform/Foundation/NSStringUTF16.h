#pragma once
// Text positions in UTF-16 units over our UTF-8 strings. The platform's strings count UTF-16
// units, and so do text fields, selections and the ranges the text processors receive; these
// helpers turn such positions into byte offsets of a std::string and back.
//
// The rules every function here keeps:
// - Ill-formed UTF-8 never stops a walk: each maximal ill-formed subpart (an unexpected byte, or
//   the valid start of a sequence cut short) counts as one unit, as if it were U+FFFD. The bytes
//   themselves are left as they are.
// - A position that falls inside a character (a UTF-16 index on the second half of a surrogate
//   pair, a byte offset inside a multi-byte sequence) means that character's start. So splitting
//   a string at any index and joining the halves gives it back unchanged.
// - A position past the end means the end. Nothing reads outside the string.

#include "Foundation/NSObjCRuntime.h"

#include <cstddef>
#include <string>
#include <string_view>

// The number of UTF-16 units the string holds (the platform's `length`).
NSUInteger NSStringUTF16Length(std::string_view utf8);

// The byte offset where the character holding UTF-16 unit `index` starts; the byte length of
// the string for an index at or past the end.
std::size_t NSStringUTF8OffsetForUTF16Index(std::string_view utf8, NSUInteger index);

// The UTF-16 index of the character holding byte `offset`; the UTF-16 length for an offset at or
// past the end.
NSUInteger NSStringUTF16IndexForUTF8Offset(std::string_view utf8, std::size_t offset);

// The bytes between the two ends of a UTF-16 range (`substringWithRange:`), each end placed by
// the rules above; a range reaching past the end stops at the end.
std::string NSStringSubstringWithUTF16Range(std::string_view utf8, NSRange range);

// The UTF-16 range of the user-perceived character holding unit `index`
// (`rangeOfComposedCharacterSequenceAtIndex:`): a base with its combining marks, a surrogate
// pair, an emoji with its modifiers, variation selectors and joined emoji, a flag's pair of
// regional indicators, CR LF. Extended grapheme clusters of Unicode's text segmentation, found
// by ICU's character break iterator. An index at or past the end gives an empty range at the end.
NSRange NSStringRangeOfComposedCharacterSequenceAtIndex(std::string_view utf8, NSUInteger index);
