#pragma once
// An error as the platform returns them: domain, code and a userInfo dictionary whose
// NSLocalizedDescriptionKey entry is the message people read.

#include "Foundation/NSObject.h"
#include "Foundation/NSObjCRuntime.h"
#include "Foundation/Value.h"

#include <memory>
#include <string>

inline constexpr const char* NSLocalizedDescriptionKey = "NSLocalizedDescription";
inline constexpr const char* NSUnderlyingErrorKey = "NSUnderlyingError";
inline constexpr const char* NSFilePathErrorKey = "NSFilePath";

// Domains of the errors our stand-ins report.
inline constexpr const char* NSCocoaErrorDomain = "NSCocoaErrorDomain";
inline constexpr const char* NSPOSIXErrorDomain = "NSPOSIXErrorDomain";

class NSError : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSError> errorWithDomain(std::string domain, NSInteger code, Value userInfo = {});
    // Shorthand for the common case of a message only.
    static std::shared_ptr<NSError> errorWithDescription(std::string domain, NSInteger code,
                                                         const std::string& description);

    const std::string& domain() const { return domain_; }
    NSInteger code() const { return code_; }
    const Value& userInfo() const { return userInfo_; }
    // userInfo's NSLocalizedDescriptionKey, or the platform's generic sentence naming domain and code.
    std::string localizedDescription() const;
    std::string description() const override;

    // Fills an out-parameter when the caller gave one (the platform's NSError** convention).
    static void assign(std::shared_ptr<NSError>* out, std::shared_ptr<NSError> error)
    {
        if (out) *out = std::move(error);
    }

private:
    std::string domain_;
    NSInteger code_ = 0;
    Value userInfo_;
};
