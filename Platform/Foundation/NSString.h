#pragma once
// Strings are UTF-8 std::string. This header holds the platform's string formatting: printf
// conversions plus `%@`, which prints an object's description (Value, NSObject pointers and
// strings). Integer conversions without a length modifier print the target's 32-bit sizes, as
// the editor's log and display texts expect; `l`, `ll`, `q`, `z`, `j`, `t` print 64 bits.

#include "Foundation/NSObjCRuntime.h"
#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

struct NSFormatArgument {
    enum class Kind { Signed, Unsigned, Real, Text, Pointer };
    Kind kind = Kind::Pointer;
    std::int64_t i = 0;
    double d = 0;
    std::string text;         // Text: what %s and %@ print
    bool isNullText = false;  // a null C string or nil object: prints "(null)"
    const void* p = nullptr;

    NSFormatArgument(bool b) : kind(Kind::Signed), i(b) {}
    template <std::integral T>
    requires(!std::same_as<T, bool>) NSFormatArgument(T v)
        : kind(std::is_signed_v<T> ? Kind::Signed : Kind::Unsigned), i(static_cast<std::int64_t>(v))
    {
    }
    template <std::floating_point T>
    NSFormatArgument(T v) : kind(Kind::Real), d(static_cast<double>(v))
    {
    }
    template <class E>
    requires std::is_enum_v<E> NSFormatArgument(E e) : NSFormatArgument(static_cast<std::underlying_type_t<E>>(e)) {}
    NSFormatArgument(const char* s) : kind(Kind::Text), text(s ? s : ""), isNullText(!s), p(s) {}
    NSFormatArgument(char* s) : NSFormatArgument(static_cast<const char*>(s)) {}
    NSFormatArgument(const std::string& s) : kind(Kind::Text), text(s) {}
    NSFormatArgument(std::string_view s) : kind(Kind::Text), text(s) {}
    NSFormatArgument(const Value& v) : kind(Kind::Text), text(v.isNil() ? "" : v.description()), isNullText(v.isNil())
    {
    }
    template <class T>
    requires std::derived_from<T, NSObject> NSFormatArgument(const std::shared_ptr<T>& o)
        : kind(Kind::Text), text(o ? o->description() : ""), isNullText(!o), p(o.get())
    {
    }
    NSFormatArgument(const NSObject& o) : kind(Kind::Text), text(o.description()), p(&o) {}
    NSFormatArgument(const void* ptr) : kind(Kind::Pointer), p(ptr) {}
    NSFormatArgument(std::nullptr_t) : kind(Kind::Pointer) {}
};

std::string NSStringWithFormatArguments(std::string_view format, const std::vector<NSFormatArgument>& arguments);

template <class... Args>
std::string NSStringWithFormat(std::string_view format, const Args&... args)
{
    return NSStringWithFormatArguments(format, std::vector<NSFormatArgument>{NSFormatArgument(args)...});
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Property lists and JSON
// hold nothing else, so readers refuse other bytes rather than keep strings no writer can store.
bool NSStringIsValidUTF8(std::string_view text);
