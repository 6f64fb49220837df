// The box-hybrid passes on the CPU, apart from the kernel they apply (made in QopConvolution.cpp):
// one pass along rows and one along columns, in place, alpha untouched.
#pragma once

#include "QopLite/QopTypes.h"

namespace qop_internal {

// After the window rewrite the half-width dw stays at 4 or below; the bound leaves room.
constexpr int kMaxTaps = 32;

// One pass's kernel: n = 2 dw + 1 taps spaced windowWidth apart, each applied to a box sum of
// windowWidth pixels, in 4096ths (before the gain correction).
struct BoxHybridKernel {
    bool sharpen = false;
    int dw = 0;
    int db = 0;
    int windowWidth = 1;
    int taps = 0;
    int kernel[kMaxTaps] = {};
    int sum = 0;
};

// Which code a pass may use: the fastest the processor has, AVX2 at most, or the portable 32-bit
// code. All give the same bytes; the choice is there for tests.
enum class BoxHybridPath { Best, Avx2, Portable };

// One pass of the kernel over every row (X) or column (Y) of the bitmap's pixels, which must be
// present and non-empty; the kernel's taps are at least 1. Nothing is done when the line buffers
// cannot be allocated.
void cpuPassX(QopBitmap_t *bitmap, const BoxHybridKernel &k, BoxHybridPath path = BoxHybridPath::Best);
void cpuPassY(QopBitmap_t *bitmap, const BoxHybridKernel &k, BoxHybridPath path = BoxHybridPath::Best);

} // namespace qop_internal
