#include "GLES/EGLError.h"

#include <cstdio>

std::string EGLErrorName(EGLint error)
{
    const char* name = nullptr;
    switch (error) {
    case EGL_SUCCESS: name = "EGL_SUCCESS"; break;
    case EGL_NOT_INITIALIZED: name = "EGL_NOT_INITIALIZED"; break;
    case EGL_BAD_ACCESS: name = "EGL_BAD_ACCESS"; break;
    case EGL_BAD_ALLOC: name = "EGL_BAD_ALLOC"; break;
    case EGL_BAD_ATTRIBUTE: name = "EGL_BAD_ATTRIBUTE"; break;
    case EGL_BAD_CONFIG: name = "EGL_BAD_CONFIG"; break;
    case EGL_BAD_CONTEXT: name = "EGL_BAD_CONTEXT"; break;
    case EGL_BAD_CURRENT_SURFACE: name = "EGL_BAD_CURRENT_SURFACE"; break;
    case EGL_BAD_DISPLAY: name = "EGL_BAD_DISPLAY"; break;
    case EGL_BAD_MATCH: name = "EGL_BAD_MATCH"; break;
    case EGL_BAD_NATIVE_PIXMAP: name = "EGL_BAD_NATIVE_PIXMAP"; break;
    case EGL_BAD_NATIVE_WINDOW: name = "EGL_BAD_NATIVE_WINDOW"; break;
    case EGL_BAD_PARAMETER: name = "EGL_BAD_PARAMETER"; break;
    case EGL_BAD_SURFACE: name = "EGL_BAD_SURFACE"; break;
    case EGL_CONTEXT_LOST: name = "EGL_CONTEXT_LOST"; break;
    default: break;
    }
    char text[64];
    if (name)
        std::snprintf(text, sizeof text, "%s (0x%04x)", name, static_cast<unsigned>(error));
    else
        std::snprintf(text, sizeof text, "EGL error 0x%04x", static_cast<unsigned>(error));
    return text;
}

std::string EGLLastErrorName()
{
    return EGLErrorName(eglGetError());
}
