#pragma once
// Paragraph styles: so far only how lines break.

#include <cstddef>
#include <cstdint>

#include "CoreText/CFBase.h"

struct CTParagraphStyle;
typedef const CTParagraphStyle* CTParagraphStyleRef;

// In a frame, the clipping and truncating modes keep each paragraph on one line: drawn past the
// edge (clipping), or cut to the width with an ellipsis at its head, tail or middle.
enum CTLineBreakMode : uint8_t {
    kCTLineBreakByWordWrapping = 0,  // a word too long for a line breaks between characters
    kCTLineBreakByCharWrapping = 1,
    kCTLineBreakByClipping = 2,
    kCTLineBreakByTruncatingHead = 3,
    kCTLineBreakByTruncatingTail = 4,
    kCTLineBreakByTruncatingMiddle = 5,
};

enum CTParagraphStyleSpecifier : uint32_t {
    kCTParagraphStyleSpecifierLineBreakMode = 6,
};

struct CTParagraphStyleSetting {
    CTParagraphStyleSpecifier specifier;
    size_t valueSize;
    const void* value;
};

// Settings of an unknown specifier or the wrong value size are left out.
CTParagraphStyleRef CTParagraphStyleCreate(const CTParagraphStyleSetting* settings, size_t settingCount);
CTParagraphStyleRef CFRetain(CTParagraphStyleRef style);
void CFRelease(CTParagraphStyleRef style);
