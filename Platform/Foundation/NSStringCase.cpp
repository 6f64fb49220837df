#include "Foundation/NSStringCase.h"

#include "Foundation/NSString.h"

#include <unicode/ucasemap.h>

#include <memory>

std::string NSStringUppercaseString(std::string_view utf8)
{
    if (utf8.empty() || !NSStringIsValidUTF8(utf8)) return std::string(utf8);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCaseMap, decltype(&ucasemap_close)> map(ucasemap_open("", 0, &status), &ucasemap_close);
    if (U_FAILURE(status)) return std::string(utf8);
    std::string upper(utf8.size() * 3 + 4, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        status = U_ZERO_ERROR;
        const int32_t length = ucasemap_utf8ToUpper(map.get(), upper.data(), int32_t(upper.size()), utf8.data(),
                                                    int32_t(utf8.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            upper.assign(std::size_t(length), '\0');
            continue;
        }
        if (U_FAILURE(status)) return std::string(utf8);
        upper.resize(std::size_t(length));
        return upper;
    }
    return std::string(utf8);
}
