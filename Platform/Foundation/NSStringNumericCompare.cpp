#include "Foundation/NSStringNumericCompare.h"

#include <cctype>

namespace {

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The digit run starting at `i`, without its leading zeros; `i` moves past the run.
std::string_view digitRun(std::string_view s, size_t& i)
{
    size_t start = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    std::string_view run = s.substr(start, i - start);
    while (run.size() > 1 && run.front() == '0') run.remove_prefix(1);
    return run;
}

}  // namespace

NSComparisonResult NSStringCompareNumeric(std::string_view a, std::string_view b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            // Any length of digits: a longer run (leading zeros gone) is the larger number.
            std::string_view x = digitRun(a, i), y = digitRun(b, j);
            if (x.size() != y.size()) return x.size() < y.size() ? NSOrderedAscending : NSOrderedDescending;
            if (int c = x.compare(y)) return c < 0 ? NSOrderedAscending : NSOrderedDescending;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? NSOrderedAscending
                                                                                       : NSOrderedDescending;
        ++i, ++j;
    }
    if (i < a.size()) return NSOrderedDescending;
    if (j < b.size()) return NSOrderedAscending;
    return NSOrderedSame;
}
