#pragma once
// A caption's face at each size its fit tries, made once per size: one keystroke that shrinks the
// type may lay the caption out at up to 80 sizes. Main thread only.

#include "CoreText/CoreText.h"

#include <map>
#include <string>

class QZMemeCaptionFonts {
public:
    QZMemeCaptionFonts() = default;
    QZMemeCaptionFonts(const QZMemeCaptionFonts&) = delete;
    QZMemeCaptionFonts& operator=(const QZMemeCaptionFonts&) = delete;
    ~QZMemeCaptionFonts() { clear(); }

    // The face of `font` at `size`, held here until the face changes or the cache is cleared (the
    // caller retains it to keep it longer); null for a null font.
    CTFontRef fontAtSize(CTFontRef font, CGFloat size);
    void clear();

private:
    std::string face_;
    std::map<CGFloat, CTFontRef> fonts_;
};
