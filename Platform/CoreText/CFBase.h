#pragma once
// The few Core Foundation types the text stand-in speaks in. Text is UTF-8 std::string, and every
// index and range counts its bytes. Objects are counted as Core Graphics' are: a Create or Copy
// answers a reference the caller releases with CFRelease; a Get answers one it does not own.

#include <cstdint>

#include "CoreGraphics/CGBase.h"

typedef long CFIndex;

struct CFRange {
    CFIndex location = 0;
    CFIndex length = 0;
};

inline CFRange CFRangeMake(CFIndex location, CFIndex length)
{
    return CFRange{location, length};
}

// An index answered where there is none.
inline constexpr CFIndex kCFNotFound = -1;

// Names of attributes and other constant strings.
typedef const char* CFStringRef;

// The platform's boolean objects, as attribute values.
struct CFBoolean;
typedef CFBoolean* CFBooleanRef;
extern const CFBooleanRef kCFBooleanTrue;
extern const CFBooleanRef kCFBooleanFalse;
bool CFBooleanGetValue(CFBooleanRef boolean);

// Numbers, as attribute values (a stroke width). Held as a CGFloat whatever the type named.
struct CFNumber;
typedef const CFNumber* CFNumberRef;
enum CFNumberType : int {
    kCFNumberFloatType = 12,
    kCFNumberDoubleType = 13,
    kCFNumberCGFloatType = 16,
};
// `value` points at a float (kCFNumberFloatType, kCFNumberCGFloatType) or a double; null for null.
CFNumberRef CFNumberCreate(const void* allocator, CFNumberType type, const void* value);
CFNumberRef CFRetain(CFNumberRef number);
void CFRelease(CFNumberRef number);
// Writes the value as the type says; false for null.
bool CFNumberGetValue(CFNumberRef number, CFNumberType type, void* value);
