// Fuzz target for URL text: any bytes are offered to NSURL. A URL made must have a scheme and
// answer its parts, and be UTF-8 text with no NUL (the parser reads up to one); text that is no URL
// makes none.
#include "Network/NSURL.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    auto url = NSURL::URLWithString(text);
    if (url == nullptr)
        return 0;
    if (url->scheme().empty() || url->absoluteString() != text || text.find('\0') != std::string::npos)
        std::abort();
    (void)url->lastPathComponent();
    (void)url->pathExtension();
    (void)url->hash();
    (void)NSURL::fileURLWithPath("/" + text);
    return 0;
}
