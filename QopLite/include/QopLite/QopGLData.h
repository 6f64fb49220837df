/* QopGLData.h: the GPU record, the one structure through which every GPU operation works. The GL
 * manager allocates it zero-filled (one per process) and GL instances copy their own image data,
 * rendering mode and rendering objects into it around each block of GL work, so one record serves
 * several images in turn. Fields are in their fixed order; the library keeps no other state. */
#pragma once

#include "QopLite/QopGLDataTypes.h"
#include "QopLite/QopTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct QopGLBuffers {
    GLuint vertexBufferFlipped; /* array buffer holding the quad being drawn */
    GLuint indexBuffer;         /* element buffer with the six quad indices */
} QopGLBuffers;
typedef QopGLBuffers QopGLBuffers_t;

/* Texture roles: passes sample readTexture on unit 0 and render into writeTexture through
 * offscreenFramebuffer; after every swapping pass readTexture is the texture just written and
 * writeTexture the other processing texture. */
typedef struct QopGLRenderingObjects {
    GLuint offscreenFramebuffer;
    GLuint processedTexture1;
    GLuint processedTexture2;
    GLuint readTexture;
    GLuint writeTexture;
    GLuint renderbuffer; /* on-screen target of Default mode, owned by the GL view; 0 when none */
    float renderbufferWidth;
    float renderbufferHeight;
} QopGLRenderingObjects;
typedef QopGLRenderingObjects QopGLRenderingObjects_t;

typedef struct QopGLImageData {
    GLuint texID; /* the source image */
    GLuint width;
    GLuint height;
    QopGLImageOrientation orientation;
    QopGLImagePixelFormat pixelFormat;
} QopGLImageData;
typedef QopGLImageData QopGLImageData_t;

struct QopGLData {
    QopGLBuffers_t glBuffers;
    QopGLPrograms_t glPrograms;
    QopGLRenderingObjects_t glRenderingObjects;
    QopGLImageData_t glImageData;
    QopGLDeviceGPUSpeed gpuSpeed;
    QopGLRenderingMode renderingMode;
    int freeTextures[8]; /* per texture unit: 0 free, 1 taken; units 0 and 1 always taken */
    Vertex currentVertices[4];
    QopGLBlendMode currentBlendMode;
    QopGLState state;
    /* The pause protocol: single bytes shared with the thread that backgrounds the application,
     * every access an atomic load or store (no lock). */
    bool isMakingGLCalls;
    bool shouldPauseGLRendering;
    bool hasPausedGLRendering;
    /* How many effects are open. Library functions that bracket their own effect are also called
     * inside an open one (recipe steps, sticker frames); only the outermost begin and finish act,
     * so an inner bracket never discards the passes drawn before it. */
    int effectDepth;
};

#ifdef __cplusplus
}
#endif
