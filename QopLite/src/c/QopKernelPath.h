// Which instruction-set code a per-pixel kernel may use: the fastest the processor has, AVX2 at
// most, or the portable code. Every path gives the same bytes; the choice is there for tests.
#pragma once

namespace qop_internal {

enum class KernelPath { Best, Avx2, Portable };

// The code a kernel with AVX2 and AVX-512 (F, BW, VL and VBMI) variants runs on this processor.
enum class KernelCode { Portable, Avx2, Avx512 };

inline KernelCode kernelCode(KernelPath path)
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (path == KernelPath::Portable)
        return KernelCode::Portable;
    if (path == KernelPath::Best && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi"))
        return KernelCode::Avx512;
    if (__builtin_cpu_supports("avx2"))
        return KernelCode::Avx2;
#else
    (void)path;
#endif
    return KernelCode::Portable;
}

} // namespace qop_internal
