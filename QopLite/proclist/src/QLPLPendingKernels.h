// QLPLPendingKernels.h: which library kernels the runner calls but the library does not yet
// provide (see QLPLPendingKernels.cpp). A processor asks before its kernel call and fails when
// the kernel is pending, so a recipe never reports success for work that was not done.
#pragma once

// True while the kernel of that exact name only has its placeholder body.
bool QLPLKernelIsPending(const char *kernelName);
