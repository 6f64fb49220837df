#pragma once
// Fonts by name, through one mapping table onto the faces we ship (fontconfig finds them in the
// Liberation and DejaVu packages only, whatever the machine's own font settings):
//   "Helvetica", "ArialMT"              Liberation Sans
//   "Helvetica-Bold", "Arial-BoldMT"    Liberation Sans Bold
//   "Impact"                            DejaVu Sans Condensed Bold
// Metrics are the faces' own (unhinted), in points at the font's size.

#include <string>
#include <string_view>

#include "CoreText/CFBase.h"

struct CTFont;
typedef const CTFont* CTFontRef;

// The largest size a font takes: an em of 16384 points is half the widest image the editor holds.
// Pango counts sizes in 1/1024 points in an int (past about two million points they wrap), and
// Cairo's time grows with a glyph's size, so larger requests are drawn at this size.
inline constexpr CGFloat kCTFontLargestSize = 16384;

// A name outside the table gives Helvetica, as on the platform; a size of 0 or less gives 12 points,
// one above kCTFontLargestSize that size.
CTFontRef CTFontCreateWithName(std::string_view name, CGFloat size);

// The kinds of font the user interface draws with.
enum CTFontUIFontType : uint32_t {
    kCTFontUIFontSystem = 2,
    kCTFontUIFontEmphasizedSystem = 3,
};
// The system's interface font of the kind: Helvetica (Liberation Sans, as UIFont's system font),
// bold when emphasized; null for another kind. The language (may be empty) picks nothing here: the
// one face has the scripts we draw, others fall back as all text does. A size of 0 or less gives
// 12 points.
CTFontRef CTFontCreateUIFontForLanguage(CTFontUIFontType uiType, CGFloat size, std::string_view language);
CTFontRef CFRetain(CTFontRef font);
void CFRelease(CTFontRef font);

CGFloat CTFontGetSize(CTFontRef font);
// Above the baseline, and below it (positive).
CGFloat CTFontGetAscent(CTFontRef font);
CGFloat CTFontGetDescent(CTFontRef font);
CGFloat CTFontGetLeading(CTFontRef font);
CGFloat CTFontGetCapHeight(CTFontRef font);
CGFloat CTFontGetXHeight(CTFontRef font);
// The table's name the font answers to (Helvetica's for a name outside the table).
std::string CTFontCopyPostScriptName(CTFontRef font);
// The face actually drawn, such as "Liberation Sans Bold".
std::string CTFontCopyFullName(CTFontRef font);
