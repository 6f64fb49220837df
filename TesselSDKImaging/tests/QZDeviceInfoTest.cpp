// The device model from the machine name (and, on a simulator, the device model), its GPU
// speed class, and the renderer names that send full-size replays to the CPU.
#include "TesselSDKImaging/QZDeviceInfo.h"

#include "Foundation/PlatformSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(QZDeviceInfoTest, MachineNamesGiveTheirModelAndSpeed)
{
    struct Case {
        const char* machine;
        const char* model;
        QZ_DEVICE_MODEL expected;
        QopGLDeviceGPUSpeed speed;
    };
    const Case cases[] = {
        {"iPhone1,1", "iPhone", QZ_DEVICE_MODEL_IPHONE, QopGLDeviceGPUSpeedFast},
        {"iPhone1,2", "iPhone", QZ_DEVICE_MODEL_IPHONE_3G, QopGLDeviceGPUSpeedFast},
        {"iPhone2,1", "iPhone", QZ_DEVICE_MODEL_IPHONE_3GS, QopGLDeviceGPUSpeedMedium},
        {"iPhone3,1", "iPhone", QZ_DEVICE_MODEL_IPHONE_4, QopGLDeviceGPUSpeedMedium},
        {"iPhone4,1", "iPhone", QZ_DEVICE_MODEL_IPHONE_4S, QopGLDeviceGPUSpeedFast},
        {"iPhone5,1", "iPhone", QZ_DEVICE_MODEL_IPHONE_5, QopGLDeviceGPUSpeedFast},
        {"iPod1,1", "iPod touch", QZ_DEVICE_MODEL_IPOD_TOUCH_GEN1, QopGLDeviceGPUSpeedFast},
        {"iPod2,1", "iPod touch", QZ_DEVICE_MODEL_IPOD_TOUCH_GEN2, QopGLDeviceGPUSpeedFast},
        {"iPod3,1", "iPod touch", QZ_DEVICE_MODEL_IPOD_TOUCH_GEN3, QopGLDeviceGPUSpeedSlow},
        {"iPod4,1", "iPod touch", QZ_DEVICE_MODEL_IPOD_TOUCH_GEN4, QopGLDeviceGPUSpeedMedium},
        {"iPad1,1", "iPad", QZ_DEVICE_MODEL_IPAD_1, QopGLDeviceGPUSpeedMedium},
        {"iPad2,1", "iPad", QZ_DEVICE_MODEL_IPAD_2, QopGLDeviceGPUSpeedFast},
        {"iPad3,1", "iPad", QZ_DEVICE_MODEL_IPAD_3, QopGLDeviceGPUSpeedFast},
        // Seven and five characters cover a model's other versions; nine do not.
        {"iPhone2,9", "iPhone", QZ_DEVICE_MODEL_IPHONE_3GS, QopGLDeviceGPUSpeedMedium},
        {"iPhone1,3", "iPhone", QZ_DEVICE_MODEL_UNKNOWN, QopGLDeviceGPUSpeedFast},
        {"iPod3,7", "iPod touch", QZ_DEVICE_MODEL_IPOD_TOUCH_GEN3, QopGLDeviceGPUSpeedSlow},
        {"iPad2,5", "iPad", QZ_DEVICE_MODEL_IPAD_2, QopGLDeviceGPUSpeedFast},
        {"iPhone", "iPhone", QZ_DEVICE_MODEL_UNKNOWN, QopGLDeviceGPUSpeedFast},
        // Simulators: the machine name exactly, the model deciding phone or tablet.
        {"i386", "iPad Simulator", QZ_DEVICE_MODEL_IPAD_SIMULATOR, QopGLDeviceGPUSpeedFast},
        {"x86_64", "iPad Simulator", QZ_DEVICE_MODEL_IPAD_SIMULATOR, QopGLDeviceGPUSpeedFast},
        {"i386", "iPhone Simulator", QZ_DEVICE_MODEL_IPHONE_SIMULATOR, QopGLDeviceGPUSpeedFast},
        {"x86_64", "iPad", QZ_DEVICE_MODEL_IPHONE_SIMULATOR, QopGLDeviceGPUSpeedFast},
        {"x86_64h", "iPad Simulator", QZ_DEVICE_MODEL_UNKNOWN, QopGLDeviceGPUSpeedFast},
        {"aarch64", "iPhone", QZ_DEVICE_MODEL_UNKNOWN, QopGLDeviceGPUSpeedFast},
        {"", "iPhone", QZ_DEVICE_MODEL_UNKNOWN, QopGLDeviceGPUSpeedFast},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.machine) + " / " + c.model);
        PlatformSettings::setMachineName(c.machine);
        PlatformSettings::setDeviceModel(c.model);
        EXPECT_EQ(QZDeviceInfo::detectDevice(), c.expected);
        EXPECT_EQ(QZDeviceInfo::detecteDeviceGPUSpeed(), c.speed);
    }
    PlatformSettings::reset();
}

TEST(QZDeviceInfoTest, MesasSoftwareRasterisersAreToldFromHardwareRenderers)
{
    struct Case {
        const char* renderer;
        bool software;
    };
    const Case cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"softpipe", true},
        {"Software Rasterizer (swrast)", true},
        {"LLVMPIPE", true},
        {"NVIDIA GeForce RTX 3060/PCIe/SSE2", false},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(QZDeviceInfo::isSoftwareRenderer(c.renderer), c.software) << c.renderer;
}

// The environment's choice needs no GL context to be read.
TEST(QZDeviceInfoTest, TesselFullSizeChoosesTheServer)
{
    setenv("TESSEL_FULL_SIZE", "cpu", 1);
    EXPECT_EQ(QZDeviceInfo::fullSizeServer(), QZFullSizeServer::CPU);
    setenv("TESSEL_FULL_SIZE", "gpu", 1);
    EXPECT_EQ(QZDeviceInfo::fullSizeServer(), QZFullSizeServer::GPU);
    unsetenv("TESSEL_FULL_SIZE");
}
