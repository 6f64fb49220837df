#include <gtest/gtest.h>

#include "CoreText/CFStringTokenizer.h"
#include "Foundation/NSLocale.h"

namespace {

TEST(CTLanguage, TheFirstStrongCharacterDecidesTheDirection)
{
    struct Case {
        const char* text;
        const char* language;
        NSLocaleLanguageDirection direction;
    } cases[] = {
        {"\u05E9\u05DC\u05D5\u05DD", "he", NSLocaleLanguageDirectionRightToLeft},
        {"2024: \u0645\u0631\u062D\u0628\u0627 hello", "ar", NSLocaleLanguageDirectionRightToLeft},
        {"Hello \u05E9\u05DC\u05D5\u05DD", "en", NSLocaleLanguageDirectionLeftToRight},
        {"12345 !?", "", NSLocaleLanguageDirectionUnknown},
        {"", "", NSLocaleLanguageDirectionUnknown},
        {"\xff\xfe", "", NSLocaleLanguageDirectionUnknown},
    };
    for (const Case& c : cases) {
        std::string language = CFStringTokenizerCopyBestStringLanguage(c.text, CFRangeMake(0, 0));
        EXPECT_EQ(language, c.language) << c.text;
        EXPECT_EQ(NSLocale::characterDirectionForLanguage(language), c.direction) << c.text;
    }
    for (const char* rtl : {"ar", "he", "fa", "ur", "yi", "ar-EG", "HE"})
        EXPECT_EQ(NSLocale::characterDirectionForLanguage(rtl), NSLocaleLanguageDirectionRightToLeft) << rtl;
    EXPECT_EQ(NSLocale::characterDirectionForLanguage("fr"), NSLocaleLanguageDirectionLeftToRight);
}

}  // namespace
