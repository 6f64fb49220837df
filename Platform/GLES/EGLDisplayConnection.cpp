#include "GLES/EGLDisplayConnection.h"

#include "GLES/EGLDriverResidency.h"
#include "GLES/EGLError.h"

#include <EGL/eglext.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

bool hasExtension(const char* list, const char* name)
{
    if (!list) return false;
    const size_t length = std::strlen(name);
    for (const char* p = std::strstr(list, name); p; p = std::strstr(p + 1, name)) {
        const bool startsWord = p == list || p[-1] == ' ';
        const bool endsWord = p[length] == '\0' || p[length] == ' ';
        if (startsWord && endsWord) return true;
    }
    return false;
}

void setWhy(std::string* why, std::string text)
{
    if (why) *why = std::move(text);
}

EGLDisplay initialised(EGLDisplay display)
{
    if (display == EGL_NO_DISPLAY) return EGL_NO_DISPLAY;
    EGLint major = 0, minor = 0;
    return eglInitialize(display, &major, &minor) == EGL_TRUE ? display : EGL_NO_DISPLAY;
}

EGLDisplay surfacelessDisplay(const char* clientExtensions, std::string* why)
{
    if (!hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
        setWhy(why, "EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)");
        return EGL_NO_DISPLAY;
    }
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) {
        setWhy(why, "EGL lacks eglGetPlatformDisplayEXT");
        return EGL_NO_DISPLAY;
    }
    EGLDisplay display = initialised(getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr));
    if (display == EGL_NO_DISPLAY) setWhy(why, "the surfaceless display does not initialise: " + EGLLastErrorName());
    return display;
}

struct Device {
    EGLDeviceEXT device;
    bool software;
};

EGLDisplay deviceDisplay(const char* clientExtensions, std::string* why)
{
    if (!hasExtension(clientExtensions, "EGL_EXT_platform_device")) {
        setWhy(why, "EGL has no device platform (EGL_EXT_platform_device)");
        return EGL_NO_DISPLAY;
    }
    auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    auto queryDeviceString =
        reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(eglGetProcAddress("eglQueryDeviceStringEXT"));
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!queryDevices || !queryDeviceString || !getPlatformDisplay) {
        setWhy(why, "EGL lacks the device platform's entry points");
        return EGL_NO_DISPLAY;
    }
    EGLDeviceEXT listed[16];
    EGLint count = 0;
    if (queryDevices(16, listed, &count) != EGL_TRUE || count < 1) {
        setWhy(why, "EGL lists no device");
        return EGL_NO_DISPLAY;
    }
    // Mesa lists its software rasteriser as a device too; a real GPU goes first.
    std::vector<Device> devices;
    for (EGLint i = 0; i < count; ++i)
        devices.push_back(
            {listed[i], hasExtension(queryDeviceString(listed[i], EGL_EXTENSIONS), "EGL_MESA_device_software")});
    std::stable_sort(devices.begin(), devices.end(),
                     [](const Device& a, const Device& b) { return !a.software && b.software; });
    for (const Device& candidate : devices) {
        EGLDisplay display = initialised(getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, candidate.device, nullptr));
        if (display == EGL_NO_DISPLAY) continue;
        const char* vendor = eglQueryString(display, EGL_VENDOR);
        const char* file = hasExtension(queryDeviceString(candidate.device, EGL_EXTENSIONS), "EGL_EXT_device_drm")
                               ? queryDeviceString(candidate.device, EGL_DRM_DEVICE_FILE_EXT)
                               : nullptr;
        std::fprintf(stderr, "EGL: device platform, %s device of %s%s%s (%d listed)\n",
                     candidate.software ? "software" : "hardware", vendor ? vendor : "an unnamed vendor",
                     file ? " at " : "", file ? file : "", static_cast<int>(count));
        return display;
    }
    setWhy(why, "no listed EGL device initialises: " + EGLLastErrorName());
    return EGL_NO_DISPLAY;
}

// The display of the route the environment names; route is set to the one that answered.
EGLDisplay openDisplay(const char** route, std::string* why)
{
    const char* requested = std::getenv("TESSEL_EGL_PLATFORM");
    const std::string wanted = requested ? requested : "";
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (wanted == "none") {
        setWhy(why, "TESSEL_EGL_PLATFORM is \"none\": no EGL display is opened");
        return EGL_NO_DISPLAY;
    }
    if (wanted == "surfaceless") {
        *route = "surfaceless";
        return surfacelessDisplay(clientExtensions, why);
    }
    if (wanted == "device") {
        *route = "device";
        return deviceDisplay(clientExtensions, why);
    }
    if (!wanted.empty()) {
        setWhy(why, "TESSEL_EGL_PLATFORM is \"" + wanted + "\"; it must be surfaceless, device or none");
        return EGL_NO_DISPLAY;
    }
    std::string surfacelessWhy, deviceWhy;
    *route = "surfaceless";
    if (EGLDisplay display = surfacelessDisplay(clientExtensions, &surfacelessWhy); display != EGL_NO_DISPLAY)
        return display;
    *route = "device";
    if (EGLDisplay display = deviceDisplay(clientExtensions, &deviceWhy); display != EGL_NO_DISPLAY) return display;
    setWhy(why, "no EGL display initialises (" + surfacelessWhy + "; " + deviceWhy + ")");
    return EGL_NO_DISPLAY;
}

EGLConfig chooseConfig(EGLDisplay display, bool* ok)
{
    const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES2_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    *ok = true;
    if (eglChooseConfig(display, attributes, &config, 1, &count) == EGL_TRUE && count > 0) return config;
    *ok = hasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_no_config_context");
    return nullptr;  // EGL_NO_CONFIG_KHR
}

struct Shared {
    std::mutex mutex;
    int users = 0;
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    const char* route = nullptr;
};

Shared& shared()
{
    static auto* state = new Shared;  // outlives every static holder
    return *state;
}

}  // namespace

std::shared_ptr<EGLDisplayConnection> EGLDisplayConnection::open(std::string* why)
{
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    if (s.users == 0) {
        const char* route = nullptr;
        EGLDisplay display = openDisplay(&route, why);
        if (display == EGL_NO_DISPLAY) return nullptr;
        bool haveConfig = false;
        EGLConfig config = chooseConfig(display, &haveConfig);
        if (!haveConfig) {
            eglTerminate(display);
            setWhy(why, std::string("the ") + route + " EGL display offers no OpenGL ES 2 config");
            return nullptr;
        }
        EGLKeepDriversResident();
        s.display = display;
        s.config = config;
        s.route = route;
    }
    ++s.users;
    return std::shared_ptr<EGLDisplayConnection>(new EGLDisplayConnection(s.display, s.config, s.route));
}

int EGLDisplayConnection::openCount()
{
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    return s.users;
}

EGLDisplayConnection::~EGLDisplayConnection()
{
    Shared& s = shared();
    std::lock_guard lock(s.mutex);
    if (--s.users == 0) {
        eglTerminate(s.display);
        s.display = EGL_NO_DISPLAY;
        s.config = nullptr;
        s.route = nullptr;
    }
}
