// The CPU/GPU comparison harness.
#include "QopGpuComparison.h"

#include "QopGLTestSupport.h"

#include "QopLite/QopGL.h"

#include <EGL/egl.h>

namespace qop_test {

TestBitmap runOnGpu(QopGLData_t *glData, const TestBitmap &input, const BitmapOperation &operation)
{
    TestBitmap bitmap = input;
    bitmap.get()->glData = glData;
    QopGLCreateEffect(bitmap.get());
    operation(bitmap.get());
    QopGLFinalizeEffect(bitmap.get());
    bitmap.get()->glData = nullptr;
    return bitmap;
}

GpuComparison compareCpuAndGpu(const TestBitmap &input, const BitmapOperation &operation, GpuComparisonOptions options)
{
    GpuComparison result;
    EGLHeadlessContext ownContext;
    const bool needContext = eglGetCurrentContext() == EGL_NO_CONTEXT;
    if (needContext && !acquireGLContext(&ownContext, &result.skipReason))
        return result;
    result.ran = true;
    result.includeAlpha = options.includeAlpha;

    result.cpu = input;
    result.cpu.get()->glData = nullptr;
    operation(result.cpu.get());

    {
        GLRecord record;
        if (!record.initialise(options.gpuSpeed, QopGLRenderingModeDefault)) {
            result.state = QopGLStateFailed;
        } else {
            result.gpu = runOnGpu(record.data, input, operation);
            result.state = record.data->state;
        }
        result.glError = glGetError();
    }
    result.diff = compareImages(*result.cpu.get(), *result.gpu.get(), options.includeAlpha);

    if (needContext)
        ownContext.close();
    return result;
}

::testing::AssertionResult gpuAgreesWithCpu(const GpuComparison &comparison, Tolerance tolerance,
                                            const std::string &name)
{
    if (!comparison.ran)
        return ::testing::AssertionFailure() << name << ": the GPU run did not happen (" << comparison.skipReason
                                             << ")";
    if (comparison.glError != GL_NO_ERROR)
        return ::testing::AssertionFailure() << name << ": GL error 0x" << std::hex << comparison.glError;
    if (comparison.state != QopGLStateOk)
        return ::testing::AssertionFailure() << name << ": the GPU record's failure latch is set";
    return imagesAgree(comparison.cpu, comparison.gpu, tolerance, name, comparison.includeAlpha);
}

} // namespace qop_test
