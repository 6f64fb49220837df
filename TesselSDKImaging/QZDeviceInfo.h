#pragma once
// The device model, told from the kernel's machine name (PlatformSettings::machineName(), what
// uname reports by default), and the GPU speed class the GL set-up derives from it. Our own
// machines ("x86_64") are the phone simulator, Fast, unless a test or host says otherwise. Also
// where a full-size replay runs: a software GL rasteriser is slower there than the CPU server.

#include "Foundation/NSObject.h"
#include "QopLite/QopGLDataTypes.h"

#include <cstdint>
#include <string>

// One bit per model; the second and third iPad share a value.
enum QZ_DEVICE_MODEL : std::int32_t {
    QZ_DEVICE_MODEL_UNKNOWN = 0,
    QZ_DEVICE_MODEL_IPHONE_SIMULATOR = 1,
    QZ_DEVICE_MODEL_IPAD_SIMULATOR = 2,
    QZ_DEVICE_MODEL_IPOD_TOUCH_GEN1 = 4,
    QZ_DEVICE_MODEL_IPOD_TOUCH_GEN2 = 8,
    QZ_DEVICE_MODEL_IPOD_TOUCH_GEN3 = 16,
    QZ_DEVICE_MODEL_IPHONE = 32,
    QZ_DEVICE_MODEL_IPHONE_3G = 64,
    QZ_DEVICE_MODEL_IPHONE_3GS = 128,
    QZ_DEVICE_MODEL_IPHONE_4 = 256,
    QZ_DEVICE_MODEL_IPHONE_4S = 512,
    QZ_DEVICE_MODEL_IPHONE_5 = 1024,
    QZ_DEVICE_MODEL_IPAD_1 = 2048,
    QZ_DEVICE_MODEL_IPOD_TOUCH_GEN4 = 4096,
    QZ_DEVICE_MODEL_IPAD_2 = 8192,
    QZ_DEVICE_MODEL_IPAD_3 = 8192,
};

// The image server a full-size replay runs on.
enum class QZFullSizeServer { GPU, CPU };

class QZDeviceInfo : public NSObject {
public:
    using NSObject::NSObject;

    // The first row of the machine-name table whose prefix the name starts with; else the
    // simulator for "i386" and "x86_64" exactly (the tablet one when the device model is
    // "iPad Simulator"); else unknown.
    static QZ_DEVICE_MODEL detectDevice();
    // Medium for the iPhone 3GS and 4, the first iPad and the fourth iPod touch; Slow for the third
    // iPod touch; Fast for every other model, the unknown and the simulators included.
    static QopGLDeviceGPUSpeed detecteDeviceGPUSpeed();

    // Whether GL_RENDERER names one of Mesa's software rasterisers: llvmpipe, softpipe or swrast
    // (in any case).
    static bool isSoftwareRenderer(const std::string& renderer);
    // For a full-size context made now: TESSEL_FULL_SIZE when it is "gpu" or "cpu"; else the CPU
    // when the shared GL context renders in software, the GPU otherwise (where no GL instance can
    // be made, the context falls back to the CPU itself). Sets the GL manager up when it is not.
    static QZFullSizeServer fullSizeServer();
};
