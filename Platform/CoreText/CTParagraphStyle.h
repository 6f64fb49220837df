#pragma once
// Paragraph styles: so far only how lines break.

#include <cstddef>
#include <cstdint>

#include "CoreText/CFBase.h"

struct CTParagraphStyle;
typedef const CTParagraphStyle* CTParagraphStyleRef;

enum CTLineBreakMode : uint8_t {
    kCTLineBreakByWordWrapping = 0,  // a word too long for a line breaks between characters
    kCTLineBreakByCharWrapping = 1,
    kCTLineBreakByClipping = 2,        // in a frame: one line per paragraph, drawn past the edge
    kCTLineBreakByTruncatingHead = 3,  // in a frame: one line per paragraph, cut to the width with an ellipsis
    kCTLineBreakByTruncatingTail = 4,
    kCTLineBreakByTruncatingMiddle = 5,
};

enum CTParagraphStyleSpecifier : uint32_t {
    kCTParagraphStyleSpecifierLineBreakMode = 6,
};

struct CTParagraphStyleSetting {
    CTParagraphStyleSpecifier spec;
    size_t valueSize;
    const void* value;
};

// Settings of an unknown specifier or the wrong value size are left out.
CTParagraphStyleRef CTParagraphStyleCreate(const CTParagraphStyleSetting* settings, size_t settingCount);
CTParagraphStyleRef CFRetain(CTParagraphStyleRef style);
void CFRelease(CTParagraphStyleRef style);
