// QopGpuComparison.h: runs one operation on a CPU bitmap and the same operation on a copy that
// carries a GPU record (Default mode, no renderbuffer, one effect around the operation, read back
// at its end), and reports the difference statistics. Every kernel with a GPU twin is checked
// through it.
#pragma once

#include "QopImageCompare.h"
#include "QopTestBitmap.h"

#include "QopLite/QopGLData.h"

#include <functional>
#include <string>

namespace qop_test {

// The operation under comparison; it receives the bitmap first, as every library operation does.
using BitmapOperation = std::function<void(QopBitmap_t *bitmap)>;

struct GpuComparisonOptions {
    QopGLDeviceGPUSpeed gpuSpeed = QopGLDeviceGPUSpeedFast;
    bool includeAlpha = false;
};

struct GpuComparison {
    bool ran = false;        // false: no GL context could be made (skipReason says why)
    std::string skipReason;
    TestBitmap cpu;          // the operation's result on the CPU
    TestBitmap gpu;          // the same on the GPU, read back
    ImageDiff diff;          // gpu against cpu
    unsigned glError = 0;    // glGetError after the GPU run (GL_NO_ERROR expected)
    QopGLState state = QopGLStateOk; // the record's failure latch after the run
    bool includeAlpha = false;
};

// The GPU library alone: the operation inside one effect on a copy of input that carries glData,
// read back at the effect's end.
TestBitmap runOnGpu(QopGLData_t *glData, const TestBitmap &input, const BitmapOperation &operation);

// Uses the context current on this thread, or makes one for the run when there is none.
GpuComparison compareCpuAndGpu(const TestBitmap &input, const BitmapOperation &operation,
                               GpuComparisonOptions options = {});

// Passes when the GPU run raised no GL error, kept the latch Ok and agrees with the CPU within
// tolerance (images dumped as PNG on failure, as imagesAgree does).
::testing::AssertionResult gpuAgreesWithCpu(const GpuComparison &comparison, Tolerance tolerance,
                                            const std::string &name);

} // namespace qop_test

// In a test body: runs the comparison into `result`, or skips the test when there is no GL context.
#define QOP_COMPARE_CPU_GPU_OR_SKIP(result, input, operation, ...)                                 \
    auto result = ::qop_test::compareCpuAndGpu((input), (operation), ##__VA_ARGS__);              \
    if (!result.ran)                                                                               \
    GTEST_SKIP() << result.skipReason
