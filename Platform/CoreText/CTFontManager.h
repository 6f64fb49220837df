#pragma once
// The font manager: font files made known to text layout for the rest of the process.

#include "CoreGraphics/CGFont.h"
#include "Foundation/NSError.h"

#include <memory>

inline constexpr const char* kCTFontManagerErrorDomain = "CTFontManagerErrorDomain";
// The platform's code for a file that holds no font layout can read.
inline constexpr NSInteger kCTFontManagerErrorInvalidFontData = 104;

// The graphics font's file joins the faces layout may use (its characters can fall back to it).
// Names keep resolving through the mapping table of CTFont.h. A file registered before answers
// YES again. NO, with an error of kCTFontManagerErrorDomain naming the file, for a null font or a
// file fontconfig cannot read. `error` may be null.
bool CTFontManagerRegisterGraphicsFont(CGFontRef font, std::shared_ptr<NSError>* error);
