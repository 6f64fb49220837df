#include "TesselSDK/remote/QZVersionComparison.h"

#include <cstddef>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The run of digits starting at `i`, without its leading zeros; `i` moves past the run.
std::string_view digitRun(std::string_view text, std::size_t& i)
{
    std::size_t start = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    std::size_t firstSignificant = start;
    while (firstSignificant < i && text[firstSignificant] == '0') ++firstSignificant;
    return text.substr(firstSignificant, i - firstSignificant);
}

}  // namespace

int QZCompareVersions(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            // Compared as text of equal length, so runs of any length never overflow.
            std::string_view x = digitRun(a, i);
            std::string_view y = digitRun(b, j);
            if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
            if (int order = x.compare(y); order != 0) return order < 0 ? -1 : 1;
            continue;
        }
        unsigned char x = static_cast<unsigned char>(folded(a[i]));
        unsigned char y = static_cast<unsigned char>(folded(b[j]));
        if (x != y) return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    const bool aLeft = i < a.size();
    const bool bLeft = j < b.size();
    return aLeft == bLeft ? 0 : (aLeft ? 1 : -1);
}
