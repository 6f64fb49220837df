#include "TesselSDKFoundation/QZColorPalette.h"

#include "TesselSDKFoundation/QZDrawing.h"

#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"

#include <algorithm>
#include <cctype>

namespace {

bool isSixHexDigits(const std::string& text)
{
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    return digits.size() == 6 &&
           std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
}

}  // namespace

std::vector<std::shared_ptr<UIColor>> QZColorPaletteWithHexStrings(const Value& colors, const std::string& method)
{
    std::vector<std::shared_ptr<UIColor>> palette;
    if (colors.isNil()) return palette;
    const Value::Array* entries = colors.asArray();
    if (!entries) {
        NSLog("%s %@", method,
              NSStringWithFormat("The colors setting is not a list, no colours are offered: %@", colors));
        return palette;
    }
    for (const Value& entry : *entries) {
        const std::string* hex = entry.asString();
        if (!hex || !isSixHexDigits(*hex)) {
            NSLog("%s %@", method,
                  NSStringWithFormat("Skipped the colour \"%@\": not six hexadecimal digits",
                                     entry.isNil() ? Value("nil") : entry));
            continue;
        }
        palette.push_back(QZUIColorWithHexString(*hex));
    }
    return palette;
}
