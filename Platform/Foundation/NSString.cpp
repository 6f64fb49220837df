#include "Foundation/NSString.h"

#include <cstdio>

namespace {

std::string formatWithPrintf(const std::string& directive, auto value)
{
    char small[128];
    int n = std::snprintf(small, sizeof small, directive.c_str(), value);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), directive.c_str(), value);
    big.resize(static_cast<size_t>(n));
    return big;
}

std::int64_t asSigned(const NSFormatArgument& a)
{
    if (a.kind == NSFormatArgument::Kind::Real) return static_cast<std::int64_t>(a.d);
    if (a.kind == NSFormatArgument::Kind::Pointer)
        return static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(a.p));
    return a.i;
}

double asReal(const NSFormatArgument& a)
{
    return a.kind == NSFormatArgument::Kind::Real ? a.d : static_cast<double>(asSigned(a));
}

std::string asText(const NSFormatArgument& a)
{
    switch (a.kind) {
    case NSFormatArgument::Kind::Text: return a.isNullText ? "(null)" : a.text;
    case NSFormatArgument::Kind::Signed: return std::to_string(a.i);
    case NSFormatArgument::Kind::Unsigned: return std::to_string(static_cast<std::uint64_t>(a.i));
    case NSFormatArgument::Kind::Real: return formatWithPrintf("%g", a.d);
    case NSFormatArgument::Kind::Pointer: return a.p ? formatWithPrintf("%p", a.p) : "(null)";
    }
    return {};
}

}  // namespace

std::string NSStringWithFormatArguments(std::string_view format, const std::vector<NSFormatArgument>& args)
{
    std::string out;
    size_t next = 0;
    auto take = [&]() -> const NSFormatArgument* { return next < args.size() ? &args[next++] : nullptr; };

    for (size_t pos = 0; pos < format.size();) {
        char c = format[pos];
        if (c != '%') {
            out += c;
            ++pos;
            continue;
        }
        size_t start = pos++;
        std::string directive = "%";
        while (pos < format.size() && std::string_view("-+ #0'").find(format[pos]) != std::string_view::npos)
            directive += format[pos++];
        auto number = [&]() {
            if (pos < format.size() && format[pos] == '*') {
                ++pos;
                const NSFormatArgument* a = take();
                directive += std::to_string(a ? asSigned(*a) : 0);
                return;
            }
            while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') directive += format[pos++];
        };
        number();
        if (pos < format.size() && format[pos] == '.') {
            directive += format[pos++];
            number();
        }
        std::string length;
        while (pos < format.size() && std::string_view("hlqLzjt").find(format[pos]) != std::string_view::npos)
            length += format[pos++];
        if (pos >= format.size()) {
            out.append(format.substr(start));
            break;
        }
        char conv = format[pos++];
        if (conv == '%') {
            out += '%';
            continue;
        }
        const NSFormatArgument* a = take();
        if (!a) {
            // A format asking for more arguments than it was given prints the directive as written
            // rather than reading garbage.
            out.append(format.substr(start, pos - start));
            continue;
        }
        bool wide = !length.empty() && length != "h" && length != "hh";
        switch (conv) {
        case 'd':
        case 'i': {
            std::int64_t v = asSigned(*a);
            if (!wide)
                v = length == "hh"  ? static_cast<std::int8_t>(v)
                    : length == "h" ? static_cast<std::int16_t>(v)
                                    : static_cast<std::int32_t>(v);
            out += formatWithPrintf(directive + "lld", static_cast<long long>(v));
            break;
        }
        case 'u':
        case 'x':
        case 'X':
        case 'o': {
            std::uint64_t v = static_cast<std::uint64_t>(asSigned(*a));
            if (!wide)
                v = length == "hh"  ? static_cast<std::uint8_t>(v)
                    : length == "h" ? static_cast<std::uint16_t>(v)
                                    : static_cast<std::uint32_t>(v);
            out += formatWithPrintf(directive + "ll" + conv, static_cast<unsigned long long>(v));
            break;
        }
        case 'c': out += formatWithPrintf(directive + "c", static_cast<int>(asSigned(*a))); break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A': out += formatWithPrintf(directive + conv, asReal(*a)); break;
        case 's':
        case '@': out += formatWithPrintf(directive + "s", asText(*a).c_str()); break;
        case 'p': out += formatWithPrintf(directive + "p", a->p); break;
        default: out.append(format.substr(start, pos - start)); break;
        }
    }
    return out;
}

bool NSStringIsValidUTF8(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        std::uint32_t cp = length == 1 ? c : c & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = cp << 6 | (next & 0x3F);
        }
        static constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return false;
        i += length;
    }
    return true;
}
