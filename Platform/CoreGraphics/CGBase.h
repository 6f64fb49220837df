#pragma once
// Scalar types shared by the drawing stand-in. CGFloat is a 32-bit float, as on the target
// devices: the worked examples of the geometry functions depend on single-precision rounding.

#include <atomic>
#include <cstddef>
#include <cstdint>

typedef float CGFloat;

// The reference-counted objects of this layer (paths, colours, images, contexts...) share one
// counting base so that Retain/Release behave alike and are all null-safe.
struct CGObject {
    CGObject() = default;
    CGObject(const CGObject&) = delete;
    CGObject& operator=(const CGObject&) = delete;
    virtual ~CGObject() = default;
    void retain();
    void release();
    // True when the caller holds the only reference: no other thread can retain the object then.
    bool isUniquelyReferenced() const { return refs_.load(std::memory_order_acquire) == 1; }

private:
    std::atomic<std::ptrdiff_t> refs_{1};
};
