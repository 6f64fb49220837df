#pragma once
// The platform's exceptions, as a C++ exception type. We raise them only where a
// programming error must stop the caller (an abstract hook that was not overridden).

#include "Foundation/NSString.h"

#include <exception>
#include <string>

inline constexpr const char* NSInternalInconsistencyException = "NSInternalInconsistencyException";

class NSException : public std::exception {
public:
    NSException(std::string name, std::string reason) : name_(std::move(name)), reason_(std::move(reason)) {}

    // Throws an NSException whose reason is the formatted text.
    template <class... Args>
    [[noreturn]] static void raise(const std::string& name, std::string_view format, const Args&... args)
    {
        throw NSException(name, NSStringWithFormat(format, args...));
    }

    const std::string& name() const { return name_; }
    const std::string& reason() const { return reason_; }
    const char* what() const noexcept override { return reason_.c_str(); }

private:
    std::string name_;
    std::string reason_;
};
