#include "Foundation/NSStringsTable.h"

#include "Foundation/NSError.h"
#include "Foundation/NSString.h"

#include <cctype>
#include <cstdint>
#include <string>

namespace {

void appendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 with a byte-order mark to UTF-8; other text is taken as UTF-8 (a UTF-8 mark is dropped).
std::string toUtf8(std::string_view text)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) return std::string(text.substr(3));
    if (text.size() < 2 || !((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF)))
        return std::string(text);
    bool little = byte(0) == 0xFF;
    std::string out;
    for (size_t i = 2; i + 1 < text.size(); i += 2) {
        std::uint32_t u = little ? (byte(i) | byte(i + 1) << 8) : (byte(i) << 8 | byte(i + 1));
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < text.size()) {
            std::uint32_t low = little ? (byte(i + 2) | byte(i + 3) << 8) : (byte(i + 2) << 8 | byte(i + 3));
            if (low >= 0xDC00 && low < 0xE000) {
                u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, u);
    }
    return out;
}

class Parser {
public:
    explicit Parser(const std::string& text) : s_(text) {}

    Value parse(std::shared_ptr<NSError>* error)
    {
        Value::Dictionary table;
        for (;;) {
            if (!skip()) return fail(error, "unterminated comment");
            if (pos_ >= s_.size()) break;
            std::string key, value;
            if (!token(key)) return fail(error, "expected a key");
            if (!NSStringIsValidUTF8(key)) return fail(error, "invalid UTF-8 in a key");
            if (!skip()) return fail(error, "unterminated comment");
            if (pos_ < s_.size() && s_[pos_] == ';') {
                ++pos_;
                table.insert_or_assign(key, Value(key));
                continue;
            }
            if (pos_ >= s_.size() || s_[pos_] != '=') return fail(error, "expected '=' after a key");
            ++pos_;
            if (!skip() || !token(value)) return fail(error, "expected a value");
            if (!NSStringIsValidUTF8(value)) return fail(error, "invalid UTF-8 in a value");
            if (!skip() || pos_ >= s_.size() || s_[pos_] != ';') return fail(error, "expected ';' after a value");
            ++pos_;
            table.insert_or_assign(key, Value(value));
        }
        return Value(std::move(table));
    }

private:
    Value fail(std::shared_ptr<NSError>* error, const char* what)
    {
        int line = 1;
        for (size_t i = 0; i < pos_ && i < s_.size(); ++i) line += s_[i] == '\n';
        NSError::assign(error,
                        NSError::errorWithDescription(NSCocoaErrorDomain, 3840,
                                                      NSStringWithFormat("Strings table: %s on line %d", what, line)));
        return {};
    }

    // Skips blanks and comments; false for a comment that never ends.
    bool skip()
    {
        while (pos_ < s_.size()) {
            if (std::isspace(static_cast<unsigned char>(s_[pos_]))) {
                ++pos_;
            } else if (s_.compare(pos_, 2, "//") == 0) {
                while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
            } else if (s_.compare(pos_, 2, "/*") == 0) {
                size_t end = s_.find("*/", pos_ + 2);
                if (end == std::string::npos) return false;
                pos_ = end + 2;
            } else {
                break;
            }
        }
        return true;
    }

    bool token(std::string& out)
    {
        if (pos_ >= s_.size()) return false;
        if (s_[pos_] != '"') {
            size_t start = pos_;
            while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) ||
                                        std::string_view("_.$/:-").find(s_[pos_]) != std::string_view::npos))
                ++pos_;
            out = s_.substr(start, pos_ - start);
            return !out.empty();
        }
        ++pos_;
        std::uint32_t pendingHigh = 0;
        while (pos_ < s_.size() && s_[pos_] != '"') {
            char c = s_[pos_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size()) return false;
            char e = s_[pos_++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'a': out += '\a'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'v': out += '\v'; break;
            case 'U':
            case 'u': {
                std::uint32_t u = 0;
                int digits = 0;
                while (digits < 4 && pos_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[pos_]))) {
                    u = u * 16 + static_cast<std::uint32_t>(std::stoi(std::string(1, s_[pos_++]), nullptr, 16));
                    ++digits;
                }
                if (digits == 0) return false;
                if (u >= 0xD800 && u < 0xDC00) {
                    pendingHigh = u;
                    continue;
                }
                if (u >= 0xDC00 && u < 0xE000 && pendingHigh)
                    u = 0x10000 + ((pendingHigh - 0xD800) << 10) + (u - 0xDC00);
                appendUtf8(out, u);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    int v = e - '0';
                    for (int k = 0; k < 2 && pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '7'; ++k)
                        v = v * 8 + (s_[pos_++] - '0');
                    out += static_cast<char>(v);
                } else {
                    out += e;  // \" \\ \' and any other character stand for themselves
                }
            }
            pendingHigh = 0;
        }
        if (pos_ >= s_.size()) return false;
        ++pos_;
        return true;
    }

    const std::string& s_;
    size_t pos_ = 0;
};

}  // namespace

Value NSStringsTableFromText(std::string_view text, std::shared_ptr<NSError>* error)
{
    std::string utf8 = toUtf8(text);
    return Parser(utf8).parse(error);
}
