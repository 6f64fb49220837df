#pragma once
// The best guess at a text's language, from the script of its first strong character: Hebrew
// gives "he", Arabic "ar", Latin "en". Text without a strong character (digits, punctuation,
// nothing) or whose first one is of another script has no guess.

#include <string>
#include <string_view>

#include "CoreText/CFBase.h"

// `range` counts UTF-16 units (length 0: to the end). Empty when there is no guess.
std::string CFStringTokenizerCopyBestStringLanguage(std::string_view text, CFRange range);
