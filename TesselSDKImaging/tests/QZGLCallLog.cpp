// The GL set-up calls the manager makes, observed by wrapping them at link time: each wrapper
// notes the call and forwards to the real function.
#include "TesselSDKImaging/tests/QZGLTestSupport.h"

#include "QopLite/QopGL.h"
#include "QopLite/QopGLUtils.h"

#include <mutex>

namespace qz_test {
namespace {

std::mutex& logMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<GLCall>& log()
{
    static std::vector<GLCall> calls;
    return calls;
}

}  // namespace

void recordGLCall(std::string name)
{
    GLCall call{std::move(name), std::this_thread::get_id(), eglGetCurrentContext() != EGL_NO_CONTEXT};
    std::lock_guard lock(logMutex());
    log().push_back(std::move(call));
}

std::vector<GLCall> glCalls()
{
    std::lock_guard lock(logMutex());
    return log();
}

}  // namespace qz_test

#define QZ_WRAP_LOADER(name)                                                                                           \
    extern "C" bool __real_##name(QopGLData_t* glData, bool prewarm);                                                  \
    extern "C" bool __wrap_##name(QopGLData_t* glData, bool prewarm)                                                   \
    {                                                                                                                  \
        qz_test::recordGLCall(#name);                                                                                  \
        return __real_##name(glData, prewarm);                                                                         \
    }

QZ_WRAP_LOADER(QopGLLoadBitmapBlendShaders)
QZ_WRAP_LOADER(QopGLLoadColorMapAndTransformShaders)
QZ_WRAP_LOADER(QopGLLoadIntensityMapShaders)
QZ_WRAP_LOADER(QopGLLoadVignetteShaders)
QZ_WRAP_LOADER(QopGLLoadEnhanceAndBlurShaders)
QZ_WRAP_LOADER(QopGLLoadLABShaders)
QZ_WRAP_LOADER(QopGLLoadSpotAndDrawingToolShaders)
QZ_WRAP_LOADER(QopGLLoadFlareShaders1)
QZ_WRAP_LOADER(QopGLLoadFlareShaders2)
QZ_WRAP_LOADER(QopGLLoadFlareShaders3)
QZ_WRAP_LOADER(QopGLLoadBorderShaders)
QZ_WRAP_LOADER(QopGLLoadGradientShaders)
QZ_WRAP_LOADER(QopGLLoadMiscellaneousShaders1)
QZ_WRAP_LOADER(QopGLLoadMiscellaneousShaders2)

extern "C" bool __real_QopGLInitialize(QopGLData_t* glData, QopGLDeviceGPUSpeed gpuSpeed, QopGLRenderingMode mode);
extern "C" bool __wrap_QopGLInitialize(QopGLData_t* glData, QopGLDeviceGPUSpeed gpuSpeed, QopGLRenderingMode mode)
{
    qz_test::recordGLCall("QopGLInitialize");
    return __real_QopGLInitialize(glData, gpuSpeed, mode);
}

extern "C" void __real_QopGLDestroy(QopGLData_t* glData);
extern "C" void __wrap_QopGLDestroy(QopGLData_t* glData)
{
    qz_test::recordGLCall("QopGLDestroy");
    __real_QopGLDestroy(glData);
}
