#include "TesselSDKImaging/QZDeviceInfo.h"

#include "TesselSDKImaging/QZOpenGLManager.h"

#include "Foundation/PlatformSettings.h"
#include "UIKit/UIDevice.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Machine-name prefixes in the order they are tried: the text, how many of its characters are
// compared, and the model a match means. Seven and five characters cover every minor version of
// a model ("iPhone2" for "iPhone2,x").
struct MachinePrefix {
    const char* text;
    std::size_t compared;
    QZ_DEVICE_MODEL model;
};
constexpr MachinePrefix kMachinePrefixes[] = {
    {"iPhone1,1", 9, QZ_DEVICE_MODEL_IPHONE},        {"iPhone1,2", 9, QZ_DEVICE_MODEL_IPHONE_3G},
    {"iPhone2,1", 7, QZ_DEVICE_MODEL_IPHONE_3GS},    {"iPhone3,1", 7, QZ_DEVICE_MODEL_IPHONE_4},
    {"iPhone4,1", 7, QZ_DEVICE_MODEL_IPHONE_4S},     {"iPhone5,1", 7, QZ_DEVICE_MODEL_IPHONE_5},
    {"iPod1,1", 5, QZ_DEVICE_MODEL_IPOD_TOUCH_GEN1}, {"iPod2,1", 5, QZ_DEVICE_MODEL_IPOD_TOUCH_GEN2},
    {"iPod3,1", 5, QZ_DEVICE_MODEL_IPOD_TOUCH_GEN3}, {"iPod4,1", 5, QZ_DEVICE_MODEL_IPOD_TOUCH_GEN4},
    {"iPad1,1", 5, QZ_DEVICE_MODEL_IPAD_1},          {"iPad2,1", 5, QZ_DEVICE_MODEL_IPAD_2},
    {"iPad3,1", 5, QZ_DEVICE_MODEL_IPAD_3},
};

constexpr std::int32_t kMediumSpeedModels =
    QZ_DEVICE_MODEL_IPHONE_3GS | QZ_DEVICE_MODEL_IPHONE_4 | QZ_DEVICE_MODEL_IPAD_1 | QZ_DEVICE_MODEL_IPOD_TOUCH_GEN4;
static_assert(kMediumSpeedModels == 0x1980);

}  // namespace

QZ_DEVICE_MODEL QZDeviceInfo::detectDevice()
{
    const std::string machine = PlatformSettings::machineName();
    for (const MachinePrefix& prefix : kMachinePrefixes)
        if (std::strncmp(machine.c_str(), prefix.text, prefix.compared) == 0) return prefix.model;
    if (machine == "i386" || machine == "x86_64")
        return UIDevice::currentDevice()->model() == "iPad Simulator" ? QZ_DEVICE_MODEL_IPAD_SIMULATOR
                                                                      : QZ_DEVICE_MODEL_IPHONE_SIMULATOR;
    return QZ_DEVICE_MODEL_UNKNOWN;
}

QopGLDeviceGPUSpeed QZDeviceInfo::detecteDeviceGPUSpeed()
{
    const QZ_DEVICE_MODEL model = detectDevice();
    if (model & kMediumSpeedModels) return QopGLDeviceGPUSpeedMedium;
    if (model == QZ_DEVICE_MODEL_IPOD_TOUCH_GEN3) return QopGLDeviceGPUSpeedSlow;
    return QopGLDeviceGPUSpeedFast;
}

bool QZDeviceInfo::isSoftwareRenderer(const std::string& renderer)
{
    std::string lower = renderer;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const char* name : {"llvmpipe", "softpipe", "swrast"})
        if (lower.find(name) != std::string::npos) return true;
    return false;
}

QZFullSizeServer QZDeviceInfo::fullSizeServer()
{
    if (const char* chosen = std::getenv("TESSEL_FULL_SIZE")) {
        if (std::strcmp(chosen, "gpu") == 0) return QZFullSizeServer::GPU;
        if (std::strcmp(chosen, "cpu") == 0) return QZFullSizeServer::CPU;
    }
    return isSoftwareRenderer(QZOpenGLManager::sharedOpenGLManager()->rendererName()) ? QZFullSizeServer::CPU
                                                                                      : QZFullSizeServer::GPU;
}
