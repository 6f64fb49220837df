#pragma once
// Attributed strings: UTF-8 text with named attributes over ranges of it. Values are counted
// objects (fonts, colours, paragraph styles, booleans, numbers) that the string retains. Ranges
// count UTF-16 units; an end inside a surrogate pair means the pair's start, one past the end the
// end. Invalid UTF-8 in text put in becomes U+FFFD, one unit each.

#include <string>
#include <string_view>

#include "CoreGraphics/CGColor.h"
#include "CoreText/CFBase.h"

struct CFAttributedString;
typedef const CFAttributedString* CFAttributedStringRef;
typedef CFAttributedString* CFMutableAttributedStringRef;
struct CTFont;
typedef const CTFont* CTFontRef;
struct CTParagraphStyle;
typedef const CTParagraphStyle* CTParagraphStyleRef;

// Any object an attribute may hold.
class CFAttributeValue {
public:
    enum class Kind { Font, Color, ParagraphStyle, Boolean, Number };
    CFAttributeValue(CTFontRef font) : object_(font), kind_(Kind::Font) {}
    CFAttributeValue(CGColorRef color) : object_(color), kind_(Kind::Color) {}
    CFAttributeValue(CTParagraphStyleRef style) : object_(style), kind_(Kind::ParagraphStyle) {}
    CFAttributeValue(CFBooleanRef boolean) : object_(boolean), kind_(Kind::Boolean) {}
    CFAttributeValue(CFNumberRef number) : object_(number), kind_(Kind::Number) {}
    const void* object() const { return object_; }
    Kind kind() const { return kind_; }

private:
    const void* object_;
    Kind kind_;
};

CFMutableAttributedStringRef CFAttributedStringCreateMutable();
CFAttributedStringRef CFRetain(CFAttributedStringRef string);
void CFRelease(CFAttributedStringRef string);

// In UTF-16 units.
CFIndex CFAttributedStringGetLength(CFAttributedStringRef string);
// Valid while the string lives unchanged.
const std::string& CFAttributedStringGetString(CFAttributedStringRef string);

// Replaces the characters of `range` with `text`. New characters take the attributes of the first
// replaced character, or, when none is replaced, of the one before (after, at the start).
void CFAttributedStringReplaceString(CFMutableAttributedStringRef string, CFRange range, std::string_view text);
// Gives every character of `range` the value under `name` (a null value changes nothing).
void CFAttributedStringSetAttribute(CFMutableAttributedStringRef string, CFRange range, CFStringRef name,
                                    CFAttributeValue value);
// The value under `name` at the index (null when none), and the range around it that has the same.
const void* CFAttributedStringGetAttribute(CFAttributedStringRef string, CFIndex location, CFStringRef name,
                                           CFRange* effectiveRange);
