#pragma once
// A random (version 4) UUID.

#include "Foundation/NSObject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class NSUUID : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSUUID> UUID();
    // Upper-case hexadecimal in 8-4-4-4-12 groups, as the platform writes it.
    std::string UUIDString() const;
    std::string description() const override { return UUIDString(); }

private:
    std::array<std::uint8_t, 16> bytes_{};
};
