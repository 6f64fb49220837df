#pragma once
// EGL's error codes as the names a log line or a skip message shows.

#include <EGL/egl.h>

#include <string>

// "EGL_BAD_ACCESS (0x3002)"; unknown codes as their number.
std::string EGLErrorName(EGLint error);
// The calling thread's last EGL error, by name.
std::string EGLLastErrorName();
