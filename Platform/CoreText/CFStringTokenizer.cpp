#include "CoreText/CFStringTokenizer.h"

#include <glib.h>

#include <algorithm>

#include "Foundation/NSStringUTF16.h"

std::string CFStringTokenizerCopyBestStringLanguage(std::string_view text, CFRange range)
{
    NSUInteger length = NSStringUTF16Length(text);
    NSUInteger from = NSUInteger(std::clamp<CFIndex>(range.location, 0, CFIndex(length)));
    NSUInteger to =
        range.length > 0 ? NSUInteger(std::min<CFIndex>(CFIndex(from) + range.length, CFIndex(length))) : length;
    size_t start = NSStringUTF8OffsetForUTF16Index(text, from), end = NSStringUTF8OffsetForUTF16Index(text, to);
    const char* p = text.data() + start;
    const char* stop = text.data() + end;
    while (p < stop) {
        gunichar c = g_utf8_get_char_validated(p, stop - p);
        if (c == gunichar(-1) || c == gunichar(-2)) {
            ++p;  // an ill-formed byte is no strong character
            continue;
        }
        p = g_utf8_next_char(p);
        switch (g_unichar_get_script(c)) {
        case G_UNICODE_SCRIPT_COMMON:
        case G_UNICODE_SCRIPT_INHERITED:
        case G_UNICODE_SCRIPT_UNKNOWN: continue;  // digits, punctuation, marks: not strong
        case G_UNICODE_SCRIPT_HEBREW: return "he";
        case G_UNICODE_SCRIPT_ARABIC: return "ar";
        case G_UNICODE_SCRIPT_LATIN: return "en";
        default: return {};
        }
    }
    return {};
}
