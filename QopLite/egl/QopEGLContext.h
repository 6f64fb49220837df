/* QopEGLContext.h: a headless OpenGL ES 2.0 context for programs and tests that drive the GPU
 * library outside the editor (the editor's own context comes from its GL manager). Mesa's
 * surfaceless platform is tried first; the EGL device platform (the usual headless route on
 * NVIDIA drivers) is the fallback. The context is made current on the calling thread with no
 * surface: the library draws only into its own framebuffer objects. */
#pragma once

#include <EGL/egl.h>

#include <stdbool.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QopEGLContext {
    EGLDisplay display;
    EGLContext context;
    const char *platform; /* "surfaceless" or "device": which route gave the display */
} QopEGLContext;

/* Creates and makes current an ES 2 context. On failure returns false, leaves nothing behind and
 * writes the reason (up to whySize bytes, may be null) for a skip message or an error. */
bool QopEGLContextCreate(QopEGLContext *ctx, char *why, size_t whySize);
/* Releases the context and terminates the display; a context never created is ignored. */
void QopEGLContextDestroy(QopEGLContext *ctx);

#ifdef __cplusplus
}
#endif
