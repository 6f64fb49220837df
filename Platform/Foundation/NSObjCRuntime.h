#pragma once
// Scalar types of the target platform. The sizes are the target's, not the host's: counts,
// "not found" markers and geometry must come out as on the target, which has 32-bit integers.

#include <cstdint>

using NSInteger = std::int32_t;
using NSUInteger = std::uint32_t;
using NSTimeInterval = double;

inline constexpr NSInteger NSNotFound = 2147483647;

enum NSComparisonResult : NSInteger { NSOrderedAscending = -1, NSOrderedSame = 0, NSOrderedDescending = 1 };

struct NSRange {
    NSUInteger location = 0;
    NSUInteger length = 0;
    bool operator==(const NSRange&) const = default;
};

inline NSRange NSMakeRange(NSUInteger location, NSUInteger length)
{
    return {location, length};
}
