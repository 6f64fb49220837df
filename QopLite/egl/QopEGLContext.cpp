// Headless ES 2 context: surfaceless Mesa first, then the first EGL device.
#include "QopEGLContext.h"

#include <EGL/eglext.h>

#include <cstdio>
#include <cstring>

namespace {

void setWhy(char *why, size_t whySize, const char *text)
{
    if (why && whySize)
        snprintf(why, whySize, "%s", text);
}

bool hasExtension(const char *list, const char *name)
{
    if (!list)
        return false;
    const size_t length = strlen(name);
    for (const char *p = strstr(list, name); p; p = strstr(p + 1, name)) {
        const bool startsWord = p == list || p[-1] == ' ';
        const bool endsWord = p[length] == '\0' || p[length] == ' ';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

EGLDisplay initialisedDisplay(EGLDisplay display)
{
    if (display == EGL_NO_DISPLAY)
        return EGL_NO_DISPLAY;
    EGLint major = 0, minor = 0;
    if (eglInitialize(display, &major, &minor) != EGL_TRUE)
        return EGL_NO_DISPLAY;
    return display;
}

EGLDisplay surfacelessDisplay(const char *clientExtensions)
{
    if (!hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless"))
        return EGL_NO_DISPLAY;
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay)
        return EGL_NO_DISPLAY;
    return initialisedDisplay(getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr));
}

EGLDisplay deviceDisplay(const char *clientExtensions)
{
    if (!hasExtension(clientExtensions, "EGL_EXT_platform_device"))
        return EGL_NO_DISPLAY;
    auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!queryDevices || !getPlatformDisplay)
        return EGL_NO_DISPLAY;
    EGLDeviceEXT devices[8];
    EGLint count = 0;
    if (queryDevices(8, devices, &count) != EGL_TRUE)
        return EGL_NO_DISPLAY;
    for (EGLint i = 0; i < count; ++i) {
        EGLDisplay display = initialisedDisplay(getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr));
        if (display != EGL_NO_DISPLAY)
            return display;
    }
    return EGL_NO_DISPLAY;
}

} // namespace

extern "C" {

bool QopEGLContextCreate(QopEGLContext *ctx, char *why, size_t whySize)
{
    ctx->display = EGL_NO_DISPLAY;
    ctx->context = EGL_NO_CONTEXT;
    ctx->platform = nullptr;

    const char *clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    EGLDisplay display = surfacelessDisplay(clientExtensions);
    const char *platform = "surfaceless";
    if (display == EGL_NO_DISPLAY) {
        display = deviceDisplay(clientExtensions);
        platform = "device";
    }
    if (display == EGL_NO_DISPLAY) {
        setWhy(why, whySize, "no EGL display initialises (neither the surfaceless Mesa nor the device platform)");
        return false;
    }
    if (eglBindAPI(EGL_OPENGL_ES_API) != EGL_TRUE) {
        eglTerminate(display);
        setWhy(why, whySize, "EGL display has no OpenGL ES API");
        return false;
    }

    // A config is asked for only to name the API; nothing is ever drawn to a surface.
    const EGLint configAttribs[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES2_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    const bool noConfig = hasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_no_config_context");
    if (eglChooseConfig(display, configAttribs, &config, 1, &configCount) != EGL_TRUE || configCount < 1) {
        if (!noConfig) {
            eglTerminate(display);
            setWhy(why, whySize, "EGL display offers no OpenGL ES 2 config");
            return false;
        }
        config = nullptr; // EGL_NO_CONFIG_KHR
    }

    const EGLint contextAttribs[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttribs);
    if (context == EGL_NO_CONTEXT) {
        eglTerminate(display);
        setWhy(why, whySize, "eglCreateContext refused an OpenGL ES 2 context");
        return false;
    }
    if (eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) != EGL_TRUE) {
        eglDestroyContext(display, context);
        eglTerminate(display);
        setWhy(why, whySize, "eglMakeCurrent without a surface failed (no surfaceless context support)");
        return false;
    }
    ctx->display = display;
    ctx->context = context;
    ctx->platform = platform;
    return true;
}

void QopEGLContextDestroy(QopEGLContext *ctx)
{
    if (ctx->display == EGL_NO_DISPLAY)
        return;
    eglMakeCurrent(ctx->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (ctx->context != EGL_NO_CONTEXT)
        eglDestroyContext(ctx->display, ctx->context);
    eglTerminate(ctx->display);
    eglReleaseThread();
    ctx->display = EGL_NO_DISPLAY;
    ctx->context = EGL_NO_CONTEXT;
    ctx->platform = nullptr;
}

}
