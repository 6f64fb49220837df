/* QopGL.h: the GPU record and the machinery every GPU effect shares: set-up and teardown, uploads
 * and read-backs, beginning and finishing an effect, preparing and drawing one render pass (tiling,
 * ping-pong textures), texture-unit bookkeeping, commit and show, and the pause protocol.
 *
 * Every call runs on the one GL thread with the shared context current. Functions that issue GL
 * commands outside an effect run inside the GL bracket: a pause point and isMakingGLCalls set on
 * entry; glFinish, a pause point and isMakingGLCalls cleared on exit (left set while an effect is
 * open). Uploads and allocations end with glFinish and a pause point, so a pause request is
 * honoured between steps, never inside a GL call. */
#pragma once

#include "QopLite/QopGLData.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Sets up a record (zero-filled here first): framebuffer, quad buffers, texture units, the identity
 * program. false (with a message, all programs deleted) when the identity program cannot be made. */
bool QopGLInitialize(QopGLData_t *glData, QopGLDeviceGPUSpeed gpuSpeed, QopGLRenderingMode renderingMode);
/* Deletes every program, both buffers, the framebuffer and the three image textures. The record's
 * names are kept; initialise it again before further use. */
void QopGLDestroy(QopGLData_t *glData);

/* true when 0 < width, 0 < height and both fit GL_MAX_TEXTURE_SIZE. */
bool QopGLWillAcceptImageOfSize(float width, float height);
float QopGLMaxImageDimension(void);

/* Records the on-screen target of Default mode (no GL call); (0, 0, 0) clears it. */
void QopGLSetRenderbuffer(QopGLData_t *glData, GLuint renderBuffer, float width, float height);
/* Records orientation and client pixel format of later uploads (no GL call). */
void QopGLSetBitmapFormat(QopGLData_t *glData, QopGLImageOrientation orientation, QopGLImagePixelFormat format);

/* Uploads the bitmap's pixels as the source image. When the size changes, the processing textures
 * are (re)made at the new size unless creation is deferred (createFramebuffersAndTextures false),
 * in which case the caller runs QopGLCreateProcessingFramebuffersAndTexturesForCurrentImage. */
void QopGLSetBitmap(QopBitmap_t *bitmap, QopGLData_t *glData);
void QopGLSetBitmapWithOptionToDeferObjectCreation(QopBitmap_t *bitmap, QopGLData_t *glData,
                                                   bool createFramebuffersAndTextures);
/* Uploads the bitmap scaled (bilinear) to width x height. Does nothing, with a message, when
 * neither that size nor the bitmap's own is accepted. */
void QopGLSetBitmapWithSizeAndOptionToDeferObjectCreation(QopBitmap_t *bitmap, float width, float height,
                                                          QopGLData_t *glData, bool createFramebuffersAndTextures);
void QopGLCreateProcessingFramebuffersAndTexturesForCurrentImage(QopGLData_t *glData);

/* Textures a GL instance owns and installs itself. */
void QopGLCreateBitmapProcessingObjectOnly(QopBitmap_t *bitmap, GLuint *texID, QopGLData_t *glData);
void QopGLCreateProcessingObjects(QopBitmap_t *bitmap, GLuint *texID, GLuint *processingTexture1,
                                  GLuint *processingTexture2, QopGLData_t *glData);
void QopGLSetBitmapWithPrecreatedObjects(GLuint texID, GLuint procTex1, GLuint procTex2, GLuint width,
                                         GLuint height, QopGLData_t *glData);
/* Deletes the textures; record slots that name them become 0; a 0 name is skipped. */
void QopGLDeleteBitmapProcessingObjectOnly(GLuint texID, QopGLData_t *glData);
void QopGLDeleteProcessingObjects(GLuint texID, GLuint procTex1, GLuint procTex2, QopGLData_t *glData);

/* A new texture holding a copy of the source image; the caller owns it. */
GLuint QopGLCreateCopyOfSourceTexture(QopGLData_t *glData);
/* Resizes the image textures to width x height and copies sourceTexture into the source image. */
void QopGLSetSourceTexture(GLuint sourceTexture, GLuint width, GLuint height, QopGLData_t *glData);
/* LINEAR (true) or NEAREST filtering on the source and both processing textures. */
void QopGLSetBitmapBilinearSampling(QopGLData_t *glData, bool bilinearSample);
/* Reallocates both processing textures at width x height (contents undefined) and makes that the
 * image size; the source keeps its size (the resize pass reads it through texture coordinates). */
void QopGLSetDestinationImageSizeAndClear(QopGLData_t *glData, float width, float height);
/* Reallocates the source texture at width x height with no contents. */
void QopGLSetOriginalImageSizeAndClear(QopGLData_t *glData, float width, float height);

/* Read the source image (or the last result) into the bitmap's pixels, bitmap width x height. */
void QopGLGetBitmapFromFramebuffer(QopBitmap_t *bitmap, QopGLData_t *glData);
void QopGLGetLastDrawnBitmap(QopBitmap_t *bitmap, QopGLData_t *glData);
/* The last result becomes the source image by exchanging texture names, never by copying. */
void QopGLCommitContentsOfFramebuffer(QopGLData_t *glData);
/* Presents a texture through the finish step of the current rendering mode. */
void QopGLShowTexture(QopGLData_t *glData, GLuint texture);
void QopGLClearCurrentRenderbuffer(QopGLData_t *glData);
/* Aspect-fills the source image into textureID (newWidth x newHeight), cropping about the centre. */
void QopGLDrawCurrentImageCenteredInTextureOfSize(QopGLData_t *glData, GLuint textureID, float newWidth,
                                                  float newHeight);

/* Begin and finish one effect on a bitmap whose glData is set (nothing otherwise). Effects nest:
 * only the outermost pair acts. The outermost begin uploads the bitmap's pixels when it has any;
 * the outermost finish applies the rendering mode (see QopGLRenderingMode). */
void QopGLCreateEffect(QopBitmap_t *bitmap);
void QopGLFinalizeEffect(QopBitmap_t *bitmap);

/* One pass: QopGLStartRender prepares the blend state, target and attributes for programID (which
 * the caller has made current); the caller sets its uniforms; QopGLFinishRender draws the quad,
 * split into tiles (tilingConst 1 for a full-image pass, 0 to draw the caller's own quad once) and
 * swaps read and write when asked. A blending pass that would draw over the source first copies it
 * into a processing texture, so the source is never drawn over. */
void QopGLStartRender(GLuint programID, QopGLSharedUniformsAndAttribs_t *sharedUnisAndAttribs, QopGLData_t *glData,
                      QopGLBlendMode blendMode);
void QopGLFinishRender(QopGLSharedUniformsAndAttribs_t *sharedUnisAndAttribs, QopGLData_t *glData, int tilingConst,
                       bool swapBuffers);
/* For primitives that draw over the current result without QopGLStartRender (strips, dots, lines,
 * text): copies the source into a processing texture when no pass has run yet, then attaches the
 * current result, so the drawing lands in the effect and never on the source or a stale target. */
void QopGLPrepareDrawOverCurrentResult(QopGLData_t *glData);
void QopGLSwapRenderBuffers(QopGLData_t *glData);
void QopGLResetVertexBufferVertices(QopGLData_t *glData);
/* Loads the program's position and texture-coordinate attributes from the bound quad buffer. */
void QopGLConfigureVertexArraysforDraw(const QopGLSharedUniformsAndAttribs_t *sharedUnisAndAttribs);

/* Texture units 2..7 are claimed per pass. Claim returns -1 when all eight are taken; the enum of
 * an index outside 0..7 is 0 and freeing one does nothing, so a pass that got -1 must not draw. */
int QopGLClaimFreeTexture(QopGLData_t *glData);
GLenum QopGLGetTextureEnumForIndex(int index);
void QopGLResetTextureToFree(QopGLData_t *glData, int texIndex);

/* Pause point: returns at once unless shouldPauseGLRendering is set; then waits (usleep(10) per
 * round, hasPausedGLRendering set) until it is cleared. */
void QopGLPauseExecutionIfNecessary(QopGLData_t *glData);
void QopGLBeginGLActionsANDPauseExecutionIfNecessary(QopGLData_t *glData);
void QopGLFinishAndPauseExecutionIfNecessary(QopGLData_t *glData);

#ifdef __cplusplus
}
#endif
